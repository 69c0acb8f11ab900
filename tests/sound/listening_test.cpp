// Slowed, lowered, looped and band-filtered listening, measured on what the
// engine hands to the output: the tone's frequency by a Fourier transform,
// durations by the frames counted, loops to the sample.
#include "platform/audio/engine.h"
#include "platform/audio/file_decoder.h"
#include "platform/audio/listening_stage.h"
#include "platform/audio/sound_analysis.h"
#include "sound_media.h"

#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <gtest/gtest.h>

using namespace platform::audio;
using Speed = Listening::Speed;

namespace {

struct Heard {
    std::vector<float> left;
    std::vector<std::int64_t> places;
};

// Everything the stage hands out for a range (at most `limit` frames).
Heard listen(ListeningStage& stage, std::int64_t from, std::int64_t to, std::size_t limit = 1u << 22) {
    Heard heard;
    std::vector<float> chunk(2 * 1000);
    std::vector<std::int64_t> places(1000);
    stage.start(from, to);
    while (heard.left.size() < limit) {
        const int n = stage.read(chunk.data(), places.data(), 1000);
        if (n == 0) break;
        for (int i = 0; i < n; ++i) {
            heard.left.push_back(chunk[static_cast<std::size_t>(i) * 2]);
            heard.places.push_back(places[static_cast<std::size_t>(i)]);
        }
    }
    return heard;
}

// The strongest frequency in the middle of the sound, by the engine's own
// real transform of a Hann-windowed stretch, the peak interpolated.
double peakHz(const std::vector<float>& sound) {
    constexpr int kSize = 32768;
    auto transform = Engine::instance().analysis()->realTransform(kSize);
    if (!transform || sound.size() < static_cast<std::size_t>(kSize)) return 0;
    std::vector<float> in(kSize), out(kSize + 2);
    const std::size_t start = (sound.size() - kSize) / 2;
    for (int i = 0; i < kSize; ++i)
        in[static_cast<std::size_t>(i)] = sound[start + static_cast<std::size_t>(i)] * static_cast<float>(0.5 - 0.5 * std::cos(2 * M_PI * i / kSize));
    transform->forward(in.data(), out.data());
    std::vector<double> magnitude(kSize / 2 + 1);
    for (std::size_t k = 0; k < magnitude.size(); ++k) magnitude[k] = std::hypot(out[2 * k], out[2 * k + 1]);
    std::size_t best = 1;
    for (std::size_t k = 1; k + 1 < magnitude.size(); ++k)
        if (magnitude[k] > magnitude[best]) best = k;
    const double a = std::log(magnitude[best - 1] + 1e-12), b = std::log(magnitude[best] + 1e-12),
                 c = std::log(magnitude[best + 1] + 1e-12);
    const double shift = 0.5 * (a - c) / (a - 2 * b + c);
    return (static_cast<double>(best) + shift) * kOutputRate / kSize;
}

// The level of the steady middle of the sound.
double rms(const std::vector<float>& sound) {
    const std::size_t from = sound.size() / 4, to = sound.size() * 3 / 4;
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += double{sound[i]} * sound[i];
    return std::sqrt(sum / static_cast<double>(std::max<std::size_t>(1, to - from)));
}

class ListeningTest : public testing::Test {
  protected:
    QTemporaryDir dir;

    std::unique_ptr<FileDecoder> tone(double hz, int ms = 2000) {
        const QString path = sound_media::write(dir.filePath(QStringLiteral("tone%1.wav").arg(hz)),
                                                sound_media::pcmWave(ms, 44100, hz));
        unsigned error = 0;
        return FileDecoder::open(path, error);
    }

