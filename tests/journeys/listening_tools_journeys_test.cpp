// Slowed, lowered, looped and band listening as a user chooses it in the
// program main makes: from a recording button's menu and on the sonogram
// panel with its keys and a Shift+drag; the sound engine hears of each.
#include "journeys/sonogram_journey.h"

#include "app/settings.h"
#include "app/settings_window.h"
#include "listview/windows/child_form.h"
#include "listview/windows/sonogram_panel.h"
#include "sound/players.h"
#include "sound/windows/sonogram_view.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

using testing_support::SonogramPanelJourney;
using Speed = platform::audio::Listening::Speed;

namespace {

class ListeningJourney : public SonogramPanelJourney {
  protected:
    static QString shownLabel(TSonogramPanel& panel) {
        auto* label = panel.findChild<QLabel*>(QStringLiteral("listening"));
        return label ? label->text() : QString();
    }
    // Picks a choice from the button's menu, "Listening" submenu (which may
    // be the popup open when the pointer rests on its entry).
    static bool chooseFromMenu(Tsound_bar& button, TListeningChoice::Choice choice) {
        bool picked = false, shown = false;
        // The offscreen platform now and then takes a popup's activation
        // away before the test's timer sees it: the user opens it again.
        for (int attempt = 0; attempt < 3 && !shown; ++attempt) shown = useRecordingMenu(button, [&](QMenu& popup) {
            QMenu* listening = &popup;
            for (QAction* entry : popup.actions())
                if (entry->menu() && entry->text() == QStringLiteral("Listening")) listening = entry->menu();
            for (QAction* item : listening->actions())
                if (!picked && item->text() == TListeningChoice::name(choice)) {
                    picked = true;
                    item->trigger();
                }
        });
        return picked;
    }
    // Picks a choice from the panel's own "Listening" button.
    static bool chooseOnPanel(TSonogramPanel& panel, TListeningChoice::Choice choice) {
        auto* button = panel.findChild<QToolButton*>();
        QMenu* menu = button ? button->menu() : nullptr;
        if (!menu) return false;
        emit menu->aboutToShow();
        for (QAction* item : menu->actions())
            if (item->text() == TListeningChoice::name(choice)) {
                item->trigger();
                return true;
            }
        return false;
    }
    static double positionSeconds(Tsound_bar& button) {
        int ms = -1;
        return button.player() && button.player()->GetPosition(ms) ? ms / 1000.0 : -1;
    }
    platform::audio::Listening engineListening() { return platform::audio::mediaControl().listening(); }
};

TEST_F(ListeningJourney, EachChoiceReachesTheEngineAndShowsOnThePanel) {
    TSonogramPanel* panel = switchedOn();
    ASSERT_NE(panel, nullptr);
    unfoldFirstSpecies();
    Tsound_bar* button = recordingButton(1);
    ASSERT_NE(button, nullptr);
    const std::pair<TListeningChoice::Choice, Speed> speeds[] = {
        {TListeningChoice::TapeHalf, Speed::TapeHalf},         {TListeningChoice::TapeQuarter, Speed::TapeQuarter},
        {TListeningChoice::KeptThreeQuarters, Speed::KeptThreeQuarters}, {TListeningChoice::KeptHalf, Speed::KeptHalf},
        {TListeningChoice::KeptQuarter, Speed::KeptQuarter},   {TListeningChoice::OctaveDown, Speed::OctaveDown}};
    for (const auto& [choice, speed] : speeds) {
        ASSERT_TRUE(chooseOnPanel(*panel, choice)) << TListeningChoice::name(choice).toStdString();
        EXPECT_EQ(engineListening().speed, speed) << TListeningChoice::name(choice).toStdString();
        EXPECT_TRUE(shownLabel(*panel).contains(TListeningChoice::name(choice)));
    }
    // Played at half the speed with the pitch lowered: the recording's own
    // time moves on at half the rate, and the playhead with it.
    ASSERT_TRUE(chooseFromMenu(*button, TListeningChoice::TapeHalf));
    QTest::mouseClick(&button->button(), Qt::LeftButton);
    ASSERT_TRUE(eventually([&] { return button->is_playing() && positionSeconds(*button) > 0.05; }));
    const double before = positionSeconds(*button);
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(600);
    const double rate = (positionSeconds(*button) - before) / (clock.elapsed() / 1000.0);
    EXPECT_NEAR(rate, 0.5, 0.15);
    EXPECT_NEAR(panel->view().playhead(), positionSeconds(*button), 0.15);

    ASSERT_TRUE(chooseFromMenu(*button, TListeningChoice::Loop));
    EXPECT_TRUE(engineListening().loops()) << "a loop without a range loops the whole recording";
    ASSERT_TRUE(chooseFromMenu(*button, TListeningChoice::Normal));
    EXPECT_EQ(engineListening(), platform::audio::Listening{});
    EXPECT_EQ(shownLabel(*panel), QStringLiteral("Listening: Normal"));
    QTest::mouseClick(&button->button(), Qt::LeftButton);
}

TEST_F(ListeningJourney, BracketKeysLoopAPhraseWhileItPlaysAndEscGoesBackToNormal) {
    TSonogramPanel* panel = switchedOn();
    ASSERT_NE(panel, nullptr);
    unfoldFirstSpecies();
    Tsound_bar* button = recordingButton(1);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(&button->button(), Qt::LeftButton);
    TSonogramView& view = panel->view();
    view.setFocus();
    ASSERT_TRUE(eventually([&] { return button->is_playing() && view.playhead() > 0.3; }, 4000));
    QTest::keyClick(&view, Qt::Key_BracketLeft);
    const double start = panel->listening().range()->first;
    ASSERT_TRUE(eventually([&] { return view.playhead() > start + 0.5; }, 4000));
    QTest::keyClick(&view, Qt::Key_BracketRight);
    ASSERT_TRUE(panel->listening().loops());
    const double end = panel->listening().range()->second;
    const platform::audio::Listening heard = engineListening();
    ASSERT_TRUE(heard.loops());
    EXPECT_NEAR(heard.loopFromMs, start * 1000, 1);
    EXPECT_NEAR(heard.loopToMs, end * 1000, 1);
    EXPECT_TRUE(view.selection().has_value()) << "the loop is drawn as the selection";
    // For a second and a half the sound stays inside the phrase, going back
    // to its start at its end.
    double lowest = 1e9, highest = -1;
    bool wentBack = false;
    double last = positionSeconds(*button);
    for (int i = 0; i < 30; ++i) {
        QTest::qWait(50);
        const double at = positionSeconds(*button);
        lowest = std::min(lowest, at);
        highest = std::max(highest, at);
        wentBack = wentBack || at < last;
        last = at;
    }
    EXPECT_TRUE(button->is_playing());
    EXPECT_TRUE(wentBack);
    EXPECT_GE(lowest, start - 0.03);
    EXPECT_LE(highest, end + 0.03);
    QTest::keyClick(&view, Qt::Key_Escape);
    EXPECT_EQ(engineListening(), platform::audio::Listening{});
    EXPECT_EQ(shownLabel(*panel), QStringLiteral("Listening: Normal"));
    ASSERT_TRUE(eventually([&] { return positionSeconds(*button) > end + 0.2; }, 3000)) << "it plays on past the phrase";
    QTest::mouseClick(&button->button(), Qt::LeftButton);
}

TEST_F(ListeningJourney, AShiftDragSelectsTheBandHeardAloneAndTheChoiceIsRememberedWithTheWindow) {
    TSonogramPanel* panel = switchedOn();
    ASSERT_NE(panel, nullptr);
    TSonogramView& view = panel->view();
    const QRect plot = view.plot_rect();
    const int x = plot.left() + plot.width() / 2;
    const int high = view.y_of(6000), low = view.y_of(3000);
    QTest::mousePress(&view, Qt::LeftButton, Qt::ShiftModifier, QPoint(x, high));
    QTest::mouseMove(&view, QPoint(x, (high + low) / 2));
    QTest::mouseMove(&view, QPoint(x, low));
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::ShiftModifier, QPoint(x, low));
    const platform::audio::Listening heard = engineListening();
    ASSERT_TRUE(heard.banded());
    const double pixelHz = view.top_hz() / plot.height();
    EXPECT_NEAR(heard.bandLowHz, 3000, 2 * pixelHz);
    EXPECT_NEAR(heard.bandHighHz, 6000, 2 * pixelHz);
    EXPECT_TRUE(view.band().has_value());
    EXPECT_TRUE(shownLabel(*panel).contains(QStringLiteral("Band 3.0–6.0 kHz"))) << shownLabel(*panel).toStdString();
    EXPECT_TRUE(view.selection() == std::nullopt) << "a band is no time range";

    panel->choose(TListeningChoice::KeptQuarter);
    mainWindow().write_window_state(1);
    const TListeningChoice stored = TListeningChoice::from_setting(
        GLB_read_string(settings::window::section(1), settings::window::kListening, QString()));
    EXPECT_EQ(stored.speed(), Speed::KeptQuarter);
    EXPECT_TRUE(stored.banded());
    EXPECT_FALSE(stored.loops());
    panel->choose(TListeningChoice::Normal);
    mainWindow().write_window_state(1);
    EXPECT_TRUE(TListeningChoice::from_setting(GLB_read_string(settings::window::section(1),
                                                               settings::window::kListening, QStringLiteral("x")))
                    .chosen(TListeningChoice::Normal));
}

}  // namespace
