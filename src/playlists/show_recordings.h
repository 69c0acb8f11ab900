#pragma once

// Spoken names played through the program's own sound output.

#include "playlists/show_steps.h"

// Says a name by playing its WAV file on the sound engine and waiting in a
// local event loop until it has been said: windows keep painting, but user
// input waits, as the show's step is not finished before the name is.
class TWaitingSpokenNames : public TSpokenNames {
  public:
    void say(const QString& wavPath) override;

    // How often the wait looks whether the name is still being said.
    static constexpr int kPollMs = 20;
    // However the output fares, the wait ends this long after the name's
    // own length.
    static constexpr int kGraceMs = 1000;
};
