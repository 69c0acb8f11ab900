#include "sound/mp3_memory_stream.h"

#include "platform/audio/mpeg_frame_header.h"

#include <QFile>
#include <algorithm>
#include <cstring>

std::optional<TMP3FrameHeader> GLB_mp3_frame_header(const std::uint8_t* bytes,
                                                    std::int64_t available) {
    // The sound engine reads the same frames: one reading of their tables.
    platform::audio::MpegFrameHeader mpeg;
    if (available < 4 || !platform::audio::parseMpegFrameHeader(bytes, mpeg)) return std::nullopt;
    return TMP3FrameHeader{mpeg.bit_rate, mpeg.sample_rate, mpeg.samples, mpeg.padding};
}

TMP3MemoryStream::TMP3MemoryStream(const std::uint8_t* data, std::int64_t count) {
    write(data, count);
    seek(0);
}

void TMP3MemoryStream::LoadSoundFile(const QString& fileName, bool& failed) {
    TSoundMemoryStream::LoadSoundFile(fileName, failed);
    if (!failed) keep_frames_only();
}

void TMP3MemoryStream::keep_frames_only() {
    seek(0);
    skip_tag();
    const std::int64_t start = std::min(position(), size());
    std::int64_t end = start;
    seek(start);
    while (step_frame()) end = position();
    // Frames never run into a tag appended at the end.
    if (const auto appended = appended_tag_start()) end = std::max(start, std::min(end, *appended));
    keep_range(start, end);
}

void TMP3MemoryStream::skip_tag() {
    const std::int64_t start = position();
    if (size() - start < id3::kHeaderSize ||
        std::memcmp(bytes().constData() + start, "ID3", 3) != 0)
        return;
    // The frames of the old tag are of no use to a copy: only its extent counts.
    const std::uint8_t flags = byte_at(start + 5);
    const std::uint32_t tagSize =
        id3::read_syncsafe(reinterpret_cast<const std::uint8_t*>(bytes().constData()) + start + 6);
    seek(start + tagSize + id3::kHeaderSize + ((flags & 0x10) ? 10 : 0));
}

std::optional<std::int64_t> TMP3MemoryStream::appended_tag_start() const {
    if (size() < 10) return std::nullopt;
    const char* footer = bytes().constData() + size() - 10;
    if (std::memcmp(footer, "3DI", 3) != 0) return std::nullopt;
    const std::uint32_t tagSize =
        id3::read_syncsafe(reinterpret_cast<const std::uint8_t*>(footer) + 6);
    const std::int64_t header = size() - std::int64_t(tagSize) - 20;
    // A footer without its tag in front of it marks nothing.
    if (header < 0 || std::memcmp(bytes().constData() + header, "ID3", 3) != 0)
        return std::nullopt;
    return header;
}

bool TMP3MemoryStream::step_frame() {
    const bool first = first_frame_;
    first_frame_ = false;
    const std::int64_t p = position();
    if (p >= size()) return false;
    const auto header = GLB_mp3_frame_header(
        reinterpret_cast<const std::uint8_t*>(bytes().constData()) + p, size() - p);
    if (!header) return false;
    if (first) frame_duration_ = double(header->samples) / header->sample_rate;
    if (p + header->length() > size()) return false;
    seek(p + header->length());
    return true;
}

bool TMP3MemoryStream::CutSlice(double startSeconds, double lengthSeconds) {
    seek(0);
    first_frame_ = true;
    std::int64_t frames = 0;
    std::optional<std::int64_t> sliceStart;
    std::optional<std::int64_t> sliceEnd;
    bool stepped = true;
    while (stepped) {
        const std::int64_t before = position();
        stepped = step_frame();
        if (stepped) ++frames;
        if (!sliceStart && frames * frame_duration_ > startSeconds) sliceStart = before;
        if (!sliceEnd) {
            if (!stepped)
                sliceEnd = before;
            else if (frames * frame_duration_ > startSeconds + lengthSeconds)
                sliceEnd = position();
        }
    }
    if (sliceStart && sliceEnd && *sliceStart < *sliceEnd)
        keep_range(*sliceStart, *sliceEnd);
    else
        seek(0);
    return true;
}

void TMP3MemoryStream::repeat(int extraCopies) {
    if (extraCopies <= 0 || empty()) return;
    const QByteArray once = bytes();
    bytes().reserve(once.size() * (extraCopies + 1));
    for (int i = 0; i < extraCopies; ++i) bytes().append(once);
    seek(0);
}

void TMP3MemoryStream::write_tag(const TID3TagTexts& texts, TLanguage language, int trackNumber,
                                 int speciesPosition) {
    bytes().prepend(id3::build_tag(texts, language, trackNumber, speciesPosition));
    seek(0);
}
