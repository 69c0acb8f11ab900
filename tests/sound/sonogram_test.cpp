#include "platform/audio/engine.h"
#include "platform/audio/sound_analysis.h"
#include "sound/sonogram.h"
#include "sound_media.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QTemporaryDir>
#include <cmath>
#include <complex>
#include <random>

using namespace sonogram;
using sound_media::le16;
using sound_media::le32;

namespace {

// A 16-bit PCM WAV of the given samples (-1..1), `channels` interleaved.
QByteArray wave(const std::vector<float>& samples, int rate, int channels = 1) {
    QByteArray data;
    data.reserve(static_cast<qsizetype>(samples.size() * 2));
    for (float s : samples) data += le16(static_cast<int>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767)));
    QByteArray file = "WAVE";
    file += QByteArray("fmt ") + le32(16) + le16(1) + le16(channels) + le32(static_cast<quint32>(rate)) +
            le32(static_cast<quint32>(rate * 2 * channels)) + le16(2 * channels) + le16(16);
    file += QByteArray("data") + le32(static_cast<quint32>(data.size())) + data;
    return QByteArray("RIFF") + le32(static_cast<quint32>(file.size())) + file;
}

std::vector<float> tone(double seconds, int rate, double frequency, float amplitude) {
    std::vector<float> s(static_cast<std::size_t>(seconds * rate));
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = amplitude * static_cast<float>(std::sin(2 * M_PI * frequency * static_cast<double>(i) / rate));
    return s;
}

class SonogramTest : public ::testing::Test {
  protected:
    QString file(const QString& name, const QByteArray& bytes) {
        return sound_media::write(dir_.filePath(name), bytes);
    }
    std::shared_ptr<Sonogram> computed(const QString& path, const Settings& settings = {}) {
        auto s = cache_.get({path}, settings);
        cache_.wait_idle();
        return s;
    }
    // The row holding the strongest level of a column.
    static int strongestRow(const Sonogram& s, int column) {
        const std::uint8_t* levels = s.column(column);
        return static_cast<int>(std::max_element(levels, levels + s.rows()) - levels);
    }

    QTemporaryDir dir_;
    Cache cache_;
};

}  // namespace

TEST(SonogramTransform, AgreesWithADirectDftOnShortFrames) {
    std::mt19937 random(26);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    for (int n : {64, 512, 1024}) {
        auto transform = platform::audio::soundAnalysis().realTransform(n);
        ASSERT_TRUE(transform) << n;
        std::vector<float> in(static_cast<std::size_t>(n));
        for (float& v : in) v = value(random);
        std::vector<float> out(static_cast<std::size_t>(n + 2));
        transform->forward(in.data(), out.data());
        double worst = 0;
        for (int k = 0; k <= n / 2; ++k) {
            std::complex<double> sum = 0;
            for (int i = 0; i < n; ++i)
                sum += static_cast<double>(in[static_cast<std::size_t>(i)]) *
                       std::polar(1.0, -2 * M_PI * k * i / n);
            worst = std::max(worst, std::abs(sum - std::complex<double>(out[2 * static_cast<std::size_t>(k)],
                                                                        out[2 * static_cast<std::size_t>(k) + 1])));
        }
        EXPECT_LT(worst, 1e-3 * std::sqrt(n)) << n << " points";
    }
    EXPECT_FALSE(platform::audio::soundAnalysis().realTransform(1000)) << "not a power of two";
}

TEST(SonogramScale, FftSizeGivesBinsOfAbout45Hz) {
    EXPECT_EQ(fft_size_for_rate(22050), 512);
    EXPECT_EQ(fft_size_for_rate(24000), 512);
    EXPECT_EQ(fft_size_for_rate(44100), 1024);
    EXPECT_EQ(fft_size_for_rate(48000), 1024);
    EXPECT_EQ(fft_size_for_rate(32000), 1024);
    EXPECT_EQ(fft_size_for_rate(96000), 2048);
}

TEST(SonogramScale, DbMapsFloorToBackgroundAndFloorPlusRangeToTheStrongest) {
    EXPECT_EQ(level_of_db(-90.0f, -90, 70), 0);
    EXPECT_EQ(level_of_db(-120.0f, -90, 70), 0);
    EXPECT_EQ(level_of_db(-20.0f, -90, 70), 255);
    EXPECT_EQ(level_of_db(0.0f, -90, 70), 255);
    EXPECT_EQ(level_of_db(-55.0f, -90, 70), 128);  // half way
    EXPECT_EQ(level_of_db(-55.0f, -90, 60), 149);
    // The palettes: grey is white paper with black marks.
    EXPECT_EQ(colours(Palette::Grey).front(), qRgb(255, 255, 255));
    EXPECT_EQ(colours(Palette::Grey).back(), qRgb(0, 0, 0));
    EXPECT_EQ(palette_from_name(palette_name(Palette::Viridis)), Palette::Viridis);
    EXPECT_EQ(palette_from_name(QStringLiteral("nonsense")), Palette::Grey);
}