    Heard heard(FileDecoder& decoder, const Listening& listening) {
        ListeningStage stage(decoder);
        stage.configure(listening);
        return listen(stage, 0, decoder.lengthFrames());
    }
};

TEST_F(ListeningTest, SlowingTheTapeDividesEveryFrequencyAndStretchesTheTime) {
    auto decoder = tone(4000);
    ASSERT_TRUE(decoder);
    const auto length = static_cast<double>(decoder->lengthFrames());
    const Heard normal = heard(*decoder, {});
    EXPECT_NEAR(peakHz(normal.left), 4000, 4);
    EXPECT_EQ(static_cast<double>(normal.left.size()), length);

    const Heard half = heard(*decoder, {.speed = Speed::TapeHalf});
    EXPECT_NEAR(peakHz(half.left), 2000, 20);
    EXPECT_NEAR(static_cast<double>(half.left.size()) / length, 2.0, 0.01);
    const Heard quarter = heard(*decoder, {.speed = Speed::TapeQuarter});
    EXPECT_NEAR(peakHz(quarter.left), 1000, 10);
    EXPECT_NEAR(static_cast<double>(quarter.left.size()) / length, 4.0, 0.02);
    // The places move at the slowed rate: halfway through the output is
    // halfway through the recording.
    EXPECT_NEAR(static_cast<double>(half.places[half.places.size() / 2]), length / 2, length * 0.01);
}

TEST_F(ListeningTest, StretchingKeepsThePitchAndOctaveDownKeepsTheTime) {
    auto decoder = tone(4000);
    ASSERT_TRUE(decoder);
    const auto length = static_cast<double>(decoder->lengthFrames());
    for (const auto& [speed, factor] : {std::pair{Speed::KeptHalf, 2.0}, std::pair{Speed::KeptQuarter, 4.0},
                                        std::pair{Speed::KeptThreeQuarters, 4.0 / 3}}) {
        const Heard slowed = heard(*decoder, {.speed = speed});
        EXPECT_NEAR(peakHz(slowed.left), 4000, 40) << factor;
        EXPECT_NEAR(static_cast<double>(slowed.left.size()) / length, factor, factor * 0.02) << factor;
        EXPECT_GT(rms(slowed.left), 0.2);  // a tone, not a whisper: 12000/32768 × √½ ≈ 0.26
    }
    const Heard lower = heard(*decoder, {.speed = Speed::OctaveDown});
    EXPECT_NEAR(peakHz(lower.left), 2000, 20);
    EXPECT_NEAR(static_cast<double>(lower.left.size()) / length, 1.0, 0.02);
}

TEST_F(ListeningTest, TheBandLetsItsOwnToneThroughAndHoldsTheOthersBack) {
    const Listening band{.bandLowHz = 2000, .bandHighHz = 4000};
    auto level = [&](double hz, const Listening& listening) {
        auto decoder = tone(hz);
        return rms(heard(*decoder, listening).left);
    };
    const auto dB = [](double ratio) { return 20 * std::log10(ratio); };
    for (double inside : {2200.0, 3000.0, 3800.0})
        EXPECT_GE(dB(level(inside, band) / level(inside, {})), -3) << inside;
    for (double outside : {500.0, 1500.0, 5000.0, 8000.0})
        EXPECT_LE(dB(level(outside, band) / level(outside, {})), -30) << outside;
    // The band is the recording's: slowed afterwards, the tone that passes
    // is heard an octave lower.
    auto decoder = tone(3000);
    EXPECT_NEAR(peakHz(heard(*decoder, {.speed = Speed::TapeHalf, .bandLowHz = 2000, .bandHighHz = 4000}).left),
                1500, 15);
}

TEST_F(ListeningTest, ALoopRepeatsItsRangeToTheSampleAndJoinsWithoutAStep) {
    // A rising sweep: no two places sound alike, so a misplaced frame shows.
    QByteArray data;
    const int rate = 44100, frames = rate * 2;
    QByteArray samples;
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        samples += sound_media::le16(static_cast<int>(9000 * std::sin(2 * M_PI * (300 * t + 400 * t * t))));
    }
    QByteArray body = QByteArray("WAVEfmt ") + sound_media::le32(16) + sound_media::le16(1) + sound_media::le16(1) +
                      sound_media::le32(rate) + sound_media::le32(rate * 2) + sound_media::le16(2) +
                      sound_media::le16(16) + "data" + sound_media::le32(static_cast<quint32>(samples.size())) + samples;
    const QString path = sound_media::write(dir.filePath("sweep.wav"),
                                            "RIFF" + sound_media::le32(static_cast<quint32>(body.size())) + body);
    unsigned error = 0;
    auto decoder = FileDecoder::open(path, error);
    ASSERT_TRUE(decoder);
    const Heard whole = heard(*decoder, {});

