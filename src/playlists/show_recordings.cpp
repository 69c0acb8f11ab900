#include "playlists/show_recordings.h"

#include "platform/audio/media_control.h"

#include <QEventLoop>
#include <QTimer>

namespace mci = platform::audio::mci;

void TWaitingSpokenNames::say(const QString& wavPath) {
    platform::audio::MediaControl& control = platform::audio::mediaControl();
    unsigned device = 0;
    if (control.open(mci::kDeviceWaveAudio, wavPath, false, device) != 0) return;
    std::uint32_t lengthMs = 0;
    const bool known = control.setTimeFormat(device, mci::kFormatMilliseconds) == 0 &&
                       control.status(device, 0, mci::kStatusLength, lengthMs) == 0;
    if (known && control.play(device, std::nullopt, std::nullopt) == 0) {
        QEventLoop loop;
        QTimer poll;
        poll.setInterval(kPollMs);
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            std::uint32_t mode = 0;
            if (control.status(device, 0, mci::kStatusMode, mode) != 0 || mode != mci::kModePlaying)
                loop.quit();
        });
        QTimer deadline;
        deadline.setSingleShot(true);
        // A coarse timer may fire 5 % early and cut the end of a long name.
        deadline.setTimerType(Qt::PreciseTimer);
        QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
        deadline.start(static_cast<int>(std::min<std::uint32_t>(lengthMs, 60000)) + kGraceMs);
        poll.start();
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        control.stop(device);
    }
    control.close(device);
}
