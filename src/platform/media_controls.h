#pragma once

// The desktop's media controls (the panel applet, the media keys): the
// program appears there as an MPRIS player on the session bus while it plays.
// This class knows nothing of the program's players: it is told what plays
// and how, and calls back for the commands the desktop sends. Without a
// session bus it does nothing at all.

#include <QString>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

enum class PlaybackState { Stopped, Playing, Paused };

// What plays (or played last).
struct MediaTrack {
    // Identifies the track among the program's recordings; letters, digits
    // and underscores only (it becomes part of a D-Bus object path).
    QString id;
    QString title;
    QString artist;
    std::int64_t length_us = 0;

    bool operator==(const MediaTrack&) const = default;
};

class MediaControls {
  public:
    // What the desktop may ask for; a command left empty is not offered.
    struct Commands {
        std::function<void()> play;
        std::function<void()> pause;
        std::function<void()> stop;
        // Moves the playhead (µs from the track's start), playing on when it plays.
        std::function<void(std::int64_t us)> set_position;
        // The playhead now (µs), asked whenever the desktop reads it.
        std::function<std::int64_t()> position;
        // Brings the program's window to the front.
        std::function<void()> raise;
    };

    // The name on the bus is org.mpris.MediaPlayer2.<name>, or with
    // ".instance<pid>" when another copy holds that. The program leaves the
    // bus once nothing has played for `idle`.
    explicit MediaControls(Commands commands,
                           std::chrono::milliseconds idle = std::chrono::seconds(60),
                           const QString& name = QStringLiteral("korvelan"));
    ~MediaControls();
    MediaControls(const MediaControls&) = delete;
    MediaControls& operator=(const MediaControls&) = delete;

    // The player's state now. Playing puts the program on the bus; every
    // change is announced to the desktop.
    void update(const MediaTrack& track, PlaybackState state);
    // The playhead jumped (a seek the desktop did not ask for).
    void seeked(std::int64_t positionUs);

    // The bus name held now; empty while off the bus.
    QString bus_name() const;

    struct Service;

  private:
    std::unique_ptr<Service> service_;
};

}  // namespace platform
