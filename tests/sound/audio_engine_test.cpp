// The sound engine with SDL's dummy output: every recording format, exact
// lengths and seeks, playing to an end, and the answers to bad files.
#include "platform/audio/engine.h"
#include "platform/audio/file_decoder.h"
#include "sound_media.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>

using namespace platform::audio;

namespace {

std::vector<float> decodeAll(FileDecoder& d, std::int64_t from = 0) {
    std::vector<float> all;
    std::vector<float> chunk(4096 * 2);
    d.start(from, d.lengthFrames());
    while (const int n = d.read(chunk.data(), 4096)) all.insert(all.end(), chunk.begin(), chunk.begin() + n * 2);
    return all;
}

struct Format {
    const char* file;
    int nominalMs;
};

class EngineFormats : public testing::TestWithParam<Format> {};

// The length an open reports is the sound the decoder gives, to the frame,
// and lies within a frame of the encoder's nominal length.
TEST_P(EngineFormats, LengthIsWhatDecodes) {
    unsigned error = 0;
    auto d = FileDecoder::open(sound_media::demoBase() + QString::fromLatin1(GetParam().file), error);
    ASSERT_TRUE(d) << error;
    const std::vector<float> all = decodeAll(*d);
    EXPECT_EQ(static_cast<std::int64_t>(all.size() / 2), d->lengthFrames());
    // Encoders add up to a few frames of their own at both ends.
    EXPECT_NEAR(d->lengthMs(), GetParam().nominalMs, 200);
}

// A seek decodes and drops up to the target: the sound from there equals
// the sound of a whole decode at that place.
TEST_P(EngineFormats, SeeksAreExact) {
    unsigned error = 0;
    auto d = FileDecoder::open(sound_media::demoBase() + QString::fromLatin1(GetParam().file), error);
    ASSERT_TRUE(d);
    const std::vector<float> all = decodeAll(*d);
    const std::int64_t at = d->lengthFrames() * 3 / 5 + 17;
    const std::vector<float> tail = decodeAll(*d, at);
    ASSERT_EQ(static_cast<std::int64_t>(tail.size() / 2), d->lengthFrames() - at);
    double difference = 0;
    for (std::size_t i = 0; i < 2000; ++i) difference = std::max<double>(difference, std::abs(tail[i] - all[static_cast<std::size_t>(at) * 2 + i]));
    // Resampling restarts at the phase of the packet it seeks to: the sound
    // may lie a fraction of an output frame off, never a frame or more.
    EXPECT_LT(difference, 0.15);
}

INSTANTIATE_TEST_SUITE_P(Demo, EngineFormats,
                         testing::Values(Format{"tapes/1603/A01.WAV", 4000},
                                         Format{"tapes/1101/A01_MF.WAV", 50000},   // MPEG-1
                                         Format{"tapes/1206/A04_MF.WAV", 68000},   // MPEG-2
                                         Format{"tapes/1312/A01_MF.WAV", 43000},   // MPEG-2.5
                                         Format{"tapes/1206/A01A_MC.WAV", 30000},
                                         Format{"tapes/1305/A01_WM.WMA", 11000},
                                         Format{"Audio CDs/Yungas1/Track 01.mp3", 52000}));

class EngineTest : public testing::Test {
  protected:
    QTemporaryDir dir;
    Engine& engine = Engine::instance();
    QString file(const QString& name, const QByteArray& bytes) {
        return sound_media::write(dir.filePath(name), bytes);
    }
    std::uint32_t status(unsigned id, unsigned item) {
        std::uint32_t v = 0;
        EXPECT_EQ(engine.status(id, 0, item, v), 0u);
        return v;
    }
};

TEST_F(EngineTest, BadFilesGetTheirCodes) {
    unsigned id = 0;
    EXPECT_EQ(engine.open(mci::kDeviceWaveAudio, dir.filePath("none.wav"), false, id), mci::kErrorFileNotFound);
    EXPECT_EQ(engine.open(0, file("text.wav", "This is no sound at all.\n"), false, id), mci::kErrorInvalidFile);
    QByteArray random(5000, 0);
    for (int i = 0; i < random.size(); ++i) random[i] = static_cast<char>((i * 7919) % 251);
    EXPECT_EQ(engine.open(0, file("random.mp3", random), false, id), mci::kErrorInvalidFile);
    EXPECT_EQ(id, 0u);
    EXPECT_FALSE(engine.errorText(mci::kErrorNoSuitableDecoder).isEmpty());
    EXPECT_TRUE(engine.errorText(12345).isEmpty());
}

TEST_F(EngineTest, TruncatedFilesOpenWithWhatTheyHold) {
    const QByteArray whole = sound_media::pcmWave(2000);
    unsigned id = 0;
    ASSERT_EQ(engine.open(0, file("cut.wav", whole.left(whole.size() / 2)), false, id), 0u);
    EXPECT_NEAR(status(id, mci::kStatusLength), 1000, 5);
    engine.close(id);
    QFile mp3(sound_media::demoBase() + "tapes/1101/A01_MF.WAV");
    ASSERT_TRUE(mp3.open(QIODevice::ReadOnly));
    const QByteArray bytes = mp3.readAll();
    ASSERT_EQ(engine.open(0, file("cut_mp3.wav", bytes.left(bytes.size() / 4)), false, id), 0u);
    EXPECT_NEAR(status(id, mci::kStatusLength), 12500, 300);
    engine.close(id);
}

// A damaged recording may decode into nonsense, but never into samples
// beyond full scale or not numbers at all: the WMA decoder makes the latter
// of a run of 0xFF bytes cut into a packet.
TEST_F(EngineTest, DamagedRecordingsDecodeOnlyIntoFullScale) {
    QFile wma(sound_media::demoBase() + "tapes/1305/A01_WM.WMA");
    ASSERT_TRUE(wma.open(QIODevice::ReadOnly));
    QByteArray bytes = wma.read(12000);
    bytes.insert(8894, QByteArray(43, '\xff'));
    unsigned error = 0;
    auto d = FileDecoder::open(file("damaged.wma", bytes), error);
    ASSERT_TRUE(d) << error;
    const std::vector<float> all = decodeAll(*d);
    ASSERT_FALSE(all.empty());
    const auto outside = std::count_if(all.begin(), all.end(),
                                       [](float v) { return !(v >= -1.0f && v <= 1.0f); });
    EXPECT_EQ(outside, 0);
}

TEST_F(EngineTest, PlaysARangeToItsEndWithThePositionFollowingTheOutput) {
    unsigned id = 0;
    ASSERT_EQ(engine.open(mci::kDeviceWaveAudio, file("tone.wav", sound_media::pcmWave(3000)), false, id), 0u);
    ASSERT_EQ(engine.setTimeFormat(id, mci::kFormatMilliseconds), 0u);
    EXPECT_EQ(engine.setTimeFormat(id, mci::kFormatTmsf), mci::kErrorBadTimeFormat);
    EXPECT_EQ(status(id, mci::kStatusLength), 3000u);
    EXPECT_EQ(engine.seek(id, 1200), 0u);
    EXPECT_EQ(status(id, mci::kStatusPosition), 1200u);
    EXPECT_EQ(engine.play(id, 2000, 2600), 0u);
    EXPECT_EQ(status(id, mci::kStatusMode), mci::kModePlaying);
    // The position moves with the output while the range plays (on a busy
    // machine the output may start late, so it is waited for).
    std::uint32_t during = 2000;
    for (int i = 0; i < 150 && during <= 2100; ++i) {
        QThread::msleep(20);
        during = status(id, mci::kStatusPosition);
    }
    EXPECT_GT(during, 2100u);
    EXPECT_LT(during, 2600u);
    for (int i = 0; i < 100 && status(id, mci::kStatusMode) == mci::kModePlaying; ++i) QThread::msleep(20);
    EXPECT_EQ(status(id, mci::kStatusMode), mci::kModeStopped);
    EXPECT_EQ(status(id, mci::kStatusPosition), 2600u);
    // Stopping keeps the place reached.
    ASSERT_EQ(engine.play(id, 100, std::nullopt), 0u);
    QThread::msleep(200);
    ASSERT_EQ(engine.stop(id), 0u);
    const std::uint32_t stopped = status(id, mci::kStatusPosition);
    QThread::msleep(100);
    EXPECT_EQ(status(id, mci::kStatusPosition), stopped);
    EXPECT_EQ(engine.play(id, 3500, std::nullopt), mci::kErrorOutOfRange);
    EXPECT_EQ(engine.close(id), 0u);
    EXPECT_EQ(engine.close(id), mci::kErrorInvalidDeviceId);

    // Once the output has played, the program still ends on an interrupt or
    // a termination request as any program does.
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action {};
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
    }
}

