#pragma once

#include "sound/sound_memory_stream.h"

#include <array>
#include <cstdint>

// The body of a WAV file's "fmt " chunk, zero-filled before it is read. A
// larger chunk fills the record and the rest is skipped.
struct TWaveFormatRecord {
    static constexpr int kSize = 147;
    static constexpr std::uint16_t kPcm = 1;
    static constexpr std::uint16_t kMpegLayer3 = 85;

    std::array<std::uint8_t, kSize> bytes{};

    std::uint16_t format_tag() const { return u16(0); }
    std::uint16_t channels() const { return u16(2); }
    std::uint32_t samples_per_second() const {
        return std::uint32_t(u16(4)) | std::uint32_t(u16(6)) << 16;
    }
    std::uint16_t bits_per_sample() const { return u16(14); }

  private:
    std::uint16_t u16(int offset) const {
        return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
    }
};

// A WAV file in memory, asked one thing: whether it holds MP3 data, and
// where that data starts.
class TWaveMemoryStream : public TSoundMemoryStream {
  public:
    // Walks the RIFF chunks to the first sound byte and leaves the position
    // there. A file that is not a wave file is reported and sets failed.
    void ParseHeader(bool& failed, TWaveFormatRecord& format, std::uint32_t& sampleCount);
    bool IsMP3InsideWave();
    // Everything from the first sound byte to the end of the file, trailing
    // chunks included (the "data" size is not trusted).
    void GetSoundData(bool& failed, const std::uint8_t*& data, std::int64_t& count);
};

// Loads and parses the file; true when it is a wave file of MPEG layer 3.
bool FileIsMP3InsideWave(const QString& fileName);

// Chunk identifiers as the platform's four-character codes: the text's bytes
// as a little-endian number, letter case as written.
constexpr std::uint32_t GLB_four_cc(const char (&text)[5]) {
    return std::uint32_t(std::uint8_t(text[0])) | std::uint32_t(std::uint8_t(text[1])) << 8 |
           std::uint32_t(std::uint8_t(text[2])) << 16 | std::uint32_t(std::uint8_t(text[3])) << 24;
}
