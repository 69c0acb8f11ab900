#include "platform/audio/mono_decoder.h"

#include "platform/audio/cd_disc.h"
#include "platform/audio/engine.h"
#include "platform/audio/media_control.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/mem.h>
#include <libavutil/tx.h>
#include <libswresample/swresample.h>
}

namespace platform::audio {

namespace {

using namespace mci;

// As in playback: this many undecodable packets in a row end the data.
constexpr int kFailuresBeforeGivingUp = 32;

// The FFmpeg objects of one decode, freed together.
struct Decode {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    SwrContext* mixer = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    ~Decode() {
        av_frame_free(&frame);
        av_packet_free(&packet);
        swr_free(&mixer);
        avcodec_free_context(&codec);
        avformat_close_input(&format);
    }
};

// Whether a RIFF file's data chunk claims more bytes than the file holds
// (the demuxer quietly reads what there is).
bool waveDataCutShort(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = f.read(1 << 16);
    if (!head.startsWith("RIFF")) return false;
    const auto le32 = [&head](qsizetype at) {
        return static_cast<quint32>(static_cast<std::uint8_t>(head[at])) |
               static_cast<quint32>(static_cast<std::uint8_t>(head[at + 1])) << 8 |
               static_cast<quint32>(static_cast<std::uint8_t>(head[at + 2])) << 16 |
               static_cast<quint32>(static_cast<std::uint8_t>(head[at + 3])) << 24;
    };
    for (qsizetype at = 12; at + 8 <= head.size();) {
        const quint32 size = le32(at + 4);
        if (head.mid(at, 4) == "data") return at + 8 + static_cast<qint64>(size) > f.size();
        at += 8 + static_cast<qsizetype>(size) + (size & 1);
    }
    return false;
}

class AvRealTransform final : public RealTransform {
  public:
    static std::unique_ptr<AvRealTransform> make(int size) {
        std::unique_ptr<AvRealTransform> t(new AvRealTransform(size));
        const float scale = 1.0f;
        if (!t->in_ || !t->out_ ||
            av_tx_init(&t->context_, &t->function_, AV_TX_FLOAT_RDFT, 0, size, &scale, 0) < 0)
            return nullptr;
        return t;
    }
    ~AvRealTransform() override {
        av_tx_uninit(&context_);
        av_free(in_);
        av_free(out_);
    }
    int size() const override { return size_; }
    void forward(const float* in, float* out) override {
        // The transform's SIMD code wants its own aligned buffers.
        std::copy_n(in, size_, in_);
        function_(context_, out_, in_, sizeof(float));
        std::copy_n(out_, size_ + 2, out);
        // The imaginary parts of 0 Hz and of the Nyquist frequency are zero
        // for real input; some of av_tx's versions leave them unwritten.
        out[1] = 0.0f;
        out[size_ + 1] = 0.0f;
    }

