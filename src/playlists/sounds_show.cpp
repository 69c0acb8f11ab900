#include "playlists/sounds_show.h"

#include "app/globals.h"
#include "data/media_records.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"
#include "playlists/recent_list.h"

#include <QFileInfo>

Tsounds_demo_and_play_lists_handler::Tsounds_demo_and_play_lists_handler(
    const TSetup& setup, const TClassVisibleSpeciesAndRecordings& visibleSet, TParts parts,
    std::mt19937& random)
    : play_list_mode_(setup.play_list),
      options_(setup.options),
      parts_(parts),
      choices_(visibleSet, setup.quality_class, random) {}

QString Tsounds_demo_and_play_lists_handler::caption() {
    return GLB_text(QStringLiteral("SOUND_DEMO"), 1);
}

TShowStep Tsounds_demo_and_play_lists_handler::go(State next, int intervalMs) {
    state_ = next;
    return {TShowStep::Then::Continue, intervalMs};
}

TShowStep Tsounds_demo_and_play_lists_handler::step() {
    switch (state_) {
        case State::Waiting: return waiting();
        case State::Next: return next();
        case State::Name: return name();
        case State::Play: return play();
    }
    return {TShowStep::Then::StopShow, 0};
}

TShowStep Tsounds_demo_and_play_lists_handler::waiting() {
    if (recording_ && recording_->is_opened()) return go(State::Waiting, 200);
    if (names_after() && !first_step_)
        return go(State::Name, seconds_ms(options_.seconds_between_sounds));
    return go(State::Next, 10);
}

TShowStep Tsounds_demo_and_play_lists_handler::next() {
    if (play_list_mode_) {
        const auto entry = parts_.play_list ? parts_.play_list->next_recording() : std::nullopt;
        if (!entry) return {TShowStep::Then::CloseWindow, 0};
        species_ = entry->entry.recording_item->species;
        recording_number_ = entry->entry.recording_number;
        repeat_ = entry->repeat;
        last_ = entry->last;
    } else {
        const Tspecies* species = choices_.species_for_sounds(species_);
        const auto recording = species ? choices_.recording_of(*species) : std::nullopt;
        if (!recording) {
            // Nothing visible can be played: say so instead of drawing forever.
            platform::DialogService::message(GLB_text(QStringLiteral("SOUND_DEMO"), 2),
                                             GLB().message_box_caption,
                                             platform::box::IconStop);
            return {TShowStep::Then::StopShow, 0};
        }
        species_ = species;
        recording_number_ = recording->recording_number;
    }
    recording_ = parts_.list.present(*species_, recording_number_);
    const bool wasFirst = first_step_;
    first_step_ = false;
    if (!names_before() || repeat_)
        return go(State::Play, repeat_ ? 10 : seconds_ms(options_.seconds_between_sounds));
    return go(State::Name, wasFirst ? 10 : seconds_ms(options_.seconds_between_sounds));
}

TShowStep Tsounds_demo_and_play_lists_handler::name() {
    const QString path = GLB_spoken_name_path(*species_);
    if (QFileInfo::exists(path)) parts_.names.say(path);
    const int pause = seconds_ms(options_.seconds_after_spoken_names);
    if (names_before()) return go(State::Play, pause);
    if (play_list_mode_ && last_) return {TShowStep::Then::CloseWindow, 0};
    return go(State::Next, pause);
}

TShowStep Tsounds_demo_and_play_lists_handler::play() {
    if (recording_) recording_->start();
    if (!recording_ || !recording_->is_opened()) {
        platform::DialogService::message(
            QStringLiteral("er ging iets fout met \"start_playing_...()\""),
            GLB().message_box_caption, platform::box::IconStop);
        return {TShowStep::Then::StopShow, 0};
    }
    if (!play_list_mode_ && parts_.recent) parts_.recent->add_recording(*species_, recording_number_);
    return go(State::Waiting, 200);
}
