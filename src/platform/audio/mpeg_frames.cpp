#include "platform/audio/mpeg_frames.h"

#include <algorithm>
#include <cstring>

namespace platform::audio {

namespace {

struct FrameHeader {
    int size = 0;
    int samples = 0;
    int sample_rate = 0;
    int side_info = 0;  // bytes of side information after the header
};

// Only layer III headers are accepted: the recordings hold no other layer.
bool parseHeader(const std::uint8_t* p, FrameHeader& header) {
    if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return false;
    const int version = (p[1] >> 3) & 3;  // 0: 2.5, 2: 2, 3: 1
    const int layer = (p[1] >> 1) & 3;
    const int bitrateIndex = p[2] >> 4;
    const int rateIndex = (p[2] >> 2) & 3;
    if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3)
        return false;
    static constexpr int kBitratesV1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static constexpr int kBitratesV2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static constexpr int kRates[] = {44100, 48000, 32000};
    const bool mpeg1 = version == 3;
    const int bitrate = (mpeg1 ? kBitratesV1 : kBitratesV2)[bitrateIndex] * 1000;
    int rate = kRates[rateIndex];
    if (version == 2) rate /= 2;
    if (version == 0) rate /= 4;
    const int padding = (p[2] >> 1) & 1;
    const bool mono = (p[3] >> 6) == 3;
    header.samples = mpeg1 ? 1152 : 576;
    header.size = (mpeg1 ? 144 : 72) * bitrate / rate + padding;
    header.sample_rate = rate;
    header.side_info = mpeg1 ? (mono ? 17 : 32) : (mono ? 9 : 17);
    return header.size >= 4;
}

bool isInfoFrame(const std::uint8_t* frame, std::size_t available, const FrameHeader& header) {
    const std::size_t at = 4 + static_cast<std::size_t>(header.side_info);
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
    FrameHeader header;
    while (pos + 4 <= data.size()) {
        if (!parseHeader(data.data() + pos, header)) {
            ++pos;
            continue;
        }
        // A header counts once the stream has settled on a rate; a lone
        // sync pattern inside damaged data with another rate is skipped.
        if (index.sample_rate != 0 && header.sample_rate != index.sample_rate) {
            ++pos;
            continue;
        }
        if (pos + static_cast<std::size_t>(header.size) > data.size()) break;  // cut short
        if (index.offsets.empty() && !index.has_info_frame &&
            isInfoFrame(data.data() + pos, data.size() - pos, header)) {
            index.has_info_frame = true;
        } else {
            index.offsets.push_back(baseOffset + static_cast<std::int64_t>(pos));
            index.sample_rate = header.sample_rate;
            index.samples_per_frame = header.samples;
        }
        pos += static_cast<std::size_t>(header.size);
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
