#pragma once

#include "platform/audio/sound_analysis.h"

namespace platform::audio {

// The engine's analysis: FFmpeg decoding to one channel and av_tx's real
// transform.
SoundAnalysis& engineSoundAnalysis();

}  // namespace platform::audio
