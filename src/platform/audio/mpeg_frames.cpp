#include "platform/audio/mpeg_frames.h"

#include <algorithm>
#include <cstring>

namespace platform::audio {

namespace {

// Bytes of side information after the header.
int sideInfoSize(const MpegFrameHeader& header) {
    return header.mpeg1() ? (header.mono ? 17 : 32) : (header.mono ? 9 : 17);
}

bool isInfoFrame(const std::uint8_t* frame, std::size_t available, const MpegFrameHeader& header) {
    const std::size_t at = 4 + static_cast<std::size_t>(sideInfoSize(header));
    if (available >= at + 4 && (std::memcmp(frame + at, "Xing", 4) == 0 ||
                                std::memcmp(frame + at, "Info", 4) == 0))
        return true;
    return available >= 36 + 4 && std::memcmp(frame + 36, "VBRI", 4) == 0;
}

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

MpegFrameIndex indexMpegFrames(std::span<const std::uint8_t> data, std::int64_t baseOffset) {
    MpegFrameIndex index;
    // Frames of the recordings' bit rates are at least about 100 bytes.
    index.offsets.reserve(data.size() / 96 + 1);
    std::size_t pos = 0;
    MpegFrameHeader header;
    while (pos + 4 <= data.size()) {
        if (!parseMpegFrameHeader(data.data() + pos, header)) {
            ++pos;
            continue;
        }
        // A header counts once the stream has settled on a rate; a lone
        // sync pattern inside damaged data with another rate is skipped.
        if (index.sample_rate != 0 && header.sample_rate != index.sample_rate) {
            ++pos;
            continue;
        }
        if (pos + static_cast<std::size_t>(header.size()) > data.size()) break;  // cut short
        if (index.offsets.empty() && !index.has_info_frame &&
            isInfoFrame(data.data() + pos, data.size() - pos, header)) {
            index.has_info_frame = true;
        } else {
            index.offsets.push_back(baseOffset + static_cast<std::int64_t>(pos));
            index.sample_rate = header.sample_rate;
            index.samples_per_frame = header.samples;
        }
        pos += static_cast<std::size_t>(header.size());
    }
    return index;
}

SoundDataRegion findSoundData(std::span<const std::uint8_t> file) {
    SoundDataRegion region;
    const std::size_t n = file.size();
    const std::uint8_t* p = file.data();
    if (n >= 12 && std::memcmp(p, "RIFF", 4) == 0 && std::memcmp(p + 8, "WAVE", 4) == 0) {
        std::size_t pos = 12;
        while (pos + 8 <= n) {
            const std::uint32_t size = le32(p + pos + 4);
            if (std::memcmp(p + pos, "fmt ", 4) == 0 && pos + 10 <= n) {
                region.wave_format_tag = p[pos + 8] | p[pos + 9] << 8;
            } else if (std::memcmp(p + pos, "data", 4) == 0) {
                region.offset = static_cast<std::int64_t>(pos + 8);
                region.size = std::min<std::int64_t>(size, static_cast<std::int64_t>(n) - region.offset);
                return region;
            }
            pos += 8 + static_cast<std::size_t>(size) + (size & 1);
        }
        region.size = 0;
        return region;
    }
    std::size_t start = 0;
    if (n >= 10 && std::memcmp(p, "ID3", 3) == 0) {
        const std::size_t tagSize = (p[6] & 0x7F) << 21 | (p[7] & 0x7F) << 14 |
                                    (p[8] & 0x7F) << 7 | (p[9] & 0x7F);
        start = std::min(n, 10 + tagSize + ((p[5] & 0x10) ? 10 : 0));
    }
    std::size_t end = n;
    if (end >= start + 128 && std::memcmp(p + end - 128, "TAG", 3) == 0) end -= 128;
    region.offset = static_cast<std::int64_t>(start);
    region.size = static_cast<std::int64_t>(end - start);
    return region;
}

}  // namespace platform::audio
