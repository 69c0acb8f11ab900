#include "platform/audio/file_decoder.h"

#include "platform/audio/media_control.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace platform::audio {

namespace {

// MP3 frames decoded before the seek target so that the bit reservoir of
// the wanted frame is filled; their sound is dropped.
constexpr int kReservoirFrames = 10;
// Damaged data: after this many packets in a row that do not decode, the
// rest of the file is treated as missing rather than decoded into noise.
constexpr int kFailuresBeforeGivingUp = 32;

bool isPcm(AVCodecID id) {
    return id >= AV_CODEC_ID_PCM_S16LE && id < AV_CODEC_ID_ADPCM_IMA_QT;
}

bool isMpegAudio(AVCodecID id) {
    return id == AV_CODEC_ID_MP3;
}

}  // namespace

std::unique_ptr<FileDecoder> FileDecoder::open(const QString& path, unsigned& error) {
    error = 0;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile()) {
        error = mci::kErrorFileNotFound;
        return nullptr;
    }
    // Damaged files are answered with codes; FFmpeg's own complaints would
    // only clutter the terminal.
    static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
    (void)quiet;
    std::unique_ptr<FileDecoder> d(new FileDecoder);
    const QByteArray name = QFile::encodeName(path);
    if (avformat_open_input(&d->format_, name.constData(), nullptr, nullptr) < 0) {
        error = mci::kErrorInvalidFile;
        return nullptr;
    }
    // The headers of the recordings' formats name rate and channels; only
    // where they do not is the stream probed (which reads and decodes).
    const auto described = [&d] {
        for (unsigned i = 0; i < d->format_->nb_streams; ++i) {
            const AVCodecParameters* p = d->format_->streams[i]->codecpar;
            if (p->codec_type == AVMEDIA_TYPE_AUDIO && p->sample_rate > 0 && p->ch_layout.nb_channels > 0 &&
                p->codec_id != AV_CODEC_ID_NONE)
                return true;
        }
        return false;
    };
    if (!described() && avformat_find_stream_info(d->format_, nullptr) < 0) {
        error = mci::kErrorInvalidFile;
        return nullptr;
    }
    d->stream_ = av_find_best_stream(d->format_, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (d->stream_ < 0) {
        error = mci::kErrorInvalidFile;
        return nullptr;
    }
    const AVCodecParameters* parameters = d->format_->streams[d->stream_]->codecpar;
    const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
    if (!decoder) {
        error = mci::kErrorNoSuitableDecoder;
        return nullptr;
    }
    d->codec_ = avcodec_alloc_context3(decoder);
    if (!d->codec_ || avcodec_parameters_to_context(d->codec_, parameters) < 0 ||
        avcodec_open2(d->codec_, decoder, nullptr) < 0) {
        error = mci::kErrorNoSuitableDecoder;
        return nullptr;
    }
    d->sourceRate_ = d->codec_->sample_rate;
    const int channels = d->codec_->ch_layout.nb_channels;
    if (d->sourceRate_ <= 0 || d->sourceRate_ > 384000 || channels <= 0 || channels > 16) {
        error = mci::kErrorInvalidFile;
        return nullptr;
    }
    // Mono stays mono through the resampler and is doubled afterwards, so
    // that it keeps its loudness on both sides.
    AVChannelLayout out;
    av_channel_layout_default(&out, std::min(channels, 2));
    if (swr_alloc_set_opts2(&d->resampler_, &out, AV_SAMPLE_FMT_FLT, kOutputRate,
                            &d->codec_->ch_layout, d->codec_->sample_fmt, d->sourceRate_, 0,
                            nullptr) < 0 ||
        // A coarser phase table builds in a fraction of the time of the
        // default one, which the first play would wait for; birdsong loses
        // nothing audible by it.
        av_opt_set_int(d->resampler_, "phase_shift", 6, 0) < 0 ||
        av_opt_set_int(d->resampler_, "exact_rational", 0, 0) < 0 ||
        av_opt_set_int(d->resampler_, "filter_size", 16, 0) < 0 ||
        swr_init(d->resampler_) < 0) {
        error = mci::kErrorNoSuitableDecoder;
        return nullptr;
    }
    d->packet_ = av_packet_alloc();
    d->frame_ = av_frame_alloc();
    if (!d->packet_ || !d->frame_ || !d->measure(path)) {
        error = mci::kErrorInvalidFile;
        return nullptr;
    }
    return d;
}

FileDecoder::~FileDecoder() {
    av_frame_free(&frame_);
    av_packet_free(&packet_);
    swr_free(&resampler_);
    avcodec_free_context(&codec_);
    avformat_close_input(&format_);
}

