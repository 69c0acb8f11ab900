#include "data/loader.h"

#include "app/editions.h"
#include "app/messages.h"
#include "app/parsing.h"
#include "app/settings.h"
#include "app/settings_audio_cds.h"
#include "data/markup.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "data/areas.h"
#include "platform/dialog_service.h"
#include "platform/heap_pages.h"
#include "platform/text_encoding.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <charconv>
#include <cstdint>
#include <exception>
#include <latch>
#include <type_traits>
#include <string>
#include <string_view>
#include <thread>

namespace {

const QString kRecord = QString();  // the empty name of a record header
const QString kBlockHeader = QStringLiteral("@#[]");
const QString kAnyHeader = QStringLiteral("@#[");

// The limits of the data: anything beyond them is left unread.
constexpr int kMaxFamilies = 300;
constexpr int kMaxLiteratureReferences = 99;
constexpr int kMaxBlockLines = 1600;
constexpr int kMaxOrderSlots = 3;
constexpr int kMaxOrderSpecies = 5000;

// The people a species' credit number 1..4 names, by a part of their name.
constexpr const char* kCreditedNameParts[4] = {"Ferrándiz", "Verhoost", "Tupa", "Sollmann"};

[[noreturn]] void fatal(const QString& text) {
    throw TLoadError(text);
}

template <typename T, typename Key>
void sortByText(std::vector<T*>& list, Key key) {
    std::stable_sort(list.begin(), list.end(),
                     [&](const T* a, const T* b) { return GLB_text_order(key(a), key(b)); });
}

// The same for a key that is made anew on every call: each record's key is
// made once, not at every comparison of the sort.
template <typename T, typename Key>
void sortByMadeText(std::vector<T*>& list, Key key) {
    std::vector<std::pair<QString, T*>> keyed;
    keyed.reserve(list.size());
    for (T* record : list) keyed.emplace_back(key(record), record);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
        return GLB_text_order(a.first, b.first);
    });
    for (size_t i = 0; i < keyed.size(); ++i) list[i] = keyed[i].second;
}

// Tells the thread waiting on a latch that the steps before it are done, or,
// going without having told, that they failed: no wait outlives a fault.
class TStepsDone {
  public:
    TStepsDone(std::latch& latch, std::atomic<bool>& failed) : latch_(latch), failed_(failed) {}
    TStepsDone(const TStepsDone&) = delete;
    TStepsDone& operator=(const TStepsDone&) = delete;
    ~TStepsDone() {
        if (told_) return;
        failed_ = true;
        latch_.count_down();
    }
    void tell() {
        told_ = true;
        latch_.count_down();
    }

  private:
    std::latch& latch_;
    std::atomic<bool>& failed_;
    bool told_ = false;
};

}  // namespace

// One file read by two threads. The first reads from the file's start; when
// the second comes free, the first's unread rest is shared out at a section
// header and the second reads the later part. A split fixed in advance left
// one thread idle whenever the steps before took other times than foreseen,
// as they do from edition to edition and machine to machine.
class TPartHandover {
  public:
    TPartHandover() = default;
    TPartHandover(const TPartHandover&) = delete;
    TPartHandover& operator=(const TPartHandover&) = delete;

    struct Part {
        qsizetype from = -1;  // −1: none, the first thread read all or failed
        size_t first_section = 0;
    };
    // The second thread: free now; waits for its part.
    Part take_rest() {
        free_.store(true, std::memory_order_relaxed);
        decided_.wait();
        return part_;
    }
    // The first thread, between records or sections: whether to split.
    bool wanted() const { return !handed_ && free_.load(std::memory_order_relaxed); }
    // The first thread: the rest from `from` on is the second's; once only.
    void hand_over(Part part) {
        if (handed_) return;
        handed_ = true;
        part_ = part;
        decided_.count_down();
    }
    // The first thread, on every way out: nothing more to hand over.
    void close() { hand_over({}); }

  private:
    std::atomic<bool> free_{false};
    std::latch decided_{1};
    bool handed_ = false;  // the first thread's own
    Part part_;
};

namespace {

// Where the unread rest of a file, from byte `at` on, is shared out: at the
// first header after the first thread's share of it.
qsizetype splitOfRest(const TDataFileReader& file, qsizetype at, double firstShare) {
    const double rest = static_cast<double>(file.size() - at);
    return file.header_at_or_after(at + static_cast<qsizetype>(rest * firstShare));
}

// Sorts the recordings by identifier; of equal ones the first in the file
// stays in the list.
void sort_by_identifier(std::vector<Tcutpart*>& recordings);

// Finds "X(" outside quoted map names; −1 when absent.
qsizetype findPart(const QString& text, QChar letter) {
    bool quoted = false;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'"') quoted = !quoted;
        if (!quoted && text[i] == letter && text[i + 1] == u'(') return i;
    }
    return -1;
}

}  // namespace

TDataLoader::TDataLoader(Tdata& data)
    : d_(data), edition_code_(GLB_edition().edition_code), rules_(GLB_edition().rules) {}

std::optional<int> TDataLoader::to_int(QStringView text) {
    text = text.trimmed();
    if (text.isEmpty()) return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (text[0] == u'-' || text[0] == u'+') negative = text[i++] == u'-';
    if (i == text.size()) return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > qint64(INT32_MAX) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int>(value);
}

QString TDataLoader::shared(const QString& text) {
    if (text.isEmpty()) return {};
    return *texts_.insert(text);
}

QString TDataLoader::shared_marked_up(const QString& text) {
    return shared(GLB_marked_up_text(text));
}

TSharedText TDataLoader::shared_text(const QString& text) {
    if (text.isEmpty()) return {};
    if (const auto known = shared_texts_.constFind(text); known != shared_texts_.cend())
        return *known;
    return *shared_texts_.insert(text, TSharedText(text));
}

void TDataLoader::open(const QString& fileName) {
    reader_.open_data_file(fileName, true);
}

bool TDataLoader::next_record(int lines) {
    int count = 0;
    return reader_.read_section_bytes(kRecord, false, lines - 1, record_, count);
}

QString TDataLoader::field(int line) const {
    const size_t at = static_cast<size_t>(line - 1);
    return at < record_.size() ? reader_.text(record_[at]) : QString();
}

bool TDataLoader::field_empty(int line) const {
    const size_t at = static_cast<size_t>(line - 1);
    return at >= record_.size() || record_[at].isEmpty();
}

std::optional<int> TDataLoader::number(int line) const {
    const size_t at = static_cast<size_t>(line - 1);
    return at < record_.size() ? number_in(record_[at]) : std::nullopt;
}

