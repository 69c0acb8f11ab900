// MP3 copies of recordings: output names, the written file, bad sources and
// the folder of a run.

#include "app/editions.h"
#include "data/media_records.h"
#include "playlists/mp3_copy.h"
#include "playlists/mp3_writer.h"
#include "sound/id3_tag.h"
#include "sound/mp3_test_data.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"

#include <QDir>
#include <QtEndian>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

using namespace mp3_testing;

namespace {

struct FixedTexts : TTagTextProvider {
    TRecordingTagTexts texts;
    TRecordingTagTexts tag_texts(const Tcupaitem&) const override { return texts; }
};

// The frame IDs of a tag in the written order, and its text values.
struct ParsedTag {
    QStringList ids;
    QHash<QString, QByteArray> bodies;
    int size = 0;  // without the header
    QByteArray audio;
};

ParsedTag parseTag(const QByteArray& file) {
    ParsedTag tag;
    if (!file.startsWith("ID3")) return tag;
    tag.size = static_cast<int>(id3::read_syncsafe(reinterpret_cast<const std::uint8_t*>(file.constData()) + 6));
    int p = 10;
    while (p + 10 <= 10 + tag.size && file[p] != '\0') {
        const QString id = QString::fromLatin1(file.mid(p, 4));
        const int length = static_cast<int>(qFromBigEndian<quint32>(file.constData() + p + 4));
        tag.ids << id;
        tag.bodies[id] = file.mid(p + 10, length);
        p += 10 + length;
    }
    tag.audio = file.mid(10 + tag.size);
    return tag;
}

class Mp3Copies : public ::testing::Test {
  protected:
    void SetUp() override {
        testing_support::installDemoEdition(program);
        previousHome = qgetenv("HOME");
        qputenv("HOME", home.path().toUtf8());
        QDir(home.path()).mkdir("Documents");
        GLB_mp3_folder_of_run().clear();
        species.scientific_name = "Tinamus major";
        species.position_in_orders_2_to_4[0] = 42;
        species.first_item = &item;
        cut.recording_number = 1101;
        item.species = &species;
        item.cut_part = &cut;
        texts.texts = {"Great Tinamou", "Tinamus major", "Tinamous", "Song.\r\nPlace.\r\n",
                       "Dawn chorus", "Ann Recordist", "Quillmarsh", "Demo 1.0 (2010)"};
    }
    void TearDown() override {
        qputenv("HOME", previousHome);
        testing_support::removeDemoEdition();
    }
    QString put(const QString& name, const QByteArray& contents) {
        return writeFile(sources.filePath(name), contents);
    }
    QByteArray read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    TMP3FileJob job(const QString& source, int repetitions = 1) {
        return {&item, source, repetitions, out.path(), "Great Tinamou #1.mp3"};
    }

    testing_support::ProgramDirectory program;
    testing_support::DialogScript script;
    QTemporaryDir home, sources, out;
    QByteArray previousHome;
    Tspecies species;
    Tcutpart cut;
    Tcupaitem item;
    FixedTexts texts;
};

}  // namespace

TEST_F(Mp3Copies, OutputNamesAreCleanedAndStayInTheFolder) {
    EXPECT_EQ(GLB_clean_output_text("C:\\My: \"Why?\" <=3 >=4.mp3"), "C:\\My  'WhyQ' LTE3 GTE4.mp3");
    EXPECT_EQ(GLB_contained_file_name("a:b?.mp3"), "a bQ.mp3");
    EXPECT_EQ(GLB_contained_file_name("../../etc/passwd"), "_.-..-etc-passwd");
    EXPECT_EQ(GLB_contained_file_name(".."), "_.");
    EXPECT_EQ(GLB_contained_file_name("a\\b\nc"), "a-b c");
    EXPECT_EQ(GLB_contained_file_name(QString(300, u'é')).toUtf8().size(), 200);
    EXPECT_EQ(TNumberedMP3Writer::numbered_name(3, "Why?"), "003WhyQ.mp3");
    for (const QString name : {"../x", "/tmp/x", ".", "..", "a/../../b"}) {
        const QString path = GLB_mp3_output_path({&item, {}, 1, out.path(), name});
        EXPECT_EQ(QFileInfo(path).absolutePath(), QDir(out.path()).absolutePath()) << name.toStdString();
    }
}