  private:
    explicit AvRealTransform(int size)
        : size_(size),
          in_(static_cast<float*>(av_malloc(sizeof(float) * static_cast<std::size_t>(size + 2)))),
          out_(static_cast<float*>(av_malloc(sizeof(float) * static_cast<std::size_t>(size + 2)))) {}
    int size_;
    float* in_;
    float* out_;
    AVTXContext* context_ = nullptr;
    av_tx_fn function_ = nullptr;
};

class EngineAnalysis final : public SoundAnalysis {
  public:
    unsigned decodeMono(const QString& file, std::int64_t fromMs, std::int64_t toMs, MonoSound& out,
                        const std::atomic<bool>* cancel) override;
    unsigned decodeCdMono(int driveOrdinal, int track, std::int64_t fromMs, std::int64_t toMs, MonoSound& out,
                          const std::atomic<bool>* cancel) override;
    std::unique_ptr<RealTransform> realTransform(int size) override {
        if (size < 16 || size > (1 << 16) || (size & (size - 1)) != 0) return nullptr;
        return AvRealTransform::make(size);
    }
};

unsigned EngineAnalysis::decodeMono(const QString& file, std::int64_t fromMs, std::int64_t toMs,
                                    MonoSound& out, const std::atomic<bool>* cancel) {
    out = {};
    if (file.isEmpty() || !QFileInfo(file).isFile()) return kErrorFileNotFound;
    static const bool quiet = (av_log_set_level(AV_LOG_QUIET), true);
    (void)quiet;
    Decode d;
    const QByteArray name = QFile::encodeName(file);
    if (avformat_open_input(&d.format, name.constData(), nullptr, nullptr) < 0) return kErrorInvalidFile;
    if (avformat_find_stream_info(d.format, nullptr) < 0) return kErrorInvalidFile;
    const int stream = av_find_best_stream(d.format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (stream < 0) return kErrorInvalidFile;
    const AVCodecParameters* parameters = d.format->streams[stream]->codecpar;
    const AVCodec* decoder = avcodec_find_decoder(parameters->codec_id);
    if (!decoder) return kErrorNoSuitableDecoder;
    d.codec = avcodec_alloc_context3(decoder);
    if (!d.codec || avcodec_parameters_to_context(d.codec, parameters) < 0 ||
        avcodec_open2(d.codec, decoder, nullptr) < 0)
        return kErrorNoSuitableDecoder;
    const int rate = d.codec->sample_rate;
    const int channels = d.codec->ch_layout.nb_channels;
    if (rate <= 0 || rate > 384000 || channels <= 0 || channels > 16) return kErrorInvalidFile;
    AVChannelLayout mono = AV_CHANNEL_LAYOUT_MONO;
    if (swr_alloc_set_opts2(&d.mixer, &mono, AV_SAMPLE_FMT_FLT, rate, &d.codec->ch_layout,
                            d.codec->sample_fmt, rate, 0, nullptr) < 0 ||
        swr_init(d.mixer) < 0)
        return kErrorNoSuitableDecoder;
    d.packet = av_packet_alloc();
    d.frame = av_frame_alloc();
    if (!d.packet || !d.frame) return kErrorInternal;
    out.rate = rate;
    out.channels = channels;

    // Counted from the first decoded sample, as playback counts: the same
    // millisecond is the same sound in both.
    const std::int64_t first = std::max<std::int64_t>(0, fromMs) * rate / 1000;
    const std::int64_t last = toMs < 0 ? INT64_MAX : toMs * rate / 1000;
    if (last != INT64_MAX) out.samples.reserve(static_cast<std::size_t>(std::max<std::int64_t>(0, last - first)));
    else if (d.format->duration > 0)
        out.samples.reserve(static_cast<std::size_t>(d.format->duration * rate / AV_TIME_BASE + rate));
    std::int64_t cursor = 0;
    std::vector<float> mixed;
    const auto take = [&](const AVFrame* frame) {
        const int inputFrames = frame ? frame->nb_samples : 0;
        const int room = swr_get_out_samples(d.mixer, inputFrames);
        if (room <= 0) return;
        mixed.resize(static_cast<std::size_t>(room));
        auto* to = reinterpret_cast<std::uint8_t*>(mixed.data());
        const int n = swr_convert(d.mixer, &to, room,
                                  frame ? const_cast<const std::uint8_t**>(frame->extended_data) : nullptr,
                                  inputFrames);
        for (int i = 0; i < n; ++i, ++cursor)
            if (cursor >= first && cursor < last)
                out.samples.push_back(std::clamp(mixed[static_cast<std::size_t>(i)], -1.0f, 1.0f));
    };
    int failures = 0;
    bool broken = false;
    while (cursor < last) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return 0;
        const int read = av_read_frame(d.format, d.packet);
        if (read < 0) {
            broken = read != AVERROR_EOF;
            avcodec_send_packet(d.codec, nullptr);
            while (avcodec_receive_frame(d.codec, d.frame) == 0) take(d.frame);
            take(nullptr);
            break;
        }
        if (d.packet->stream_index != stream) {
            av_packet_unref(d.packet);
            continue;
        }
        const int sent = avcodec_send_packet(d.codec, d.packet);
        av_packet_unref(d.packet);
        if (sent < 0 && sent != AVERROR(EAGAIN)) {
            if (++failures > kFailuresBeforeGivingUp) {
                broken = true;
                break;
            }
            continue;
        }
        failures = 0;
        while (avcodec_receive_frame(d.codec, d.frame) == 0) take(d.frame);
    }
    // A file cut short after its header was written (a WAV whose data
    // chunk claims more, a copy that stopped) ends early without an error.
    const AVStream* st = d.format->streams[stream];
    std::int64_t declared = -1;
    if (st->duration > 0 && st->duration != AV_NOPTS_VALUE)
        declared = av_rescale_q(st->duration, st->time_base, AVRational{1, rate});
    const bool short_of_declared =
        cursor < last && ((declared > 0 && cursor < declared - rate / 20) || waveDataCutShort(file));
    out.complete = !broken && !short_of_declared && (last == INT64_MAX || cursor >= last || cursor >= declared);
    return 0;
}

unsigned EngineAnalysis::decodeCdMono(int driveOrdinal, int track, std::int64_t fromMs, std::int64_t toMs,
                                      MonoSound& out, const std::atomic<bool>* cancel) {
    out = {};
    // Its own handle on the drive, as playback has its own: reading for the
    // picture never moves what is heard.
    const QStringList drives = Engine::instance().cdDrives();
    if (driveOrdinal < 0 || driveOrdinal >= drives.size()) return kErrorInvalidDeviceName;
    const std::unique_ptr<CdDisc> disc = CdDisc::open(drives[driveOrdinal]);
    if (!disc) return kErrorDeviceNotReady;
    if (!disc->hasTrack(track)) return kErrorOutOfRange;
    if (!disc->isAudio(track)) return kErrorOutOfRange;
    const std::int64_t trackFirst = static_cast<std::int64_t>(disc->trackStart(track)) * kSamplesPerCdFrame;
    const std::int64_t trackEnd = trackFirst + static_cast<std::int64_t>(disc->trackLength(track)) * kSamplesPerCdFrame;
    const std::int64_t first = std::min(trackEnd, trackFirst + std::max<std::int64_t>(0, fromMs) * kOutputRate / 1000);
    const std::int64_t last = toMs < 0 ? trackEnd : std::clamp(trackFirst + toMs * kOutputRate / 1000, first, trackEnd);
    std::unique_ptr<SoundSource> reader = disc->reader();
    if (!reader || !reader->start(first, last)) return kErrorHardware;
    out.rate = kOutputRate;
    out.channels = 2;
    out.samples.reserve(static_cast<std::size_t>(last - first));
    constexpr int kChunk = 8 * kSamplesPerCdFrame;
    std::vector<float> stereo(static_cast<std::size_t>(kChunk) * 2);
    std::int64_t got = 0;
    while (got < last - first) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return 0;
        const int n = reader->read(stereo.data(), kChunk);
        if (n <= 0) break;
        for (int i = 0; i < n; ++i)
            out.samples.push_back(0.5f * (stereo[2 * static_cast<std::size_t>(i)] +
                                          stereo[2 * static_cast<std::size_t>(i) + 1]));
        got += n;
    }
    // A scratch the drive cannot read past ends the picture there.
    out.complete = got >= last - first;
    return 0;
}

}  // namespace

SoundAnalysis& engineSoundAnalysis() {
    static EngineAnalysis analysis;
    return analysis;
}

}  // namespace platform::audio
