#include "playlists/make_all_mp3s.h"

#include "app/editions.h"
#include "app/messages.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"

namespace {

constexpr int kListedFailures = 10;

QString stopQuestion() {
    return GLB_edition().language == TLanguage::English
               ? QStringLiteral("Do you want to stop making MP3 files?")
               : QStringLiteral("Quiere parar hacer archivos MP3?");
}

}  // namespace

QString GLB_make_all_mp3s_text(int line) {
    return GLB_text(QStringLiteral("MAKE ALL MP3s"), line);
}

TMakeAllMP3sJob::TMakeAllMP3sJob(const Tdata& data, int order,
                                 const TClassVisibleSpeciesAndRecordings& visible, Copier copier)
    : data_(data), order_(order), visible_(visible), copier_(std::move(copier)) {}

bool TMakeAllMP3sJob::wanted(const Tcupaitem& item) const {
    return item.cut_part && visible_.carrier_playable(*item.cut_part);
}

// A species' recordings end at the first one not present.
const Tcupaitem* TMakeAllMP3sJob::next_of_species(const Tcupaitem* item) const {
    for (; item && item->present; item = item->next_of_species)
        if (wanted(*item)) return item;
    return nullptr;
}

const Tcupaitem* TMakeAllMP3sJob::first_of(const Tspecies* species) const {
    return visible_.species_visible(*species) ? next_of_species(species->first_item) : nullptr;
}

// The first wanted recording of this species or of any species after it,
// family by family.
const Tcupaitem* TMakeAllMP3sJob::from(const Tfamily* family, const Tspecies* species) const {
    while (family) {
        for (; species; species = species->next(order_))
            if (const Tcupaitem* item = first_of(species)) return item;
        family = family->next;
        species = family ? family->first_species : nullptr;
    }
    return nullptr;
}

const Tcupaitem* TMakeAllMP3sJob::first() const {
    const Tfamily* family = data_.first_family(order_);
    return from(family, family ? family->first_species : nullptr);
}

const Tcupaitem* TMakeAllMP3sJob::next(const Tcupaitem& item) const {
    if (const Tcupaitem* sibling = next_of_species(item.next_of_species)) return sibling;
    if (!item.species) return nullptr;
    return from(item.species->family(order_), item.species->next(order_));
}

void TMakeAllMP3sJob::start() {
    total_ = 0;
    for (const Tcupaitem* item = first(); item; item = next(*item)) ++total_;
    current_ = first();
    done_ = 0;
    failure_count_ = 0;
    running_ = true;
    stop_requested_ = false;
    cancelled_ = false;
    paused = false;
    progress_text_.clear();
    failures_text_.clear();
    if (!current_) finish();
}

void TMakeAllMP3sJob::record_failure(const QString& label) {
    if (failures_text_.isEmpty()) failures_text_ = GLB_make_all_mp3s_text(8);
    ++failure_count_;
    if (failure_count_ < kListedFailures)
        failures_text_ += u'\n' + label;
    else if (failure_count_ == kListedFailures)
        failures_text_ += QStringLiteral("\n+ ...");
    if (GLB_show_message(stopQuestion(), platform::box::QuestionYesNo) == platform::answer::Yes)
        stop_requested_ = true;
}

bool TMakeAllMP3sJob::tick() {
    if (!running_ || paused) return running_;
    if (current_) {
        const QString label = copier_(*current_);
        if (cancelled_) {
            finish();
            return false;
        }
        if (label.isEmpty())
            ++done_;
        else
            record_failure(label);
        progress_text_ = GLB_make_all_mp3s_text(6) + u' ' + QString::number(done_) +
                         QStringLiteral(" (") + GLB_make_all_mp3s_text(7) + u' ' +
                         QString::number(total_) + QStringLiteral(").");
        current_ = next(*current_);
    }
    if (stop_requested_ || !current_) finish();
    return running_;
}

void TMakeAllMP3sJob::finish() {
    running_ = false;
    progress_text_ = GLB_make_all_mp3s_text(2) + u' ' + QString::number(done_) + u' ' +
                     GLB_make_all_mp3s_text(3) + QString(12, u' ');
}

QString TMakeAllMP3sJob::display_text(const QString& folder) const {
    QString text = progress_text_ + u'\n' + GLB_make_all_mp3s_text(5) + QStringLiteral(" \"") +
                   folder + QStringLiteral("\".");
    if (failure_count_ > 0) text += u'\n' + failures_text_;
    return text;
}
