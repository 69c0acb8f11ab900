// The sonogram panel of a list window as a user meets it in the program
// main makes: switched on in the View menu, showing the recording played,
// following the sound, seeking on a click, and its larger view exported.
#include "journeys/sonogram_journey.h"

#include "app/settings.h"
#include "app/settings_window.h"
#include "listview/windows/child_form.h"
#include "listview/windows/sonogram_panel.h"
#include "sound/players.h"
#include "sound/windows/sonogram_view.h"

#include <QAction>
#include <QTemporaryDir>

using testing_support::SonogramPanelJourney;

class SonogramJourney : public SonogramPanelJourney {
  protected:
    // The first recording playing, its sonogram computed.
    Tsound_bar* playing(TSonogramPanel& panel) {
        unfoldFirstSpecies();
        Tsound_bar* button = recordingButton(1);
        if (!button) return nullptr;
        QTest::mouseClick(&button->button(), Qt::LeftButton);
        const bool shown = eventually([&] {
            const auto& s = panel.view().current();
            return button->is_playing() && panel.shown_button() == button && s &&
                   s->state() == sonogram::Sonogram::Done;
        });
        return shown ? button : nullptr;
    }
    static int positionMs(Tsound_bar& button) {
        int ms = -1;
        return button.player() && button.player()->GetPosition(ms) ? ms : -1;
    }
};

TEST_F(SonogramJourney, ThePanelShowsThePlayingRecordingAndItsPlayheadFollowsTheSound) {
    TSonogramPanel* panel = switchedOn();
    ASSERT_NE(panel, nullptr);
    Tsound_bar* button = playing(*panel);
    ASSERT_NE(button, nullptr);
    TSonogramView& view = panel->view();
    EXPECT_TRUE(view.shown_message().isEmpty()) << view.shown_message().toStdString();
    EXPECT_GT(view.current()->columns(), 10);
    // The picture is drawn as the tiles come in, while the sound plays.
    ASSERT_TRUE(eventually([&] { return view.picture_complete(); }, 2000));
    ASSERT_TRUE(button->is_playing());
    const QImage shown = view.grab().toImage();
    const QRect plot = view.plot_rect();
    int marks = 0;
    for (int y = plot.top() + 2; y < plot.bottom() - 2; y += 2)
        for (int x = plot.left() + 2; x < view.x_of(view.current()->seconds()) - 2; x += 2)
            marks += qGray(shown.pixel(x, y)) < 100 ? 1 : 0;
    EXPECT_GT(marks, 20) << "the song's marks are dark on the light background";

    // Zoomed in with "+" until the view is narrower than half a second.
    view.setFocus();
    for (int i = 0; i < 16 && view.view_to() - view.view_from() >= 0.5; ++i) QTest::keyClick(&view, Qt::Key_Plus);
    const double width = view.view_to() - view.view_from();
    ASSERT_LT(width, 0.5);
    // The playhead moves with the sound and the view keeps it in sight.
    ASSERT_TRUE(eventually([&] { return view.playhead() > 0.6; }, 4000));
    ASSERT_TRUE(button->is_playing());
    EXPECT_GT(view.view_from(), 0.0) << "the view turned its pages";
    EXPECT_GE(view.playhead(), view.view_from());
    EXPECT_LE(view.playhead(), view.view_to());
    EXPECT_NEAR(view.playhead() * 1000, positionMs(*button), 200) << "the line is where the sound is";
}