TEST_F(EngineTest, AnImageInADriveIsAnAudioCd) {
    const QString cue = sound_media::discImage(dir.path(), {150, 225, 80});
    engine.setCdDrives({cue, dir.filePath("empty-drive.cue")});
    unsigned id = 0;
    ASSERT_EQ(engine.open(mci::kDeviceCdAudio, {}, true, id), 0u);
    ASSERT_EQ(engine.setTimeFormat(id, mci::kFormatMsf), 0u);
    EXPECT_EQ(status(id, mci::kStatusMediaPresent), 1u);
    EXPECT_EQ(status(id, mci::kStatusNumberOfTracks), 3u);
    std::uint32_t v = 0;
    ASSERT_EQ(engine.status(id, 2, mci::kStatusLength, v), 0u);
    EXPECT_EQ(v, mci::msf(0, 3, 0));
    ASSERT_EQ(engine.status(id, 2, mci::kStatusPosition, v), 0u);
    EXPECT_EQ(v, mci::msf(0, 4, 0));  // after the lead-in and two seconds of track 1
    ASSERT_EQ(engine.status(id, 3, mci::kStatusTrackType, v), 0u);
    EXPECT_EQ(v, mci::kTrackAudio);
    ASSERT_EQ(engine.setTimeFormat(id, mci::kFormatTmsf), 0u);
    ASSERT_EQ(engine.play(id, mci::tmsf(2, 0, 1, 0), mci::tmsf(2, 0, 1, 30)), 0u);
    for (int i = 0; i < 100 && status(id, mci::kStatusMode) == mci::kModePlaying; ++i) QThread::msleep(20);
    EXPECT_EQ(status(id, mci::kStatusPosition), mci::tmsf(2, 0, 1, 30));
    EXPECT_EQ(engine.play(id, mci::tmsf(7, 0, 0, 0), std::nullopt), mci::kErrorOutOfRange);
    engine.close(id);

    const unsigned secondDrive = (1u << 16) | mci::kDeviceCdAudio;
    ASSERT_EQ(engine.open(secondDrive, {}, true, id), 0u);
    EXPECT_EQ(status(id, mci::kStatusMediaPresent), 0u);
    EXPECT_EQ(engine.status(id, 0, mci::kStatusNumberOfTracks, v), mci::kErrorDeviceNotReady);
    engine.close(id);
    EXPECT_EQ(engine.open((2u << 16) | mci::kDeviceCdAudio, {}, true, id), mci::kErrorInvalidDeviceName);
    engine.setCdDrives({});
}

}  // namespace

// The program reaches the engine through the module it loads at first use:
// the one engine of the process, which keeps what was set before.
TEST(EngineModule, TheProgramsMediaControlIsTheEngine) {
    MediaControl& control = mediaControl();
    const double before = Engine::instance().gain();
    // A gain set before the module is loaded reaches the engine with it.
    control.setGain(0.25);
    loadSoundEngine();
    EXPECT_DOUBLE_EQ(Engine::instance().gain(), 0.25);
    control.setGain(0.5);
    EXPECT_DOUBLE_EQ(Engine::instance().gain(), 0.5);
    EXPECT_DOUBLE_EQ(control.gain(), 0.5);
    EXPECT_EQ(control.errorText(mci::kErrorFileNotFound), Engine::instance().errorText(mci::kErrorFileNotFound));
    unsigned id = 0;
    EXPECT_EQ(control.open(mci::kDeviceWaveAudio, QStringLiteral("/nonexistent/a.wav"), false, id),
              mci::kErrorFileNotFound);
    control.setGain(before);
}
