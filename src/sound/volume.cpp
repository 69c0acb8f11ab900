#include "sound/volume.h"

#include "app/settings.h"
#include "app/settings_general.h"
#include "platform/audio/media_control.h"

#include <algorithm>
#include <cmath>

namespace {
using settings::general::kSection;
using settings::general::kVolume;
int currentPosition = 0;
}  // namespace

int volume::level_for_position(int position) {
    return (100 - std::clamp(position, 0, 100)) * kMaximumLevel / 100;
}

int volume::position_for_level(int left, int right, bool stereo) {
    int v = left + right;
    if (stereo) v /= 2;
    return 100 - static_cast<int>(std::lround(100.0 * v / kMaximumLevel));
}

void GLB_restore_volume() {
    const int stored = std::clamp(GLB_read_int(kSection, kVolume, 100), 0, 100);
    currentPosition = 100 - stored;
    platform::audio::mediaControl().setGain(static_cast<double>(volume::level_for_position(currentPosition)) /
                                            volume::kMaximumLevel);
}

int GLB_volume_position() {
    return currentPosition;
}

void GLB_move_volume_to(int position) {
    currentPosition = std::clamp(position, 0, 100);
    platform::audio::mediaControl().setGain(static_cast<double>(volume::level_for_position(currentPosition)) /
                                            volume::kMaximumLevel);
    GLB_write_int(kSection, kVolume, 100 - currentPosition);
}
