#pragma once

#include "platform/audio/mpeg_frames.h"
#include "platform/audio/sound_source.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;
struct AVRational;
struct SwrContext;

namespace platform::audio {

// A sound file decoded by FFmpeg: PCM and compressed WAV, MP3 and WMA alike.
class FileDecoder final : public SoundSource {
  public:
    // Opens and measures the file; on failure `error` holds the media-control
    // code (file not found, invalid file, no decoder for the format).
    static std::unique_ptr<FileDecoder> open(const QString& path, unsigned& error);
    ~FileDecoder() override;

    // The exact length in milliseconds (rounded down).
    std::int64_t lengthMs() const { return lengthMs_; }
    std::int64_t lengthFrames() const { return lengthFrames_; }

    bool start(std::int64_t fromFrame, std::int64_t toFrame) override;
    int read(float* out, int frames) override;

  private:
    FileDecoder() = default;
    bool measure(const QString& path);
    bool decodeMore();
    void takeFrame(AVFrame* frame);
    std::int64_t firstFrameStart(std::int64_t stamp, AVRational timeBase, int frameSamples) const;

    AVFormatContext* format_ = nullptr;
    AVCodecContext* codec_ = nullptr;
    SwrContext* resampler_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVFrame* frame_ = nullptr;
    int stream_ = -1;
    int sourceRate_ = 0;
    // The stamp of the first decoded frame, when the length was counted by
    // decoding.
    std::optional<std::int64_t> firstFrameStamp_;
    MpegFrameIndex mpegFrames_;  // set for MPEG data: exact length and seeks
    std::int64_t lengthMs_ = 0;
    std::int64_t lengthFrames_ = 0;

    // Decoding state of the current range, in output frames.
    std::int64_t cursor_ = -1;  // the place of the next converted frame; -1 until known
    std::int64_t target_ = 0;
    std::int64_t end_ = 0;
    bool inputEnded_ = false;
    bool resamplerUsed_ = false;
    int failures_ = 0;
    std::vector<float> pending_;
    std::size_t pendingRead_ = 0;
    std::vector<float> convertBuffer_;
};

}  // namespace platform::audio
