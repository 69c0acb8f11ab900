// The playlist the window edits: rows, texts and the order a show plays it in.

#include "playlist_fixture.h"
#include "playlists/playlist.h"

namespace playlist_testing {
namespace {

class PlayListRowsTest : public PlayListTest {
  protected:
    // Three entries with repeat counts 1, 2, 1.
    void fill_three() {
        const auto e = playable(3);
        ASSERT_EQ(e.size(), 3u);
        for (const auto& entry : e) list.add_entry(entry);
        ASSERT_TRUE(list.set_repeat_text(2, " 2"));
    }
    // The rows played until the list ends (at most `limit`), with the last flag.
    std::vector<std::pair<int, bool>> play(bool endless, int limit = 20) {
        std::vector<std::pair<int, bool>> rows;
        while (static_cast<int>(rows.size()) < limit) {
            const auto next = list.next_recording(endless);
            if (!next) break;
            rows.push_back({next->row, next->last});
        }
        return rows;
    }

    TPlayList list;
};

TEST_F(PlayListRowsTest, PlaysEachRowAsOftenAsItsCount) {
    fill_three();
    list.start_playing(0);
    using P = std::pair<int, bool>;
    EXPECT_EQ(play(false), (std::vector<P>{{1, false}, {2, false}, {2, false}, {3, true}}));
}

TEST_F(PlayListRowsTest, EndlessLoopStartsAgainAndNeverEnds) {
    fill_three();
    list.start_playing(0);
    const auto rows = play(true, 9);
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[4].first, 1);
    EXPECT_EQ(rows[8].first, 1);
    for (const auto& [row, last] : rows) EXPECT_FALSE(last) << row;
}

TEST_F(PlayListRowsTest, StartAtSelectedBeginsWithThatRow) {
    fill_three();
    list.start_playing(2);
    const auto first = list.next_recording(false);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->row, 2);
    EXPECT_EQ(play(false).size(), 2u);  // its repeat, then row 3
}

TEST_F(PlayListRowsTest, DeletingTheOnlyEntryLeavesOneEmptyRow) {
    list.add_entry(playable(1)[0]);
    list.set_modified(false);
    ASSERT_TRUE(list.delete_row(1));
    EXPECT_EQ(list.row_count(), 1);
    EXPECT_EQ(list.entry(1), nullptr);
    EXPECT_TRUE(list.modified());
    list.start_playing(0);
    EXPECT_FALSE(list.next_recording(true));  // nothing to play, even looping
}

TEST_F(PlayListRowsTest, DropsFillTheEmptyFirstRowThenAddRows) {
    const auto e = playable(2);
    EXPECT_EQ(list.row_count(), 1);
    EXPECT_FALSE(list.modified());
    list.add_entry(e[0]);
    EXPECT_EQ(list.row_count(), 1);
    EXPECT_TRUE(list.modified());
    list.add_entry(e[1]);
    EXPECT_EQ(list.row_count(), 2);
    EXPECT_EQ(*list.entry(2), e[1]);
}

TEST_F(PlayListRowsTest, DeletingAndMovingRows) {
    fill_three();
    const TPlayListInfo third = *list.entry(3);
    ASSERT_TRUE(list.move_row(3, 1));
    EXPECT_EQ(*list.entry(1), third);
    ASSERT_TRUE(list.delete_row(1));
    EXPECT_EQ(list.row_count(), 2);
    EXPECT_EQ(list.entry(2)->repeat_count, 2);
    EXPECT_FALSE(list.delete_row(3));
    EXPECT_FALSE(list.move_row(1, 5));
}

TEST_F(PlayListRowsTest, RepeatCountTextsAndEdits) {
    fill_three();
    list.set_modified(false);
    EXPECT_EQ(list.repeat_text(1), "");
    EXPECT_EQ(list.repeat_text(2), "2");
    EXPECT_FALSE(list.set_repeat_text(1, ""));  // empty is 1, no change
    EXPECT_FALSE(list.modified());
    EXPECT_TRUE(list.set_repeat_text(2, ""));
    EXPECT_EQ(list.entry(2)->repeat_count, 1);
    EXPECT_FALSE(list.set_repeat_text(3, "x"));
    EXPECT_TRUE(list.modified());
    TPlayList empty;
    EXPECT_FALSE(empty.set_repeat_text(1, "5"));  // a row without an entry ignores edits
}

TEST_F(PlayListRowsTest, TextsOfRowsAndClipboard) {
    fill_three();
    const TTaxonNaming naming{2, 1};
    const Tspecies& species = *list.entry(1)->recording_item->species;
    const QString text = list.recording_text(1, naming);
    EXPECT_TRUE(text.startsWith("  " + species.common_name + " (" + species.scientific_name + ")"))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(" # " + QString::number(list.entry(1)->recording_number)));
    // Without a name in the first position the second stands alone.
    EXPECT_TRUE((TTaxonNaming{0, 1}).taxon_text(species).startsWith("  " + species.scientific_name));
    const QStringList lines = list.clipboard_text(naming, "Repeat").split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].endsWith(":  1"));
    EXPECT_TRUE(lines[1].endsWith(":  2, repeat=2")) << lines[1].toStdString();
    EXPECT_EQ(TPlayList::row_number_text(12), " 12");
}

TEST_F(PlayListRowsTest, NamesOfFiles) {
    EXPECT_EQ(TPlayList::name_of_path("/x/My walk.pl"), "My walk");
    EXPECT_EQ(TPlayList::name_of_path("/x/My walk.PL"), "My walk.PL");
    EXPECT_EQ(TPlayList::name_of_path("/x/notes.txt"), "notes.txt");
    EXPECT_EQ(list.list_name("(new)"), "(new)");
    list.set_path("/x/a.pl");
    EXPECT_EQ(list.list_name("(new)"), "a");
    EXPECT_FALSE(list.is_new());
}

}  // namespace
}  // namespace playlist_testing
