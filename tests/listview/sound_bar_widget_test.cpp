// Recording buttons in an offscreen list window on the demo edition, with
// SDL's dummy output, and the volume window.
#include "app/globals.h"
#include "app/settings.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "listview/windows/child_form.h"
#include "listview/list_bitmaps.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/windows/sound_bar.h"
#include "listview/top_forms.h"
#include "sound/players.h"
#include "sound/volume.h"
#include "sound/windows/volume_control_form.h"
#include "support/demo_edition.h"
#include "support/list_window_driver.h"
#include "support/scripted_dialogs.h"

#include <QScreen>
#include <QtTest>

using namespace line_kind;

class SoundBarTest : public QObject, protected testing_support::ListWindowDriver {
    Q_OBJECT

    testing_support::ProgramDirectory* dir_ = nullptr;
    testing_support::DialogScript* script_ = nullptr;
    // The buttons' commands count the drags they are asked to start.
    struct CountingDrags : TSoundBarCommands {
        int drags = 0;
        void start_drag(QWidget*, const Tcupaitem&, int) override { ++drags; }
    } commands_;
    TSoundBarFactory buttons_{commands_};
    // Where the lists' volume keys go while a test has a volume window.
    TVolume_control_form* volume_ = nullptr;
    TListWindowServices services_;

    Tsound_bar* bar(int n) {
        TRecordShowStringData* line = nth(kRecordingButton, n);
        return line && line->button_block ? dynamic_cast<Tsound_bar*>(line->button_block->button.get()) : nullptr;
    }

