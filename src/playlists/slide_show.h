#pragma once

// The slide show: random photographs of the visible species, each with one
// of the species' recordings when the show has sounds, stepped by the
// picture window's timer.

#include "playlists/between_sounds_options.h"
#include "playlists/show_choices.h"
#include "playlists/show_steps.h"

class TRecordingsAndOrPicturesList;

// The picture window the slide show runs in.
class TSlidePresenter {
  public:
    virtual ~TSlidePresenter() = default;
    // The picture-information or person window of the picture window shows.
    virtual bool info_windows_showing() const = 0;
    // Shows the species' picture of that number; false when it cannot.
    virtual bool show_picture(const Tspecies& species, int pictureNumber) = 0;
    // Makes the recording button for the recording, centred near the
    // bottom of the window (the presenter keeps it); frees the previous one.
    virtual TShowRecording* make_recording_button(const Tcupaitem& item, int recordingNumber) = 0;
    virtual void free_recording_button() = 0;
};

class TSlideShow {
  public:
    struct TSetup {
        bool with_sounds = false;
        int slide_seconds = 10;
        int quality_class = 3;
        TBetweenSoundsOptions options;
    };
    struct TParts {
        TSlidePresenter& window;
        TSpokenNames& names;
        TRecordingsAndOrPicturesList* recent = nullptr;
    };

    TSlideShow(const TSetup& setup, const TClassVisibleSpeciesAndRecordings& visibleSet,
               TParts parts, std::mt19937& random);

    // Picks and shows the first picture; the first timer interval, or none
    // when no picture could be shown (the window is not opened then).
    std::optional<int> start();
    TShowStep step();

    int slide_interval_ms() const { return interval_ms_; }
    const Tspecies* current_species() const { return species_; }

  private:
    enum class State { Waiting, NextPicture, Recording, Name, Play };
    TShowStep go(State next, int intervalMs);
    TShowStep waiting();
    TShowStep next_picture();
    TShowStep recording();
    TShowStep name();
    TShowStep play();
    bool names_after() const {
        return options_.tell_species_names && options_.tell_names_afterwards;
    }
    const Tspecies* next_species();

    bool with_sounds_;
    int interval_ms_;
    TBetweenSoundsOptions options_;
    TParts parts_;
    TShowChoices choices_;
    State state_ = State::Waiting;
    bool first_step_ = true;
    const Tspecies* species_ = nullptr;
    int picture_number_ = 0;
    TShowRecording* recording_ = nullptr;
};
