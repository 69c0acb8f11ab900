#pragma once

#include "sound/id3_tag.h"
#include "sound/sound_memory_stream.h"

#include <cstdint>
#include <optional>

// One accepted Layer III frame header (MPEG-1, 2 or 2.5).
struct TMP3FrameHeader {
    int bit_rate = 0;     // bit/s
    int sample_rate = 0;  // Hz
    int samples = 0;      // per frame: 1152 for MPEG-1, 576 for MPEG-2 and 2.5
    int padding = 0;
    int length() const {
        return static_cast<int>(std::int64_t(bit_rate) * samples / 8 / sample_rate) + padding;
    }
};

// Reads a frame header from four bytes; none for anything but Layer III
// with a listed bit rate and sample rate (free format, index 15 and the
// reserved sample rate and version are not frames).
std::optional<TMP3FrameHeader> GLB_mp3_frame_header(const std::uint8_t* bytes, std::int64_t available);

// The MPEG audio frames of one recording: loaded without the tags the
// source carries, cut to a time slice, repeated, and given a new tag.
class TMP3MemoryStream : public TSoundMemoryStream {
  public:
    TMP3MemoryStream() = default;
    // A copy of the bytes (the MP3 data found inside a WAV file).
    TMP3MemoryStream(const std::uint8_t* data, std::int64_t count);

    // The inherited load, then only the frames are kept, position 0.
    void LoadSoundFile(const QString& fileName, bool& failed) override;
    // Keeps the frames from the one during which the start falls to the one
    // during which start + length falls (or the last); a start beyond the
    // end changes nothing. Always true.
    bool CutSlice(double startSeconds, double lengthSeconds) override;

    // Finds the audio range of the buffer and keeps only it.
    void keep_frames_only();
    // Moves past one whole frame at the position.
    bool step_frame();
    // Appends the bytes extraCopies more times.
    void repeat(int extraCopies);
    // Puts a new ID3v2.3 tag in front of the audio.
    void write_tag(const TID3TagTexts& texts, TLanguage language, int trackNumber,
                   int speciesPosition);

    double frame_duration() const { return frame_duration_; }

  private:
    void skip_tag();
    // The header position of a tag appended at the end with a footer.
    std::optional<std::int64_t> appended_tag_start() const;

    bool first_frame_ = false;
    double frame_duration_ = 0;
};
