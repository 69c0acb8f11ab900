// The comparison window as a user meets it in the program main makes:
// recordings added from a recording button's menu and from species' menus
// in the list, their sonograms zoomed together, played in turn, the set
// saved and opened again, and a damaged set file.
#include "journeys/journey.h"

#include "data/media_records.h"
#include "data/taxa.h"
#include "learning/windows/compare_window.h"
#include "listview/windows/child_form.h"
#include "platform/audio/media_control.h"
#include "sound/windows/sonogram_view.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

using testing_support::Journey;

class CompareJourney : public Journey {
  protected:
    TCompareWindow* compare() { return mainWindow().findChild<TCompareWindow*>(); }

    // The user right-clicks the n-th species' name in the list and picks
    // "Add to comparison"; false when the menu did not offer it.
    bool addSpeciesFromList(int n) {
        TRecordShowStringData* line = nth(line_kind::kSpeciesOtherLanguage, n);
        if (!line) line = nth(line_kind::kSpeciesScientific, n);
        if (!line) return false;
        // In sight, as the user scrolls to it, once the list has settled.
        mainWindow().activateWindow();
        form().scroll_to(list().top_of(*line) - 40);
        repaint();
        QTest::qWait(50);
        repaint();
        const int y = list().top_of(*line) + line->advance / 2 - form().verticalScrollBar()->value();
        const QPoint at(line->drawn_x + 20, y);
        bool picked = false;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            for (QAction* action : menu->actions())
                if (action->text() == QStringLiteral("Add to comparison") && action->isEnabled()) {
                    action->trigger();
                    picked = true;
                }
            menu->close();
        });
        user.start(20);
        QContextMenuEvent press(QContextMenuEvent::Mouse, at, form().viewport()->mapToGlobal(at));
        QApplication::sendEvent(form().viewport(), &press);
        return picked;
    }
    // The first family's species as a user adds them: the first from its
    // recording button, the next ones from their lines.
    TCompareWindow* threeTinamous() {
        unfoldFirstSpecies();
        Tsound_bar* button = recordingButton(1);
        if (!button) return nullptr;
        // A menu the offscreen platform closed at once is opened again, as a
        // user clicks again.
        bool added = false;
        for (int attempt = 0; attempt < 3 && !added; ++attempt) {
            QTest::qWait(attempt * 100);
            added = useRecordingMenu(*button, [](QMenu& menu) {
                for (QAction* action : menu.actions())
                    if (action->text() == QStringLiteral("Add to comparison")) action->trigger();
            });
        }
        if (!added || !compare()) {
            ADD_FAILURE() << "the recording button's menu did not add the first tinamou";
            return nullptr;
        }
        for (int species : {2, 3}) {
            // As with the button's menu, a list menu the platform closed at
            // once is opened again.
            bool fromList = false;
            for (int attempt = 0; attempt < 3 && !fromList; ++attempt) {
                QTest::qWait(attempt * 100);
                fromList = addSpeciesFromList(species);
            }
            if (!fromList) {
                ADD_FAILURE() << "species " << species << " was not added from its line's menu";
                return nullptr;
            }
        }
        if (compare()->rows() != 3) ADD_FAILURE() << compare()->rows() << " rows instead of 3";
        return compare()->rows() == 3 ? compare() : nullptr;
    }
    static void wheel(TSonogramView& view, int notches, Qt::KeyboardModifiers modifiers = {}) {
        const QPointF at = view.plot_rect().center();
        QWheelEvent event(at, view.mapToGlobal(at), QPoint(), QPoint(0, notches * 120), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &event);
    }
};

