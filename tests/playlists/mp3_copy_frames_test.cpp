// The sound of MP3 copies: MPEG-1, MPEG-2 and MPEG-2.5 sources made by
// ffmpeg, as MP3 files and as MP3 inside WAV files, are copied frame for
// frame (a cut part: its slice), as ffprobe reads the source's frames and
// the copy's length; a source without frames gives no copy at all.

#include "app/editions.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "listview/list_tag_texts.h"
#include "playlists/make_all_mp3s.h"
#include "playlists/mp3_copy.h"
#include "playlists/mp3_writer.h"
#include "sound/id3_tag.h"
#include "sound/mp3_test_data.h"
#include "support/demo_edition.h"
#include "support/mp3_probe.h"
#include "support/scripted_dialogs.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testing_support;

namespace {

struct FixedTexts : TTagTextProvider {
    TRecordingTagTexts texts{"Great Tinamou", "Tinamus major", "Tinamous", "Song.\r\nPlace.\r\n",
                             "Dawn chorus",   "Ann Recordist", "Quillmarsh", "Demo 1.0 (2010)"};
    TRecordingTagTexts tag_texts(const Tcupaitem&) const override { return texts; }
};

// An audio-CD part keeps the frames from the one during which its start
// falls to the one during which its end falls.
std::vector<ProbedFrame> sliceOf(const std::vector<ProbedFrame>& frames, double start, double length) {
    std::vector<ProbedFrame> slice;
    for (const ProbedFrame& f : frames) {
        if (f.start + f.duration <= start) continue;
        slice.push_back(f);
        if (f.start + f.duration > start + length) break;
    }
    return slice;
}

class Mp3CopyFrames : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"ffmpeg", "ffprobe"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool << " is not installed (scripts/install-dependencies.sh installs it)";
        testing_support::installDemoEdition(program);
        installed = true;
        species.position_in_orders_2_to_4[0] = 7;
        species.first_item = &item;
        item.species = &species;
        item.cut_part = &cut;
    }
    void TearDown() override {
        if (installed) testing_support::removeDemoEdition();
    }
    // Twelve seconds of a tone, encoded by ffmpeg at that rate; a WAV file
    // holds the MP3 frames inside.
    QString encode(const QString& name, int sampleRate, const QString& bitRate) {
        const QString path = sources.filePath(name);
        QStringList arguments{"-v", "error", "-f", "lavfi", "-i", "sine=frequency=660:duration=12",
                              "-ar", QString::number(sampleRate), "-b:a", bitRate, "-c:a", "libmp3lame",
                              "-write_xing", "0", "-y"};
        if (name.endsWith(".wav")) arguments << "-f" << "wav";
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", arguments << path);
        ffmpeg.waitForFinished(60000);
        EXPECT_EQ(ffmpeg.exitCode(), 0) << ffmpeg.readAllStandardError().toStdString();
        return path;
    }
    QString copy(const QString& source, const QString& name) {
        EXPECT_TRUE(GLB_write_mp3_file({&item, source, 1, out.path(), name}, texts)) << name.toStdString();
        return out.filePath(name);
    }

    testing_support::ProgramDirectory program;
    testing_support::DialogScript script;
    bool installed = false;
    QTemporaryDir sources, out;
    Tspecies species;
    Tcutpart cut;
    Tcupaitem item;
    FixedTexts texts;
};

}  // namespace

