#include <algorithm>
#include <memory>
#include <stdexcept>
#include "app/editions.h"
#include "app/messages.h"
#include "app/settings.h"
#include "app/settings_audio_cds.h"
#include "data/loader.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "data/areas.h"
#include "platform/dialog_service.h"

namespace {

std::unique_ptr<Tdata>& dataInstance() {
    static std::unique_ptr<Tdata> data;
    return data;
}


}  // namespace

bool GLB_text_order(const QString& a, const QString& b) {
    // Keys and names are nearly always plain ASCII, where ignoring the case
    // is lowering A..Z; the general comparison decides everything else.
    const auto lowered = [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    };
    const qsizetype common = std::min(a.size(), b.size());
    const char16_t* x = reinterpret_cast<const char16_t*>(a.constData());
    const char16_t* y = reinterpret_cast<const char16_t*>(b.constData());
    for (qsizetype i = 0; i < common; ++i) {
        if (x[i] == y[i]) continue;
        if (x[i] >= 0x80 || y[i] >= 0x80) {
            const int c = a.compare(b, Qt::CaseInsensitive);
            return c != 0 ? c < 0 : a < b;
        }
        const char16_t lx = lowered(x[i]);
        const char16_t ly = lowered(y[i]);
        if (lx != ly) return lx < ly;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

Tdata& GLB_data() {
    Tdata* data = dataInstance().get();
    if (!data) GLB_fatal_message(QStringLiteral("The species database has not been loaded."));
    return *data;
}

Tdata* GLB_data_or_null() {
    return dataInstance().get();
}

namespace {

bool& dataLoadedByStart() {
    static bool loaded = false;
    return loaded;
}

void replaceData(std::unique_ptr<Tdata> data) {
    // The old database goes first, so its settings are written before a new
    // one could read them.
    dataInstance().reset();
    dataInstance() = std::move(data);
}

}  // namespace

void GLB_load_species_database(const std::function<void()>& threads_met) {
    // Checked before loading: a second load would read every file again
    // only to be refused.
    if (dataLoadedByStart())
        throw std::logic_error(
            "The species database is loaded once by the program's start; it was loaded "
            "again before the program's end freed it.");
    auto data = std::make_unique<Tdata>();
    data->load(threads_met);
    replaceData(std::move(data));
    dataLoadedByStart() = true;
}

void GLB_free_species_database() {
    replaceData(nullptr);
    dataLoadedByStart() = false;
}

TDataOverride::TDataOverride(std::unique_ptr<Tdata> data) : previous_(std::move(dataInstance())) {
    dataInstance() = std::move(data);
}

TDataOverride::~TDataOverride() {
    replaceData(std::move(previous_));
}

Tdata::Tdata() = default;

Tdata::~Tdata() {
    if (loaded_ && write_settings_at_end_) write_audio_cd_settings();
}

void Tdata::write_audio_cd_settings() const {
    for (const TaudioCD* cd : audio_cds_by_sequence_) {
        using namespace settings::audio_cds;
        GLB_write_string(kSection, part_of_short_name(cd->sequence_number), cd->fingerprint());
        GLB_write_string(kSection, directory_on_hard_disk(cd->sequence_number),
                         cd->hard_disk_directory);
    }
}

void Tdata::clear_small_picture_missing_flags() const {
    for (const Tspecies& s : species_store_) s.small_picture_missing = false;
}

// --- Orders --------------------------------------------------------------------

Tfamily* Tdata::family_by_index(int order, int index) const {
    if (!GLB_valid_order(order) || index < 1) return nullptr;
    Tfamily* f = first_family(order);
    for (int i = 1; f && i < index; ++i) f = f->next;
    return f;
}

std::vector<int> Tdata::offered_orders() const {
    std::vector<int> orders{kFirstOrder};
    for (int order = 2; order <= kLastOrder; ++order)
        if (order_offered(order)) orders.push_back(order);
    return orders;
}

bool Tdata::order_offered(int order) const {
    if (order == kFirstOrder) return true;
    for (int slot = 1; slot <= order_slot_count_; ++slot)
        if (order_of_slot(slot) == order) return true;
    return false;
}

QString Tdata::order_name(int order) {
    switch (order) {
        case 2:
            return QStringLiteral("Clements");
        case 3:
            return QStringLiteral("Sibley and Monroe");
        default:
            return {};
    }
}

bool Tdata::warn_if_order_incomplete(int order) const {
    if (order < 2 || order > kLastOrder || order_complete(order)) return false;
    // The box has its own caption: it is a warning, not the program speaking.
    platform::DialogService::message(
        "There is at least one species not in the " + order_name(order) + " order.",
        QStringLiteral("Warning"), platform::box::Plain);
    return true;
}

// --- Lookups -------------------------------------------------------------------

Tspecies* Tdata::species_by_unique_id(int uniqueId) const {
    return species_by_id_.value(uniqueId, nullptr);
}

Tcutpart* Tdata::cut_part_by_key(const QString& identifier) const {
    // The list is sorted by GLB_text_order; no hash is kept beside it, the
    // biggest list of the database.
    const auto at = std::lower_bound(
        cut_part_list_.begin(), cut_part_list_.end(), identifier,
        [](const Tcutpart* c, const QString& key) { return GLB_text_order(c->identifier, key); });
    return at != cut_part_list_.end() && (*at)->identifier == identifier ? *at : nullptr;
}

Tcutpart* Tdata::cut_part_by_identifier(const QString& identifier) const {
    // Digits, one letter, digits, one letter; the letters may be absent.
    qsizetype i = 0;
    const auto number = [&] {
        qint64 value = 0;
        while (i < identifier.size() && identifier[i].isDigit() && identifier[i].unicode() < 128) {
            value = std::min<qint64>(value * 10 + (identifier[i].unicode() - u'0'), INT32_MAX);
            ++i;
        }
        return static_cast<int>(value);
    };
    const auto letter = [&] { return i < identifier.size() ? identifier[i++] : QChar(u' '); };
    const int recording = number();
    const QChar first = letter();
    const int part = number();
    const QChar second = letter();
    for (Tcutpart* c : cut_part_list_)
        if (c->recording_number == recording && c->first_letter == first &&
            c->part_number == part && c->second_letter == second)
            return c;
    return nullptr;
}

Tperson* Tdata::person_by_name_part(const QString& part, int n) const {
    const QString upper = part.toUpper();
    int found = 0;
    for (Tperson* p : people_list_)
        if (p->name.toUpper().contains(upper) && ++found == n) return p;
    return nullptr;
}

Tperson* Tdata::person_by_name(const QString& name) const {
    return person_by_name_.value(name, nullptr);
}

Tlocality* Tdata::locality_by_key(const QString& key) const {
    return locality_by_key_.value(key, nullptr);
}

Tmap_data* Tdata::map_by_name(const QString& name) const {
    return map_by_name_.value(name, nullptr);
}

TaudioCD* Tdata::audio_cd_by_number(int cdNumber) const {
    return audio_cd_by_number_.value(cdNumber, nullptr);
}

TaudioCD* Tdata::audio_cd_by_sequence(int sequenceNumber) const {
    if (sequenceNumber < 1 || sequenceNumber > audio_cd_count()) return nullptr;
    return audio_cds_by_sequence_[static_cast<size_t>(sequenceNumber - 1)];
}

QString Tdata::literature_reference(int n) const {
    if (n < 1 || n > literature_reference_count()) return {};
    return literature_[static_cast<size_t>(n - 1)];
}

QString Tdata::literature_text(const Tspecies& species) const {
    const QString in = GLB_edition().language == TLanguage::Spanish ? QStringLiteral(" en ")
                                                                    : QStringLiteral(" in ");
    QStringList lines;
    for (const Tliterature_entry& e : species.literature)
        lines << e.text + in + literature_reference(e.reference);
    return lines.join(u'\n');
}

QString Tdata::class_name(int animalClass) {
    const bool spanish = GLB_edition().language == TLanguage::Spanish;
    switch (animalClass) {
        case animal_class::Birds:
            return spanish ? QStringLiteral("Aves") : QStringLiteral("Birds");
        case animal_class::Mammals:
            return spanish ? QStringLiteral("Mamíferos") : QStringLiteral("Mammals");
        case animal_class::Reptiles:
            return QStringLiteral("Reptiles");
        case animal_class::Amphibians:
            return spanish ? QStringLiteral("Ranas y Sapos") : QStringLiteral("Frogs and Toads");
        default:
            return {};
    }
}

void Tdata::load(const std::function<void()>& threads_met) {
    // Sound data files, by far the usual case, load on two threads. Where
    // that fails, loading again step by step meets the first fault in the
    // files' order and ends with its message, as the user must see it.
    if (TDataLoader(*this).run_side_by_side(threads_met)) return;
    discard_records();
    TDataLoader(*this).run();
}

void Tdata::discard_records() {
    // A half-filled database was never loaded: its end writes nothing. It
    // is made anew in place, so no member can be forgotten.
    const bool writeSettingsAtEnd = write_settings_at_end_;
    std::destroy_at(this);
    std::construct_at(this);
    write_settings_at_end_ = writeSettingsAtEnd;
}