std::optional<int> TDataLoader::number_in(QByteArrayView bytes) const {
    // Digits, signs and blanks are single bytes in every encoding of the
    // files: a number read from the bytes is the number the text holds.
    // Only what is no number as bytes and is not plain ASCII is judged as
    // text (its blanks may be other characters).
    const auto asText = [&]() -> std::optional<int> {
        if (platform::isAscii(bytes)) return std::nullopt;
        return to_int(reader_.text(bytes));
    };
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    qsizetype from = 0;
    qsizetype to = bytes.size();
    while (from < to && blank(bytes[from])) ++from;
    while (to > from && blank(bytes[to - 1])) --to;
    if (from == to) return asText();
    bool negative = false;
    if (bytes[from] == '-' || bytes[from] == '+') negative = bytes[from++] == '-';
    if (from == to) return asText();
    qint64 value = 0;
    for (qsizetype i = from; i < to; ++i) {
        const char c = bytes[i];
        if (c < '0' || c > '9') return asText();
        value = value * 10 + (c - '0');
        if (value > qint64(INT32_MAX) + 1) return asText();
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return asText();
    return static_cast<int>(value);
}

void TDataLoader::run() {
    load_maps();
    load_people();
    load_taxa();
    load_localities();
    sort_localities();
    load_pictures();
    load_recordings();
    load_links();
}

bool TDataLoader::run_side_by_side(const std::function<void()>& threads_met) {
    // The other thread reads the maps and people, which both need, then the
    // taxa, the further orders (which need nothing else), once this thread
    // has the localities their lists and the pictures, and last the later
    // part of the recordings. This thread reads the localities, then, with
    // the people, the audio CDs and the recordings from the start until the
    // other takes over the rest; the two parts join in the file's order.
    TDataLoader other(d_);
    std::vector<QString> messages;
    other.held_messages_ = &messages;
    std::atomic<bool> failed = false;
    std::latch peopleLoaded(1);
    std::latch localitiesLoaded(1);
    TPartHandover laterRecordingsPart;
    TDataFileReader recordingsFile;
    TRecordStore<Tcutpart> laterRecordings(&d_.record_memory_);
    std::vector<Tcutpart*> laterList;
    std::thread taxa([&] {
        platform::use_large_pages_for_this_threads_heap();
        try {
            TStepsDone people(peopleLoaded, failed);
            other.load_maps();
            other.load_people();
            people.tell();
            other.load_taxa();
            other.load_orders();
            localitiesLoaded.wait();
            if (!failed) other.sort_localities();
            if (!failed) other.load_pictures();
            const TPartHandover::Part rest = laterRecordingsPart.take_rest();
            if (!failed && rest.from >= 0) {
                other.reader_.open_part(recordingsFile, rest.from, recordingsFile.size());
                other.load_cut_parts(laterRecordings, laterList);
            }
        } catch (...) {
            failed = true;
        }
    });
    try {
        TStepsDone localities(localitiesLoaded, failed);
        load_localities();
        other.locality_keys_ = locality_keys_;
        localities.tell();
        peopleLoaded.wait();
        if (!failed) {
            load_audio_cds();
            read_hard_disk_copies();
            recordingsFile.open_data_file(QStringLiteral("cutparts.txt"), true);
            reader_.open_part(recordingsFile, 0, recordingsFile.size());
            handover_ = &laterRecordingsPart;
            load_cut_parts(d_.cut_part_store_, d_.cut_part_list_);
        }
    } catch (...) {
        failed = true;
    }
    handover_ = nullptr;
    laterRecordingsPart.close();
    taxa.join();
    if (failed) return false;
    if (threads_met) threads_met();

    d_.cut_part_store_.append(std::move(laterRecordings));
    // Exactly as long as both: inserting would double the list's capacity.
    d_.cut_part_list_.reserve(d_.cut_part_list_.size() + laterList.size());
    d_.cut_part_list_.insert(d_.cut_part_list_.end(), laterList.begin(), laterList.end());
    // Their memory is wanted for the items, which share texts through the
    // other table.
    std::vector<Tcutpart*>().swap(laterList);
    other.texts_ = {};
    for (const QString& message : messages) GLB_show_message(message, platform::box::IconStop);
    load_items_side_by_side(other);
    finish();
    return true;
}

void TDataLoader::load_taxa() {
    TDataFileReader names;
    TDataFileReader taxa;
    names.open_data_file(QStringLiteral("names_sc.txt"), true);
    taxa.open_data_file(QStringLiteral("taxa.txt"), true);
    load_families(names, taxa);
    load_literature(names);
    load_species(names, taxa);
}

void TDataLoader::load_recordings() {
    load_audio_cds();
    read_hard_disk_copies();
    open(QStringLiteral("cutparts.txt"));
    load_cut_parts(d_.cut_part_store_, d_.cut_part_list_);
    sort_by_identifier(d_.cut_part_list_);
}

void TDataLoader::load_links() {
    load_items();
    load_orders();
    finish();
}

void TDataLoader::finish() {
    texts_.clear();
    shared_texts_.clear();
    d_.loaded_ = true;
}

// --- Maps ---------------------------------------------------------------------

void TDataLoader::load_maps() {
    open(QStringLiteral("mapsdata.txt"));
    while (next_record(3)) {
        Tmap_data& map = d_.map_store_.emplace_back();
        map.name = field(1);
        map.number = number(2).value_or(0);
        QString bounds = field(3);
        const double a = GLB_read_decimal(GLB_take_comma_field(bounds), 0);
        const double b = GLB_read_decimal(GLB_take_comma_field(bounds), 0);
        const double c = GLB_read_decimal(GLB_take_comma_field(bounds), 0);
        const double dd = GLB_read_decimal(GLB_take_comma_field(bounds), 0);
        map.bounds = {a, c, b, dd};
        if (!d_.map_by_name_.contains(map.name)) {
            d_.map_by_name_.insert(map.name, &map);
            d_.map_list_.push_back(&map);
        }
    }
    sortByText(d_.map_list_, [](const Tmap_data* m) { return m->name; });
}

// --- People -------------------------------------------------------------------

void TDataLoader::load_people() {
    open(QStringLiteral("people.txt"));
    while (next_record(4)) {
        Tperson& person = d_.person_store_.emplace_back();
        person.name = field(1);
        person.text_1 = field(2);
        person.text_2 = field(3);
        person.text_3 = field(4);
        if (!d_.default_person_) d_.default_person_ = &person;
        if (!d_.person_by_name_.contains(person.name)) {
            d_.person_by_name_.insert(person.name, &person);
            d_.people_list_.push_back(&person);
        }
    }
    sortByText(d_.people_list_, [](const Tperson* p) { return p->name; });
}

// --- Families -----------------------------------------------------------------

void TDataLoader::load_families(TDataFileReader& names, TDataFileReader& taxa) {
    QStringList nameLines;
    QStringList taxaLines;
    int count = 0;
    names.read_section(QStringLiteral("FAMILIES"), true, 2 * kMaxFamilies - 1, nameLines, count);
    const int families = count / 2;
    taxa.read_section(QStringLiteral("FAMILIES"), true, std::max(families - 1, 0), taxaLines,
                      count);
    Tfamily* last = nullptr;
    for (int k = 1; k <= families; ++k) {
        Tfamily& f = d_.family_store_.emplace_back();
        f.order = kFirstOrder;
        f.scientific_name = nameLines.value(2 * k - 2);
        f.folder_name = nameLines.value(2 * k - 1);
        f.common_name = taxaLines.value(k - 1);
        (last ? last->next : d_.first_families_[0]) = &f;
        last = &f;
    }
    d_.family_counts_[0] = families;
}

// --- Literature ---------------------------------------------------------------

void TDataLoader::load_literature(TDataFileReader& names) {
    QStringList lines;
    int count = 0;
    names.read_section(QStringLiteral("LIT. REFERENCES"), true, kMaxLiteratureReferences - 1, lines,
                       count);
    d_.literature_.assign(lines.begin(), lines.begin() + count);
}

// --- Species ------------------------------------------------------------------

void TDataLoader::load_species(TDataFileReader& names, TDataFileReader& taxa) {
    std::array<Tperson*, 4> credited{};
    for (size_t i = 0; i < credited.size(); ++i)
        credited[i] = d_.person_by_name_part(QString::fromUtf8(kCreditedNameParts[i]), 1);

    QStringList ignored;
    QStringList block;
    QStringList taxaLines;
    int count = 0;
    int k = 0;
    for (Tfamily* family = d_.first_families_[0]; family; family = family->next) {
        ++k;
        const QString section = QStringLiteral("SPECIES ") + QString::number(k);
        names.read_section(section, true, 0, ignored, count);
        Tspecies* firstOfFamily = nullptr;
        const size_t before = d_.species_store_.size();
        // Blocks follow one another, each after a line that is exactly "@#[]".
        bool atBlock = names.current_line() == kBlockHeader;
        while (atBlock) {
            block.clear();
            atBlock = false;
            while (!names.at_end()) {
                const QString line = names.next_line();
                if (line.startsWith(kAnyHeader)) {
                    atBlock = line == kBlockHeader;
                    break;
                }
                if (block.size() < kMaxBlockLines) block.push_back(line);
            }
            load_species_block(block, *family, credited);
            if (!firstOfFamily) firstOfFamily = &d_.species_store_.back();
        }

        // taxa.txt: four lines per species, in the same order.
        const int speciesCount = static_cast<int>(d_.species_store_.size() - before);
        taxa.read_section(section, true, 4 * speciesCount - 1, taxaLines, count);
        int j = 0;
        for (Tspecies* s = firstOfFamily; s; s = s->next(kFirstOrder), ++j) {
            s->common_name = taxaLines.value(4 * j);
            s->second_name = GLB_marked_up_text(taxaLines.value(4 * j + 1));
            s->third_text = GLB_marked_up_text(taxaLines.value(4 * j + 2));
            s->fourth_text = GLB_marked_up_text(taxaLines.value(4 * j + 3));
        }
    }
    for (Tspecies& s : d_.species_store_) {
        if (d_.species_by_id_.contains(s.unique_id)) continue;
        d_.species_by_id_.insert(s.unique_id, &s);
        d_.species_list_.push_back(&s);
    }
    // By the identifiers' decimal texts, compared as the texts would be.
    const auto decimal = [](int value, std::array<char, 12>& buffer) {
        const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value).ptr;
        return std::string_view(buffer.data(), static_cast<size_t>(end - buffer.data()));
    };
    std::stable_sort(d_.species_list_.begin(), d_.species_list_.end(),
                     [&](const Tspecies* a, const Tspecies* b) {
                         std::array<char, 12> x;
                         std::array<char, 12> y;
                         return decimal(a->unique_id, x) < decimal(b->unique_id, y);
                     });
}