    // The sweep is at a zero crossing at 500 ms and near its trough at
    // 790 ms: cut there without care, the joint would step by 0.2.
    const Listening loop{.loopFromMs = 500, .loopToMs = 790};
    const std::int64_t a = 22050, b = 34839, length = b - a;
    ListeningStage stage(*decoder);
    stage.configure(loop);
    // Started before the loop: it begins at the loop's start.
    const Heard looped = listen(stage, 0, decoder->lengthFrames(), static_cast<std::size_t>(length * 5 + 10));
    ASSERT_GE(looped.left.size(), static_cast<std::size_t>(length * 5));
    double biggestStep = 0;
    for (std::int64_t i = a + 1; i < b + 441; ++i)
        biggestStep = std::max<double>(biggestStep, std::abs(whole.left[static_cast<std::size_t>(i)] - whole.left[static_cast<std::size_t>(i - 1)]));
    for (int pass = 0; pass < 5; ++pass) {
        const std::size_t at = static_cast<std::size_t>(pass * length);
        EXPECT_EQ(looped.places[at], a) << pass;
        EXPECT_EQ(looped.places[at + static_cast<std::size_t>(length) - 1], b - 1) << pass;
        // After the joint's short crossfade every frame is the recording's own.
        for (std::int64_t i = 441; i < length; i += 97)
            ASSERT_FLOAT_EQ(looped.left[at + static_cast<std::size_t>(i)], whole.left[static_cast<std::size_t>(a + i)]) << pass << " " << i;
    }
    double worstStep = 0;
    for (std::size_t i = 1; i < looped.left.size(); ++i)
        worstStep = std::max<double>(worstStep, std::abs(looped.left[i] - looped.left[i - 1]));
    EXPECT_LE(worstStep, biggestStep * 1.05);

    // Started inside the loop it plays on from there, then from the start.
    const Heard inside = listen(stage, 30000, decoder->lengthFrames(), static_cast<std::size_t>(length * 2));
    EXPECT_EQ(inside.places[0], 30000);
    EXPECT_EQ(inside.places[static_cast<std::size_t>(b - 30000)], a);
    EXPECT_FLOAT_EQ(inside.left[static_cast<std::size_t>(b - 30000 + 1000)], whole.left[static_cast<std::size_t>(a + 1000)]);
}

// Through the engine as the players use it: with the dummy output the
// position moves at the slowed rate, in the recording's own time, and a
// change while playing is heard at once.
TEST_F(ListeningTest, TheEngineReportsTheRecordingsOwnTimeAtTheSlowedRate) {
    Engine& engine = Engine::instance();
    const QString path = sound_media::write(dir.filePath("long.wav"), sound_media::pcmWave(6000, 22050, 3000));
    unsigned id = 0;
    ASSERT_EQ(engine.open(mci::kDeviceWaveAudio, path, false, id), 0u);
    ASSERT_EQ(engine.setTimeFormat(id, mci::kFormatMilliseconds), 0u);
    auto position = [&] {
        std::uint32_t v = 0;
        engine.status(id, 0, mci::kStatusPosition, v);
        return static_cast<double>(v);
    };
    auto rate = [&] {
        // Positions over 400 ms of steady-clock time.
        const double before = position();
        QThread::msleep(400);
        return (position() - before) / 400.0;
    };
    engine.setListening({.speed = Speed::TapeHalf});
    ASSERT_EQ(engine.play(id, 1000, std::nullopt), 0u);
    for (int i = 0; i < 100 && position() <= 1000; ++i) QThread::msleep(10);
    EXPECT_NEAR(rate(), 0.5, 0.15);
    engine.setListening({.speed = Speed::KeptQuarter});
    QThread::msleep(100);
    EXPECT_NEAR(rate(), 0.25, 0.1);
    engine.setListening({});
    QThread::msleep(100);
    EXPECT_NEAR(rate(), 1.0, 0.2);
    // A loop switched on while playing past it goes back to it.
    engine.setListening({.loopFromMs = 500, .loopToMs = 900});
    QThread::msleep(300);
    const double looping = position();
    EXPECT_GE(looping, 500);
    EXPECT_LE(looping, 900);
    engine.stop(id);
    engine.setListening({});
    engine.close(id);
}

}  // namespace
