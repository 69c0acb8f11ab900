// The sounds-only, playlist and slide shows stepped by hand, with recording
// buttons that end as soon as they have started.

#include "formats/textfile.h"
#include "playlist_fixture.h"
#include "playlists/ini_snapshot.h"
#include "playlists/recent_list.h"
#include "playlists/slide_show.h"
#include "playlists/show_recordings.h"
#include "playlists/sounds_show.h"
#include "scripted_output.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

namespace playlist_testing {
namespace {

using Then = TShowStep::Then;

// What the show did, in order: "list <id>#<n>", "play", "say <id>".
using Log = QStringList;

class EndingRecording : public TShowRecording {
  public:
    EndingRecording(Log& log, bool fails) : log_(log), fails_(fails) {}
    void start() override {
        log_ << "play";
        opened_ = !fails_;
    }
    // Open once right after starting, then ended.
    bool is_opened() const override { return std::exchange(opened_, false); }
    bool reached_end() const override { return true; }

  private:
    Log& log_;
    bool fails_;
    mutable bool opened_ = false;
};

class FakeList : public TShowList {
  public:
    explicit FakeList(Log& log) : log_(log), recording_(log, false), failing_(log, true) {}
    TShowRecording* present(const Tspecies& species, int number) override {
        log_ << "list " + QString::number(species.unique_id) + '#' + QString::number(number);
        return fail ? &failing_ : &recording_;
    }
    bool fail = false;

  private:
    Log& log_;
    EndingRecording recording_;
    EndingRecording failing_;
};

class FakeNames : public TSpokenNames {
  public:
    explicit FakeNames(Log& log) : log_(log) {}
    void say(const QString& path) override { log_ << "say " + QFileInfo(path).baseName(); }

  private:
    Log& log_;
};

class ListSource : public TPlayListSource {
  public:
    explicit ListSource(TPlayList& list, bool endless) : list_(list), endless_(endless) {}
    std::optional<TNextRecording> next_recording() override { return list_.next_recording(endless_); }

  private:
    TPlayList& list_;
    bool endless_;
};

class ShowTest : public PlayListTest {
  protected:
    void SetUp() override {
        PlayListTest::SetUp();
        ASSERT_TRUE(base.isValid());
        GLB().base_directory = base.path() + '/';
    }
    // A spoken-name file for the species, in the voices folder of the base.
    void give_voice(const Tspecies& species) {
        const QString path = GLB_spoken_name_path(species);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("RIFF");
    }
    // Steps the show until it ends; the intervals asked for, and how it ended.
    template <class Show>
    Then run(Show& show, std::vector<int>& intervals, int limit = 200) {
        for (int i = 0; i < limit; ++i) {
            const TShowStep s = show.step();
            if (s.then != Then::Continue) return s.then;
            intervals.push_back(s.interval_ms);
        }
        return Then::Continue;
    }
    Tsounds_demo_and_play_lists_handler play_list_show(const TBetweenSoundsOptions& options) {
        list.start_playing(0);
        return Tsounds_demo_and_play_lists_handler({.play_list = true, .quality_class = 3, .options = options},
                                                   *visible,
                                                   {list_view, names, &source, nullptr}, random);
    }

