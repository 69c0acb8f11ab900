// The sound engine's speed where the user feels it, each figure against the
// floor of the same work in this run:
// - a click to the first sample handed to the output (open, seek, play) for
//   PCM WAV, MP3, MP3 inside WAV and WMA recordings, against decoding the
//   first block of each file without any output (target: at most 50 ms);
// - opening a 10-minute MP3 without a Xing header, its exact length
//   included, against merely reading the file (target: at most 30 ms);
// - a position poll from the user-interface thread while playing, against
//   reading one atomic counter (target: at most 20 µs).
// The dummy output driver is used, so the figures need no sound card.
#include "platform/audio/engine.h"
#include "platform/audio/file_decoder.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace platform::audio;

namespace {

double nowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

bool report(const char* what, double floor, double figure, double target, const char* unit) {
    std::printf("%-44s floor %8.3f %s  figure %8.3f %s  ratio %6.1f  (target at most %.0f %s)\n", what, floor,
                unit, figure, unit, floor > 0 ? figure / floor : 0.0, target, unit);
    return figure <= target;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    Engine& engine = Engine::instance();
    if (engine.waveOutputDevices() == 0) {
        std::puts("no output, not even the dummy driver");
        return 1;
    }
    bool ok = true;
    const QString base = QStringLiteral(KORVELAN_SOURCE_DIR "/editions/demo/base/");
    const struct {
        const char* name;
        const char* file;
    } recordings[] = {{"click to first sample, PCM WAV", "tapes/1604/A01.WAV"},
                      {"click to first sample, MP3", "Audio CDs/Yungas1/Track 03.mp3"},
                      {"click to first sample, MP3 inside WAV", "tapes/1207/B05_MF.WAV"},
                      {"click to first sample, WMA", "tapes/1305/A02_WH.WMA"}};
    for (const auto& r : recordings) {
        const QString path = base + QString::fromLatin1(r.file);
        std::vector<double> floors, figures;
        for (int round = 0; round < 7; ++round) {
            double t0 = nowMs();
            unsigned error = 0;
            auto decoder = FileDecoder::open(path, error);
            if (!decoder) return 1;
            std::vector<float> block(512 * 2);
            decoder->start(kOutputRate, decoder->lengthFrames());
            decoder->read(block.data(), 512);
            floors.push_back(nowMs() - t0);

            t0 = nowMs();
            const auto start = std::chrono::steady_clock::now().time_since_epoch();
            unsigned id = 0;
            if (engine.open(0, path, false, id) != 0) return 1;
            engine.setTimeFormat(id, mci::kFormatMilliseconds);
            engine.seek(id, 1000);
            engine.play(id, std::nullopt, std::nullopt);
            std::int64_t first = 0;
            while ((first = engine.firstSampleAt(id)) == 0 && nowMs() - t0 < 1000) QThread::usleep(100);
            figures.push_back(
                (first - std::chrono::duration_cast<std::chrono::nanoseconds>(start).count()) / 1e6);
            engine.close(id);
        }
        ok &= report(r.name, median(floors), median(figures), 50, "ms");
    }

    // A 10-minute MP3 without an info frame, made once in the build tree.
    const QString longMp3 = QDir::currentPath() + QStringLiteral("/ten_minutes_no_xing.mp3");
    if (!QFile::exists(longMp3)) {
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"),
                     {"-v", "error", "-y", "-f", "lavfi", "-i", "sine=frequency=2500:sample_rate=44100", "-t", "600",
                      "-c:a", "libmp3lame", "-b:a", "128k", "-write_xing", "0", longMp3});
        if (!ffmpeg.waitForFinished(300000) || ffmpeg.exitCode() != 0) {
            std::puts("could not make the 10-minute MP3 (ffmpeg with libmp3lame is needed)");
            return 1;
        }
    }
    {
        std::vector<double> floors, figures;
        std::uint32_t length = 0;
        for (int round = 0; round < 7; ++round) {
            double t0 = nowMs();
            QFile f(longMp3);
            f.open(QIODevice::ReadOnly);
            const QByteArray all = f.readAll();
            floors.push_back(nowMs() - t0);
            t0 = nowMs();
            unsigned id = 0;
            if (engine.open(0, longMp3, false, id) != 0) return 1;
            engine.status(id, 0, mci::kStatusLength, length);
            figures.push_back(nowMs() - t0);
            engine.close(id);
        }
        std::printf("10-minute MP3 length: %u ms\n", length);
        ok &= report("open a 10-minute MP3 without Xing header", median(floors), median(figures), 30, "ms");
        ok &= length >= 599900 && length <= 600100;
    }

    {
        unsigned id = 0;
        engine.open(0, base + QStringLiteral("tapes/1207/B05_MF.WAV"), false, id);
        engine.setTimeFormat(id, mci::kFormatMilliseconds);
        engine.play(id, std::nullopt, std::nullopt);
        QThread::msleep(100);
        constexpr int kPolls = 20000;
        std::atomic<std::int64_t> counter{0};
        std::int64_t sink = 0;
        double t0 = nowMs();
        for (int i = 0; i < kPolls; ++i) sink += counter.load();
        const double floorUs = (nowMs() - t0) * 1000 / kPolls;
        std::uint32_t position = 0, worst = 0;
        double worstUs = 0;
        t0 = nowMs();
        for (int i = 0; i < kPolls; ++i) {
            const double a = nowMs();
            engine.status(id, 0, mci::kStatusPosition, position);
            worstUs = std::max(worstUs, (nowMs() - a) * 1000);
            worst = std::max(worst, position);
        }
        const double figureUs = (nowMs() - t0) * 1000 / kPolls;
        engine.close(id);
        std::printf("position reached while polling: %u ms (sink %lld); slowest poll %.1f us\n", worst,
                    static_cast<long long>(sink), worstUs);
        ok &= report("position poll while playing", floorUs, figureUs, 20, "us");
    }
    std::puts(ok ? "all targets met" : "a target was missed");
    return ok ? 0 : 1;
}