TEST_F(Mp3CopyFrames, EveryMpegVersionIsCopiedFrameForFrame) {
    struct Source {
        int rate;
        const char* bitRate;
    };
    // MPEG-1, MPEG-2 (common in field recordings) and MPEG-2.5 (the demo's).
    for (const Source s : {Source{44100, "128k"}, Source{22050, "64k"}, Source{24000, "48k"},
                           Source{11025, "16k"}}) {
        for (const QString suffix : {".mp3", ".wav"}) {
            const QString name = QString::number(s.rate) + suffix;
            SCOPED_TRACE(name.toStdString());
            const QString source = encode(name, s.rate, s.bitRate);
            const std::vector<ProbedFrame> frames = probeFrames(source);
            ASSERT_GT(frames.size(), 100u);
            const double frameDuration = (s.rate >= 32000 ? 1152.0 : 576.0) / s.rate;
            ASSERT_NEAR(frames.front().duration, frameDuration, 1e-5);

            cut.is_sound_file = true;
            cut.track = 0;
            const QString whole = copy(source, name + " whole.mp3");
            const QByteArray audio = audioOf(readFile(whole));
            ASSERT_FALSE(audio.isEmpty());
            EXPECT_TRUE(audio == frameBytes(readFile(source), frames))
                << audio.size() << " bytes copied";
            EXPECT_NEAR(probeDuration(whole), frames.size() * frameDuration, frameDuration);
            if (suffix == ".mp3") {
                EXPECT_NEAR(probeDuration(whole), probeDuration(source), frameDuration);
            }

            // A part of an audio-CD track: 3.3 s from 4.1 s.
            cut.is_sound_file = false;
            cut.track = 5;
            cut.offset = 4100;
            cut.length = 3300;
            const QString part = copy(source, name + " part.mp3");
            const std::vector<ProbedFrame> slice = sliceOf(frames, 4.1, 3.3);
            const QByteArray partAudio = audioOf(readFile(part));
            EXPECT_TRUE(partAudio == frameBytes(readFile(source), slice))
                << partAudio.size() << " bytes copied";
            EXPECT_NEAR(probeDuration(part), slice.size() * frameDuration, frameDuration);
            EXPECT_EQ(probeFrames(part).size(), slice.size());
        }
    }
}

TEST_F(Mp3CopyFrames, ASourceWithoutFramesGivesNoCopyAndIsReportedFailed) {
    using namespace mp3_testing;
    QByteArray noise(4000, '\0');
    for (int i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 37) % 200);
    QByteArray layer2 = frames(10);
    for (int at = 0; at < layer2.size(); at += 417) layer2[at + 1] = '\xFD';
    const QStringList bad{writeFile(sources.filePath("tag only.mp3"), id3Tag()),
                          writeFile(sources.filePath("noise.mp3"), id3Tag() + noise),
                          writeFile(sources.filePath("layer 2.mp3"), layer2),
                          writeFile(sources.filePath("noise.wav"), mp3InsideWave(noise))};
    for (const QString& source : bad) {
        SCOPED_TRACE(source.toStdString());
        ASSERT_FALSE(source.isEmpty());
        const size_t asked = script.messages().size();
        EXPECT_FALSE(GLB_write_mp3_file({&item, source, 2, out.path(), "copy.mp3"}, texts));
        ASSERT_EQ(script.messages().size(), asked + 1);
        EXPECT_EQ(script.lastMessage(), "Format error inside \"" + source + "\".");
        EXPECT_EQ(script.messages().back().style, platform::box::IconStop);
        EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }

    // "Make mp3s" over the demo's recordings lists such a recording as failed
    // and counts no file for it.
    QTemporaryDir home;
    const QByteArray previousHome = qgetenv("HOME");
    qputenv("HOME", home.path().toUtf8());
    GLB_mp3_folder_of_run().clear();
    const Tdata& data = GLB_data();
    const SHST_TClassShowStringsData settings(data);
    const TListTagTexts listTexts(settings);
    TClassVisibleSpeciesAndRecordings visible(data, "WINDOW 1");
    visible.reset_carriers();
    const QString noFrames = bad[1];
    TMakeAllMP3sJob job(data, 1, visible, [&](const Tcupaitem& recording) {
        return GLB_make_mp3_copy(recording, listTexts, [&](const Tcupaitem&) { return noFrames; });
    });
    job.start();
    ASSERT_GT(job.total(), 1);
    // Create the folder, then stop after the first failure.
    script.dialogs().messageAnswers = {platform::answer::Yes, platform::answer::Yes};
    while (job.tick()) {
    }
    const QString folder = GLB_mp3_folder_of_run();
    GLB_mp3_folder_of_run().clear();
    qputenv("HOME", previousHome);
    EXPECT_EQ(job.done(), 0);
    EXPECT_EQ(job.failure_count(), 1);
    EXPECT_TRUE(job.progress_text().startsWith("Ready: 0 MP3 files were made."));
    const Tcupaitem* first = job.first();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(job.failures_text().endsWith(
        "\n" + GLB_recording_label(*first, listTexts.tag_texts(*first).title)))
        << job.failures_text().toStdString();
    ASSERT_FALSE(folder.isEmpty());
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