void TDataLoader::load_species_block(const QStringList& block, Tfamily& family,
                                     const std::array<Tperson*, 4>& credited) {
    const auto line = [&](int n) { return block.value(n - 1); };
    Tspecies& s = d_.species_store_.emplace_back();
    s.scientific_name = line(1);
    read_species_numbers(s, line(2));

    // Flags, then the parenthesised parts.
    QString rest = line(3);
    const QString flags = GLB_take_comma_field(rest);
    read_species_flags(s, flags);
    read_threatened_status(s, rest);
    read_map_references(s, rest);

    const QString distribution = line(4);
    s.present_in_region = present_in_region(s, distribution, flags);
    s.distribution = distribution_area(s, distribution);

    const std::optional<int> credit = to_int(line(5));
    if (credit && *credit >= 1 && *credit <= 4) s.credited_person = credited[size_t(*credit - 1)];
    read_literature(s, line(6));

    int next = 7;
    if (rules_.has_alternative_ids) s.alternative_id = to_int(line(next++)).value_or(0);
    read_subspecies(s, block, next);
    append_to_family(s, family);
}

// The species number, a blank, the unique identifier.
void TDataLoader::read_species_numbers(Tspecies& s, const QString& numbers) {
    const qsizetype blank = numbers.indexOf(u' ');
    const std::optional<int> speciesNumber =
        to_int(blank < 0 ? QStringView(numbers) : QStringView(numbers).left(blank));
    if (!speciesNumber) fatal(QStringLiteral("Error occured when converting species ID!"));
    const std::optional<int> uniqueId =
        blank < 0 ? std::nullopt : to_int(QStringView(numbers).mid(blank + 1));
    if (!uniqueId) fatal(QStringLiteral("Error occured when converting unique ID!"));
    s.species_number = *speciesNumber;
    s.unique_id = *uniqueId;
}

void TDataLoader::read_species_flags(Tspecies& s, const QString& flags) {
    s.is_amphibian = flags.contains(u'A');
    s.is_reptile = flags.contains(u'R');
    s.is_mammal = flags.contains(u'M');
    s.flag_s = flags.contains(u'S');
    s.has_recording_items = flags.contains(u'C');
    s.flag_e = flags.contains(u'E') || GLB_edition().every_species_flag_e;
    s.flag_n = flags.contains(u'N') && !flags.contains(u'E');
}

// "T(VU)" and its like.
void TDataLoader::read_threatened_status(Tspecies& s, const QString& parts) {
    const qsizetype t = findPart(parts, u'T');
    if (t < 0) return;
    const QString status = parts.mid(t + 2, 2).toUpper();
    s.threatened_status = status == u"VU"   ? 1
                          : status == u"EN" ? 2
                          : status == u"CR" ? 3
                          : status == u"EX" ? 4
                                            : 0;
}

// "D(...)": up to two maps, each a quoted name, then "Mask" or "----", then
// "Main" or "----"; the main map goes first.
void TDataLoader::read_map_references(Tspecies& s, const QString& parts) {
    const qsizetype dPart = findPart(parts, u'D');
    if (dPart < 0 || rules_.map_references == TMapReferences::None) return;
    if (rules_.map_references == TMapReferences::FlagOnly) {
        s.has_map = true;
        return;
    }
    const QString missing =
        QStringLiteral("Inconsistency in the file with scientific names: can't find map!");
    qsizetype at = dPart + 2;
    bool mainSecond = false;
    for (int r = 0; r < 2; ++r) {
        if (at >= parts.size() || parts[at] != u'"') fatal(missing);
        const qsizetype close = parts.indexOf(u'"', at + 1);
        const QString name = parts.mid(at + 1, close < 0 ? -1 : close - at - 1);
        Tmap_data* map = d_.map_by_name(name);
        if (!map) fatal(missing);
        const qsizetype marks = close < 0 ? parts.size() : close + 2;
        s.map_references[static_cast<size_t>(r)] = {parts.mid(marks, 4) == u"Mask", map};
        const bool isMain = parts.mid(marks + 4, 4) == u"Main";
        s.map_reference_count = r + 1;
        if (r == 1) mainSecond = isMain;
        at = marks + 8;
        if (at >= parts.size() || parts[at] != u',') break;
        ++at;
    }
    if (s.map_reference_count == 2 && mainSecond)
        std::swap(s.map_references[0], s.map_references[1]);
}

// Editions with an area class parse every species' distribution into one.
std::unique_ptr<TArea> TDataLoader::distribution_area(const Tspecies& s,
                                                      const QString& distribution) const {
    std::unique_ptr<TArea> area = TArea::create_for_edition(edition_code_);
    if (!area) return area;
    try {
        area->ParseDistribution(distribution, s.scientific_name, true);
    } catch (const TDistributionError& error) {
        fatal(error.message());
    }
    return area;
}

// References joined by "%$#fgd&", each its number, a comma and its text.
void TDataLoader::read_literature(Tspecies& s, const QString& literature) {
    if (literature.isEmpty()) return;
    for (QString piece : literature.split(QStringLiteral("%$#fgd&"))) {
        if (piece.isEmpty()) continue;
        const std::optional<int> reference = to_int(GLB_take_comma_field(piece));
        s.literature.push_back({reference.value_or(0), shared(piece)});
    }
}

// One subspecies a line from the given line (from 1) to the first empty one.
void TDataLoader::read_subspecies(Tspecies& s, const QStringList& block, int first) {
    Tsubspecies* lastSubspecies = nullptr;
    const QString notReal = QStringLiteral("-NOT REAL SSP");
    for (int next = first; next <= block.size() && !block[next - 1].isEmpty(); ++next) {
        Tsubspecies& ssp = d_.subspecies_store_.emplace_back();
        const QString& text = block[next - 1];
        const qsizetype marker = text.indexOf(notReal);
        ssp.not_real = marker >= 0;
        ssp.name = marker >= 0 ? text.left(marker) : text;
        ssp.ordinal = ++s.subspecies_count;
        (lastSubspecies ? lastSubspecies->next : s.first_subspecies) = &ssp;
        lastSubspecies = &ssp;
    }
}

void TDataLoader::append_to_family(Tspecies& s, Tfamily& family) {
    s.family_in_orders[0] = &family;
    s.family_folder_name = family.folder_name;
    if (!family.first_species) {
        family.first_species = &s;
    } else {
        // The species loaded before this one is the family's last.
        last_species_->next_in_orders[0] = &s;
    }
    last_species_ = &s;
}

// --- Localities ---------------------------------------------------------------

// The recordings name their locality by its key, many thousand distinct
// ones in a large edition. A plain ASCII key is the same bytes in every
// encoding of the files, and equal bytes are an equal key: such keys are
// found by the bytes of the recordings' line, without decoding it or
// looking it up as text. The table holds each hash beside its entry, so a
// look-up mostly reads one slot and one key.
struct TLocalityKeys {
    struct Entry {
        std::uint32_t offset;  // of the key in `bytes`
        std::uint32_t length;
        Tlocality* locality;
    };
    std::string bytes;
    std::vector<Entry> entries;
    std::vector<std::uint64_t> table;  // hash << 32 | entry + 1; 0 is free

