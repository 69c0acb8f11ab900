// A comparison's set of recordings, its file and the scale its sonograms
// share, on the demo edition's recordings.
#include "data/media_records.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "learning/compare_set.h"
#include "support/demo_edition.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class DemoComparison : public ::testing::Test {
  protected:
    void SetUp() override { testing_support::installDemoEdition(dir_); }
    void TearDown() override { testing_support::removeDemoEdition(); }

    // The first recording of each of the first species of the edition, in order.
    static std::vector<const Tcupaitem*> firstRecordings(int count) {
        std::vector<const Tcupaitem*> found;
        for (const Tfamily* f = GLB_data().first_family(kFirstOrder); f; f = f->next)
            for (const Tspecies* s = f->first_species; s; s = s->next(kFirstOrder))
                for (const Tcupaitem* item = s->first_item; item; item = item->next_of_species)
                    if (item->cut_part) {
                        if (static_cast<int>(found.size()) < count) found.push_back(item);
                        break;
                    }
        return found;
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    testing_support::ProgramDirectory dir_;
    QTemporaryDir folder_;
};

}  // namespace

TEST_F(DemoComparison, HoldsSixDifferentRecordingsAndRefusesASeventh) {
    const auto recordings = firstRecordings(7);
    ASSERT_EQ(recordings.size(), 7u);
    TComparisonSet set;
    for (int i = 0; i < 6; ++i) EXPECT_EQ(set.add(*recordings[static_cast<std::size_t>(i)]), TComparisonSet::Added::Yes);
    EXPECT_EQ(set.add(*recordings[6]), TComparisonSet::Added::Full);
    EXPECT_EQ(set.add(*recordings[2]), TComparisonSet::Added::AlreadyThere);
    EXPECT_EQ(set.size(), 6);
    set.remove(0);
    EXPECT_EQ(&set.at(0), recordings[1]);
    EXPECT_EQ(set.add(*recordings[6]), TComparisonSet::Added::Yes) << "room again once one is removed";
}

