#pragma once

#include <cstdint>

// The frame header reader is shared by the sound engine, which indexes the
// frames to play and seek, and by the program's MP3 streams, which copy
// them: one reading of the tables for both.
namespace platform::audio {

// One Layer III frame header of MPEG-1, MPEG-2 or MPEG-2.5. Each version has
// its own bit rates and sample rates; MPEG-2 and 2.5 frames hold half the
// samples of an MPEG-1 frame.
struct MpegFrameHeader {
    int bit_rate = 0;     // bit/s
    int sample_rate = 0;  // Hz
    int samples = 0;      // per frame: 1152 or 576
    int padding = 0;
    bool mono = false;

    bool mpeg1() const { return samples == 1152; }
    // Bytes, header included.
    int size() const {
        return static_cast<int>(std::int64_t(samples / 8) * bit_rate / sample_rate) + padding;
    }
    double duration() const { return double(samples) / sample_rate; }
};

// Reads the header in the four bytes at p. False for anything but Layer III
// with a listed bit rate and sample rate: free format (bit-rate index 0),
// index 15, the reserved sample rate and the reserved version are no frames.
inline bool parseMpegFrameHeader(const std::uint8_t* p, MpegFrameHeader& header) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    const int version = (p[1] >> 3) & 3;  // 0: 2.5, 1: reserved, 2: 2, 3: 1
    const int layer = (p[1] >> 1) & 3;    // 1: Layer III
    const int bitRateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (version == 1 || layer != 1 || bitRateIndex == 0 || bitRateIndex == 15 || rateIndex == 3)
        return false;
    static constexpr int kBitRatesV1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static constexpr int kBitRatesV2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static constexpr int kRates[] = {44100, 48000, 32000};
    const bool mpeg1 = version == 3;
    header.bit_rate = (mpeg1 ? kBitRatesV1 : kBitRatesV2)[bitRateIndex] * 1000;
    header.sample_rate = kRates[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    header.samples = mpeg1 ? 1152 : 576;
    header.padding = (p[2] >> 1) & 1;
    header.mono = (p[3] >> 6) == 3;
    return header.size() >= 4;
}

}  // namespace platform::audio