    static std::uint32_t hash_of(QByteArrayView key) {
        return static_cast<std::uint32_t>(qHash(key, 0));
    }
    void add(QByteArrayView key, Tlocality* locality) {
        entries.push_back({static_cast<std::uint32_t>(bytes.size()),
                           static_cast<std::uint32_t>(key.size()), locality});
        bytes.append(key.data(), static_cast<size_t>(key.size()));
    }
    // Once every key is added: at most half of it taken.
    void make_table() {
        table.assign(std::bit_ceil(std::max<size_t>(entries.size() * 2, 16)), 0);
        for (size_t e = 0; e < entries.size(); ++e) {
            const std::uint64_t hash = hash_of(key_of(entries[e]));
            size_t at = hash & (table.size() - 1);
            while (table[at]) at = (at + 1) & (table.size() - 1);
            table[at] = hash << 32 | (e + 1);
        }
    }
    QByteArrayView key_of(const Entry& e) const {
        return QByteArrayView(bytes.data() + e.offset, e.length);
    }
    // Asks for the key's slot early, so that finding it later waits less.
    std::uint32_t prefetch(QByteArrayView key) const {
        const std::uint32_t hash = hash_of(key);
        __builtin_prefetch(&table[hash & (table.size() - 1)]);
        return hash;
    }
    Tlocality* find(QByteArrayView key, std::uint64_t hash) const {
        for (size_t at = hash & (table.size() - 1); table[at]; at = (at + 1) & (table.size() - 1)) {
            if (table[at] >> 32 != hash) continue;
            const Entry& e = entries[(table[at] & 0xffffffffu) - 1];
            if (key_of(e) == key) return e.locality;
        }
        return nullptr;
    }
};

void TDataLoader::load_localities() {
    open(QStringLiteral("locality.txt"));
    const TLanguage language = GLB_edition().language;
    auto keys = std::make_shared<TLocalityKeys>();
    while (next_record(9)) {
        Tlocality& l = d_.locality_store_.emplace_back();
        l.key = field(1);
        l.name = field(2);
        l.region = shared(field(3));
        QString country = field(4);
        if ((language == TLanguage::Spanish || language == TLanguage::Portuguese) &&
            country == u"Brazil")
            country = QStringLiteral("Brasil");
        if (language == TLanguage::Spanish && country == u"Peru") country = QStringLiteral("Perú");
        l.country = shared(country);
        l.prefix = shared(field(5));
        l.text = shared_marked_up(field(6));
        // Two groups of nine characters: eight for the number, then "D"
        // when seconds are given.
        const QString coordinates = field(7);
        l.latitude = to_int(QStringView(coordinates).left(8)).value_or(0);
        l.latitude_seconds_given = coordinates.mid(8, 1) == u"D";
        l.longitude = to_int(QStringView(coordinates).mid(9).left(8)).value_or(0);
        l.longitude_seconds_given = coordinates.mid(17, 1) == u"D";
        l.site_description = GLB_marked_up_text(field(9));
        if (!d_.locality_by_key_.contains(l.key)) {
            d_.locality_by_key_.insert(l.key, &l);
            d_.locality_list_.push_back(&l);
            if (!record_.empty() && platform::isAscii(record_[0])) keys->add(record_[0], &l);
        }
    }
    keys->make_table();
    locality_keys_ = std::move(keys);
}

void TDataLoader::sort_localities() {
    sortByText(d_.locality_list_, [](const Tlocality* l) { return l->key; });
    // Described sites are listed by their display text; a site without
    // coordinates has none, so it is left out rather than listed blank.
    for (Tlocality* l : d_.locality_list_)
        if (!l->site_description.isEmpty() && l->has_coordinates())
            d_.described_sites_.push_back(l);
    sortByMadeText(d_.described_sites_, [](const Tlocality* l) { return l->display_text(true); });
}

// --- Pictures -----------------------------------------------------------------

std::optional<Tssp_data> TDataLoader::subspecies_reference(const QString& text,
                                                           const Tspecies& species) {
    if (text.isEmpty()) return std::nullopt;
    Tssp_data reference;
    QString name = text;
    const QString pMark = QStringLiteral(" (P)");
    if (name.endsWith(pMark)) {
        reference.p_flag = true;
        name.chop(pMark.size());
    }
    if (name.isEmpty()) return reference;
    reference.subspecies = species.subspecies_by_name(name);
    if (!reference.subspecies) {
        const QString message = "Error occured with a subspecies \"" + name + u'"';
        if (held_messages_)
            held_messages_->push_back(message);
        else
            GLB_show_message(message, platform::box::IconStop);
    }
    return reference;
}

void TDataLoader::load_pictures() {
    if (!reader_.open_data_file(QStringLiteral("big_pict.txt"), false)) return;
    const QString cutparts = QStringLiteral("cutparts.txt");
    while (next_record(7)) {
        const std::optional<int> id = number(1);
        Tspecies* species = id ? d_.species_by_unique_id(*id) : nullptr;
        if (!species)
            fatal(
                QStringLiteral("Serious error when reading data, unique ID in big_pict.txt not "
                               "found in species list!"));
        Tbig_picture& p = d_.picture_store_.emplace_back();
        p.species = species;
        p.subspecies = subspecies_reference(field(2), *species);
        const QString photographer = field(3);
        if (!photographer.isEmpty()) {
            p.photographer = d_.person_by_name(photographer);
            if (!p.photographer) fatal(QStringLiteral("Inconsistency in file \"big_pict.txt\"!"));
        }
        p.date = field_empty(4) ? -1 : number(4).value_or(-1);
        const QString locality = field(5);
        if (!locality.isEmpty()) {
            p.locality = d_.locality_by_key(locality);
            if (!p.locality) reader_.corrupt_line_report(cutparts, 1, locality);
        }
        p.counts_as_photograph = !field(6).contains(QStringLiteral("NSS"));
        if (p.counts_as_photograph) species->has_photographs = true;
        p.text = shared_marked_up(field(7));

        Tbig_picture* last = species->first_picture;
        while (last && last->next) last = last->next;
        p.previous = last;
        (last ? last->next : species->first_picture) = &p;
        p.sequence_number = ++species->picture_count;
    }
}

// --- Audio CDs ----------------------------------------------------------------

void TDataLoader::load_audio_cds() {
    open(QStringLiteral("othermedia.txt"));
    while (next_record(7)) {
        const std::optional<int> cdNumber = number(1);
        if (!cdNumber)
            fatal(QStringLiteral("Error occured when converting audio CD \"tape\" number!"));
        TaudioCD& cd = d_.audio_cd_store_.emplace_back();
        cd.cd_number = *cdNumber;
        cd.sequence_number = static_cast<int>(d_.audio_cd_store_.size());
        cd.full_title = field(2);
        cd.name = field(3);
        cd.web_address = field(4);
        cd.carried_on_disc = field(5).compare(QStringLiteral("TRUE"), Qt::CaseInsensitive) == 0;
        cd.identity_text = field(6);
        cd.folder_name = field(7);
        if (!cd.carried_on_disc) ++d_.audio_cds_not_carried_;
        d_.audio_cds_by_sequence_.push_back(&cd);
        d_.audio_cd_list_.push_back(&cd);
        if (!d_.audio_cd_by_number_.contains(cd.cd_number))
            d_.audio_cd_by_number_.insert(cd.cd_number, &cd);
    }
    sortByText(d_.audio_cd_list_,
               [](const TaudioCD* cd) { return QString::number(cd->cd_number); });
}

bool TDataLoader::present_in_region(const Tspecies& species, const QString& distribution,
                                    const QString& flags) const {
    switch (rules_.presence) {
        case TPresenceRule::SpeciesNumberRange:
            return species.species_number >= rules_.presence_first &&
                   species.species_number <= rules_.presence_last;
        case TPresenceRule::DistributionLetters:
            return std::any_of(rules_.presence_letters.begin(), rules_.presence_letters.end(),
                               [&](const QString& letters) { return distribution.contains(letters); });
        case TPresenceRule::FlagL:
            return flags.contains(u'L');
        case TPresenceRule::BelowOneMillion:
            return species.species_number < 1000000;
        case TPresenceRule::Always:
            break;
    }
    return true;
}

// --- Copies of audio CDs on the hard disk ---------------------------------------

void TDataLoader::read_hard_disk_copies() {
    using namespace settings::audio_cds;
    for (TaudioCD* cd : d_.audio_cds_by_sequence_) {
        const int n = cd->sequence_number;
        if (GLB_read_string(kSection, part_of_short_name(n), QString()) == cd->fingerprint())
            cd->hard_disk_directory = GLB_read_string(kSection, directory_on_hard_disk(n), QString());
    }
}

// --- Recordings --------------------------------------------------------------

namespace {

// The five characters after the word and one separating character, digits
// only; none when the word is absent, an empty text when none are digits.
std::optional<QString> valueAfter(const QString& line, const QString& word) {
    const qsizetype at = line.indexOf(word);
    if (at < 0) return std::nullopt;
    QString digits;
    for (const QChar c : QStringView(line).mid(at + word.size() + 1).left(5))
        if (c >= u'0' && c <= u'9') digits += c;
    return digits;
}

// A recording's place in the text order of identifiers. For plain ASCII
// identifiers the first sixteen characters, lowered and packed big-endian,
// order the keys exactly as GLB_text_order would whenever they differ; equal
// heads and other texts are left to GLB_text_order itself. Equal identifiers
// keep the order of the file, where the key's place is.
struct OrderKey {
    std::uint64_t high = 0;
    std::uint64_t low = 0;
    std::uint32_t place = 0;  // in the file's order
    bool general = false;

