#pragma once

// What the shows drive: a recording button, the show window's list, the
// spoken names and the playlist window. The windows give the real ones;
// tests give their own.

#include "playlists/playlist.h"

#include <QString>
#include <optional>

class Tcupaitem;
class Tspecies;

// A recording button as a show uses it.
class TShowRecording {
  public:
    virtual ~TShowRecording() = default;
    // The button's click: opens the player and plays.
    virtual void start() = 0;
    // The player is open; a button closes it when its recording has ended.
    virtual bool is_opened() const = 0;
    // The position bar has reached its end.
    virtual bool reached_end() const = 0;
};

// The list of a show window.
class TShowList {
  public:
    virtual ~TShowList() = default;
    // Lists the species, moves the selection to its recording of that
    // number and returns that recording's button (the list keeps it); none
    // when there is no such button.
    virtual TShowRecording* present(const Tspecies& species, int recordingNumber) = 0;
};

// Says a species' name from its spoken-name file; returns when the name has
// been said (windows keep painting meanwhile).
class TSpokenNames {
  public:
    virtual ~TSpokenNames() = default;
    virtual void say(const QString& wavPath) = 0;
};

// The playlist window, as the playlist show asks it for the next entry.
class TPlayListSource {
  public:
    virtual ~TPlayListSource() = default;
    virtual std::optional<TNextRecording> next_recording() = 0;
};

// The spoken-name file of a species: base directory + "voices\lang1"
// (English interface) or "voices\lang2" (any other) + "\" + the family
// folder as an 8.3 name + "\" + the identifier + ".wav".
QString GLB_spoken_name_path(const Tspecies& species);

// What a show step asks of its timer.
struct TShowStep {
    enum class Then { Continue, StopShow, CloseWindow };
    Then then = Then::Continue;
    int interval_ms = 0;  // for Continue
};
