// Saving and loading playlist files on the demo edition.

#include "formats/textfile.h"
#include "playlist_fixture.h"
#include "playlists/ini_snapshot.h"

#include <QDir>

namespace playlist_testing {
namespace {

using Outcome = TPlayListLoadResult::Outcome;

QString playListText(int line) {
    return GLB_text(QStringLiteral("PLAY_LISTS"), line);
}

class PlayListFileTest : public PlayListTest {
  protected:
    TPlayListLoadResult load(const QByteArray& bytes) {
        return TPlayListFile::load_bytes(bytes, *visible);
    }
};

TEST_F(PlayListFileTest, EmptyRowIsStoredAsXAndNotRestored) {
    const auto e = playable(3);
    ASSERT_EQ(e.size(), 3u);
    TPlayListContents contents;
    contents.rows = {e[0], e[1], std::nullopt, e[2]};
    contents.rows[1]->repeat_count = 4;
    contents.options = {7, false, false, 3};
    contents.endless_loop = true;
    const QString path = dir.file("walk.pl");
    ASSERT_TRUE(TPlayListFile::save(path, contents));

    const TIniSnapshot written = TIniSnapshot::from_file(path);
    EXPECT_EQ(written.text("RECORDINGS", "R3", ""), "x");
    EXPECT_EQ(written.text("GENERAL", "CDROM", ""), GLB_edition().title_english);
    EXPECT_EQ(written.text("GENERAL", "Endless Loop", ""), "Yes");
    EXPECT_EQ(written.text("GENERAL", "Seconds between Sounds", ""), "7");
    EXPECT_EQ(GLB_read_string("PLAYLISTS", "Current", ""), path);

    const TPlayListLoadResult back = TPlayListFile::load(path, *visible);
    ASSERT_EQ(back.outcome, Outcome::Loaded);
    ASSERT_EQ(back.contents.rows.size(), 3u);
    EXPECT_EQ(*back.contents.rows[0], e[0]);
    EXPECT_EQ(back.contents.rows[1]->repeat_count, 4);
    EXPECT_EQ(*back.contents.rows[2], e[2]);
    EXPECT_TRUE(back.contents.endless_loop);
    EXPECT_EQ(back.contents.options.seconds_between_sounds, 7);
    EXPECT_EQ(back.contents.options.seconds_after_spoken_names, 3);
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(PlayListFileTest, SavingReplacesTheWholeFileAndLeavesNoTemporaryFile) {
    const auto e = playable(2);
    const QString path = dir.file("two.pl");
    dir.write("two.pl", "[RECORDINGS]\nR1=x\nR2=x\nR3=x\nR9=old\n");
    TPlayListContents contents;
    contents.rows = {e[0], e[1]};
    ASSERT_TRUE(TPlayListFile::save(path, contents));
    const TIniSnapshot written = TIniSnapshot::from_file(path);
    EXPECT_FALSE(written.value("RECORDINGS", "R3"));
    EXPECT_FALSE(written.value("RECORDINGS", "R9"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).filter(".pl").size(), 1);
}

TEST_F(PlayListFileTest, AFileThatCannotBeCreatedIsReported) {
    TPlayListContents contents;
    EXPECT_FALSE(TPlayListFile::save(dir.file("no such folder/a.pl"), contents));
    EXPECT_EQ(dialogs.lastMessage(), "File creation went wrong!");
    EXPECT_EQ(dialogs.messages().back().style, platform::box::IconStop);
    EXPECT_EQ(GLB_read_string("PLAYLISTS", "Current", "none"), "none");
}

TEST_F(PlayListFileTest, RowsEndAtTheFirstMissingOrEmptyKey) {
    const auto e = playable(3);
    EXPECT_EQ(load(header() + "[RECORDINGS]\nR1=" + key(e[0]) + "\nR3=" + key(e[2]) + "\n")
                  .contents.rows.size(),
              1u);
    EXPECT_EQ(load(header() + "[RECORDINGS]\nR1=" + key(e[0]) + "\nR2=\nR3=" + key(e[2]) + "\n")
                  .contents.rows.size(),
              1u);
    EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(PlayListFileTest, RepeatFieldIsOptionalAndKeptWithinTwoDigits) {
    const auto e = playable(4);
    auto idAndPart = [](const TPlayListInfo& i) {
        return QByteArray::number(i.recording_item->species->unique_id) + ',' +
               i.recording_item->cut_part->catalogue_text().toUtf8();
    };
    const auto r = load(header() + "[RECORDINGS]\nR1=" + idAndPart(e[0]) + "\nR2=" +
                        idAndPart(e[1]) + ",many\nR3=" + idAndPart(e[2]) +
                        ",99999999999\nR4= " + idAndPart(e[3]) + ", 3 \n");
    ASSERT_EQ(r.outcome, Outcome::Loaded);
    ASSERT_EQ(r.contents.rows.size(), 4u);
    EXPECT_EQ(r.contents.rows[0]->repeat_count, 1);
    EXPECT_EQ(r.contents.rows[1]->repeat_count, 1);
    EXPECT_EQ(r.contents.rows[2]->repeat_count, 1);  // no whole number fits
    EXPECT_EQ(r.contents.rows[3]->repeat_count, 3);
}

TEST_F(PlayListFileTest, DamagedEntryRefusesTheFileButKeepsEarlierRows) {
    const auto e = playable(3);
    const auto r = load(header() + "[RECORDINGS]\nR1=" + key(e[0]) + "\nR2=" + key(e[1]) +
                        "\nR3=abc," + key(e[2]).mid(key(e[2]).indexOf(',') + 1) + "\nR4=" +
                        key(e[2]) + "\n");
    EXPECT_EQ(r.outcome, Outcome::Damaged);
    EXPECT_FALSE(r.accepted());
    EXPECT_TRUE(r.changes_list());
    EXPECT_EQ(r.contents.rows.size(), 2u);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.lastMessage(), playListText(25));
}

TEST_F(PlayListFileTest, OnlyTheStrongestWarningIsShown) {
    const auto e = playable(2);
    // An unknown species, an unknown cut part, then a good entry.
    const auto r = load(header() + "[RECORDINGS]\nR1=99999999," +
                        e[0].recording_item->cut_part->catalogue_text().toUtf8() + "\nR2=" +
                        QByteArray::number(e[0].recording_item->species->unique_id) +
                        ",99999Z99999Z,2\nR3=" + key(e[1]) + "\n");
    EXPECT_EQ(r.outcome, Outcome::Loaded);
    EXPECT_TRUE(r.not_found);
    EXPECT_EQ(r.contents.rows.size(), 1u);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.lastMessage(), playListText(26));
    EXPECT_EQ(dialogs.messages().back().style, platform::box::IconWarning);
}

TEST_F(PlayListFileTest, EditionAndVersionDecideWhetherTheFileIsRead) {
    const auto e = playable(1);
    const QByteArray rows = "[RECORDINGS]\nR1=" + key(e[0]) + "\n";

    auto other = load("[GENERAL]\nCDROM=Birds of Elsewhere\nVersion=1.0\n" + rows);
    EXPECT_EQ(other.outcome, Outcome::Refused);
    EXPECT_FALSE(other.changes_list());
    EXPECT_EQ(dialogs.lastMessage(), playListText(22));

    // The edition's title compares with its letter case.
    auto lower = load("[GENERAL]\nCDROM=" + GLB_edition().title_english.toLower().toUtf8() +
                      "\nVersion=" + GLB_edition().version.toUtf8() + "\n" + rows);
    EXPECT_EQ(lower.outcome, Outcome::Refused);

    auto noVersion = load("[GENERAL]\nCDROM=" + GLB_edition().title_english.toUtf8() + "\n" + rows);
    EXPECT_EQ(noVersion.outcome, Outcome::Refused);
    EXPECT_EQ(dialogs.lastMessage(), playListText(25));

    const size_t before = dialogs.messages().size();
    auto newer = load("[GENERAL]\nCDROM=" + GLB_edition().title_english.toUtf8() +
                      "\nVersion=9.9\n" + rows);
    EXPECT_EQ(newer.outcome, Outcome::Loaded);
    EXPECT_EQ(newer.contents.rows.size(), 1u);
    ASSERT_EQ(dialogs.messages().size(), before + 1);
    EXPECT_EQ(dialogs.lastMessage(), playListText(23) + ' ' + playListText(24));
}

TEST_F(PlayListFileTest, WindowsLineEndsAndWindowsTextLoadAlike) {
    const auto e = playable(2);
    QByteArray text = header() + "[recordings]\nr1=" + key(e[0]) + "\nR2=" + key(e[1]) + "\n";
    text.replace("\n", "\r\n");
    text.replace("CDROM", "cdrom");
    text += "; \xe9t\xe9\r\n";  // a cp1252 line no reader looks at
    const auto r = load(text);
    EXPECT_EQ(r.outcome, Outcome::Loaded);
    EXPECT_EQ(r.contents.rows.size(), 2u);
}

TEST_F(PlayListFileTest, GarbageIsRefused) {
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919) & 0xFF);
    EXPECT_EQ(load(garbage).outcome, Outcome::Refused);
    EXPECT_EQ(dialogs.lastMessage(), playListText(25));
    EXPECT_EQ(load({}).outcome, Outcome::Refused);
}

