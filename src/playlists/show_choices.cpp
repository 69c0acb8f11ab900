#include "playlists/show_choices.h"

#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"

std::mt19937& GLB_show_random() {
    static std::mt19937 generator(std::random_device{}());
    return generator;
}

void GLB_seed_show_random(unsigned seed) {
    GLB_show_random().seed(seed);
}

TShowChoices::TShowChoices(const TClassVisibleSpeciesAndRecordings& visibleSet, int qualityClass,
                           std::mt19937& random)
    : set_(visibleSet), quality_class_(qualityClass), random_(random) {
    const Tdata& data = set_.data();
    for (const Tfamily* family = data.first_family(kFirstOrder); family; family = family->next) {
        for (const Tspecies* s = family->first_species; s; s = s->next(kFirstOrder)) {
            if (s->family(kFirstOrder) != family) break;
            if (!set_.species_visible(*s) || s->scientific_name == QStringLiteral("?? ??"))
                continue;
            const bool pictures = s->picture_count > 0;
            const bool recordings = set_.playable_recording_count(*s, quality_class_) > 0;
            if (recordings) with_recordings_.push_back(s);
            if (recordings && pictures && s->has_sound_files)
                with_pictures_and_recordings_.push_back(s);
            if (pictures) with_pictures_.push_back(s);
        }
    }
}

const Tspecies* TShowChoices::draw(const std::vector<const Tspecies*>& from,
                                   const Tspecies* previous) {
    if (from.empty()) return nullptr;
    if (from.size() == 1) return from.front();
    for (;;) {
        std::uniform_int_distribution<size_t> pick(0, from.size() - 1);
        const Tspecies* s = from[pick(random_)];
        if (s != previous) return s;
    }
}

const Tspecies* TShowChoices::species_for_sounds(const Tspecies* previous) {
    return draw(with_recordings_, previous);
}

const Tspecies* TShowChoices::species_for_slides_with_sounds(const Tspecies* previous) {
    return draw(with_pictures_and_recordings_, previous);
}

const Tspecies* TShowChoices::species_for_slides(const Tspecies* previous) {
    return draw(with_pictures_, previous);
}

std::optional<TChosenRecording> TShowChoices::recording_of(const Tspecies& species) {
    const int count = set_.playable_recording_count(species, quality_class_);
    if (count == 0) return std::nullopt;
    std::uniform_int_distribution<int> pick(1, count);
    const Tcupaitem* item = set_.nth_item(species, pick(random_), quality_class_, true);
    if (!item) return std::nullopt;
    return TChosenRecording{item, set_.item_position(*item)};
}

int TShowChoices::picture_of(const Tspecies& species) {
    std::uniform_int_distribution<int> pick(1, std::max(1, species.picture_count));
    return pick(random_);
}
