#include "playlists/slide_show.h"

#include "data/taxa.h"
#include "playlists/recent_list.h"

#include <QFileInfo>

TSlideShow::TSlideShow(const TSetup& setup, const TClassVisibleSpeciesAndRecordings& visibleSet,
                       TParts parts, std::mt19937& random)
    : with_sounds_(setup.with_sounds),
      interval_ms_(setup.with_sounds ? 2000 : std::max(1, setup.slide_seconds) * 1000),
      options_(setup.options),
      parts_(parts),
      choices_(visibleSet, setup.quality_class, random) {}

const Tspecies* TSlideShow::next_species() {
    return with_sounds_ ? choices_.species_for_slides_with_sounds(species_)
                        : choices_.species_for_slides(species_);
}

std::optional<int> TSlideShow::start() {
    species_ = next_species();
    if (!species_) return std::nullopt;
    picture_number_ = choices_.picture_of(*species_);
    if (!parts_.window.show_picture(*species_, picture_number_)) return std::nullopt;
    first_step_ = true;
    if (with_sounds_) {
        state_ = State::Recording;
        return 10;
    }
    if (parts_.recent) parts_.recent->add_picture(*species_, picture_number_);
    state_ = State::Waiting;
    return interval_ms_;
}

TShowStep TSlideShow::go(State next, int intervalMs) {
    state_ = next;
    return {TShowStep::Then::Continue, intervalMs};
}

TShowStep TSlideShow::step() {
    switch (state_) {
        case State::Waiting: return waiting();
        case State::NextPicture: return next_picture();
        case State::Recording: return recording();
        case State::Name: return name();
        case State::Play: return play();
    }
    return {TShowStep::Then::StopShow, 0};
}

TShowStep TSlideShow::waiting() {
    if (parts_.window.info_windows_showing()) return go(State::Waiting, 500);
    if (with_sounds_ && recording_ && !recording_->reached_end()) return go(State::Waiting, 250);
    if (with_sounds_ && !first_step_ && names_after())
        return go(State::Name, std::max(0, options_.seconds_between_sounds) * 1000 + 250);
    return go(State::NextPicture, 10);
}

TShowStep TSlideShow::next_picture() {
    const Tspecies* species = next_species();
    if (!species) return {TShowStep::Then::StopShow, 0};
    species_ = species;
    picture_number_ = choices_.picture_of(*species_);
    parts_.window.show_picture(*species_, picture_number_);
    if (with_sounds_) {
        parts_.window.free_recording_button();
        recording_ = nullptr;
        return go(State::Recording, 250);
    }
    if (parts_.recent) parts_.recent->add_picture(*species_, picture_number_);
    return go(State::Waiting, interval_ms_);
}

TShowStep TSlideShow::recording() {
    const auto chosen = choices_.recording_of(*species_);
    if (chosen) {
        recording_ = parts_.window.make_recording_button(*chosen->item, chosen->recording_number);
        if (parts_.recent)
            parts_.recent->add_both(*species_, picture_number_, chosen->recording_number);
    }
    if (names_after()) return go(State::Play, 250);
    return go(State::Name, (first_step_ ? 0 : std::max(0, options_.seconds_between_sounds)) * 1000 + 250);
}

TShowStep TSlideShow::name() {
    int interval = 10;
    if (options_.tell_species_names) {
        const QString path = GLB_spoken_name_path(*species_);
        if (QFileInfo::exists(path)) {
            parts_.names.say(path);
            interval = std::max(0, options_.seconds_after_spoken_names) * 1000 + 10;
        }
    }
    return go(names_after() ? State::NextPicture : State::Play, interval);
}

TShowStep TSlideShow::play() {
    if (recording_) recording_->start();
    first_step_ = false;
    return go(State::Waiting, interval_ms_);
}
