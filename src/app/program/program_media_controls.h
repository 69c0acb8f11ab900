#pragma once

#include "platform/media_controls.h"

#include <QPointer>
#include <QTimer>

#include <chrono>

class Tsound_bar;

// Shows the recording buttons' playing in the desktop's media controls and
// carries the desktop's commands back to the button that plays (or played
// last). Watched on a short timer: the buttons play on their own timers and
// tell nobody.
class TProgramMediaControls {
  public:
    explicit TProgramMediaControls(std::chrono::milliseconds idle = std::chrono::seconds(60));
    // The state is read now instead of at the next look.
    void look();

  private:
    Tsound_bar* button() const { return last_.data(); }

    QPointer<Tsound_bar> last_;
    QTimer watch_;
    platform::MediaControls controls_;
    // Where the playhead was at the last look, to tell a jump from playing on.
    std::int64_t last_position_us_ = -1;
    std::chrono::steady_clock::time_point last_look_;
};