TEST_F(DemoComparison, ASavedSetReadsBackInItsOrderAndAMissingRecordingIsLeftOutByName) {
    const auto recordings = firstRecordings(3);
    TComparisonSet set;
    for (const Tcupaitem* r : {recordings[2], recordings[0], recordings[1]}) set.add(*r);
    const QString path = folder_.filePath(QStringLiteral("tinamous.json"));
    ASSERT_TRUE(GLB_write_comparison(set, path));
    TComparisonRead back = GLB_read_comparison(path, GLB_data());
    ASSERT_EQ(back.status, TComparisonRead::Read);
    EXPECT_EQ(back.set.recordings(), set.recordings());
    EXPECT_TRUE(back.missing.isEmpty());

    // The same set written by an edition that had one more recording.
    QByteArray text = read(path);
    const QString gone = recordings[0]->cut_part->identifier.text();
    text.replace(gone.toUtf8(), QByteArrayLiteral("99999Z99999Z"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
    f.close();
    back = GLB_read_comparison(path, GLB_data());
    ASSERT_EQ(back.status, TComparisonRead::Read);
    EXPECT_EQ(back.set.recordings(), (std::vector<const Tcupaitem*>{recordings[2], recordings[1]}));
    ASSERT_EQ(back.missing.size(), 1);
    EXPECT_TRUE(back.missing[0].contains(recordings[0]->species->common_name)) << back.missing[0].toStdString();
    EXPECT_TRUE(QFile::exists(path)) << "a readable set stays where it is";
}

TEST_F(DemoComparison, ADamagedFileIsPutAsideUnderANewNameAndTheSetStartsEmpty) {
    const QString path = folder_.filePath(QStringLiteral("set.json"));
    const QList<QByteArray> damaged{
        QByteArrayLiteral("{\"format\": \"korvelan comparison\", \"recordings\": [{\"recording\": "),  // cut short
        QByteArrayLiteral("<playlist/>"),
        QByteArrayLiteral("{\"format\": \"korvelan comparison\", \"recordings\": {}}"),
        QByteArrayLiteral("{\"format\": \"korvelan comparison\", \"recordings\": [{\"species\": 3}]}"),
        QByteArrayLiteral("{\"format\": \"korvelan comparison\", \"recordings\": [1,2,3,4,5,6,7]}"),
    };
    QStringList asides;
    for (const QByteArray& bytes : damaged) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        const TComparisonRead result = GLB_read_comparison(path, GLB_data());
        EXPECT_EQ(result.status, TComparisonRead::Damaged) << bytes.toStdString();
        EXPECT_TRUE(result.set.empty());
        EXPECT_FALSE(QFile::exists(path)) << "not left to be read (or overwritten) again";
        ASSERT_FALSE(result.kept_aside.isEmpty());
        EXPECT_EQ(read(result.kept_aside), bytes) << "kept whole";
        EXPECT_FALSE(asides.contains(result.kept_aside)) << "each kept under a name of its own";
        asides << result.kept_aside;
    }
    EXPECT_EQ(GLB_read_comparison(folder_.filePath(QStringLiteral("none.json")), GLB_data()).status,
              TComparisonRead::Unreadable);
}

TEST_F(DemoComparison, AWriteThatCannotBeFinishedLeavesTheOldFileAsItWas) {
    const auto recordings = firstRecordings(2);
    TComparisonSet one;
    one.add(*recordings[0]);
    const QString path = folder_.filePath(QStringLiteral("set.json"));
    ASSERT_TRUE(GLB_write_comparison(one, path));
    const QByteArray before = read(path);
    // The folder cannot take the new file beside the old one.
    TComparisonSet two = one;
    two.add(*recordings[1]);
    EXPECT_FALSE(GLB_write_comparison(two, folder_.filePath(QStringLiteral("gone/set.json"))));
    EXPECT_EQ(read(path), before);
    ASSERT_TRUE(GLB_write_comparison(two, path));
    EXPECT_EQ(GLB_read_comparison(path, GLB_data()).set.size(), 2);
    EXPECT_TRUE(QDir(folder_.path()).entryList(QDir::Files | QDir::Hidden).size() == 1) << "no temporary file left";
}

TEST(SharedScale, ZoomKeepsThePointUnderTheMouseAndStaysWithinTheLongestRecording) {
    TSharedScale scale;
    scale.set_limits(8.0, 11025.0);
    scale.set_view(0, 8);
    scale.zoom_time(0.5, 2.0);  // in, around 2 s
    EXPECT_DOUBLE_EQ(scale.to() - scale.from(), 4.0);
    EXPECT_DOUBLE_EQ(scale.from(), 1.0) << "2 s stays a quarter of the way in";
    scale.zoom_time(0.01, 3.0);
    EXPECT_NEAR(scale.to() - scale.from(), TSharedScale::kShortestView, 1e-9);
    EXPECT_GE(3.0, scale.from());
    EXPECT_LE(3.0, scale.to());
    scale.scroll_to(100);
    EXPECT_DOUBLE_EQ(scale.to(), 8.0) << "scrolled no further than the end";
    scale.zoom_time(100, 7.9);
    EXPECT_DOUBLE_EQ(scale.from(), 0.0);
    EXPECT_DOUBLE_EQ(scale.to(), 8.0) << "zoomed out no further than the whole";

    scale.set_top(12000);
    EXPECT_DOUBLE_EQ(scale.top_hz(), 11025.0);
    scale.zoom_frequency(0.5);
    EXPECT_DOUBLE_EQ(scale.top_hz(), 11025.0 / 2);
    scale.zoom_frequency(0.001);
    EXPECT_DOUBLE_EQ(scale.top_hz(), TSharedScale::kLowestTop);
    // A shorter set: the view shrinks into it.
    scale.set_view(4, 8);
    scale.set_limits(3.0, 22050.0);
    EXPECT_DOUBLE_EQ(scale.from(), 0.0);
    EXPECT_DOUBLE_EQ(scale.to(), 3.0);
}
