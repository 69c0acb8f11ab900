// The show windows and the slide show on the demo edition, playing through
// real recording buttons on a sound output whose recordings end as soon as
// they have started.

#include "app/editions.h"
#include "app/globals.h"
#include "app/program/audio_cd_file_writer.h"
#include "app/program/recording_button_commands.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "listview/windows/child_form.h"
#include "listview/windows/list_window_services.h"
#include "listview/list_bitmaps.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/show_strings_data.h"
#include "listview/windows/sound_bar.h"
#include "listview/top_forms.h"
#include "playlists/windows/big_picture_demo_form.h"
#include "playlists/windows/play_sound_options_frame.h"
#include "playlists/recent_list.h"
#include "playlists/show_choices.h"
#include "playlists/windows/playlists_and_shows.h"
#include "playlists/windows/sounds_show_window.h"
#include "scripted_output.h"
#include "sound/recording_paths.h"
#include "support/demo_edition.h"
#include "support/list_window_driver.h"
#include "support/scripted_dialogs.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QtTest>

using namespace line_kind;
using playlist_testing::ScriptedOutput;

namespace {

// Hands the show a fixed list of entries, the last one flagged.
class FixedPlayList : public TPlayListSource {
  public:
    explicit FixedPlayList(std::vector<TPlayListInfo> entries) : entries_(std::move(entries)) {}
    std::optional<TNextRecording> next_recording() override {
        if (next_ >= entries_.size()) return std::nullopt;
        TNextRecording r{entries_[next_], static_cast<int>(next_) + 1, false,
                         next_ + 1 == entries_.size()};
        ++next_;
        return r;
    }

  private:
    std::vector<TPlayListInfo> entries_;
    std::size_t next_ = 0;
};

}  // namespace

class ShowWindowsTest : public QObject, protected testing_support::ListWindowDriver {
    Q_OBJECT

    testing_support::ProgramDirectory* dir_ = nullptr;
    testing_support::DialogScript* script_ = nullptr;
    ScriptedOutput* output_ = nullptr;
    // The list windows' recording buttons and shows, made as the program
    // makes them; the shows play the recording buttons of their lists.
    TProgramAudioCDFileWriter audio_cd_writer_;
    TPlaylistsAndShows playlists_{audio_cd_writer_};
    TProgramSoundBarCommands button_commands_{playlists_};
    TSoundBarFactory buttons_{button_commands_};
    TListWindowServices services_;
    TSoundBarShowRecordingSource recordings_;

    const SHST_TClassShowStringsData& settings() { return list().model().settings(); }
    // The file a recording of the list (species, number as listed) plays.
    QString fileOf(const Tspecies& species, int number) {
        const TClassVisibleSpeciesAndRecordings& visible = settings().visible_set;
        for (const Tcupaitem* i = species.first_item; i; i = i->next_of_species)
            if (visible.item_position(*i) == number)
                return GLB_recording_file(*i->cut_part, visible.carriers);
        return {};
    }
    std::vector<TPlayListInfo> playable(std::size_t count) {
        std::vector<TPlayListInfo> found;
        const TClassVisibleSpeciesAndRecordings& visible = settings().visible_set;
        for (const Tspecies* s : GLB_data().species_by_id_text()) {
            for (const Tcupaitem* i = s->first_item; i; i = i->next_of_species) {
                const int n = visible.item_position(*i);
                if (n > 0 && visible.carrier_playable(*i->cut_part)) {
                    found.push_back({i, n, 1});
                    break;
                }
            }
            if (found.size() == count) break;
        }
        return found;
    }