TEST_F(SonogramJourney, AClickOnTheSonogramSeeksThereAndTheSoundGoesOnFromThere) {
    TSonogramPanel* panel = switchedOn();
    ASSERT_NE(panel, nullptr);
    Tsound_bar* button = playing(*panel);
    ASSERT_NE(button, nullptr);
    TSonogramView& view = panel->view();
    view.set_view(0, view.current()->seconds());
    QTest::qWait(50);
    const double target = view.current()->seconds() * 0.6;
    ASSERT_GT(target, 0.8);
    QTest::mouseClick(&view, Qt::LeftButton, {}, QPoint(view.x_of(target), view.plot_rect().center().y()));
    ASSERT_TRUE(button->is_playing());
    const int at = positionMs(*button);
    EXPECT_GE(at, static_cast<int>(target * 1000) - 60);
    EXPECT_LE(at, static_cast<int>(target * 1000) + 250);
    EXPECT_NEAR(view.playhead(), target, 0.3);
    ASSERT_TRUE(eventually([&] { return positionMs(*button) > at + 100; })) << "the sound goes on";

    // A drag selects a range and leaves the sound where it is.
    const int before = positionMs(*button);
    const QPoint from(view.x_of(0.2), view.plot_rect().center().y());
    QTest::mousePress(&view, Qt::LeftButton, {}, from);
    QTest::mouseMove(&view, from + QPoint(60, 0));
    QTest::mouseRelease(&view, Qt::LeftButton, {}, from + QPoint(60, 0));
    ASSERT_TRUE(view.selection().has_value());
    EXPECT_NEAR(view.selection()->first, 0.2, 0.05);
    EXPECT_GT(view.selection()->second, view.selection()->first);
    EXPECT_GE(positionMs(*button), before) << "a drag does not seek";

    // Space pauses the recording shown.
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Space);
    EXPECT_FALSE(button->is_playing());
}

TEST_F(SonogramJourney, TheLargerViewExportsAPngWithAxesAndTheRecordingNamedUnderIt) {
    TSonogramPanel* panel = switchedOn();
    ASSERT_NE(panel, nullptr);
    Tsound_bar* button = playing(*panel);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(&button->button(), Qt::LeftButton);  // paused
    panel->view().setFocus();
    QTest::keyClick(&panel->view(), Qt::Key_Return);
    TSonogramWindow* window = panel->larger_view();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    TSonogramView& view = window->view();
    EXPECT_EQ(view.current(), panel->view().current());
    ASSERT_FALSE(window->caption_lines().value(0).isEmpty()) << "the species is named";
    EXPECT_TRUE(window->caption_lines().value(1).startsWith(QStringLiteral("Recording ")));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sonogram"));
    program().script().dialogs().fileAnswers.push_back(path);
    ASSERT_TRUE(window->export_png());
    QImage png(path + QStringLiteral(".png"));
    ASSERT_FALSE(png.isNull());
    const qreal ratio = window->devicePixelRatioF();
    EXPECT_EQ(png.width(), qRound(view.width() * ratio));
    EXPECT_GT(png.height(), qRound(view.height() * ratio) + 20) << "room for the two lines under it";

    // The axes: the plot's frame and tick labels left of it and under it
    // are ink; the caption under the picture is ink on white.
    const QRect plot = view.plot_rect();
    const auto dark = [&](int x, int y) { return qGray(png.pixel(qRound(x * ratio), qRound(y * ratio))) < 128; };
    EXPECT_TRUE(dark(plot.left() - 1, plot.center().y())) << "the frequency axis";
    EXPECT_TRUE(dark(plot.center().x(), plot.bottom() + 1)) << "the time axis";
    const auto inkIn = [&](QRect r) {
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) n += dark(x, y) ? 1 : 0;
        return n;
    };
    EXPECT_GT(inkIn(QRect(0, plot.top(), plot.left() - 6, plot.height())), 20) << "kHz labels";
    EXPECT_GT(inkIn(QRect(plot.left(), plot.bottom() + 5, plot.width(), 10)), 20) << "seconds labels";
    EXPECT_GT(inkIn(QRect(plot.left(), view.height() + 2, plot.width(), png.height() / ratio - view.height() - 4)), 40)
        << "species and recording written under it";
}

TEST_F(SonogramJourney, TheSwitchIsRememberedPerWindow) {
    ASSERT_NE(switchedOn(), nullptr);
    mainWindow().write_window_state(1);
    EXPECT_TRUE(GLB_read_flag(settings::window::section(1), settings::window::kSonogram, false));
    mainWindow().sonogram_action()->trigger();
    EXPECT_FALSE(mainWindow().sonogram_panel()->isVisible());
    mainWindow().write_window_state(1);
    EXPECT_FALSE(GLB_read_flag(settings::window::section(1), settings::window::kSonogram, true));
}
