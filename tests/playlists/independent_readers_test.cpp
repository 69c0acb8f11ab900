// MP3 copies read back by programs that share no code with the writer:
// eyeD3 and ffprobe list the tag, mpg123 decodes the sound. The source is
// encoded by ffmpeg at test time.

#include "app/editions.h"
#include "data/media_records.h"
#include "playlists/mp3_writer.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct FixedTexts : TTagTextProvider {
    TRecordingTagTexts texts{"Great Tinamou",      "Tinamus major", "Tinamous",
                             "Song at dawn.\r\nNoel Kempff.\r\nAlso heard: Undulated Tinamou.",
                             "Dawn chorus",        "Ann Recordist", "Quillmarsh",
                             "Korvelan Demo 1.0 (2010)"};
    TRecordingTagTexts tag_texts(const Tcupaitem&) const override { return texts; }
};

struct ToolRun {
    int exitCode = -1;
    QString out;
};

ToolRun run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
}

class IndependentReaders : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"ffmpeg", "ffprobe", "eyeD3", "mpg123"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool << " is not installed (scripts/install-dependencies.sh installs it)";
        testing_support::installDemoEdition(program);
        source = dir.filePath("source.mp3");
        const ToolRun encoded = run("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "sine=frequency=880:duration=12",
                                           "-ar", "44100", "-b:a", "128k", "-c:a", "libmp3lame",
                                           "-metadata", "title=Old title", "-y", source});
        ASSERT_EQ(encoded.exitCode, 0) << encoded.out.toStdString();
        species.position_in_orders_2_to_4[0] = 7;
        item.species = &species;
        item.cut_part = &cut;
    }
    void TearDown() override {
        if (!source.isEmpty()) testing_support::removeDemoEdition();
    }
    double duration(const QString& file) {
        return run("ffprobe", {"-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0", file})
            .out.trimmed().toDouble();
    }

    testing_support::ProgramDirectory program;
    testing_support::DialogScript script;
    QTemporaryDir dir;
    QString source;
    Tspecies species;
    Tcutpart cut;
    Tcupaitem item;
    FixedTexts texts;
};

}  // namespace

TEST_F(IndependentReaders, ACopyOfASoundFileIsDescribedAndDecoded) {
    ASSERT_TRUE(GLB_write_mp3_file({&item, source, 2, dir.path(), "Great Tinamou #1.mp3"}, texts));
    const QString copy = dir.filePath("Great Tinamou #1.mp3");

    const ToolRun eyed3 = run("eyeD3", {"--no-color", copy});
    EXPECT_EQ(eyed3.exitCode, 0) << eyed3.out.toStdString();
    for (const char* expected : {"title: Great Tinamou. Dawn chorus", "artist: Ann Recordist",
                                 "album: Korvelan Demo 1.0 (2010)", "Publisher/label: Quillmarsh",
                                 "Species number in SACC order", "00007", "ID3 v2.3"})
        EXPECT_TRUE(eyed3.out.contains(expected)) << expected << "\n" << eyed3.out.toStdString();
    EXPECT_FALSE(eyed3.out.contains("Old title"));

    const ToolRun probe = run("ffprobe", {"-v", "error", "-show_entries", "format_tags", "-of", "default=nw=1", copy});
    for (const char* expected : {"TAG:title=Great Tinamou. Dawn chorus", "TAG:artist=Ann Recordist",
                                 "TAG:album=Korvelan Demo 1.0 (2010)", "TAG:publisher=Quillmarsh",
                                 "TAG:copyright= Ann Recordist", "TAG:Species number in SACC order=00007",
                                 "TAG:comment=Song at dawn."})
        EXPECT_TRUE(probe.out.contains(expected)) << expected << "\n" << probe.out.toStdString();

    const ToolRun decoded = run("mpg123", {"-t", "-q", copy});
    EXPECT_EQ(decoded.exitCode, 0);
    EXPECT_FALSE(decoded.out.contains("error", Qt::CaseInsensitive)) << decoded.out.toStdString();
    EXPECT_NEAR(duration(copy), 2 * duration(source), 0.1);
}

TEST_F(IndependentReaders, AnAudioCdSliceStartsAndEndsOnItsFrames) {
    cut.is_sound_file = false;
    cut.track = 4;
    cut.offset = 5000;
    cut.length = 3000;
    texts.texts.artist.clear();
    texts.texts.publisher.clear();
    ASSERT_TRUE(GLB_write_mp3_file({&item, source, 1, dir.path(), "slice.mp3"}, texts));
    const QString copy = dir.filePath("slice.mp3");
    // The frames during which 5 s and 8 s fall: 192 to 307 of 26.12 ms each.
    EXPECT_NEAR(duration(copy), (307 - 192 + 1) * 1152 / 44100.0, 0.03);
    const ToolRun probe = run("ffprobe", {"-v", "error", "-show_entries", "format_tags", "-of", "default=nw=1", copy});
    EXPECT_TRUE(probe.out.contains("TAG:track=4")) << probe.out.toStdString();
    EXPECT_FALSE(probe.out.contains("TAG:artist"));
    EXPECT_EQ(run("mpg123", {"-t", "-q", copy}).exitCode, 0);
}
