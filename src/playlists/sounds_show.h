#pragma once

// The sounds-only show (random recordings of random species) and the
// playlist show, as one small state machine a show window steps with its
// timer.

#include "playlists/between_sounds_options.h"
#include "playlists/show_choices.h"
#include "playlists/show_steps.h"

class TClassVisibleSpeciesAndRecordings;
class TRecordingsAndOrPicturesList;

class Tsounds_demo_and_play_lists_handler {
  public:
    struct TSetup {
        bool play_list = false;
        int quality_class = 3;
        TBetweenSoundsOptions options;
    };
    // What the show works on; none of it is owned. A playlist show needs the
    // playlist; a sounds-only show the recent list of the window it serves.
    struct TParts {
        TShowList& list;
        TSpokenNames& names;
        TPlayListSource* play_list = nullptr;
        TRecordingsAndOrPicturesList* recent = nullptr;
    };

    Tsounds_demo_and_play_lists_handler(const TSetup& setup,
                                        const TClassVisibleSpeciesAndRecordings& visibleSet,
                                        TParts parts, std::mt19937& random);

    // The interval of the timer's first step.
    static constexpr int kFirstInterval = 200;
    // One step of the show.
    TShowStep step();
    // The show window's caption.
    static QString caption();

    const Tspecies* current_species() const { return species_; }
    int current_recording_number() const { return recording_number_; }

  private:
    enum class State { Waiting, Next, Name, Play };
    TShowStep go(State next, int intervalMs);
    TShowStep waiting();
    TShowStep next();
    TShowStep name();
    TShowStep play();
    bool names_before() const { return options_.tell_species_names && !options_.tell_names_afterwards; }
    bool names_after() const { return options_.tell_species_names && options_.tell_names_afterwards; }
    int seconds_ms(int seconds) const { return std::max(0, seconds) * 1000 + 10; }

    bool play_list_mode_;
    TBetweenSoundsOptions options_;
    TParts parts_;
    TShowChoices choices_;
    State state_ = State::Waiting;
    bool first_step_ = true;
    const Tspecies* species_ = nullptr;
    TShowRecording* recording_ = nullptr;
    int recording_number_ = 0;
    bool repeat_ = false;
    bool last_ = false;
};
