#include "data/visibility_filter.h"

#include "app/editions.h"
#include "app/settings_window.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "data/areas.h"

namespace {

TSmallNumberSet cutTo(TSmallNumberSet set, int audioCdCount) {
    for (int n = std::max(audioCdCount + 1, 1); n <= 255; ++n) set.reset(static_cast<size_t>(n));
    return set;
}

bool inSet(const TSmallNumberSet& set, const TaudioCD* cd) {
    return cd && cd->sequence_number >= 1 && cd->sequence_number <= 255 &&
           set.test(static_cast<size_t>(cd->sequence_number));
}

}  // namespace

// --- Sound carriers ----------------------------------------------------------------

TClassSoundCarriersUseSpecification::TClassSoundCarriersUseSpecification()
    : show_native_recordings(GLB_edition().rules.shows_native_recordings_by_default) {}

void TClassSoundCarriersUseSpecification::read_settings(const QString& section, int audioCdCount) {
    if (audioCdCount <= 0) {
        show_native_recordings = true;
        return;
    }
    visible_audio_cds =
        cutTo(GLB_read_set(section, settings::window::kVisibleAudioCds, {}), audioCdCount);
    playable_audio_cds =
        cutTo(GLB_read_set(section, settings::window::kPlayableAudioCds, {}), audioCdCount);
    audio_cds_on_hard_disk =
        cutTo(GLB_read_set(section, settings::window::kAudioCdsOnHd, {}), audioCdCount);
    show_native_recordings = GLB_read_flag(section, settings::window::kShowNativeRecordings,
                                           settings::window::kShowNativeRecordingsDefault);
}

void TClassSoundCarriersUseSpecification::write_settings(const QString& section,
                                                         int audioCdCount) const {
    GLB_write_set(section, settings::window::kVisibleAudioCds, visible_audio_cds);
    GLB_write_set(section, settings::window::kPlayableAudioCds, playable_audio_cds);
    GLB_write_set(section, settings::window::kAudioCdsOnHd, audio_cds_on_hard_disk);
    if (audioCdCount > 0)
        GLB_write_flag(section, settings::window::kShowNativeRecordings, show_native_recordings);
}

void TClassSoundCarriersUseSpecification::reset(const Tdata& data) {
    visible_audio_cds.reset();
    for (const TaudioCD* cd : data.audio_cds())
        if (cd->carried_on_disc || inSet(audio_cds_on_hard_disk, cd))
            visible_audio_cds.set(static_cast<size_t>(cd->sequence_number));
    playable_audio_cds = visible_audio_cds;
    show_native_recordings = true;
}

// --- The filter ----------------------------------------------------------------------

TClassVisibleSpeciesAndRecordings::TClassVisibleSpeciesAndRecordings(const Tdata& data)
    : data_(&data) {
    apply_edition_defaults();
}

TClassVisibleSpeciesAndRecordings::TClassVisibleSpeciesAndRecordings(const Tdata& data,
                                                                     const QString& section)
    : TClassVisibleSpeciesAndRecordings(data) {
    read_settings(section);
}

TClassVisibleSpeciesAndRecordings::TClassVisibleSpeciesAndRecordings(
    const TClassVisibleSpeciesAndRecordings& other)
    : only_with_sounds_or_photos(other.only_with_sounds_or_photos),
      only_with_sounds(other.only_with_sounds),
      only_with_photos(other.only_with_photos),
      carriers(other.carriers),
      marks(other.marks),
      only_not_marked(other.only_not_marked),
      data_(other.data_),
      selected_area_(other.selected_area_ ? other.selected_area_->clone() : nullptr) {}

TClassVisibleSpeciesAndRecordings& TClassVisibleSpeciesAndRecordings::operator=(
    const TClassVisibleSpeciesAndRecordings& other) {
    if (this != &other) {
        data_ = other.data_;
        selected_area_ = other.selected_area_ ? other.selected_area_->clone() : nullptr;
        only_with_sounds_or_photos = other.only_with_sounds_or_photos;
        only_with_sounds = other.only_with_sounds;
        only_with_photos = other.only_with_photos;
        carriers = other.carriers;
        marks = other.marks;
        only_not_marked = other.only_not_marked;
    }
    return *this;
}