TEST_F(CompareJourney, ThreeTinamousStackedOnOneScaleThatZoomsAndScrollsTogether) {
    TCompareWindow* window = threeTinamous();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_TRUE(window->set().at(0).species->family(1)->common_name.contains(QStringLiteral("Tinamou")));
    EXPECT_NE(window->set().at(0).species, window->set().at(1).species);
    EXPECT_NE(window->set().at(1).species, window->set().at(2).species);
    // Each sonogram is computed and drawn on the same time axis.
    ASSERT_TRUE(eventually([&] {
        for (int r = 0; r < 3; ++r)
            if (!window->view(r).current() || window->view(r).current()->state() != sonogram::Sonogram::Done)
                return false;
        return true;
    }));
    QTest::qWait(60);
    const double longest = std::max({window->view(0).current()->seconds(), window->view(1).current()->seconds(),
                                     window->view(2).current()->seconds()});
    for (int r = 0; r < 3; ++r) {
        EXPECT_NEAR(window->view(r).view_from(), 0.0, 1e-9);
        EXPECT_NEAR(window->view(r).view_to(), longest, 0.05) << "row " << r << " reaches the longest recording";
    }

    // The wheel over the second zooms all three, around the same time.
    wheel(window->view(1), 3);
    const double from = window->view(1).view_from(), to = window->view(1).view_to();
    EXPECT_LT(to - from, longest * 0.6);
    for (int r = 0; r < 3; ++r) {
        EXPECT_DOUBLE_EQ(window->view(r).view_from(), from) << "row " << r;
        EXPECT_DOUBLE_EQ(window->view(r).view_to(), to) << "row " << r;
    }
    // Ctrl+wheel over the third: the frequency axis of all three.
    const double top = window->view(0).top_hz();
    wheel(window->view(2), 2, Qt::ControlModifier);
    EXPECT_LT(window->view(2).top_hz(), top);
    for (int r = 0; r < 3; ++r) EXPECT_DOUBLE_EQ(window->view(r).top_hz(), window->view(2).top_hz()) << r;
    // The bar below scrolls them together.
    QScrollBar& bar = window->time_bar();
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_GT(window->view(0).view_from(), from);
    for (int r = 1; r < 3; ++r) EXPECT_DOUBLE_EQ(window->view(r).view_from(), window->view(0).view_from());
    // "+" on the first zooms in further, all together.
    window->view(0).setFocus();
    QTest::keyClick(&window->view(0), Qt::Key_Plus);
    EXPECT_LT(window->view(2).view_to() - window->view(2).view_from(), to - from);
    EXPECT_DOUBLE_EQ(window->view(2).view_to() - window->view(2).view_from(),
                     window->view(0).view_to() - window->view(0).view_from());
}

TEST_F(CompareJourney, PlayInTurnPlaysEachAfterTheOtherWithAPauseBetween) {
    TCompareWindow* window = threeTinamous();
    ASSERT_NE(window, nullptr);
    window->play_in_turn();
    ASSERT_TRUE(eventually([&] { return window->button(0).is_playing(); }, 2000));
    EXPECT_FALSE(window->button(1).is_playing());
    // Near its end, so that the test need not hear it all.
    const int length = window->button(0).bar().maximum() * 100;
    window->button(0).seek_to(length - 300);
    ASSERT_TRUE(eventually([&] { return !window->button(0).is_playing(); }, 3000));
    QElapsedTimer pause;
    pause.start();
    ASSERT_TRUE(eventually([&] { return window->button(1).is_playing(); }, 3000));
    EXPECT_GE(pause.elapsed(), TCompareWindow::kPauseBetweenMs - 150) << "a pause between the two";
    EXPECT_FALSE(window->button(0).is_playing());
    EXPECT_EQ(window->turn(), 1);
    // The playing row's sonogram follows it.
    ASSERT_TRUE(eventually([&] { return window->view(1).playhead() > 0.1; }, 2000));
    window->stop();
    EXPECT_FALSE(window->button(1).is_playing());
    EXPECT_FALSE(window->playing_in_turn());
}

