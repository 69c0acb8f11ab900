// The WAV and MP3 memory streams on hand-built files.

#include "mp3_test_data.h"
#include "sound/mp3_memory_stream.h"
#include "sound/wave_memory_stream.h"
#include "support/scripted_dialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace mp3_testing;

namespace {

class SoundStreams : public ::testing::Test {
  protected:
    QString put(const QString& name, const QByteArray& contents) {
        return writeFile(dir.filePath(name), contents);
    }
    QByteArray loadMp3(const QByteArray& contents) {
        TMP3MemoryStream stream;
        bool failed = true;
        stream.LoadSoundFile(put("x.mp3", contents), failed);
        EXPECT_FALSE(failed);
        EXPECT_EQ(stream.position(), 0);
        return stream.bytes();
    }
    TWaveMemoryStream& loadWave(const QByteArray& contents) {
        bool failed = true;
        waveStream.LoadSoundFile(put("x.wav", contents), failed);
        EXPECT_FALSE(failed);
        return waveStream;
    }

    QTemporaryDir dir;
    testing_support::DialogScript script;
    TWaveMemoryStream waveStream;
};

}  // namespace

TEST_F(SoundStreams, OnlyLayer3FramesWithALengthAreFrames) {
    auto header = [](const QByteArray& f) { return GLB_mp3_frame_header(reinterpret_cast<const std::uint8_t*>(f.constData()), f.size()); };
    EXPECT_EQ(header(frame(1))->length(), 417);
    EXPECT_EQ(header(frame(1, true))->length(), 418);
    EXPECT_EQ(header(frame(1, false, 14, 2))->length(), 1440);  // 320 kbit/s at 32000 Hz
    QByteArray f = frame(1);
    f[2] = '\x00';  // free format
    EXPECT_FALSE(header(f));
    f[2] = '\xF0';  // bit-rate index 15
    EXPECT_FALSE(header(f));
    f[2] = '\x9C';  // reserved sample rate
    EXPECT_FALSE(header(f));
    f = frame(1);
    f[1] = '\xEB';  // the reserved version
    EXPECT_FALSE(header(f));
    f[1] = '\xFD';  // Layer II
    EXPECT_FALSE(header(f));
    EXPECT_FALSE(header(frame(1).left(2)));

    // MPEG-2 and 2.5 frames hold 576 samples and have their own tables.
    const auto mpeg2 = header(lowRateFrame(1, false, 8, 0));  // 64 kbit/s at 22050 Hz
    ASSERT_TRUE(mpeg2);
    EXPECT_EQ(mpeg2->sample_rate, 22050);
    EXPECT_EQ(mpeg2->samples, 576);
    EXPECT_EQ(mpeg2->length(), 208);
    EXPECT_EQ(header(lowRateFrame(1, false, 14, 1))->length(), 480);  // 160 kbit/s at 24000 Hz
    EXPECT_EQ(header(lowRateFrame(1, false, 14, 2))->length(), 720);  // 160 kbit/s at 16000 Hz
    const auto demo = header(lowRateFrame(1, true));  // 8 kbit/s at 11025 Hz
    ASSERT_TRUE(demo);
    EXPECT_EQ(demo->sample_rate, 11025);
    EXPECT_EQ(demo->length(), 52);
    EXPECT_EQ(header(lowRateFrame(1, true, 1, 0, true))->length(), 53);
    EXPECT_EQ(header(lowRateFrame(1, true, 1, 2))->sample_rate, 8000);
    f = lowRateFrame(1, true);
    f[2] = '\x0C';  // free format, reserved sample rate
    EXPECT_FALSE(header(f));
}

TEST_F(SoundStreams, LowRateStreamsKeepTheirFramesAndCutOn576Samples) {
    QByteArray audio;
    for (int i = 1; i <= 400; ++i) audio += lowRateFrame(i, true, 1, 0, i % 4 == 0);
    EXPECT_EQ(loadMp3(id3Tag() + audio), audio);

    TMP3MemoryStream stream;
    stream.bytes() = audio;
    EXPECT_TRUE(stream.CutSlice(10, 5));
    EXPECT_NEAR(stream.frame_duration(), 576.0 / 11025, 1e-9);
    // 10 s fall in frame 192 (from 9.9788 s), 15 s in frame 288.
    EXPECT_EQ(stream.bytes().at(4), 192 & 0x7F);
    EXPECT_EQ(stream.bytes().at(stream.size() - 1), 288 & 0x7F);
    EXPECT_EQ(stream.size(), 97 * 52 + 25);  // every fourth frame is padded

    QByteArray mpeg2;
    for (int i = 1; i <= 50; ++i) mpeg2 += lowRateFrame(i, false, 8, 0);
    EXPECT_EQ(loadMp3(mpeg2 + QByteArray(128, 'T')), mpeg2);
}