TClassVisibleSpeciesAndRecordings::~TClassVisibleSpeciesAndRecordings() = default;

void TClassVisibleSpeciesAndRecordings::apply_edition_defaults() {
    const TEdition& edition = GLB_edition();
    selected_area_ = TArea::create_for_edition(edition.edition_code);
    only_with_sounds_or_photos = edition.rules.only_with_sounds_or_photos_by_default;
    only_with_sounds = edition.rules.only_with_sounds_by_default;
    only_with_photos = false;
    carriers = TClassSoundCarriersUseSpecification();
}

void TClassVisibleSpeciesAndRecordings::read_settings(const QString& section) {
    selected_area_ = TArea::create_for_edition(GLB_edition().edition_code);
    if (selected_area_) {
        selected_area_->LoadSelection(section);
        if (auto* country = dynamic_cast<TCountryArea*>(selected_area_.get()))
            country->set_selected(TCountryArea::IN, true);
        if (auto* asia = dynamic_cast<TTropicalAsiaArea*>(selected_area_.get()))
            asia->clear_never_selectable();
    }
    if (GLB_edition().offers_sounds_photos_filter) {
        only_with_sounds_or_photos =
            GLB_read_flag(section, settings::window::kOnlyWithSoundsOrPhotos, settings::window::kOnlyWithDefault);
        only_with_sounds =
            GLB_read_flag(section, settings::window::kOnlyWithSounds, settings::window::kOnlyWithDefault);
        only_with_photos =
            GLB_read_flag(section, settings::window::kOnlyWithPhotos, settings::window::kOnlyWithDefault);
    }
    carriers.read_settings(section, data_->audio_cd_count());
    only_not_marked = GLB_read_flag(section, settings::window::kNotYetOnMyList, false);
}

void TClassVisibleSpeciesAndRecordings::save_to_settings(const QString& section) const {
    if (selected_area_) selected_area_->SaveSelection(section);
    if (GLB_edition().offers_sounds_photos_filter) {
        GLB_write_flag(section, settings::window::kOnlyWithSoundsOrPhotos,
                       only_with_sounds_or_photos);
        GLB_write_flag(section, settings::window::kOnlyWithSounds, only_with_sounds);
        GLB_write_flag(section, settings::window::kOnlyWithPhotos, only_with_photos);
    }
    carriers.write_settings(section, data_->audio_cd_count());
    GLB_write_flag(section, settings::window::kNotYetOnMyList, only_not_marked);
}

void TClassVisibleSpeciesAndRecordings::copy_from(const TClassVisibleSpeciesAndRecordings& other) {
    if (selected_area_ && other.selected_area_)
        selected_area_->AssignSelection(*other.selected_area_);
    only_with_sounds_or_photos = other.only_with_sounds_or_photos;
    only_with_sounds = other.only_with_sounds;
    only_with_photos = other.only_with_photos;
    carriers = other.carriers;
    only_not_marked = other.only_not_marked;
}

// --- Recordings ----------------------------------------------------------------------

bool TClassVisibleSpeciesAndRecordings::carrier_shown(const Tcutpart& cutPart) const {
    if (cutPart.is_sound_file) return carriers.show_native_recordings;
    if (!inSet(carriers.visible_audio_cds, cutPart.audio_cd)) return false;
    if (cutPart.selected || !selected_area_) return true;
    return selected_area_->OtherCountriesSelected();
}

bool TClassVisibleSpeciesAndRecordings::carrier_playable(const Tcutpart& cutPart) const {
    return carrier_shown(cutPart) &&
           (cutPart.is_sound_file || inSet(carriers.playable_audio_cds, cutPart.audio_cd));
}

bool TClassVisibleSpeciesAndRecordings::available_now(const Tcutpart& cutPart) const {
    return carrier_playable(cutPart) &&
           (cutPart.is_sound_file || (cutPart.audio_cd && cutPart.audio_cd->carried_on_disc) ||
            inSet(carriers.audio_cds_on_hard_disk, cutPart.audio_cd));
}

