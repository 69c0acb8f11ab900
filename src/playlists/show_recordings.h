#pragma once

// Until the players of the recording buttons are part of the program, the
// shows drive these stand-ins: a recording that "plays" silently for its
// length, and spoken names played by the system's WAV player when there is
// one. The real recording buttons and sound output replace them through the
// show recording source of the show windows and the names speaker.

#include "playlists/show_steps.h"

#include <QElapsedTimer>
#include <functional>
#include <memory>

// A recording that is open from its start until its length has passed.
class TSilentShowRecording : public TShowRecording {
  public:
    explicit TSilentShowRecording(int lengthMs) : length_ms_(lengthMs) {}
    void start() override { clock_.start(); }
    bool is_opened() const override { return clock_.isValid() && !clock_.hasExpired(length_ms_); }
    bool reached_end() const override { return !is_opened(); }

  private:
    int length_ms_;
    QElapsedTimer clock_;
};

// Says names by playing the file with the system's WAV player, waiting in a
// local event loop that keeps windows painting but takes no user input.
class TWaitingSpokenNames : public TSpokenNames {
  public:
    void say(const QString& wavPath) override;
    // The length of a PCM WAV file's sound; 0 when it is none.
    static int wav_length_ms(const QString& path);
};