  private slots:
    void initTestCase() {
        qputenv("SDL_AUDIODRIVER", "dummy");
        TListBitmaps::load();
        services_.recording_buttons = &buttons_;
        services_.volume_keys = [this](int steps) {
            if (volume_) volume_->step(std::abs(steps), steps > 0);
        };
    }
    void init() {
        dir_ = new testing_support::ProgramDirectory;
        script_ = new testing_support::DialogScript;
        testing_support::installDemoEdition(*dir_);
        GLB().base_directory = QStringLiteral(KORVELAN_SOURCE_DIR "/editions/demo/base/");
        main_ = GLB_open_main_list_window(services_);
        main_->resize(1000, 800);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_));
        repaint();
        clickToggle(nth(kFamilyToggle, 1));
        clickToggle(nth(kSpeciesToggle, 1));
        QVERIFY(bar(1) && bar(2));
    }
    void cleanup() {
        delete main_;
        main_ = nullptr;
        testing_support::removeDemoEdition();
        delete script_;
        delete dir_;
    }

    void aClickPlaysASecondPausesAndAnotherButtonStopsTheFirst() {
        Tsound_bar* first = bar(1);
        QTest::mouseClick(&first->button(), Qt::LeftButton);
        QVERIFY(first->opened() && first->is_playing());
        QCOMPARE(Tsound_bar::playing_button(), first);
        // The line became the selection and the exact length replaced the estimate.
        QCOMPARE(list().selected(), nth(kRecordingButton, 1));
        QVERIFY(!first->cut_part().length_is_file_length);
        QTRY_VERIFY_WITH_TIMEOUT(first->bar().value() >= 3, 5000);
        QTest::mouseClick(&first->button(), Qt::LeftButton);
        QVERIFY(first->opened() && !first->is_playing());
        const int paused = first->bar().value();
        QTest::qWait(400);
        QCOMPARE(first->bar().value(), paused);

        Tsound_bar* second = bar(2);
        QTest::mouseClick(&first->button(), Qt::LeftButton);
        QVERIFY(first->is_playing());
        QTest::mouseClick(&second->button(), Qt::LeftButton);
        QVERIFY(second->is_playing());
        QVERIFY(!first->opened() && !first->is_playing());
        QCOMPARE(Tsound_bar::playing_button(), second);
        QCOMPARE(list().selected(), nth(kRecordingButton, 2));
    }

    void shiftEndThenAClickRestartsAtZero() {
        Tsound_bar* first = bar(1);
        first->button().setFocus();
        QTest::keyClick(&first->button(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(first->bar().value(), first->bar().singleStep());
        QTest::keyClick(&first->button(), Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(first->bar().value(), first->bar().maximum());
        QTest::mouseClick(&first->button(), Qt::LeftButton);
        QVERIFY(first->is_playing());
        QVERIFY(first->bar().value() < 5);
        QTest::qWait(300);
        QVERIFY(first->bar().value() < 10);
    }

    // A real keyboard sends Shift on its own first; the button keeps the
    // focus through it and the arrow with Shift seeks.
    void shiftHeldDownOnTheButtonSeeks() {
        Tsound_bar* first = bar(1);
        QTest::mouseClick(&first->button(), Qt::LeftButton);
        QTest::mouseClick(&first->button(), Qt::LeftButton);  // paused, focused
        QVERIFY(first->button().hasFocus());
        const int start = first->bar().value();
        auto key = [this](QEvent::Type type, int k, Qt::KeyboardModifiers modifiers) {
            QWidget* focused = main_->focusWidget();
            QVERIFY(focused);
            QKeyEvent event(type, k, modifiers);
            QApplication::sendEvent(focused, &event);
        };
        key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
        key(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
        key(QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier);
        key(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
        key(QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier);
        key(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
        QCOMPARE(first->bar().value(), start + 2 * first->bar().singleStep());
        QVERIFY(first->button().hasFocus());
        key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
        key(QEvent::KeyPress, Qt::Key_End, Qt::ShiftModifier);
        QCOMPARE(first->bar().value(), first->bar().maximum());
        // Without Shift the arrow goes to the list again.
        key(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
        key(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QCOMPARE(first->bar().value(), first->bar().maximum());
        QVERIFY(form().hasFocus());
    }

    // While the playlist window shows the bar drags onto it: pressing to
    // drag must not move the position; a click without a drag still does.
    void aDragFromThePositionBarLeavesThePosition() {
        Ttop_forms::instance().set_soundbar_dragging_enabled(true);
        const int& drags = commands_.drags;
        commands_.drags = 0;
        Tsound_bar* first = bar(1);
        QScrollBar& positions = first->bar();
        QVERIFY(first->drag_enabled());
        QCOMPARE(positions.value(), 0);
        const QPoint groove(positions.width() - 8, positions.height() / 2);
        QTest::mousePress(&positions, Qt::LeftButton, {}, groove);
        QTest::mouseMove(&positions, groove - QPoint(QApplication::startDragDistance() + 10, 0));
        QTest::mouseRelease(&positions, Qt::LeftButton, {}, groove - QPoint(QApplication::startDragDistance() + 10, 0));
        QCOMPARE(drags, 1);
        QCOMPARE(positions.value(), 0);

        QTest::mouseClick(&positions, Qt::LeftButton, {}, groove);
        QCOMPARE(drags, 1);
        QTRY_VERIFY(positions.value() > 0);
        Ttop_forms::instance().set_soundbar_dragging_enabled(false);
    }

    void theEndRewindsAndCloses() {
        Tsound_bar* first = bar(1);
        QTest::mouseClick(&first->button(), Qt::LeftButton);
        first->bar().setValue(first->bar().maximum() - 6);
        emit first->bar().sliderReleased();
        QTRY_VERIFY_WITH_TIMEOUT(!first->opened(), 6000);
        QCOMPARE(first->bar().value(), 0);
        QCOMPARE(Tsound_bar::playing_button(), nullptr);
    }

    void aFreedButtonLeavesItsPositionInTheLine() {
        Tsound_bar* first = bar(1);
        first->bar().setValue(42);
        first->button().setFocus();
        TRecordingButtonBlock* block = nth(kRecordingButton, 1)->button_block.get();
        list().remove_button(block->button_id);
        block->button.reset();
        QCOMPARE(block->saved_position, 42);
        QVERIFY(form().hasFocus());
        repaint();  // painting makes the button again, at the saved place
        QVERIFY(bar(1));
        QCOMPARE(bar(1)->bar().value(), 42);
    }

    void barsGrowWithTheDuration() {
        QCOMPARE(Tsound_bar::bar_width(1), 50);
        QCOMPARE(Tsound_bar::bar_width(100), 296);
        Tsound_bar* first = bar(1);
        QCOMPARE(first->bar().width(), Tsound_bar::bar_width(first->cut_part().length / 100 / 10.0));
        // The pen moved past the whole button: the row's letter starts after it.
        TRecordShowStringData* button = nth(kRecordingButton, 1);
        TRecordShowStringData* next = button->next;
        while (next && next->kind != kRecordingLetter) next = next->next;
        QVERIFY(next && next->drawn_x >= button->drawn_x + first->width());
    }

    void aCdRecordingIsFramedAndStepsBySeconds() {
        const Tcutpart* onCd = nullptr;
        for (const Tcutpart* c : GLB_data().cut_parts())
            if (!c->is_sound_file && c->audio_cd && c->audio_cd->carried_on_disc && c->first_item(1)) onCd = c;
        QVERIFY(onCd);
        TRecordingButtonBlock block;
        block.recording = onCd->first_item(1);
        TClassSoundCarriersUseSpecification carriers;
        carriers.playable_audio_cds.set(static_cast<std::size_t>(onCd->audio_cd->sequence_number));
        QWidget host;
        host.resize(600, 100);
        Tsound_bar cdBar(&host, block, QPoint(10, 40), carriers);
        QCOMPARE(cdBar.bar().singleStep(), 10);
        QVERIFY(dynamic_cast<TSoundFilePlayer*>(cdBar.player()));
        const QImage image = cdBar.grab().toImage();
        const int r = static_cast<int>(image.devicePixelRatio());
        const int middle = (cdBar.bar().y() + cdBar.bar().height() / 2) * r;
        QCOMPARE(image.pixelColor(0, middle), QColor(Qt::black));
        QCOMPARE(image.pixelColor((cdBar.bar().geometry().right() + 1) * r, middle), QColor(Qt::black));
        cdBar.click();
        QVERIFY(cdBar.is_playing());
        cdBar.close_player();

        // Not playable under this window's settings: no controls, no sound.
        TClassSoundCarriersUseSpecification none;
        Tsound_bar hidden(&host, block, QPoint(10, 40), none);
        QVERIFY(!hidden.shown() && hidden.bar().isHidden());
        hidden.click();
        QVERIFY(!hidden.opened());
    }

    void theVolumeWindowStaysOnTheScreenAndRemembersTheVolume() {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        GLB_write_string("GENERAL", "Volume Control Coordinates", "100000,100000");
        {
            TVolume_control_form volume(main_);
            QVERIFY(volume.isVisible());
            // Frame and all, in the screen's bottom right corner.
            QVERIFY(screen.contains(volume.frameGeometry()));
            QCOMPARE(volume.frameGeometry().bottomRight(), screen.bottomRight());
            volume.trackbar().setValue(25);
            QCOMPARE(GLB_read_int("GENERAL", "Volume", -1), 75);
            volume.step(5, true);
            QCOMPARE(volume.trackbar().value(), 20);
            // Ctrl with the arrows of a list moves it too.
            form().setFocus();
            volume_ = &volume;
            QTest::keyClick(&form(), Qt::Key_Down, Qt::ControlModifier);
            QCOMPARE(volume.trackbar().value(), 22);
            volume_ = nullptr;
        }
        QCOMPARE(GLB_read_flag("GENERAL", "Show Volume Control", false), true);
        QCOMPARE(GLB_read_int("GENERAL", "Volume", -1), 78);
        GLB_restore_volume();
        QCOMPARE(GLB_volume_position(), 22);
    }

    // Ending the program closes every window before the volume window is
    // destroyed; what is remembered is what the user left.
    void theVolumeWindowIsRememberedAsTheUserLeftIt() {
        GLB_write_flag("GENERAL", "Show Volume Control", true);
        {
            TVolume_control_form volume(main_);
            QVERIFY(volume.isVisible());
            bool quitByClose = true;
            QTimer::singleShot(0, main_, [this] { main_->close(); });
            QTimer::singleShot(5000, qApp, [&quitByClose] {
                quitByClose = false;
                QCoreApplication::quit();
            });
            QCOMPARE(QApplication::exec(), 0);
            QVERIFY(quitByClose);
            QVERIFY(!volume.isVisible());
        }
        QCOMPARE(GLB_read_flag("GENERAL", "Show Volume Control", false), true);

        // Closed by the user, then the program ends.
        {
            TVolume_control_form volume(main_);
            QVERIFY(volume.isVisible());
            volume.close();
        }
        QCOMPARE(GLB_read_flag("GENERAL", "Show Volume Control", true), false);

        // A program ended before the window's turn to show leaves the choice.
        GLB_write_flag("GENERAL", "Show Volume Control", true);
        { TVolume_control_form waiting(main_, false); }
        QCOMPARE(GLB_read_flag("GENERAL", "Show Volume Control", false), true);
    }
};

QTEST_MAIN(SoundBarTest)
#include "sound_bar_widget_test.moc"