TEST_F(CompareJourney, ASeventhIsRefusedTheSetRoundTripsAndADamagedFileIsSetAside) {
    TCompareWindow* window = threeTinamous();
    ASSERT_NE(window, nullptr);
    for (int n = 4; n <= 6; ++n) ASSERT_TRUE(addSpeciesFromList(n)) << n;
    ASSERT_EQ(window->rows(), 6);
    const std::size_t told = program().script().messages().size();
    clickToggle(nth(line_kind::kFamilyToggle, 2));
    ASSERT_TRUE(addSpeciesFromList(7));
    EXPECT_EQ(window->rows(), 6) << "a seventh is not added";
    ASSERT_EQ(program().script().messages().size(), told + 1) << "and the user is told so";
    EXPECT_TRUE(program().script().lastMessage().contains(QStringLiteral("at most 6")));

    // Saved in the user-files folder's comparisons, cleared, opened again.
    const std::vector<const Tcupaitem*> saved = window->set().recordings();
    const QString path = program().home() + QStringLiteral("/tinamous.json");
    program().script().dialogs().fileAnswers.push_back(path);
    ASSERT_TRUE(window->save_set());
    window->remove(5);
    window->remove(0);
    ASSERT_EQ(window->rows(), 4);
    program().script().dialogs().fileAnswers.push_back(path);
    ASSERT_TRUE(window->open_set());
    EXPECT_EQ(window->set().recordings(), saved);
    EXPECT_EQ(window->rows(), 6);

    // The file damaged (cut short): said once, kept aside, a fresh start.
    QByteArray bytes;
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        bytes = f.readAll();
    }
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes.left(bytes.size() / 2));
    }
    const std::size_t before = program().script().messages().size();
    program().script().dialogs().fileAnswers.push_back(path);
    EXPECT_FALSE(window->open_set());
    ASSERT_EQ(program().script().messages().size(), before + 1);
    EXPECT_TRUE(program().script().lastMessage().contains(QStringLiteral("damaged")));
    EXPECT_EQ(window->rows(), 0);
    EXPECT_FALSE(QFile::exists(path));
    const QStringList aside = QDir(program().home()).entryList({QStringLiteral("tinamous.json.damaged-*")});
    ASSERT_EQ(aside.size(), 1);
}

TEST_F(CompareJourney, TheListeningToolsApplyToTheRowsAsOnAListWindowsPanel) {
    using Speed = platform::audio::Listening::Speed;
    TCompareWindow* window = threeTinamous();
    ASSERT_NE(window, nullptr);
    // The user picks from the window's own "Listening" button.
    const auto choose = [&](TListeningChoice::Choice choice) {
        for (auto* tool : window->findChildren<QToolButton*>()) {
            if (tool->text() != QStringLiteral("Listening") || !tool->menu()) continue;
            emit tool->menu()->aboutToShow();
            for (QAction* action : tool->menu()->actions())
                if (action->text() == TListeningChoice::name(choice)) {
                    action->trigger();
                    return true;
                }
        }
        return false;
    };
    ASSERT_TRUE(choose(TListeningChoice::TapeHalf));
    auto* label = window->findChild<QLabel*>(QStringLiteral("listening"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->text().contains(TListeningChoice::name(TListeningChoice::TapeHalf)));

    Tsound_bar& row = window->button(1);
    QTest::mouseClick(&row.button(), Qt::LeftButton);
    ASSERT_TRUE(eventually([&] { return row.is_playing(); }, 2000));
    EXPECT_EQ(platform::audio::mediaControl().listening().speed, Speed::TapeHalf)
        << "a row plays as its window says, not at the normal speed";
    // Changed while it plays: heard so at once.
    ASSERT_TRUE(choose(TListeningChoice::KeptQuarter));
    EXPECT_EQ(platform::audio::mediaControl().listening().speed, Speed::KeptQuarter);
    ASSERT_TRUE(choose(TListeningChoice::Normal));
    EXPECT_EQ(platform::audio::mediaControl().listening().speed, Speed::Normal);
    row.click();
    EXPECT_FALSE(row.is_playing());
}
