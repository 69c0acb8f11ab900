#pragma once

#include <cstdint>

namespace platform::audio {

// The output's fixed format: interleaved float stereo.
inline constexpr int kOutputRate = 44100;
inline constexpr int kOutputChannels = 2;

inline constexpr std::int64_t framesFromMs(std::int64_t ms) {
    return ms * kOutputRate / 1000;
}

// Something that hands out sound in the output's format from a chosen
// place up to a chosen end. Used by one thread at a time.
class SoundSource {
  public:
    virtual ~SoundSource() = default;
    // The range to play, in output frames from the start of the medium.
    virtual bool start(std::int64_t fromFrame, std::int64_t toFrame) = 0;
    // Fills up to `frames` frames; 0 at the end of the range (or of the data).
    virtual int read(float* out, int frames) = 0;
};

}  // namespace platform::audio