bool FileDecoder::measure(const QString& path) {
    const AVStream* st = format_->streams[stream_];
    std::int64_t samples = -1;
    if (isMpegAudio(st->codecpar->codec_id)) {
        // MPEG audio states no length unless an info frame does: count
        // the frames themselves.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return false;
        const uchar* bytes = file.map(0, file.size());
        if (!bytes) return false;
        const std::span<const std::uint8_t> all(bytes, static_cast<std::size_t>(file.size()));
        const SoundDataRegion region = findSoundData(all);
        mpegFrames_ = indexMpegFrames(
            all.subspan(static_cast<std::size_t>(region.offset), static_cast<std::size_t>(region.size)),
            region.offset);
        file.unmap(const_cast<uchar*>(bytes));
        if (mpegFrames_.has_info_frame && st->duration > 0) {
            samples = av_rescale_q(st->duration, st->time_base, AVRational{1, sourceRate_});
            mpegFrames_.offsets.clear();  // the decoder trims what the info frame says
        } else if (mpegFrames_.sample_rate == sourceRate_) {
            samples = mpegFrames_.total_samples();
        } else {
            mpegFrames_ = {};
        }
    } else if (isPcm(st->codecpar->codec_id) && st->duration > 0) {
        samples = av_rescale_q(st->duration, st->time_base, AVRational{1, sourceRate_});
    }
    if (samples < 0) {
        // Other compressions: the decoded sample count is the only exact one.
        samples = 0;
        int failures = 0;
        while (av_read_frame(format_, packet_) >= 0) {
            if (packet_->stream_index == stream_) {
                if (avcodec_send_packet(codec_, packet_) < 0) {
                    if (++failures > kFailuresBeforeGivingUp) {
                        av_packet_unref(packet_);
                        break;
                    }
                } else {
                    failures = 0;
                }
                while (avcodec_receive_frame(codec_, frame_) == 0) {
                    if (!firstFrameStamp_ && frame_->best_effort_timestamp != AV_NOPTS_VALUE)
                        firstFrameStamp_ = frame_->best_effort_timestamp;
                    samples += frame_->nb_samples;
                }
            }
            av_packet_unref(packet_);
        }
        avcodec_send_packet(codec_, nullptr);
        while (avcodec_receive_frame(codec_, frame_) == 0) samples += frame_->nb_samples;
        avcodec_flush_buffers(codec_);
    }
    lengthMs_ = samples * 1000 / sourceRate_;
    lengthFrames_ = samples * kOutputRate / sourceRate_;
    return true;
}

bool FileDecoder::start(std::int64_t fromFrame, std::int64_t toFrame) {
    target_ = std::clamp<std::int64_t>(fromFrame, 0, lengthFrames_);
    end_ = std::clamp<std::int64_t>(toFrame, target_, lengthFrames_);
    pending_.clear();
    pendingRead_ = 0;
    inputEnded_ = false;
    failures_ = 0;
    avcodec_flush_buffers(codec_);
    // A used resampler holds sound of the old place; building it anew costs
    // a few milliseconds, so a fresh one is kept.
    if (resamplerUsed_) {
        swr_close(resampler_);
        if (swr_init(resampler_) < 0) return false;
        resamplerUsed_ = false;
    }
    const AVStream* st = format_->streams[stream_];
    if (!mpegFrames_.offsets.empty()) {
        const std::int64_t sourceSample = target_ * sourceRate_ / kOutputRate;
        const std::int64_t frame = std::clamp<std::int64_t>(
            sourceSample / mpegFrames_.samples_per_frame - kReservoirFrames, 0,
            static_cast<std::int64_t>(mpegFrames_.offsets.size()) - 1);
        if (av_seek_frame(format_, -1, mpegFrames_.offsets[static_cast<std::size_t>(frame)],
                          AVSEEK_FLAG_BYTE) < 0)
            return false;
        cursor_ = frame * mpegFrames_.samples_per_frame * kOutputRate / sourceRate_;
        return true;
    }
    const std::int64_t origin = st->start_time == AV_NOPTS_VALUE ? 0 : st->start_time;
    // A little sound before the target fills the resampler's filter; it is dropped.
    const std::int64_t warmUp = std::max<std::int64_t>(0, target_ - kOutputRate / 10);
    const std::int64_t ts = origin + av_rescale_q(warmUp, AVRational{1, kOutputRate}, st->time_base);
    if (av_seek_frame(format_, stream_, ts, AVSEEK_FLAG_BACKWARD) < 0 &&
        av_seek_frame(format_, stream_, origin, AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY) < 0)
        return false;
    cursor_ = target_ == 0 ? 0 : -1;
    return true;
}

