// Slowed, lowered, looped and band listening, each figure beside its floor:
// - processing a 60-second recording in every mode on one core (the thread's
//   own CPU time), against the time the result takes to play (target: at
//   least 20 times faster, so the output never starves); the ratio against
//   the recording's own 60 seconds is printed beside it;
// - switching modes while playing, from the call to the output taking the
//   first sound made the new way (target: at most 100 ms), against one
//   buffer of the output;
// - ten passes of a looped phrase: no silence at a joint longer than 5 ms
//   (beyond what the phrase itself has there) and no step between samples
//   within 10 ms of a joint larger than the phrase's own largest.
// The dummy output driver is used, so the figures need no sound card.
#include "platform/audio/engine.h"
#include "platform/audio/file_decoder.h"
#include "platform/audio/listening_stage.h"

#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace platform::audio;
using Speed = Listening::Speed;

namespace {

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct Mode {
    const char* name;
    Listening listening;
};

// The frames and places of a whole range through the stage.
struct Heard {
    std::vector<float> left;
    std::vector<std::int64_t> places;
};

Heard listen(ListeningStage& stage, std::int64_t from, std::int64_t to, std::size_t limit) {
    Heard heard;
    std::vector<float> chunk(2 * 2048);
    std::vector<std::int64_t> places(2048);
    stage.start(from, to);
    while (heard.left.size() < limit) {
        const int n = stage.read(chunk.data(), places.data(), 2048);
        if (n == 0) break;
        for (int i = 0; i < n; ++i) {
            heard.left.push_back(chunk[static_cast<std::size_t>(i) * 2]);
            heard.places.push_back(places[static_cast<std::size_t>(i)]);
        }
    }
    return heard;
}

// The longest run of near-silent frames in [from, to).
int longestSilence(const std::vector<float>& sound, std::size_t from, std::size_t to) {
    int longest = 0, run = 0;
    for (std::size_t i = from; i < std::min(to, sound.size()); ++i) {
        run = std::abs(sound[i]) < 1e-3f ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    // A 68-second MPEG-2 recording of the demo: its first 60 seconds.
    const QString file = QStringLiteral(KORVELAN_SOURCE_DIR "/editions/demo/base/tapes/1206/A04_MF.WAV");
    unsigned error = 0;
    auto decoder = FileDecoder::open(file, error);
    if (!decoder || decoder->lengthMs() < 60000) {
        std::printf("cannot open %s (%u)\n", qPrintable(file), error);
        return 1;
    }
    const std::int64_t sixty = std::int64_t{60} * kOutputRate;
    bool ok = true;
    std::printf("time-stretching with %s\n", ListeningStage::stretcher());

    const Mode modes[] = {
        {"normal", {}},
        {"½ speed (pitch lowered)", {.speed = Speed::TapeHalf}},
        {"¼ speed (pitch lowered)", {.speed = Speed::TapeQuarter}},
        {"¾ speed", {.speed = Speed::KeptThreeQuarters}},
        {"½ speed", {.speed = Speed::KeptHalf}},
        {"¼ speed", {.speed = Speed::KeptQuarter}},
        {"octave down", {.speed = Speed::OctaveDown}},
        {"band 2-6 kHz", {.bandLowHz = 2000, .bandHighHz = 6000}},
        {"loop 1.2 s", {.loopFromMs = 10000, .loopToMs = 11200}},
        {"¼ speed + band + loop", {.speed = Speed::KeptQuarter, .loopFromMs = 10000, .loopToMs = 11200,
                                   .bandLowHz = 2000, .bandHighHz = 6000}},
    };
    std::puts("processing 60 s of recording on one core:");
    for (const Mode& mode : modes) {
        ListeningStage stage(*decoder);
        stage.configure(mode.listening);
        // A loop never ends: as much output as the other modes give.
        const std::size_t limit = static_cast<std::size_t>(static_cast<double>(sixty) / stage.speed());
        std::vector<float> chunk(2 * 4096);
        std::vector<std::int64_t> places(4096);
        const double start = threadSeconds();
        stage.start(0, sixty);
        std::size_t frames = 0;
        while (frames < limit) {
            const int n = stage.read(chunk.data(), places.data(), 4096);
            if (n == 0) break;
            frames += static_cast<std::size_t>(n);
        }
        const double spent = threadSeconds() - start;
        const double played = static_cast<double>(frames) / kOutputRate;
        const double ratio = played / spent;
        std::printf("  %-24s plays %6.1f s (real-time floor)  processed in %6.3f s  %6.1f x real time%s  "
                    "(%5.1f x the recording's 60 s)\n",
                    mode.name, played, spent, ratio, ratio >= 20 ? "" : "  MISS (target 20 x)", 60.0 / spent);
        ok = ok && ratio >= 20;
    }

    // Switching while playing, through the engine as the players use it.
    Engine& engine = Engine::instance();
    unsigned id = 0;
    if (engine.open(mci::kDeviceWaveAudio, file, false, id) != 0 ||
        engine.setTimeFormat(id, mci::kFormatMilliseconds) != 0 || engine.play(id, 0, std::nullopt) != 0) {
        std::puts("cannot play the recording");
        return 1;
    }
    QThread::msleep(300);
    double worst = 0;
    std::puts("switching while playing (to the first sound made the new way):");
    for (int round = 0; round < 2; ++round) {
        for (const Mode& mode : modes) {
            const std::int64_t asked = nowNs();
            engine.setListening(mode.listening);
            std::int64_t heard = 0;
            for (int i = 0; i < 400 && (heard = engine.listeningHeardAt(id)) <= asked; ++i) QThread::usleep(500);
            const double ms = heard > asked ? static_cast<double>(heard - asked) / 1e6 : 1e9;
            worst = std::max(worst, ms);
            if (round == 1) std::printf("  to %-24s %7.1f ms\n", mode.name, ms);
            QThread::msleep(150);
        }
    }
    engine.stop(id);
    engine.setListening({});
    engine.close(id);
    // The output's own buffer: 512 frames.
    std::printf("  worst %7.1f ms  floor (one output buffer) %5.1f ms  %s\n", worst, 512.0 * 1000 / kOutputRate,
                worst <= 100 ? "" : "MISS (target 100 ms)");
    ok = ok && worst <= 100;

    // Ten passes of a phrase: the joints.
    {
        const std::int64_t a = std::int64_t{10000} * kOutputRate / 1000, b = std::int64_t{11200} * kOutputRate / 1000;
        // The phrase as the loop reads it (an MP3 decoded from another place
        // may differ by a fraction of a frame).
        ListeningStage plain(*decoder);
        const Heard source = listen(plain, a, b, 1u << 24);
        ListeningStage stage(*decoder);
        stage.configure({.loopFromMs = 10000, .loopToMs = 11200});
        const Heard looped = listen(stage, a, sixty, static_cast<std::size_t>((b - a) * 10));
        const std::size_t length = static_cast<std::size_t>(b - a);
        double ownStep = 0;
        for (std::size_t i = 1; i < length; ++i)
            ownStep = std::max<double>(ownStep, std::abs(source.left[i] - source.left[i - 1]));
        // What the phrase itself has at its ends: its last and first 10 ms.
        const auto window = static_cast<std::size_t>(kOutputRate / 100);
        const int ownSilence = std::max(longestSilence(source.left, length - window, length),
                                        longestSilence(source.left, 0, window));
        double jointStep = 0;
        int jointSilence = 0, joints = 0;
        bool placesExact = true;
        for (std::size_t i = 1; i < looped.left.size(); ++i) {
            if (looped.places[i] >= looped.places[i - 1]) continue;
            ++joints;
            placesExact = placesExact && looped.places[i] == a && looped.places[i - 1] == b - 1;
            jointSilence = std::max(jointSilence, longestSilence(looped.left, i - window, i + window));
            for (std::size_t j = i - window; j < std::min(i + window, looped.left.size()); ++j)
                jointStep = std::max<double>(jointStep, std::abs(looped.left[j] - looped.left[j - 1]));
        }
        const double silenceMs = jointSilence * 1000.0 / kOutputRate, ownMs = ownSilence * 1000.0 / kOutputRate;
        const bool silenceOk = silenceMs <= std::max(5.0, ownMs);
        const bool stepOk = jointStep <= ownStep * 1.001;
        std::printf("loop of 1.2 s, %d joints in 10 passes, places exact to the sample: %s\n", joints,
                    placesExact ? "yes" : "NO");
        std::printf("  longest silence at a joint %6.2f ms  (the phrase's own there %5.2f ms, target at most 5 ms)%s\n",
                    silenceMs, ownMs, silenceOk ? "" : "  MISS");
        std::printf("  largest step at a joint %8.5f  (the phrase's own largest %8.5f)%s\n", jointStep, ownStep,
                    stepOk ? "" : "  MISS");
        ok = ok && silenceOk && stepOk && placesExact && joints >= 9;
    }
    std::puts(ok ? "all targets met" : "a target was missed");
    return ok ? 0 : 1;
}