bool TClassVisibleSpeciesAndRecordings::kind_letter_passes(QChar kindLetter, int kindType) {
    if (kindLetter == u'A' || kindLetter == u'X') return true;
    if (kindLetter == u'B') return kindType == kKindsAB || kindType == kAllKinds;
    return kindType == kAllKinds;
}

Tcupaitem* TClassVisibleSpeciesAndRecordings::nth_item(const Tspecies& species, int n, int kindType,
                                                       bool playable) const {
    int found = 0;
    // Items after the first one not present are never shown.
    for (Tcupaitem* i = species.first_item; i && i->present; i = i->next_of_species) {
        if (!kind_letter_passes(i->kind_letter, kindType)) continue;
        if (!(playable ? carrier_playable(*i->cut_part) : carrier_shown(*i->cut_part))) continue;
        if (++found == n) return i;
    }
    return nullptr;
}

int TClassVisibleSpeciesAndRecordings::visible_recording_count(const Tspecies& species,
                                                               int kindType) const {
    int count = 0;
    for (const Tcupaitem* i = species.first_item; i && i->present; i = i->next_of_species)
        if (kind_letter_passes(i->kind_letter, kindType) && carrier_shown(*i->cut_part)) ++count;
    return count;
}

int TClassVisibleSpeciesAndRecordings::playable_recording_count(const Tspecies& species,
                                                                int kindType) const {
    int count = 0;
    for (const Tcupaitem* i = species.first_item; i && i->present; i = i->next_of_species)
        if (kind_letter_passes(i->kind_letter, kindType) && carrier_playable(*i->cut_part)) ++count;
    return count;
}

int TClassVisibleSpeciesAndRecordings::item_position(const Tcupaitem& item) const {
    if (!item.species) return 0;
    int position = 0;
    for (const Tcupaitem* i = item.species->first_item; i; i = i->next_of_species) {
        const bool shown = carrier_shown(*i->cut_part);
        if (shown) ++position;
        if (i == &item) return shown ? position : 0;
    }
    return 0;
}

bool TClassVisibleSpeciesAndRecordings::item_starts_new_group(const Tcupaitem& item) const {
    // Asked of the item, then of each earlier one whose predecessor is hidden.
    for (const Tcupaitem* i = &item;; i = i->previous_loaded) {
        const Tcupaitem* previous = i->previous_loaded;
        if (!previous) return true;
        const qint64 number = i->item_number;
        if (number % 10 == 0 && previous->item_number != number &&
            previous->item_number != number - 1)
            return true;
        if (carrier_shown(*previous->cut_part)) return false;
    }
}

// --- Species ---------------------------------------------------------------------------

bool TClassVisibleSpeciesAndRecordings::species_visible(const Tspecies& species) const {
    if (only_not_marked && marks && marks->marked(species)) return false;
    const TArea* area = selected_area_.get();
    bool visible = species.present_in_region;
    if (visible && species.distribution && area)
        visible = species.distribution->SharesUnitWith(*area);
    if (!visible) return false;

    const bool pictures = species.picture_count > 0;
    const bool recordings = visible_recording_count(species, kAllKinds) > 0;
    if (!pictures && !recordings && only_with_sounds_or_photos) return false;
    if (!pictures && only_with_photos) return false;
    if (!recordings && only_with_sounds) return false;

    if (!pictures && !recordings && !only_with_sounds_or_photos && !only_with_photos &&
        !only_with_sounds && area) {
        if (area->NoMainCountrySelected()) return false;
        if (species.unique_id == 4328 || species.unique_id == 2350) return false;
        if (species.distribution && !species.distribution->SharesMainCountryWith(*area))
            return false;
        if (GLB_edition().rules.hides_extralimital_species && species.species_number >= 1000000)
            return false;
    }
    return true;
}

std::unordered_set<const Tlocality*> TClassVisibleSpeciesAndRecordings::recording_localities() const {
    std::unordered_set<const Tlocality*> places;
    for (const Tspecies* species : data_->species_by_id_text()) {
        if (!species_visible(*species)) continue;
        for (const Tcupaitem* i = species->first_item; i && i->present; i = i->next_of_species)
            if (carrier_shown(*i->cut_part) && i->cut_part->locality)
                places.insert(i->cut_part->locality);
    }
    return places;
}
