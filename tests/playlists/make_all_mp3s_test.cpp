// "Make mp3s" over the demo edition: the walk, the failure listing and the
// tag texts a list gives.

#include "app/editions.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "listview/list_tag_texts.h"
#include "playlists/make_all_mp3s.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <set>

namespace {

class MakeAllMp3s : public ::testing::Test {
  protected:
    void SetUp() override { testing_support::installDemoEdition(program); }
    void TearDown() override { testing_support::removeDemoEdition(); }

    testing_support::ProgramDirectory program;
    testing_support::DialogScript script;
};

}  // namespace

TEST_F(MakeAllMp3s, TheWalkVisitsEveryPlayableRecordingOfTheVisibleSpeciesOnce) {
    const Tdata& data = GLB_data();
    for (int order : data.offered_orders()) {
        TClassVisibleSpeciesAndRecordings visible(data, "WINDOW 1");
        visible.reset_carriers();
        std::vector<const Tcupaitem*> visited;
        TMakeAllMP3sJob job(data, order, visible, [&](const Tcupaitem& r) {
            visited.push_back(&r);
            return QString();
        });
        job.start();
        while (job.tick()) {
        }
        int expected = 0;
        for (const Tfamily* f = data.first_family(order); f; f = f->next)
            for (const Tspecies* s = f->first_species; s; s = s->next(order)) {
                if (!visible.species_visible(*s)) continue;
                for (const Tcupaitem* i = s->first_item; i && i->present; i = i->next_of_species)
                    if (visible.carrier_playable(*i->cut_part)) ++expected;
            }
        ASSERT_GT(expected, 0);
        EXPECT_EQ(job.total(), expected) << order;
        EXPECT_EQ(job.done(), expected);
        EXPECT_EQ(static_cast<int>(visited.size()), expected);
        EXPECT_EQ(std::set<const Tcupaitem*>(visited.begin(), visited.end()).size(), visited.size());
        EXPECT_TRUE(job.progress_text().startsWith("Ready: " + QString::number(expected) + " MP3 files were made."));
        EXPECT_TRUE(job.progress_text().endsWith(QString(12, u' ')));
    }
}

TEST_F(MakeAllMp3s, FailuresAreListedUpToTenAndCanStopTheJob) {
    const Tdata& data = GLB_data();
    TClassVisibleSpeciesAndRecordings visible(data, "WINDOW 1");
    int n = 0;
    TMakeAllMP3sJob job(data, 1, visible, [&](const Tcupaitem&) {
        ++n;
        return n % 2 ? QStringLiteral("Label %1").arg(n) : QString();
    });
    job.start();
    ASSERT_GT(job.total(), 30);
    script.dialogs().messageAnswers.assign(11, platform::answer::No);
    script.dialogs().messageAnswers.push_back(platform::answer::Yes);
    while (job.tick()) {
    }
    EXPECT_EQ(job.failure_count(), 12);
    EXPECT_EQ(job.done(), 11);
    const QStringList lines = job.failures_text().split(u'\n');
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], "These recordings could not be copied as MP3 files:");
    EXPECT_EQ(lines[9], "Label 17");
    EXPECT_EQ(lines[10], "+ ...");
    EXPECT_FALSE(job.failures_text().contains("Label 21"));
    EXPECT_EQ(script.lastMessage(), "Do you want to stop making MP3 files?");
    EXPECT_EQ(script.messages().back().style, 36);
    EXPECT_TRUE(job.display_text("/x").contains("The MP3 files are in the folder \"/x\".\nThese recordings"));
}

TEST_F(MakeAllMp3s, TheListGivesPlainTagTexts) {
    const Tdata& data = GLB_data();
    SHST_TClassShowStringsData settings(data);
    const TListTagTexts provider(settings);
    int fromFiles = 0;
    for (const Tcutpart* cut : data.cut_parts()) {
        const Tcupaitem* item = cut->first_item(1);
        if (!item || !item->species) continue;
        const TRecordingTagTexts t = provider.tag_texts(*item);
        EXPECT_EQ(t.title, t.title.trimmed());
        EXPECT_TRUE(t.title.contains(item->species->common_name)) << t.title.toStdString();
        EXPECT_EQ(t.comment.count("\r\n"), 2);
        // The joints are CR LF; the same 13 anywhere else would be a code.
        QString comment = t.comment;
        comment.remove(QStringLiteral("\r\n"));
        const QString all = comment + t.title + t.family + t.item_text;
        EXPECT_FALSE(std::any_of(all.begin(), all.end(), [](QChar c) {
            return c == u'\n' || (c.unicode() >= 11 && c.unicode() <= 17);
        })) << all.toStdString();
        EXPECT_FALSE(t.family.isEmpty());
        if (cut->is_sound_file) {
            ++fromFiles;
            EXPECT_EQ(t.publisher, "Quillmarsh");
            EXPECT_EQ(t.rights, GLB_edition().title + " " + GLB_edition().version + " (2010)");
            EXPECT_EQ(t.artist, cut->recordist ? cut->recordist->name : QString());
        } else {
            EXPECT_TRUE(t.publisher.isEmpty() && t.artist.isEmpty());
            EXPECT_EQ(t.rights, cut->audio_cd->full_title);
        }
    }
    EXPECT_GT(fromFiles, 0);
}