    static OrderKey of(const Tcutpart& c, std::uint32_t place) {
        OrderKey key;
        key.place = place;
        const TRecordingIdentifier& id = c.identifier;
        for (qsizetype i = 0; i < id.size(); ++i) {
            char16_t u = id.at(i);
            if (u >= 0x80) {
                key.general = true;
                break;
            }
            if (i >= 16) continue;
            if (u >= u'A' && u <= u'Z') u = static_cast<char16_t>(u + 32);
            const int shift = 8 * (7 - static_cast<int>(i % 8));
            (i < 8 ? key.high : key.low) |= std::uint64_t(u) << shift;
        }
        return key;
    }
    bool heads_decide(const OrderKey& other) const {
        return !general && !other.general && (high != other.high || low != other.low);
    }
};

// Sorts the recordings (in the file's order) by identifier, the first of
// equal identifiers first. An unstable sort on keys that carry their place:
// no buffer as large again as the keys.
void sort_by_identifier(std::vector<Tcutpart*>& recordings) {
    std::vector<OrderKey> keys;
    keys.reserve(recordings.size());
    for (size_t i = 0; i < recordings.size(); ++i)
        keys.push_back(OrderKey::of(*recordings[i], static_cast<std::uint32_t>(i)));
    const auto text = [&](const OrderKey& key) { return recordings[key.place]->identifier.text(); };
    const auto less = [&](const OrderKey& a, const OrderKey& b) {
        if (a.heads_decide(b)) return a.high != b.high ? a.high < b.high : a.low < b.low;
        const QString ta = text(a);
        const QString tb = text(b);
        if (GLB_text_order(ta, tb)) return true;
        if (GLB_text_order(tb, ta)) return false;
        return a.place < b.place;
    };
    // Files list their recordings by number: in the order of the texts that
    // is a few long ascending runs (one per count of digits), which merging
    // puts in order far faster than sorting from scratch. The order is
    // total (places break ties), so either way gives the same list.
    constexpr size_t kMostRunsMerged = 64;
    std::vector<size_t> runs{0};
    for (size_t i = 1; i < keys.size() && runs.size() <= kMostRunsMerged; ++i)
        if (less(keys[i], keys[i - 1])) runs.push_back(i);
    if (runs.size() > kMostRunsMerged) {
        std::sort(keys.begin(), keys.end(), less);
    } else {
        runs.push_back(keys.size());
        // Neighbouring runs merged pairwise until one is left.
        while (runs.size() > 2) {
            std::vector<size_t> merged{0};
            for (size_t r = 0; r + 2 < runs.size(); r += 2) {
                const auto first = keys.begin() + static_cast<std::ptrdiff_t>(runs[r]);
                std::inplace_merge(first, keys.begin() + static_cast<std::ptrdiff_t>(runs[r + 1]),
                                   keys.begin() + static_cast<std::ptrdiff_t>(runs[r + 2]), less);
                merged.push_back(runs[r + 2]);
            }
            if (runs.size() % 2 == 0) merged.push_back(runs.back());
            runs.swap(merged);
        }
    }
    // Of recordings with one identifier the first in the file stays.
    keys.erase(std::unique(keys.begin(), keys.end(),
                           [&](const OrderKey& a, const OrderKey& b) {
                               return !a.heads_decide(b) &&
                                      recordings[a.place]->identifier ==
                                          recordings[b.place]->identifier;
                           }),
               keys.end());
    // The recordings go into the keys' order in place, without a second
    // list as long as the first: each key's place is a recording's old place.
    std::vector<Tcutpart*>& list = recordings;
    for (size_t i = 0; i < keys.size(); ++i) {
        // Old places before i have been overwritten; a key points there only
        // when that recording moved on, to where its move left it.
        size_t from = keys[i].place;
        while (from < i) from = keys[from].place;
        std::swap(list[i], list[from]);
        keys[i].place = static_cast<std::uint32_t>(from);
    }
    list.resize(keys.size());
}

}  // namespace

// The recordings by their identifiers, found from an item's line of bytes.
// A slot holds a short ASCII identifier itself, packed, and the recording's
// place in the store: most look-ups neither decode the line nor touch the
// recording's record, which lies far away in memory. Other identifiers are
// compared with the record's. Of recordings with one identifier the first in
// the file is found, the one the sorted list keeps.
class TRecordingIndex {
    using Store = TRecordStore<Tcutpart>;
    // A place is its chunk and its index there, in one word.
    static constexpr unsigned kIndexBits = 10;
    static_assert(Store::kLargestChunk <= (std::size_t(1) << kIndexBits));

  public:
    explicit TRecordingIndex(const Store& recordings) : recordings_(recordings) {
        // Two thirds full at most: probes stay short.
        slots_.resize(recordings.size() + recordings.size() / 2 + 16);
        // The slots lie scattered over a table far larger than the caches:
        // a batch of recordings has its slots fetched from memory together,
        // then filled, so that the waits overlap instead of following one
        // another.
        constexpr std::size_t kBatch = 32;
        std::array<std::pair<Key, std::uint32_t>, kBatch> batch;
        std::size_t waiting = 0;
        const auto insertBatch = [&] {
            for (std::size_t i = 0; i < waiting; ++i) {
                const auto& [key, place] = batch[i];
                Slot& slot = free_slot(key.hash);
                slot.head = key.head;
                slot.tail = key.tail;
                slot.place = place;
            }
            waiting = 0;
        };
        recordings.for_each_place([&](const Tcutpart& c, std::size_t chunk, std::size_t index) {
            const TRecordingIdentifier& id = c.identifier;
            Key key;
            if (id.is_inline()) {
                const QLatin1StringView text = id.inline_text();
                key = Key::of(text.data(), text.data() + text.size());
            } else {
                const QString text = id.text();
                const auto units = reinterpret_cast<const char16_t*>(text.constData());
                key = Key::of(units, units + text.size());
            }
            __builtin_prefetch(&slots_[home(key.hash)], 1);
            // In the file's order, so that of equal identifiers the first
            // takes the earlier slot of the probe, as before.
            batch[waiting++] = {key, static_cast<std::uint32_t>((chunk << kIndexBits | index) + 1)};
            if (waiting == kBatch) insertBatch();
        });
        insertBatch();
    }

    // Decodes the line only when it is not a short ASCII text (one that
    // short cannot hold the reader's line-feed placeholder either).
    Tcutpart* find(QByteArrayView raw, const TDataFileReader& reader) const {
        if (raw.size() <= TRecordingIdentifier::kInline && platform::isAscii(raw)) {
            const Key key = Key::of(raw.begin(), raw.end());
            const QLatin1StringView text(raw.data(), raw.size());
            return find(key, [&](const Tcutpart& c) {
                return c.identifier.is_inline() && c.identifier.inline_text() == text;
            });
        }
        const QString text = reader.text(raw);
        const auto units = reinterpret_cast<const char16_t*>(text.constData());
        return find(Key::of(units, units + text.size()),
                    [&](const Tcutpart& c) { return c.identifier == text; });
    }

    // The recordings of lines[first], lines[first + step], … into `found`,
    // null where none. The slots of all the lines are fetched from memory
    // first, then the records they point at: the waits of one look-up
    // overlap the others' instead of following them.
    void find_each(const std::vector<QByteArrayView>& lines, size_t first, size_t step,
                   const TDataFileReader& reader, std::vector<Tcutpart*>& found) const {
        found.clear();
        std::vector<Pending> pending;
        pending.reserve(lines.size() / step + 1);
        for (size_t at = first; at < lines.size(); at += step) {
            const QByteArrayView raw = lines[at];
            Pending p;
            if (raw.size() <= 12 && platform::isAscii(raw)) {
                p.key = Key::of(raw.begin(), raw.end());
                p.packed = true;
                __builtin_prefetch(&slots_[home(p.key.hash)]);
            }
            pending.push_back(p);
        }
        for (size_t n = 0, at = first; n < pending.size(); ++n, at += step) {
            Pending& p = pending[n];
            if (!p.packed) {
                p.found = find(lines[at], reader);
                continue;
            }
            // A packed key is the whole identifier: equal slots need no
            // look at the record.
            for (size_t i = home(p.key.hash);; i = next(i)) {
                const Slot& slot = slots_[i];
                if (!slot.place) break;
                if (slot.head != p.key.head || slot.tail != p.key.tail) continue;
                // What the items read: the list of the recording's items and
                // whether it is a sound file, on other lines of its record.
                p.found = &record_at(slot.place);
                __builtin_prefetch(&p.found->first_item_in_orders[0]);
                __builtin_prefetch(&p.found->is_sound_file);
                break;
            }
        }
        for (const Pending& p : pending) found.push_back(p.found);
    }