    QTemporaryDir base;
    Log log;
    FakeList list_view{log};
    FakeNames names{log};
    TPlayList list;
    ListSource source{list, false};
    std::mt19937 random{7};
};

TEST_F(ShowTest, NamesAfterwardsCloseTheShowAfterTheLastName) {
    use_edition(1041);
    const auto e = playable(2);
    for (const auto& entry : e) {
        list.add_entry(entry);
        give_voice(*entry.recording_item->species);
    }
    auto show = play_list_show({2, true, true, 3});
    std::vector<int> intervals;
    EXPECT_EQ(run(show, intervals), Then::CloseWindow);
    const QString a = QString::number(e[0].recording_item->species->unique_id);
    const QString b = QString::number(e[1].recording_item->species->unique_id);
    EXPECT_EQ(log, (Log{"list " + a + '#' + QString::number(e[0].recording_number), "play",
                        "say " + a, "list " + b + '#' + QString::number(e[1].recording_number),
                        "play", "say " + b}));
    // The pause before a name afterwards is the pause between sounds.
    EXPECT_NE(std::find(intervals.begin(), intervals.end(), 2010), intervals.end());
    EXPECT_NE(std::find(intervals.begin(), intervals.end(), 3010), intervals.end());
}

TEST_F(ShowTest, RepeatsFollowEachOtherWithoutNames) {
    use_edition(1041);
    const auto e = playable(1);
    list.add_entry(e[0]);
    list.set_repeat_text(1, "3");
    give_voice(*e[0].recording_item->species);
    auto show = play_list_show({5, true, false, 1});
    std::vector<int> intervals;
    EXPECT_EQ(run(show, intervals), Then::CloseWindow);
    EXPECT_EQ(log.count("play"), 3);
    EXPECT_EQ(log.filter("say").size(), 1);
    EXPECT_TRUE(log[1].startsWith("say"));
    // After the first play, each repeat is started 10 ms after its listing.
    int tenBeforePlay = 0;
    for (size_t i = 0; i + 1 < intervals.size(); ++i)
        if (intervals[i] == 10) ++tenBeforePlay;
    EXPECT_GE(tenBeforePlay, 2);
}

TEST_F(ShowTest, NamesAreNeverSaidWithoutSpokenNames) {
    const auto e = playable(2);
    for (const auto& entry : e) {
        list.add_entry(entry);
        give_voice(*entry.recording_item->species);
    }
    TBetweenSoundsOptions options = TBetweenSoundsOptions::read(TIniSnapshot::from_bytes({}), "X");
    auto show = play_list_show(options);
    std::vector<int> intervals;
    EXPECT_EQ(run(show, intervals), Then::CloseWindow);
    EXPECT_TRUE(log.filter("say").isEmpty());
    EXPECT_EQ(log.count("play"), 2);
}

TEST_F(ShowTest, SoundsShowPlaysRandomSpeciesIntoTheRecentList) {
    auto runShow = [this](unsigned seed) {
        log.clear();
        std::mt19937 generator(seed);
        TRecordingsAndOrPicturesList recent([](const Tspecies& s) { return s.scientific_name; });
        Tsounds_demo_and_play_lists_handler show({.play_list = false, .quality_class = 3, .options = {}},
                                                 *visible, {list_view, names, nullptr, &recent},
                                                 generator);
        for (int i = 0; i < 40; ++i) {
            const Then then = show.step().then;
            EXPECT_EQ(then, Then::Continue) << dialogs.lastMessage().toStdString();
            if (then != Then::Continue) break;
        }
        return std::make_pair(log.filter("list "), recent.texts());
    };
    const auto [listed, recent] = runShow(11);
    ASSERT_GE(listed.size(), 8);
    EXPECT_EQ(recent.size(), listed.size());
    for (qsizetype i = 1; i < listed.size(); ++i)
        EXPECT_NE(listed[i].section('#', 0, 0), listed[i - 1].section('#', 0, 0));
    EXPECT_EQ(runShow(11).first, listed);  // the generator's seed decides everything
    EXPECT_NE(runShow(12).first, listed);
}

TEST_F(ShowTest, ShowsThatCannotPlayStopWithAMessage) {
    visible->carriers.show_native_recordings = false;
    visible->carriers.visible_audio_cds.reset();
    visible->carriers.playable_audio_cds.reset();
    Tsounds_demo_and_play_lists_handler nothing({.play_list = false, .quality_class = 3, .options = {}}, *visible,
                                                {list_view, names, nullptr, nullptr}, random);
    std::vector<int> intervals;
    EXPECT_EQ(run(nothing, intervals), Then::StopShow);
    EXPECT_EQ(dialogs.lastMessage(), GLB_text("SOUND_DEMO", 2));
}

TEST_F(ShowTest, ARecordingThatWillNotStartStopsTheShow) {
    list.add_entry(playable(1)[0]);
    list_view.fail = true;
    auto show = play_list_show({});
    std::vector<int> intervals;
    EXPECT_EQ(run(show, intervals), Then::StopShow);
    EXPECT_EQ(dialogs.lastMessage(), "er ging iets fout met \"start_playing_...()\"");
    EXPECT_EQ(log.count("play"), 1);
}

class FakeSlides : public TSlidePresenter {
  public:
    explicit FakeSlides(Log& log) : log_(log), recording_(log, false) {}
    bool info_windows_showing() const override { return info_showing; }
    bool show_picture(const Tspecies& s, int n) override {
        log_ << "picture " + QString::number(s.unique_id) + '/' + QString::number(n);
        return true;
    }
    TShowRecording* make_recording_button(const Tcupaitem&, int n) override {
        log_ << "button #" + QString::number(n);
        return &recording_;
    }
    void free_recording_button() override { log_ << "free"; }
    bool info_showing = false;

