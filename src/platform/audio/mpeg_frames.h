#pragma once

#include "platform/audio/mpeg_frame_header.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace platform::audio {

// The layer III frames of an MPEG audio stream, found by walking their
// headers: the exact sample count where no header states it, and the byte
// place of every frame for exact seeking.
struct MpegFrameIndex {
    std::vector<std::int64_t> offsets;  // file offset of each audio frame
    int samples_per_frame = 0;
    int sample_rate = 0;
    bool has_info_frame = false;  // a Xing/Info/VBRI frame states the length itself

    std::int64_t total_samples() const {
        return static_cast<std::int64_t>(offsets.size()) * samples_per_frame;
    }
};

// Walks `data` (the part of the file from `baseOffset` that holds the MPEG
// stream). Bytes that are no frame are skipped until the next header.
MpegFrameIndex indexMpegFrames(std::span<const std::uint8_t> data, std::int64_t baseOffset);

// Where the sound lies in a file: for a RIFF WAVE file its data chunk (and
// the format tag), for a raw MPEG file what follows an ID3v2 tag and
// precedes an ID3v1 tag.
struct SoundDataRegion {
    std::int64_t offset = 0;
    std::int64_t size = 0;
    int wave_format_tag = -1;  // -1: not a WAVE file
};
SoundDataRegion findSoundData(std::span<const std::uint8_t> file);

}  // namespace platform::audio