  private:
    // Up to twelve ASCII characters, seven bits each, and the length; longer
    // or other texts keep only a hash, and kLong as their length.
    struct Key {
        static constexpr std::uint32_t kLong = 15;
        std::uint64_t head = 0;  // characters 1 to 9, or the hash
        std::uint32_t tail = 0;  // characters 10 to 12, and the length above them
        std::uint32_t hash = 0;

        template <typename Unit>
        static Key of(const Unit* from, const Unit* to) {
            Key key;
            std::uint32_t hash = 2166136261u;
            bool packable = to - from <= 12;
            for (const Unit* at = from; at != to; ++at) {
                const auto code = static_cast<std::uint32_t>(static_cast<std::make_unsigned_t<Unit>>(*at));
                hash = (hash ^ code) * 16777619u;
                if (code >= 0x80) packable = false;
                if (!packable) continue;
                const auto i = at - from;
                if (i < 9)
                    key.head |= std::uint64_t(code) << (7 * i);
                else
                    key.tail |= code << (7 * (i - 9));
            }
            key.hash = hash ^ (hash >> 15);
            if (!packable) {
                key.head = key.hash;
                key.tail = 0;
            }
            key.tail |= static_cast<std::uint32_t>(packable ? to - from : kLong) << 21;
            return key;
        }
        bool packed() const { return (tail >> 21) != kLong; }
    };
    // Sixteen bytes: the packed key and the place.
    struct Slot {
        std::uint64_t head = 0;
        std::uint32_t tail = 0;
        std::uint32_t place = 0;  // from 1; 0: free
    };
    template <typename Same>
    Tcutpart* find(const Key& key, Same same) const {
        for (size_t at = home(key.hash);; at = next(at)) {
            const Slot& slot = slots_[at];
            if (!slot.place) return nullptr;
            if (slot.head != key.head || slot.tail != key.tail) continue;
            Tcutpart* const c = &record_at(slot.place);
            // A packed key is the whole identifier.
            if (key.packed() || same(*c)) return c;
        }
    }
    size_t home(std::uint32_t hash) const {
        return static_cast<size_t>((std::uint64_t(hash) * slots_.size()) >> 32);
    }
    size_t next(size_t at) const { return at + 1 == slots_.size() ? 0 : at + 1; }
    Slot& free_slot(std::uint32_t hash) {
        size_t at = home(hash);
        while (slots_[at].place) at = next(at);
        return slots_[at];
    }

    struct Pending {
        Key key;
        bool packed = false;
        Tcutpart* found = nullptr;
    };

    Tcutpart& record_at(std::uint32_t place) const {
        const std::uint32_t p = place - 1;
        return recordings_.at_place(p >> kIndexBits, p & ((1u << kIndexBits) - 1));
    }

    const Store& recordings_;
    std::vector<Slot> slots_;
};

void TDataLoader::hand_over_rest() {
    // Measured on the largest edition: the first thread reads the records
    // about a third faster than the other, whose steps before left other
    // things in its caches.
    const qsizetype split = splitOfRest(reader_, reader_.current_start(), 0.59);
    if (split >= reader_.size()) return handover_->close();
    reader_.end_part_at(split);
    handover_->hand_over({split, 0});
}

void TDataLoader::load_cut_parts(TRecordStore<Tcutpart>& store, std::vector<Tcutpart*>& list) {
    // The texts shared so far belong to the steps before; the recordings and
    // items share theirs through their own table.
    texts_ = {};
    const QString file = QStringLiteral("cutparts.txt");
    // Keyed by the lines' bytes in the file, which stays open meanwhile.
    QHash<QByteArrayView, Tlocality*> localities;
    QHash<QByteArrayView, Tperson*> recordists;
    QHash<QByteArrayView, TSharedText> texts;
    for (;;) {
        if (handover_ && handover_->wanted()) hand_over_rest();
        if (!next_record(10)) break;
        const std::uint32_t localityHash =
            locality_keys_ && record_.size() >= 6 ? locality_keys_->prefetch(record_[5]) : 0;
        Tcutpart& c = store.emplace_back();
        // A short plain ASCII identifier is its own text in every encoding
        // (too short to hold the line-feed placeholder): kept and read
        // without decoding.
        const QByteArrayView idBytes = record_.empty() ? QByteArrayView() : record_[0];
        const bool asciiId =
            idBytes.size() <= TRecordingIdentifier::kInline && platform::isAscii(idBytes);
        const QString decodedId = asciiId ? QString() : field(1);
        if (asciiId)
            c.identifier = TRecordingIdentifier(QLatin1StringView(idBytes.data(), idBytes.size()));
        else
            c.identifier = decodedId;
        const TRecordingIdentifier& id = c.identifier;
        qsizetype i = 0;
        qint64 recording = 0;
        for (; i < id.size() && id.at(i) >= u'0' && id.at(i) <= u'9'; ++i) {
            recording = recording * 10 + (id.at(i) - u'0');
            if (recording > INT32_MAX)
                fatal("Error in file \"" + file + "\": the recording number of \"" + id.text() +
                      "\" is too large!");
        }
        c.recording_number = static_cast<int>(recording);
        c.first_letter = i < id.size() ? QChar(id.at(i)) : QChar(u' ');
        const qsizetype partAt = std::min(i + 1, idBytes.size());
        c.part_number = (asciiId ? number_in(idBytes.sliced(
                                       partAt, std::min<qsizetype>(4, idBytes.size() - partAt)))
                                 : to_int(QStringView(decodedId).mid(i + 1, 4)))
                            .value_or(0);
        c.second_letter = i + 5 < id.size() ? QChar(id.at(i + 5)) : QChar(u' ');

        // "CD" and digits are the same bytes in every encoding of the files:
        // a sound file's carrier needs no text.
        const QByteArrayView carrierBytes = record_.size() > 1 ? record_[1] : QByteArrayView();
        if (!carrierBytes.startsWith("CD")) {
            const std::optional<int> compression = number(2);
            if (!compression)
                fatal(QStringLiteral("Error occured when converting compression number!"));
            c.is_sound_file = true;
            c.compression_number = *compression;
            const qint64 seconds = number(3).value_or(0);
            // Lengths beyond the range of milliseconds in 32 bits are cut.
            c.length =
                static_cast<int>(std::min<qint64>((seconds < 1 ? 99 : seconds) * 1000, INT32_MAX));
            c.length_is_file_length = true;
        } else {
            const QString carrier = field(2);
            c.is_sound_file = false;
            c.audio_cd = d_.audio_cd_by_number(c.recording_number);
            if (!c.audio_cd) reader_.corrupt_line_report(file, 3, id);
            if (!carrier.contains(QStringLiteral("track")))
                reader_.corrupt_line_report(file, 4, id);
            const auto number = [&](const char* word, const char* what) {
                const std::optional<QString> digits =
                    valueAfter(carrier, QString::fromLatin1(word));
                if (!digits) return 0;
                const std::optional<int> value = to_int(*digits);
                if (!value)
                    fatal(QStringLiteral("Error occured when converting ") +
                          QString::fromLatin1(what) + u'!');
                return *value;
            };
            c.track = number("track", "audio CD track number");
            c.offset = number("offset", "offset on audio CD track") * 100;
            c.length = number("length", "length of recording on audio CD track") * 100;
            c.selected = number("selected", "cutpart selected on audio CD track") == 1;
        }
        c.number_4 = field_empty(4) ? -1 : number(4).value_or(-1);
        c.date = field_empty(5) ? -1 : number(5).value_or(-1);

        // Recordings share a few localities, recordists and texts: each
        // distinct line is decoded and looked up once.
        const auto lookedUpOnce = [&](auto& known, int line, int report, auto lookUp) {
            const QByteArrayView raw = record_[static_cast<size_t>(line - 1)];
            auto* found = known.value(raw, nullptr);
            if (found) return found;
            const QString key = field(line);
            found = lookUp(key);
            if (!found) reader_.corrupt_line_report(file, report, key);
            known.insert(raw, found);
            return found;
        };
        if (field_empty(6)) fatal(QStringLiteral("Locality is empty string!?"));
        Tlocality* const byBytes =
            locality_keys_ ? locality_keys_->find(record_[5], localityHash) : nullptr;
        c.locality = byBytes ? byBytes : lookedUpOnce(localities, 6, 1, [&](const QString& key) {
            return d_.locality_by_key(key);
        });
        if (!field_empty(7))
            c.recordist = lookedUpOnce(recordists, 7, 2,
                                       [&](const QString& key) { return d_.person_by_name(key); });
        const auto recordingText = [&](int line) {
            if (field_empty(line)) return TSharedText();
            const QByteArrayView raw = record_[static_cast<size_t>(line - 1)];
            if (const auto known = texts.constFind(raw); known != texts.cend()) return *known;
            QString text = GLB_marked_up_text(field(line));
            if (rules_.strips_usa_from_recording_texts) text.remove(QStringLiteral(" (USA)"));
            return *texts.insert(raw, shared_text(text));
        };
        c.text_1 = recordingText(8);
        c.text_2 = recordingText(9);
        c.number = number(10).value_or(0);

        list.push_back(&c);
    }
    // Nothing looks localities up by their bytes after the recordings.
    locality_keys_.reset();
}