TEST_F(SonogramTest, APureToneLandsInItsRowAtItsLevel) {
    // Bin 70 of a 1,024-point transform at 44,100 Hz, at -6 dB of full scale.
    const double hz = 70 * 44100.0 / 1024;
    auto s = computed(file("tone.wav", wave(tone(2.0, 44100, hz, 0.5f), 44100)),
                      Settings{12000, 60, -30, Palette::Grey});
    ASSERT_EQ(s->state(), Sonogram::Done) << s->message().toStdString();
    EXPECT_EQ(s->fft_size(), 1024);
    EXPECT_EQ(s->hop(), 256);
    EXPECT_EQ(s->columns(), (88200 + 255) / 256);
    for (int c : {20, s->columns() / 2, s->columns() - 20}) {
        EXPECT_EQ(strongestRow(*s, c), 70) << "column " << c;
        EXPECT_NEAR(s->column(c)[70], level_of_db(-6.02f, -30, 60), 2) << "column " << c;
        EXPECT_EQ(s->column(c)[300], 0) << "far from the tone is background";
    }
    EXPECT_TRUE(s->message().isEmpty());
}

TEST_F(SonogramTest, AClickLandsInTheColumnOfItsTime) {
    // 22,050 Hz: 512 points, a column every 128 samples.
    std::vector<float> samples(22050 * 2, 0.0f);
    samples[22050 + 640] = 0.9f;  // 1 s and 5 columns
    auto s = computed(file("click.wav", wave(samples, 22050)));
    ASSERT_EQ(s->state(), Sonogram::Done);
    EXPECT_EQ(s->fft_size(), 512);
    int loudest = 0;
    int loudestSum = -1;
    for (int c = 0; c < s->columns(); ++c) {
        int sum = 0;
        for (int r = 0; r < s->rows(); ++r) sum += s->column(c)[r];
        if (sum > loudestSum) loudestSum = sum, loudest = c;
    }
    EXPECT_EQ(loudest, (22050 + 640) / 128);
    EXPECT_NEAR(s->column_seconds(loudest), (22050 + 640) / 22050.0, 0.003);
}

TEST_F(SonogramTest, RenderDrawsTheToneAtItsHeightInThePalette) {
    const double hz = 70 * 44100.0 / 1024;  // about 3,015 Hz
    auto s = computed(file("tone.wav", wave(tone(1.0, 44100, hz, 0.5f), 44100)));
    QImage image(100, 120, QImage::Format_ARGB32);
    ASSERT_TRUE(render(*s, image, 0.0, 1.0, 0.0, 12000.0, Palette::Grey));
    // 3,015 Hz of 12,000 is 3/4 of the way down.
    const int toneY = static_cast<int>((12000 - hz) / 12000 * 120);
    EXPECT_EQ(image.pixel(50, toneY), qRgb(0, 0, 0)) << "the tone is a black mark";
    EXPECT_EQ(image.pixel(50, 10), qRgb(255, 255, 255)) << "above it is white paper";
    ASSERT_TRUE(render(*s, image, 0.0, 1.0, 0.0, 12000.0, Palette::Inferno));
    EXPECT_EQ(image.pixel(50, toneY), colours(Palette::Inferno).back());
}

TEST_F(SonogramTest, BadInputSaysWhatItCannotShow) {
    const auto failed = [&](const QString& path) {
        auto s = computed(path);
        EXPECT_EQ(s->state(), Sonogram::Failed) << path.toStdString();
        EXPECT_FALSE(s->message().isEmpty()) << path.toStdString();
    };
    failed(file("empty.wav", {}));
    failed(file("noise.mp3", QByteArray(5000, 'x')));
    failed(file("no-samples.wav", wave({}, 44100)));
    failed(dir_.filePath("missing.wav"));

    // Shown, with a word on what is missing.
    const auto noted = [&](const QString& path, const QString& word) {
        auto s = computed(path);
        EXPECT_EQ(s->state(), Sonogram::Done) << path.toStdString();
        EXPECT_TRUE(s->message().contains(word)) << s->message().toStdString();
        return s;
    };
    auto low = noted(file("8k.wav", wave(tone(1.0, 8000, 1000, 0.5f), 8000)), QStringLiteral("4 kHz"));
    EXPECT_EQ(low->rows(), 129);
    const QByteArray whole = wave(tone(1.0, 44100, 2000, 0.5f), 44100);
    auto cut = noted(file("truncated.wav", whole.left(whole.size() / 2)), QStringLiteral("breaks off"));
    EXPECT_NEAR(cut->seconds(), 0.5, 0.01);
    std::vector<float> stereo;
    for (float v : tone(1.0, 44100, 2000, 0.5f)) stereo.insert(stereo.end(), {v, v});
    noted(file("stereo.wav", wave(stereo, 44100, 2)), QStringLiteral("2 channels"));
    auto high = computed(file("96k.wav", wave(tone(1.0, 96000, 30000, 0.5f), 96000)),
                         Settings{12000, 60, -30, Palette::Grey});
    ASSERT_EQ(high->state(), Sonogram::Done);
    EXPECT_EQ(high->fft_size(), 2048);
    EXPECT_EQ(strongestRow(*high, 100), static_cast<int>(std::lround(30000.0 * 2048 / 96000)));
}

