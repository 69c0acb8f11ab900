#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

// What the sonograms read from the sound engine: a recording's sound as one
// channel at the file's own rate, and the engine's real Fourier transform.
// Both are safe from any thread and leave playing sound alone: every call
// opens its own decoder.
namespace platform::audio {

struct MonoSound {
    std::vector<float> samples;  // the channels mixed, -1..1
    int rate = 0;                // the file's own sample rate
    int channels = 0;            // in the file, before mixing
    // False when the data broke off before the end asked for (a damaged or
    // truncated file): `samples` holds what could be read.
    bool complete = true;
};

// A real-to-complex DFT of a fixed power-of-two size.
class RealTransform {
  public:
    virtual ~RealTransform() = default;
    virtual int size() const = 0;
    // `in`: size() samples; `out`: size() / 2 + 1 complex values as
    // (re, im) pairs, unscaled.
    virtual void forward(const float* in, float* out) = 0;
};

class SoundAnalysis {
  public:
    virtual ~SoundAnalysis() = default;
    // The sound of a file from `fromMs` to `toMs` (negative: to the end);
    // 0 or a media-control error code. `cancel`, when set, stops early.
    virtual unsigned decodeMono(const QString& file, std::int64_t fromMs, std::int64_t toMs,
                                MonoSound& out, const std::atomic<bool>* cancel) = 0;
    // The same for a part of a track on the audio CD in a drive (its
    // ordinal from 0, as the engine lists the drives), `fromMs` and `toMs`
    // counted from the track's start.
    virtual unsigned decodeCdMono(int driveOrdinal, int track, std::int64_t fromMs, std::int64_t toMs,
                                  MonoSound& out, const std::atomic<bool>* cancel) = 0;
    // None for a size the transform does not do.
    virtual std::unique_ptr<RealTransform> realTransform(int size) = 0;
};

// The engine module's analysis (loading the module at first use); without
// the module every decode fails with kErrorCannotLoadDriver.
SoundAnalysis& soundAnalysis();

}  // namespace platform::audio