TEST_F(SoundStreams, LoadingKeepsOnlyTheFrames) {
    const QByteArray audio = frames(5);
    EXPECT_EQ(loadMp3(audio), audio);
    EXPECT_EQ(loadMp3(id3Tag() + audio + id3Tag(true)), audio);
    EXPECT_EQ(loadMp3(id3Tag(true) + audio), audio);
    // A frame cut short at the end, a bad header in the middle.
    EXPECT_EQ(loadMp3(audio + frame(6).left(100)), audio);
    EXPECT_EQ(loadMp3(audio + QByteArray(30, 'x') + frames(3)), audio);
    // A footer without its tag marks nothing; the junk after the frames goes.
    EXPECT_EQ(loadMp3(audio + QByteArray("3DI\3\0\0", 6) + syncsafe(5000)), audio);
    // A tag whose size runs past the end leaves no audio.
    QByteArray longTag = id3Tag();
    longTag.replace(6, 4, syncsafe(1000000));
    EXPECT_TRUE(loadMp3(longTag + audio).isEmpty());
    EXPECT_TRUE(loadMp3(QByteArray("ID3")).isEmpty());
}

TEST_F(SoundStreams, CutSliceKeepsTheFramesDuringWhichStartAndEndFall) {
    TMP3MemoryStream stream;
    const QByteArray audio = frames(700);
    stream.bytes() = audio;
    EXPECT_TRUE(stream.CutSlice(10, 5));
    EXPECT_NEAR(stream.frame_duration(), 0.026122, 1e-6);
    ASSERT_EQ(stream.size(), (575 - 383 + 1) * 417);
    EXPECT_EQ(stream.bytes().at(4), 383 & 0x7F);
    EXPECT_EQ(stream.bytes().at(stream.size() - 1), 575 & 0x7F);

    // A length beyond the end keeps everything up to the last frame.
    stream.bytes() = audio;
    stream.CutSlice(18, 100);
    EXPECT_EQ(stream.size(), (700 - 690 + 1) * 417);

    // A start beyond the end, or no frames at all, changes nothing.
    stream.bytes() = audio;
    stream.CutSlice(60, 5);
    EXPECT_EQ(stream.bytes(), audio);
    stream.bytes() = QByteArray(1000, 'x');
    stream.CutSlice(0, 5);
    EXPECT_EQ(stream.size(), 1000);
}

TEST_F(SoundStreams, RepeatAppendsEqualCopies) {
    TMP3MemoryStream stream;
    QByteArray once(1000, '\0');
    for (int i = 0; i < once.size(); ++i) once[i] = static_cast<char>(i * 7);
    stream.bytes() = once;
    stream.repeat(0);
    EXPECT_EQ(stream.size(), 1000);
    stream.repeat(2);
    EXPECT_EQ(stream.bytes(), once + once + once);
}