TEST_F(SonogramTest, AFileChangedSinceIsReadAnew) {
    const QString path = file("changing.wav", wave(tone(1.0, 44100, 2000, 0.5f), 44100));
    auto first = computed(path);
    EXPECT_EQ(computed(path), first) << "unchanged: from the cache";
    const QByteArray longer = wave(tone(2.0, 44100, 2000, 0.5f), 44100);
    file("changing.wav", longer.left(longer.size() * 3 / 4));
    auto second = computed(path);
    EXPECT_NE(second, first);
    EXPECT_NEAR(second->seconds(), 1.5, 0.01);
}

TEST_F(SonogramTest, TheCacheKeepsAtMost64MbDroppingTheLeastRecentlyUsed) {
    EXPECT_EQ(cache_.bound(), 64u << 20);
    // Three minutes at 44.1 kHz: 31,008 columns of 513 levels, 15.9 MB each.
    const QByteArray three = wave(tone(180.0, 44100, 2000, 0.5f), 44100);
    std::vector<QString> files;
    for (int i = 0; i < 5; ++i) files.push_back(file(QStringLiteral("long%1.wav").arg(i), three));
    std::vector<std::shared_ptr<Sonogram>> made;
    for (int i = 0; i < 4; ++i) made.push_back(computed(files[static_cast<std::size_t>(i)]));
    EXPECT_EQ(cache_.count(), 4);
    EXPECT_GT(made[0]->bytes(), 15u << 20);
    EXPECT_EQ(computed(files[0]), made[0]) << "used again: now the most recent";
    computed(files[4]);
    EXPECT_LE(cache_.bytes(), cache_.bound());
    EXPECT_EQ(cache_.count(), 4);
    EXPECT_EQ(computed(files[0]), made[0]) << "recently used: kept";
    EXPECT_NE(computed(files[1]), made[1]) << "least recently used: dropped and computed anew";
    EXPECT_LE(cache_.bytes(), cache_.bound());
}

TEST_F(SonogramTest, EveryDemoRecordingHasASonogram) {
    int files = 0;
    QDirIterator it(QStringLiteral(KORVELAN_SOURCE_DIR "/editions/demo/base"), {"*.mp3", "*.wav", "*.wma"},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext() && files < 40) {
        const QString path = it.next();
        auto s = computed(path);
        EXPECT_EQ(s->state(), Sonogram::Done) << path.toStdString() << ": " << s->message().toStdString();
        EXPECT_GT(s->columns(), 0);
        ++files;
    }
    EXPECT_GT(files, 10);
}

TEST_F(SonogramTest, APartOfATrackOnTheAudioCdInTheDriveIsShownFromTheDisc) {
    using namespace platform::audio;
    // Tracks of 2, 3 and 2 seconds; track n holds a tone of 250 + 50 n Hz.
    struct DiscInDrive {
        explicit DiscInDrive(const QStringList& drives) {
            Engine::instance().setCdDrives(drives);
            setMediaControl(&Engine::instance());
        }
        ~DiscInDrive() {
            setMediaControl(nullptr);
            Engine::instance().setCdDrives({});
        }
    } disc({sound_media::discImage(dir_.path(), {150, 225, 150}), dir_.filePath("none.cue")});
    const auto shown = [&](int drive, int track, int fromMs, int toMs) {
        Source part;
        part.cd_drive = drive;
        part.cd_track = track;
        part.from_ms = fromMs;
        part.to_ms = toMs;
        // The tones are at -12 dB: well inside the scale, so that the
        // strongest row is not one of several at the top level.
        auto s = cache_.get(part, Settings{12000, 60, -30, Palette::Grey});
        cache_.wait_idle();
        return s;
    };
    auto part = shown(0, 2, 1000, 2500);
    ASSERT_EQ(part->state(), Sonogram::Done) << part->message().toStdString();
    EXPECT_EQ(part->columns(), (66150 + 255) / 256) << "1.5 s of the track, not the whole disc";
    const int row350 = static_cast<int>(std::lround(350 / (44100.0 / 1024)));
    EXPECT_EQ(strongestRow(*part, part->columns() / 2), row350) << "track 2's own tone";

    // A part running past its track's end stops there: the next track's
    // tone never shows.
    auto tail = shown(0, 1, 1500, 4000);
    ASSERT_EQ(tail->state(), Sonogram::Done);
    EXPECT_EQ(tail->columns(), (22050 + 255) / 256);
    EXPECT_FALSE(tail->message().contains(QStringLiteral("breaks off")))
        << "a part clipped at its track's end is whole: " << tail->message().toStdString();

    for (auto failed : {shown(0, 7, 0, 1000), shown(1, 1, 0, 1000), shown(5, 1, 0, 1000)}) {
        EXPECT_EQ(failed->state(), Sonogram::Failed) << "no such track, an empty drive, no such drive";
        EXPECT_FALSE(failed->message().isEmpty());
    }
}