  private slots:
    void initTestCase() {
        TListBitmaps::load();
        services_.recording_buttons = &buttons_;
        services_.show_commands = playlists_.list_window_commands();
    }
    void init() {
        dir_ = new testing_support::ProgramDirectory;
        script_ = new testing_support::DialogScript;
        output_ = new ScriptedOutput;
        testing_support::installDemoEdition(*dir_);
        GLB().base_directory = QStringLiteral(KORVELAN_SOURCE_DIR "/editions/demo/base/");
        GLB_seed_show_random(11);
        main_ = GLB_open_main_list_window(services_);
        main_->resize(1000, 800);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_));
        repaint();
    }
    void cleanup() {
        delete main_;
        main_ = nullptr;
        testing_support::removeDemoEdition();
        delete output_;
        delete script_;
        delete dir_;
    }

    void soundsShowPlaysTheRecordingsThroughTheListsButtons() {
        TRecordingsAndOrPicturesList recent([](const Tspecies& s) { return s.scientific_name; });
        QPointer<TChildForm> show = GLB_open_show_window(
            main_->services(), recordings_, main_, settings(),
            {.play_list = false, .quality_class = 3, .options = {0, false, false, 0}}, nullptr, &recent);
        QTRY_VERIFY_WITH_TIMEOUT(recent.entries().size() >= 3, 10000);
        show->close();
        QTRY_VERIFY(show.isNull());
        // Every recording the recent list names was opened by a button, and
        // no player stays open once the show window has gone.
        QVERIFY(output_->plays >= 3);
        for (const auto& entry : recent.entries()) {
            const QString file = fileOf(*entry.taxon, entry.recording_number);
            QVERIFY2(!file.isEmpty() && output_->opened.contains(file), qPrintable(file));
        }
        QCOMPARE(output_->open_devices, 0);
        QVERIFY(script_->messages().empty());
    }

    void playListShowSaysNamesAfterwardsAndClosesAfterTheLast() {
        const std::vector<TPlayListInfo> entries = playable(2);
        QCOMPARE(entries.size(), std::size_t(2));
        FixedPlayList source(entries);
        QPointer<TChildForm> show = GLB_open_show_window(
            main_->services(), recordings_, main_, settings(),
            {.play_list = true, .quality_class = 3, .options = {0, true, true, 0}}, &source, nullptr);
        // The button of the list's selected line is the one the show plays.
        QTRY_VERIFY_WITH_TIMEOUT(output_->plays >= 1, 5000);
        if (show) {
            const TRecordShowStringData* selected = show->list_form()->strings().selected();
            QVERIFY(selected && selected->kind == kRecordingButton);
            QCOMPARE(selected->button_block->recording, entries[0].recording_item);
            QVERIFY(dynamic_cast<Tsound_bar*>(selected->button_block->button.get()));
        }
        QTRY_VERIFY_WITH_TIMEOUT(show.isNull(), 10000);
        const auto nameOf = [](const TPlayListInfo& e) {
            return QString::number(e.recording_item->species->unique_id) + ".wav";
        };
        QCOMPARE(output_->opened.size(), 4);
        QCOMPARE(output_->opened[0], fileOf(*entries[0].recording_item->species, entries[0].recording_number));
        QVERIFY(output_->opened[1].contains("voices") && output_->opened[1].endsWith(nameOf(entries[0])));
        QCOMPARE(output_->opened[2], fileOf(*entries[1].recording_item->species, entries[1].recording_number));
        QVERIFY(output_->opened[3].endsWith(nameOf(entries[1])));
        QCOMPARE(output_->open_devices, 0);
    }

    void slideShowCentresItsRecordingButtonNearTheBottom() {
        TRecordingsAndOrPicturesList recent([](const Tspecies& s) { return s.scientific_name; });
        QPointer<TBigPictureDemoForm> slides = new TBigPictureDemoForm(
            {.with_sounds = true, .slide_seconds = 25, .quality_class = 3, .options = {0, false, false, 0}},
            settings().visible_set, &recent, {}, main_);
        QVERIFY(slides->start());
        QVERIFY(QTest::qWaitForWindowExposed(slides));
        QTRY_VERIFY_WITH_TIMEOUT(slides->recording_button() != nullptr, 3000);
        Tsound_bar* bar = slides->recording_button();
        QVERIFY(bar->isVisible());
        const auto centredNearTheBottom = [&] {
            const QRect r = bar->geometry();
            const int gap = slides->height() - 1 - r.bottom();
            return std::abs(r.center().x() - slides->width() / 2) <= 1 &&
                   std::abs(gap - r.height() * 3 / 2) <= 1;
        };
        QVERIFY(centredNearTheBottom());
        // The picture and its recording went into the recent list together,
        // and the window shows a picture of that species.
        QCOMPARE(recent.entries().size(), std::size_t(1));
        QVERIFY(recent.entries().back().picture_number > 0 && recent.entries().back().recording_number > 0);
        QVERIFY(slides->current() && slides->current()->species == recent.entries().back().taxon);

        slides->showNormal();
        slides->resize(640, 480);
        QTRY_COMPARE(slides->size(), QSize(640, 480));
        QVERIFY(centredNearTheBottom());

        // It plays to its end and stays there; the next slide follows after
        // the slide interval with sounds (2 s) and brings its own button.
        QTRY_VERIFY_WITH_TIMEOUT(output_->plays == 1, 3000);
        QTRY_VERIFY_WITH_TIMEOUT(!bar->opened(), 2000);
        QCOMPARE(bar->bar().value(), bar->bar().maximum());
        QTRY_VERIFY_WITH_TIMEOUT(recent.entries().size() == 2, 5000);
        QVERIFY(slides->recording_button() != nullptr);
        slides->close();
        QTRY_VERIFY(slides.isNull());
        QCOMPARE(output_->open_devices, 0);
    }

    void spokenNameOptionsExistOnlyInTheEditionWithSpokenNames() {
        for (const int product : {1011, 1041}) {
            const TEditionOverride edition(GLB_edition_for_product(product));
            const bool spoken = product == 1041;
            TPlaySoundOptionsFrame frame;
            frame.set_options({4, true, true, 2});
            frame.show();
            QCOMPARE(frame.CheckBox_tell_species_names->isVisible(), spoken);
            QCOMPARE(frame.MaskEdit_pause_after_spoken_names->isVisible(), spoken);
            QCOMPARE(frame.CheckBox_tell_names_afterwards->isVisible(), spoken);
            QVERIFY(frame.MaskEdit_pause_before_spoken_names->isVisible());
            // Without spoken names the frame is as high as its one edit.
            if (!spoken)
                QVERIFY(frame.height() <= frame.MaskEdit_pause_before_spoken_names->geometry().bottom() + 4);
            const TBetweenSoundsOptions read = frame.options();
            QCOMPARE(read.seconds_between_sounds, 4);
            QCOMPARE(read.tell_species_names, spoken);
            QCOMPARE(read.tell_names_afterwards, spoken);
        }
    }

    void draggingReachesTheButtonsOfEveryList() {
        clickToggle(nth(kFamilyToggle, 1));
        clickToggle(nth(kSpeciesToggle, 1));
        const QList<Tsound_bar*> bars = main_->findChildren<Tsound_bar*>();
        QVERIFY(bars.size() >= 2);
        for (Tsound_bar* b : bars) QVERIFY(!b->drag_enabled());
        Ttop_forms::instance().set_soundbar_dragging_enabled(true);
        for (Tsound_bar* b : bars) QVERIFY(b->drag_enabled());
        // Buttons made while it is on start dragging.
        clickToggle(nth(kSpeciesToggle, 2));
        const QList<Tsound_bar*> more = main_->findChildren<Tsound_bar*>();
        QVERIFY(more.size() > bars.size());
        for (Tsound_bar* b : more) QVERIFY(b->drag_enabled());
        Ttop_forms::instance().set_soundbar_dragging_enabled(false);
        for (Tsound_bar* b : main_->findChildren<Tsound_bar*>()) QVERIFY(!b->drag_enabled());
    }
};

QTEST_MAIN(ShowWindowsTest)
#include "show_windows_widget_test.moc"