// Where the first frame after a seek starts, in output samples. WMA stamps
// its packets in whole milliseconds, up to half a millisecond (a few dozen
// samples) off; its frames all hold the same number of samples, so the
// stamp is put on that grid, where the frame really starts.
std::int64_t FileDecoder::firstFrameStart(std::int64_t stamp, AVRational timeBase,
                                          int frameSamples) const {
    if (frameSamples <= 0 || sourceRate_ <= 0 || static_cast<std::int64_t>(timeBase.den) >=
                                                     static_cast<std::int64_t>(timeBase.num) * sourceRate_)
        return av_rescale_q(stamp, timeBase, AVRational{1, kOutputRate});
    const double sourceSamples = static_cast<double>(stamp) * timeBase.num * sourceRate_ / timeBase.den;
    const std::int64_t frames = std::llround(sourceSamples / frameSamples);
    return frames * frameSamples * kOutputRate / sourceRate_;
}

namespace {

// Damaged data can decode into values no recording has, not-a-number among
// them (which a clamp lets through, every comparison with it being false):
// none may reach the speakers or the filters after.
float speakerSafe(float sample) {
    return std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f;
}

}  // namespace

void FileDecoder::takeFrame(AVFrame* frame) {
    if (cursor_ < 0 && !frame) return;
    if (cursor_ < 0) {
        const AVStream* st = format_->streams[stream_];
        // A decoder with a delay stamps its first sound later than the
        // stream's start (WMA by two frames); decoded from the start, that
        // sound is the recording's first.
        const std::int64_t origin = firstFrameStamp_ ? *firstFrameStamp_
                                    : st->start_time == AV_NOPTS_VALUE ? 0
                                                                       : st->start_time;
        cursor_ = frame->best_effort_timestamp == AV_NOPTS_VALUE
                      ? target_
                      : firstFrameStart(frame->best_effort_timestamp - origin, st->time_base,
                                        frame->nb_samples);
    }
    const int channels = std::min(codec_->ch_layout.nb_channels, 2);
    const int inputFrames = frame ? frame->nb_samples : 0;
    const int room = swr_get_out_samples(resampler_, inputFrames);
    if (room <= 0) return;
    convertBuffer_.resize(static_cast<std::size_t>(room) * static_cast<std::size_t>(channels));
    auto* out = reinterpret_cast<std::uint8_t*>(convertBuffer_.data());
    resamplerUsed_ = true;
    const int n = swr_convert(resampler_, &out, room,
                              frame ? const_cast<const std::uint8_t**>(frame->extended_data) : nullptr,
                              inputFrames);
    if (n <= 0) return;
    const std::int64_t first = std::max(target_, cursor_);
    const std::int64_t last = std::min(end_, cursor_ + n);
    for (std::int64_t i = first; i < last; ++i) {
        const std::size_t at = static_cast<std::size_t>(i - cursor_) * static_cast<std::size_t>(channels);
        const float left = convertBuffer_[at];
        const float right = channels == 2 ? convertBuffer_[at + 1] : left;
        pending_.push_back(speakerSafe(left));
        pending_.push_back(speakerSafe(right));
    }
    cursor_ += n;
    if (cursor_ >= end_) inputEnded_ = true;
}

bool FileDecoder::decodeMore() {
    if (inputEnded_) return false;
    for (;;) {
        if (av_read_frame(format_, packet_) < 0) {
            avcodec_send_packet(codec_, nullptr);
            while (!inputEnded_ && avcodec_receive_frame(codec_, frame_) == 0) takeFrame(frame_);
            // The resampler holds the last few frames back until it is drained.
            if (!inputEnded_) takeFrame(nullptr);
            inputEnded_ = true;
            return true;
        }
        if (packet_->stream_index != stream_) {
            av_packet_unref(packet_);
            continue;
        }
        const int sent = avcodec_send_packet(codec_, packet_);
        av_packet_unref(packet_);
        if (sent < 0 && sent != AVERROR(EAGAIN)) {
            if (++failures_ > kFailuresBeforeGivingUp) inputEnded_ = true;
            return true;
        }
        failures_ = 0;
        while (!inputEnded_ && avcodec_receive_frame(codec_, frame_) == 0) takeFrame(frame_);
        return true;
    }
}

int FileDecoder::read(float* out, int frames) {
    const auto wanted = static_cast<std::size_t>(frames) * kOutputChannels;
    while (pending_.size() - pendingRead_ < wanted && decodeMore()) {
    }
    const std::size_t available = std::min(wanted, pending_.size() - pendingRead_);
    std::copy_n(pending_.begin() + static_cast<std::ptrdiff_t>(pendingRead_), available, out);
    pendingRead_ += available;
    if (pendingRead_ > 1 << 16) {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(pendingRead_));
        pendingRead_ = 0;
    }
    return static_cast<int>(available / kOutputChannels);
}

}  // namespace platform::audio