// --- Recording items ---------------------------------------------------------

// A species with recording items and the name of its section in cupaitem.txt:
// its family's number and its own among the family's species with items.
struct TSpeciesItems {
    Tspecies* species;
    int family;
    int index;
    QString section() const { return QString::number(family) + u'_' + QString::number(index); }
};

namespace {

std::vector<TSpeciesItems> speciesWithItems(Tfamily* first) {
    std::vector<TSpeciesItems> list;
    int k = 0;
    for (Tfamily* family = first; family; family = family->next) {
        ++k;
        int j = 0;
        for (Tspecies* s = family->first_species; s; s = s->next(kFirstOrder))
            if (s->has_recording_items) list.push_back({s, k, ++j});
    }
    return list;
}

// The section named by the header line at `at` of a file's bytes.
QByteArrayView headerName(QByteArrayView bytes, qsizetype at) {
    const QByteArrayView line = bytes.sliced(at + 3);
    const qsizetype close = line.indexOf(']');
    const qsizetype feed = line.indexOf('\n');
    return close < 0 || (feed >= 0 && feed < close) ? QByteArrayView() : line.first(close);
}

}  // namespace

void TDataLoader::load_items() {
    open(QStringLiteral("cupaitem.txt"));
    const TRecordingIndex recordings(d_.cut_part_store_);
    const std::vector<TSpeciesItems> species = speciesWithItems(d_.first_families_[0]);
    load_items_of(species, 0, species.size(), recordings, d_.item_store_, true,
                  d_.last_item_loaded_);
}

void TDataLoader::load_items_side_by_side(TDataLoader& other) {
    TDataFileReader file;
    file.open_data_file(QStringLiteral("cupaitem.txt"), true);
    const std::vector<TSpeciesItems> species = speciesWithItems(d_.first_families_[0]);
    reader_.open_part(file, 0, file.size());

    // Both parts hold their messages, shown in the file's order once both
    // are done. The later part's items join their recordings' lists here,
    // after the earlier part's. No item needs the sorted list: the other
    // thread sorts it first, then takes over the later species.
    std::vector<QString> messages;
    std::vector<QString> laterMessages;
    held_messages_ = &messages;
    other.held_messages_ = &laterMessages;
    TRecordStore<Tcupaitem> laterItems(&d_.record_memory_);
    Tcupaitem* laterLast = nullptr;
    std::optional<TRecordingIndex> index;
    std::latch indexMade(1);
    TPartHandover laterPart;
    TPartHandover::Part later;
    std::exception_ptr sortFault;
    std::exception_ptr laterFault;
    std::thread helper([&] {
        platform::use_large_pages_for_this_threads_heap();
        try {
            sort_by_identifier(d_.cut_part_list_);
        } catch (...) {
            sortFault = std::current_exception();
        }
        try {
            indexMade.wait();
            later = laterPart.take_rest();
            if (index && later.from >= 0) {
                other.reader_.open_part(file, later.from, file.size());
                other.load_items_of(species, later.first_section, species.size(), *index,
                                    laterItems, false, laterLast);
            }
        } catch (...) {
            laterFault = std::current_exception();
        }
    });
    std::exception_ptr fault;
    try {
        try {
            index.emplace(d_.cut_part_store_);
        } catch (...) {
            indexMade.count_down();
            throw;
        }
        indexMade.count_down();
        handover_ = &laterPart;
        load_items_of(species, 0, species.size(), *index, d_.item_store_, true,
                      d_.last_item_loaded_);
    } catch (...) {
        fault = std::current_exception();
    }
    handover_ = nullptr;
    laterPart.close();
    helper.join();
    held_messages_ = nullptr;
    for (const QString& message : messages) GLB_show_message(message, platform::box::IconStop);
    if (fault) std::rethrow_exception(fault);
    if (sortFault) std::rethrow_exception(sortFault);
    if (later.from < 0) return;  // this thread read them all
    const TRecordingIndex& recordings = *index;

    const size_t laterSpecies = later.first_section;
    if (reader_.current_start() != later.from) {
        // Something between the earlier part's last section and the header
        // where the later part began: reading on from here finds what
        // reading the file in one go would.
        for (size_t i = laterSpecies; i < species.size(); ++i) {
            species[i].species->first_item = nullptr;
            species[i].species->has_sound_files = false;
        }
        load_items_of(species, laterSpecies, species.size(), recordings, d_.item_store_, true,
                      d_.last_item_loaded_);
        return;
    }
    for (const QString& message : laterMessages) GLB_show_message(message, platform::box::IconStop);
    if (laterFault) std::rethrow_exception(laterFault);
    Tcupaitem* const lastOfEarlier = d_.last_item_loaded_;
    // The items' recordings, and their first items, lie anywhere in memory:
    // both are asked for some items ahead of linking.
    auto recordingAhead = laterItems.begin();
    auto firstItemAhead = laterItems.begin();
    for (int n = 0; n < 16 && recordingAhead != laterItems.end(); ++n, ++recordingAhead)
        __builtin_prefetch(&recordingAhead->cut_part->first_item_in_orders);
    for (int n = 0; n < 8 && firstItemAhead != laterItems.end(); ++n, ++firstItemAhead)
        __builtin_prefetch(firstItemAhead->cut_part->first_item_in_orders[0]);
    for (Tcupaitem& item : laterItems) {
        if (recordingAhead != laterItems.end()) {
            __builtin_prefetch(&recordingAhead->cut_part->first_item_in_orders);
            ++recordingAhead;
        }
        if (firstItemAhead != laterItems.end()) {
            __builtin_prefetch(firstItemAhead->cut_part->first_item_in_orders[0]);
            ++firstItemAhead;
        }
        if (!item.previous_loaded) item.previous_loaded = lastOfEarlier;
        link_to_recording(item);
    }
    if (laterLast) d_.last_item_loaded_ = laterLast;
    d_.item_store_.append(std::move(laterItems));
}

size_t TDataLoader::hand_over_later_species(const std::vector<TSpeciesItems>& species, size_t next,
                                            size_t to) {
    // The first thread links its items to their recordings as it reads
    // them, and the other's after: it takes the smaller share.
    qsizetype split = splitOfRest(reader_, reader_.current_start(), 0.44);
    // The other thread starts at a species' section: sections named
    // "family_index", in the species' order; others are passed over.
    const auto first = species.begin() + static_cast<std::ptrdiff_t>(next + 1);
    const auto last = species.begin() + static_cast<std::ptrdiff_t>(to);
    const auto read = [](QByteArrayView digits, int& value) {
        const auto [end, error] = std::from_chars(digits.begin(), digits.end(), value);
        return error == std::errc() && end == digits.end();
    };
    for (; split < reader_.size(); split = reader_.header_at_or_after(split + 1)) {
        const QByteArrayView name = headerName(reader_.bytes(), split);
        const qsizetype bar = name.indexOf('_');
        int family = 0;
        int index = 0;
        if (bar <= 0 || !read(name.first(bar), family) || !read(name.sliced(bar + 1), index))
            continue;
        const auto at = std::lower_bound(first, last, std::pair(family, index),
                                         [](const TSpeciesItems& s, std::pair<int, int> key) {
                                             return std::pair(s.family, s.index) < key;
                                         });
        if (at == last || at->family != family || at->index != index) continue;
        // The reader goes on to the file's end: should a section stand
        // between this part's last and the header where the other's
        // begins, this thread reads on from there as in one go.
        const auto later = static_cast<size_t>(at - species.begin());
        handover_->hand_over({split, later});
        return later;
    }
    handover_->close();
    return to;
}