TEST_F(Mp3Copies, ACopyHasOneTagAndTheSoundRepeated) {
    const QByteArray audio = frames(20);
    ASSERT_TRUE(GLB_write_mp3_file(job(put("a.mp3", id3Tag() + audio), 3), texts));
    const QByteArray file = read(out.filePath("Great Tinamou #1.mp3"));
    const ParsedTag tag = parseTag(file);
    EXPECT_EQ(tag.audio, audio + audio + audio);
    EXPECT_EQ(tag.ids, QStringList({"TCON", "TPE1", "TALB", "TCOP", "TIT1", "TIT2", "TOWN", "TPUB",
                                    "WPUB", "TXXX", "COMM"}));
    EXPECT_EQ(tag.bodies["TCON"], QByteArray("\0(12)Tinamous\0", 14));
    EXPECT_EQ(tag.bodies["TCOP"], QByteArray("\0 Ann Recordist\0", 16));
    EXPECT_EQ(tag.bodies["TIT1"], QByteArray("\0" "00042\0", 7));
    EXPECT_EQ(tag.bodies["TIT2"], QByteArray("\0Great Tinamou. Dawn chorus\0", 28));
    EXPECT_EQ(tag.bodies["TXXX"], QByteArray("\0Species number in SACC order\0" "00042\0", 36));
    EXPECT_EQ(tag.bodies["COMM"], QByteArray("\0eng\0Song.\r\nPlace.\r\n\0", 21));
    // The padding closes the tag.
    EXPECT_EQ(file.mid(10 + tag.size - 4096, 4096), QByteArray(4096, '\0'));
    EXPECT_EQ(file[5], '\x10');
}

TEST_F(Mp3Copies, AnAudioCdPartIsSlicedAndNumberedButNamesNoPublisher) {
    cut.is_sound_file = false;
    cut.track = 7;
    cut.offset = 10000;
    cut.length = 5000;
    texts.texts.artist.clear();
    texts.texts.publisher.clear();
    ASSERT_TRUE(GLB_write_mp3_file(job(put("07 track.mp3", frames(700))), texts));
    const ParsedTag tag = parseTag(read(out.filePath("Great Tinamou #1.mp3")));
    EXPECT_EQ(tag.ids, QStringList({"TCON", "TALB", "TIT1", "TIT2", "TRCK", "TXXX", "COMM"}));
    EXPECT_EQ(tag.bodies["TRCK"], QByteArray("\0" "7\0", 3));
    ASSERT_EQ(tag.audio.size(), (575 - 383 + 1) * 417);
    EXPECT_EQ(tag.audio.at(4), 383 & 0x7F);
}