TEST_F(SoundStreams, WaveChunkWalk) {
    const QByteArray fmt = chunk("fmt ", fmtBody(1, 2, 16));
    const QByteArray data = chunk("data", QByteArray(44100, '\0'));
    TWaveFormatRecord format;
    std::uint32_t samples = 0;
    bool failed = true;

    // PCM without "fact": 44100 bytes, 2 channels, 16 bits.
    loadWave(wave(fmt + data)).ParseHeader(failed, format, samples);
    EXPECT_FALSE(failed);
    EXPECT_EQ(samples, 11025u);
    EXPECT_EQ(format.samples_per_second(), 44100u);
    EXPECT_EQ(waveStream.position(), 12 + fmt.size() + 8);

    // "DISP" right after "WAVE"; "LIST" of odd size (no pad byte) before data.
    loadWave(wave(chunk("DISP", "abc") + fmt + chunk("LIST", "odd") + chunk("fact", le32(77)) + data))
        .ParseHeader(failed, format, samples);
    EXPECT_FALSE(failed);
    EXPECT_EQ(samples, 77u);

    // A "fmt " body larger than the record: the record is filled, the rest skipped.
    loadWave(wave(chunk("fmt ", fmtBody(85, 1, 0, 400)) + data)).ParseHeader(failed, format, samples);
    EXPECT_FALSE(failed);
    EXPECT_EQ(format.format_tag(), 85);
    EXPECT_EQ(format.bytes[146], 0x5A);
    EXPECT_TRUE(script.messages().empty());

    // "DISP" after "fmt " is not where a wave file has it.
    loadWave(wave(fmt + chunk("DISP", "abcd") + data));
    EXPECT_FALSE(waveStream.IsMP3InsideWave());
    EXPECT_TRUE(script.messages().empty());  // parses: DISP is walked over
    loadWave(wave(chunk("LIST", "ab") + chunk("DISP", "abcd") + fmt + data)).ParseHeader(failed, format, samples);
    EXPECT_TRUE(failed);
    EXPECT_EQ(script.lastMessage(), "File \"" + waveStream.file_name() + "\" is not a wave file!");
    EXPECT_EQ(script.messages().back().style, 16);
}

TEST_F(SoundStreams, MalformedWaveFilesFailWithoutReadingPastTheEnd) {
    TWaveFormatRecord format;
    std::uint32_t samples = 0;
    bool failed = false;
    TWaveMemoryStream empty;
    empty.ParseHeader(failed, format, samples);
    EXPECT_TRUE(failed);
    EXPECT_EQ(script.lastMessage(), "Not a wave file!");

    const QByteArray whole = pcmWave(400);
    for (int cut : {3, 11, 20, 30, 38}) {
        failed = false;
        loadWave(whole.left(cut)).ParseHeader(failed, format, samples);
        EXPECT_TRUE(failed) << cut;
    }
    // Chunk sizes that run far past the end, and a header without channels.
    loadWave(wave(chunk("fmt ", fmtBody(1, 2, 16)) + QByteArray("LIST\xff\xff\xff\xff", 8)))
        .ParseHeader(failed, format, samples);
    EXPECT_TRUE(failed);
    loadWave(wave(chunk("fmt ", fmtBody(1, 0, 0)) + chunk("data", "abcd"))).ParseHeader(failed, format, samples);
    EXPECT_FALSE(failed);
    EXPECT_EQ(samples, 0u);
}

TEST_F(SoundStreams, SoundDataInsideAWaveRunsToTheEndOfTheFile) {
    const QByteArray mp3 = frames(3);
    const QByteArray trailing = chunk("LIST", "INFOtext");
    const std::uint8_t* data = nullptr;
    std::int64_t count = 0;
    bool failed = true;
    loadWave(mp3InsideWave(mp3, trailing)).GetSoundData(failed, data, count);
    ASSERT_FALSE(failed);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(data), count), mp3 + trailing);
    EXPECT_TRUE(waveStream.IsMP3InsideWave());

    // The MP3 stream made from those bytes keeps its frames.
    TMP3MemoryStream stream(data, count);
    stream.keep_frames_only();
    EXPECT_EQ(stream.bytes(), mp3);

    EXPECT_TRUE(FileIsMP3InsideWave(put("in.wav", mp3InsideWave(mp3))));
    EXPECT_FALSE(FileIsMP3InsideWave(put("pcm.wav", pcmWave(100))));
}

TEST_F(SoundStreams, ReadAndWriteFailuresAreReported) {
    TMP3MemoryStream stream;
    bool failed = false;
    const QString missing = dir.filePath("missing.mp3");
    stream.LoadSoundFile(missing, failed);
    EXPECT_TRUE(failed);
    EXPECT_EQ(stream.file_name(), missing);
    EXPECT_EQ(script.lastMessage(), "Error reading file " + missing);
    EXPECT_EQ(script.messages().back().style, 16);
    EXPECT_TRUE(script.messages().back().caption.isEmpty());

    // A folder that is a file cannot take the copy.
    stream.bytes() = frames(2);
    const QString blocked = put("blocked", "x") + "/copy.mp3";
    EXPECT_FALSE(stream.SaveSoundFile(blocked));
    EXPECT_EQ(script.lastMessage(), "Error writing file " + blocked);
}