  private:
    Log& log_;
    EndingRecording recording_;
};

TEST_F(ShowTest, SlideShowWithoutSoundsChangesPictureAtItsInterval) {
    FakeSlides window(log);
    TRecordingsAndOrPicturesList recent([](const Tspecies& s) { return s.scientific_name; });
    TSlideShow show({.with_sounds = false, .slide_seconds = 25, .quality_class = 3, .options = {}}, *visible,
                    {window, names, &recent}, random);
    ASSERT_EQ(show.start(), 25000);
    std::vector<int> intervals;
    run(show, intervals, 10);
    EXPECT_EQ(intervals, (std::vector<int>{10, 25000, 10, 25000, 10, 25000, 10, 25000, 10, 25000}));
    EXPECT_EQ(log.filter("picture").size(), 6);
    EXPECT_TRUE(log.filter("button").isEmpty());
    EXPECT_TRUE(log.filter("play").isEmpty());
    EXPECT_EQ(recent.running_count(), 6);

    window.info_showing = true;
    EXPECT_EQ(show.step().interval_ms, 500);
}

TEST_F(ShowTest, SlideShowWithSoundsGivesEachPictureARecording) {
    FakeSlides window(log);
    TRecordingsAndOrPicturesList recent([](const Tspecies& s) { return s.scientific_name; });
    TSlideShow show({.with_sounds = true, .slide_seconds = 25, .quality_class = 3, .options = {3, false, false, 1}},
                    *visible, {window, names, &recent}, random);
    ASSERT_EQ(show.start(), 10);
    std::vector<int> intervals;
    run(show, intervals, 12);
    EXPECT_EQ(show.slide_interval_ms(), 2000);
    EXPECT_EQ(intervals[0], 250);  // no pause before the first recording
    EXPECT_EQ(log.filter("button").size(), log.filter("picture").size());
    EXPECT_GE(log.count("play"), 2);
    for (const QString& text : recent.texts()) EXPECT_TRUE(text.contains(" & ")) << text.toStdString();
}

TEST_F(ShowTest, RecentListKeepsTheLastTwoHundred) {
    TRecordingsAndOrPicturesList recent([](const Tspecies& s) { return s.scientific_name; });
    const Tspecies& species = *playable(1)[0].recording_item->species;
    recent.add_picture(species, 2);
    for (int i = 2; i <= 201; ++i) recent.add_recording(species, i);
    EXPECT_EQ(recent.entries().size(), 200u);
    EXPECT_EQ(recent.entries().front().recording_number, 2);
    EXPECT_TRUE(recent.texts().back().startsWith("201: " + GLB_text("BS_LISTS", 2) + ": "))
        << recent.texts().back().toStdString();
    EXPECT_TRUE(recent.texts().back().endsWith(" (201)"));
    recent.add_both(species, 3, 4);
    EXPECT_TRUE(recent.texts().back().endsWith(" (3,4)"));
}

TEST_F(ShowTest, SpokenNamesLieUnderTheLanguageOfTheInterface) {
    const Tspecies& species = *playable(1)[0].recording_item->species;
    const QString english = GLB_spoken_name_path(species);
    EXPECT_EQ(english, GLB().base_directory + "voices/lang1/" +
                           QString(species.file_name_stem()).replace('\\', '/') + ".wav");
    const TEditionOverride edition(GLB_edition_for_product(1012));
    EXPECT_TRUE(GLB_spoken_name_path(species).contains("/voices/lang2/"));
}

// Spoken names through the program's sound output: the call returns when
// the output has finished the name, and events keep flowing meanwhile.
TEST(SpokenNames, AreSaidThroughTheSoundOutputUntilItStops) {
    ScriptedOutput output;
    output.length_ms = 500;
    output.playing_answers = 6;  // about six polls
    bool timerFired = false;
    QTimer::singleShot(TWaitingSpokenNames::kPollMs, [&] { timerFired = true; });
    QElapsedTimer clock;
    clock.start();
    TWaitingSpokenNames().say(QStringLiteral("/voices/lang1/TINAMIDA/20020.wav"));
    const qint64 took = clock.elapsed();
    EXPECT_EQ(output.opened, QStringList{"/voices/lang1/TINAMIDA/20020.wav"});
    EXPECT_EQ(output.plays, 1);
    EXPECT_EQ(output.open_devices, 0) << "the name's device stays open";
    EXPECT_TRUE(timerFired) << "the wait froze the event loop";
    EXPECT_GE(took, 5 * TWaitingSpokenNames::kPollMs - 10);
    EXPECT_LT(took, 500) << "the wait outlasted the output";
}

TEST(SpokenNames, AnOutputThatNeverStopsEndsAfterTheNamesLength) {
    ScriptedOutput output;
    output.length_ms = 100;
    output.playing_answers = 1000000;
    QElapsedTimer clock;
    clock.start();
    TWaitingSpokenNames().say(QStringLiteral("name.wav"));
    const qint64 took = clock.elapsed();
    EXPECT_GE(took, 100 + TWaitingSpokenNames::kGraceMs - 30);
    EXPECT_LT(took, 100 + TWaitingSpokenNames::kGraceMs + 1000);
    EXPECT_EQ(output.open_devices, 0);
}

TEST(SpokenNames, AFileTheOutputRefusesIsSkippedAtOnce) {
    ScriptedOutput output;
    output.refuse_files = true;
    QElapsedTimer clock;
    clock.start();
    TWaitingSpokenNames().say(QStringLiteral("broken.wav"));
    EXPECT_LT(clock.elapsed(), 50);
    EXPECT_EQ(output.plays, 0);
}

}  // namespace
}  // namespace playlist_testing