TEST_F(Mp3Copies, BadSourcesAndFailedSavesLeaveNoFile) {
    EXPECT_FALSE(GLB_write_mp3_file(job(put("pcm.wav", pcmWave(4000))), texts));
    EXPECT_EQ(script.lastMessage(), "Format error inside \"" + sources.filePath("pcm.wav") + "\".");
    EXPECT_FALSE(GLB_write_mp3_file(job(sources.filePath("gone.mp3")), texts));
    EXPECT_EQ(script.lastMessage(), "Error reading file " + sources.filePath("gone.mp3"));
    EXPECT_FALSE(GLB_write_mp3_file(job(put("short.wav", pcmWave(4000).left(30))), texts));
    EXPECT_TRUE(script.lastMessage().startsWith("Format error inside"));

    // MP3 inside a WAV with a chunk behind the sound: only the frames are copied.
    ASSERT_TRUE(GLB_write_mp3_file(job(put("in.wav", mp3InsideWave(frames(4), chunk("LIST", "INFO")))), texts));
    EXPECT_EQ(parseTag(read(out.filePath("Great Tinamou #1.mp3"))).audio, frames(4));
    QFile::remove(out.filePath("Great Tinamou #1.mp3"));

    // A full disk: the write fails part way and nothing is left behind.
    const QString big = put("big.mp3", frames(300));
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit tiny = previous;
    tiny.rlim_cur = 20000;
    setrlimit(RLIMIT_FSIZE, &tiny);
    const bool written = GLB_write_mp3_file(job(big), texts);
    setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_FALSE(written);
    EXPECT_TRUE(script.lastMessage().startsWith("Error writing file"));
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(Mp3Copies, NumberedFilesForAList) {
    const QString source = put("a.mp3", frames(3));
    Tcupaitem other = item;
    std::vector<TNumberedMP3Entry> entries{{&item, 1, " first"}, {&other, 2, " second"}, {&item, 1, " Why?"}};
    TNumberedMP3Writer writer([&](const Tcupaitem& r) { return r.cut_part ? source : QString(); }, texts);
    EXPECT_EQ(writer.write(entries, out.path(), {}).outcome, TNumberedMP3Writer::Outcome::Written);
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files),
              QStringList({"001 first.mp3", "002 second.mp3", "003 WhyQ.mp3"}));
    EXPECT_EQ(parseTag(read(out.filePath("002 second.mp3"))).audio, frames(3) + frames(3));

    QTemporaryDir second;
    const auto cancelled = writer.write(entries, second.path(), [](int entry, int) { return entry < 2; });
    EXPECT_EQ(cancelled.outcome, TNumberedMP3Writer::Outcome::Cancelled);
    EXPECT_EQ(QDir(second.path()).entryList(QDir::Files).size(), 1);

    TNumberedMP3Writer missing([](const Tcupaitem&) { return QStringLiteral("/nowhere/x.mp3"); }, texts);
    const auto result = missing.write(entries, second.path(), {});
    EXPECT_EQ(result.outcome, TNumberedMP3Writer::Outcome::SourceMissing);
    EXPECT_EQ(result.entry, 1);
}

TEST_F(Mp3Copies, TheFirstCopyOfARunChoosesTheFolder) {
    const QString source = put("a.mp3", frames(3));
    auto locator = [&](const Tcupaitem&) { return source; };
    const QString proposed = home.path() + "/Documents/My Quillmarsh Files/MP3/" + GLB_edition().short_title();

    // Cancel: nothing written, no failure to report.
    script.dialogs().messageAnswers = {platform::answer::Cancel};
    EXPECT_EQ(GLB_make_mp3_copy(item, texts, locator), "");
    EXPECT_TRUE(GLB_mp3_folder_of_run().isEmpty());
    EXPECT_TRUE(script.lastMessage().contains(proposed));
    EXPECT_TRUE(script.lastMessage().endsWith("you can store your mp3 files for this DVD-ROM. "));
    EXPECT_EQ(script.messages().back().style, platform::box::YesNoCancel);

    script.dialogs().messageAnswers = {platform::answer::Yes};
    EXPECT_EQ(GLB_make_mp3_copy(item, texts, locator), "");
    EXPECT_EQ(GLB_mp3_folder_of_run(), proposed);
    EXPECT_TRUE(QFile::exists(proposed + "/Great Tinamou #1.mp3"));

    // Later copies reuse the folder without asking.
    const size_t asked = script.messages().size();
    texts.texts.title = "  Tinamus major ";
    EXPECT_EQ(GLB_make_mp3_copy(item, texts, locator), "");
    EXPECT_EQ(script.messages().size(), asked);
    EXPECT_TRUE(QFile::exists(proposed + "/Tinamus major #1.mp3"));

    // A recording that is no MP3 gives its label, the second of its species.
    Tcupaitem second = item;
    item.next_of_species = &second;
    const QString pcm = put("pcm.wav", pcmWave(100));
    EXPECT_EQ(GLB_make_mp3_copy(second, texts, [&](const Tcupaitem&) { return pcm; }), "Tinamus major #2");
    EXPECT_EQ(GLB_make_mp3_copy(second, texts, [&](const Tcupaitem&) { return QString(); }), "Tinamus major #2");
}