void TDataLoader::link_to_recording(Tcupaitem& item) {
    // A recording holds only a few items: walking to its last one costs less
    // than remembering the last of every recording.
    Tcupaitem** end = &item.cut_part->first_item_in_orders[0];
    while (*end) end = &(*end)->next_of_cut_part_in_orders[0];
    *end = &item;
}

void TDataLoader::load_items_of(const std::vector<TSpeciesItems>& species, size_t from, size_t to,
                                const TRecordingIndex& recordings, TRecordStore<Tcupaitem>& store,
                                bool linkRecordings, Tcupaitem*& lastLoaded) {
    const QString file = QStringLiteral("cupaitem.txt");
    std::vector<QByteArrayView> lines;
    // Items repeat a few texts many times: each distinct line is decoded
    // once (keyed by its bytes in the file, which stays open meanwhile).
    QHash<QByteArrayView, TSharedText> texts;
    std::vector<Tcutpart*> cuts;  // of the species at hand
    const auto markedUp = [&](QByteArrayView raw) {
        if (raw.isEmpty()) return TSharedText();
        if (const auto known = texts.constFind(raw); known != texts.cend()) return *known;
        return *texts.insert(raw, shared_text(GLB_marked_up_text(reader_.text(raw))));
    };
    // A plain ASCII first byte is the letter itself in every encoding, unless
    // it starts the reader's line-feed placeholder.
    const auto kindLetter = [&](QByteArrayView raw) {
        if (raw.isEmpty()) return QChar(u' ');
        if (static_cast<unsigned char>(raw[0]) < 0x80 && raw[0] != 'L')
            return QChar(char16_t(raw[0]));
        return reader_.text(raw)[0];
    };
    for (size_t n = from; n < to; ++n) {
        if (handover_ && handover_->wanted()) to = hand_over_later_species(species, n, to);
        Tspecies* const s = species[n].species;
        if (!reader_.read_whole_section_bytes(species[n].section(), false, lines) || lines.empty())
            reader_.corrupt_line_report(file, 1, s->scientific_name);
        // The recordings' records lie far away in memory: all of the
        // species' are looked up and fetched first, while its items are
        // being read.
        recordings.find_each(lines, 8, 9, reader_, cuts);
        Tcupaitem* lastOfSpecies = nullptr;
        for (size_t at = 0; at + 9 <= lines.size(); at += 9) {
            const auto line = [&](int k) { return lines[at + static_cast<size_t>(k - 1)]; };
            Tcutpart* cut = cuts[at / 9];
            if (!cut) reader_.corrupt_line_report(file, 2, s->scientific_name);
            Tcupaitem& item = store.emplace_back();
            item.item_number = line(1).isEmpty()
                                   ? Tcupaitem::kNoItemNumber
                                   : number_in(line(1)).value_or(Tcupaitem::kNoItemNumber);
            item.kind_letter = kindLetter(line(2));
            const std::optional<int> percentage = number_in(line(3));
            item.percentage = static_cast<std::uint8_t>(
                percentage && *percentage >= 0 && *percentage <= 255 ? *percentage : 100);
            if (!line(4).isEmpty())
                item.subspecies = subspecies_reference(reader_.text(line(4)), *s);
            item.first_text = markedUp(line(5));
            // "P" is one byte in every encoding, never part of another
            // character.
            item.present = line(6).contains('P');
            if (line(8).isEmpty()) {
                item.second_text = markedUp(line(7));
            } else {
                item.second_text = shared_text(GLB_marked_up_text(
                    reader_.text(line(7)) + u' ' + reader_.text(line(8))));
            }
            item.species = s;
            item.cut_part = cut;

            item.previous_loaded = lastLoaded;
            lastLoaded = &item;
            (lastOfSpecies ? lastOfSpecies->next_of_species : s->first_item) = &item;
            lastOfSpecies = &item;
            if (linkRecordings) link_to_recording(item);
            if (cut->is_sound_file) s->has_sound_files = true;
        }
    }
}

// --- Further systematic orders -------------------------------------------------

void TDataLoader::load_orders() {
    open(QStringLiteral("syst_ord.txt"));
    QStringList lines;
    int count = 0;
    reader_.read_section(QStringLiteral("ORDERS"), true, kMaxOrderSlots - 1, lines, count);
    d_.order_slot_count_ = count;
    for (int slot = 1; slot <= count; ++slot) {
        const QString& name = lines[slot - 1];
        const int order = name == u"Clements 2000" ? 2 : name == u"Sibley&Monroe" ? 3 : 4;
        d_.order_of_slots_[static_cast<size_t>(slot - 1)] = static_cast<std::uint8_t>(order);
    }
    for (int slot = 1; slot <= count; ++slot)
        load_order_slot(slot, d_.order_of_slots_[static_cast<size_t>(slot - 1)]);
}

void TDataLoader::load_order_slot(int slot, int order) {
    const size_t o = static_cast<size_t>(order - 1);
    const QString file = QStringLiteral("syst_ord.txt");
    QStringList lines;
    int count = 0;

    // The order's families.
    reader_.read_whole_section(QStringLiteral("FAMILIES_") + QString::number(slot), true, lines);
    std::vector<Tfamily*> families;
    families.reserve(static_cast<size_t>(lines.size()));
    for (QString line : lines) {
        Tfamily& f = d_.family_store_.emplace_back();
        f.order = order;
        f.scientific_name = GLB_take_comma_field(line);
        f.common_name = line;
        families.push_back(&f);
    }

    // Its species, appended to their families in the order of the lines.
    for (Tspecies& s : d_.species_store_) {
        s.orders_read |= static_cast<std::uint8_t>(1u << o);
        s.position_in_orders_2_to_4[o - 1] = -1;
        s.family_in_orders[o] = nullptr;
        s.next_in_orders[o] = nullptr;
    }
    reader_.read_section(QStringLiteral("SPECIES_") + QString::number(slot), true,
                         kMaxOrderSpecies - 1, lines, count);
    std::vector<Tspecies*> lastOfFamily(families.size(), nullptr);
    size_t current = 0;
    for (int p = 0; p < count; ++p) {
        QString line = lines[p];
        const std::optional<int> familyNumber = to_int(GLB_take_comma_field(line));
        if (!familyNumber)
            fatal(QStringLiteral("Error in file \"syst_ord.txt\": error converting family nr"));
        const std::optional<int> id = to_int(line);
        Tspecies* s = id ? d_.species_by_unique_id(*id) : nullptr;
        if (!s) continue;
        // A species listed twice keeps its first place.
        if (s->position_in_orders_2_to_4[o - 1] >= 0) continue;
        if (*familyNumber < 1 || size_t(*familyNumber) > families.size())
            fatal("Error in file \"" + file + "\": family nr " + QString::number(*familyNumber) +
                  " of section SPECIES_" + QString::number(slot) + " does not exist");
        // The family pointer only moves forward.
        current = std::max(current, size_t(*familyNumber - 1));
        Tfamily* f = families[current];
        s->position_in_orders_2_to_4[o - 1] = p;
        s->family_in_orders[o] = f;
        (lastOfFamily[current] ? lastOfFamily[current]->next_in_orders[o] : f->first_species) = s;
        lastOfFamily[current] = s;
    }

    // Families that got no species are not part of the order.
    Tfamily* last = nullptr;
    d_.first_families_[o] = nullptr;
    int familyCount = 0;
    for (Tfamily* f : families) {
        if (!f->first_species) continue;
        (last ? last->next : d_.first_families_[o]) = f;
        last = f;
        ++familyCount;
    }
    d_.family_counts_[o] = familyCount;

    d_.order_complete_[o] =
        std::all_of(d_.species_store_.begin(), d_.species_store_.end(),
                    [&](const Tspecies& s) { return s.position_in_orders_2_to_4[o - 1] >= 0; });
}