TEST_F(PlayListFileTest, SpokenNameFlagsCountOnlyInTheEditionWithSpokenNames) {
    const QByteArray options =
        "Tell Species Names=Yes\nTell names Afterwards=Yes\nSeconds after Spoken Names=4\n";
    const auto plain = load(header() + options);
    EXPECT_FALSE(plain.contents.options.tell_species_names);
    EXPECT_FALSE(plain.contents.options.tell_names_afterwards);
    EXPECT_EQ(plain.contents.options.seconds_after_spoken_names, 4);

    use_edition(1041);
    const auto spoken = load(header() + options);
    EXPECT_TRUE(spoken.contents.options.tell_species_names);
    EXPECT_TRUE(spoken.contents.options.tell_names_afterwards);
    // Without the keys: names told before the recordings.
    const auto defaults = load(header());
    EXPECT_TRUE(defaults.contents.options.tell_species_names);
    EXPECT_FALSE(defaults.contents.options.tell_names_afterwards);
    EXPECT_EQ(defaults.contents.options.seconds_between_sounds, 1);
}

TEST_F(PlayListFileTest, TenThousandRowsLoad) {
    const auto e = playable(1);
    QByteArray text = header() + "[RECORDINGS]\n";
    for (int i = 1; i <= 10000; ++i) text += "R" + QByteArray::number(i) + "=" + key(e[0]) + "\n";
    const auto r = load(text);
    EXPECT_EQ(r.outcome, Outcome::Loaded);
    EXPECT_EQ(r.contents.rows.size(), 10000u);
}

}  // namespace
}  // namespace playlist_testing
