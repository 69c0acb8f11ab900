#pragma once

// A user's journey through the program exactly as main makes it, on the
// demo edition: no seam is installed by the test.

#include "listview/windows/sound_bar.h"
#include "support/list_window_driver.h"
#include "support/running_program.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>
#include <functional>

namespace testing_support {

// Waits, processing events, until the condition holds or the time is up.
inline bool eventually(const std::function<bool()>& condition, int milliseconds = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds) return false;
        QTest::qWait(20);
    }
    return true;
}

class Journey : public ::testing::Test, protected ListWindowDriver {
  protected:
    void SetUp() override {
        program_ = std::make_unique<RunningDemoProgram>();
        main_ = &program_->mainWindow();
        main_->resize(1000, 800);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main_));
        repaint();
    }
    void TearDown() override {
        // A window that comes up by itself mid-journey takes the activation
        // the journey waits for (and the offscreen platform hands it back to
        // nobody): the start must be over before the journey begins.
        if (program_) {
            EXPECT_EQ(program_->introductionsAfterStart(), 0) << "the introduction came up during the journey";
        }
        program_.reset();
        main_ = nullptr;
    }

    RunningDemoProgram& program() { return *program_; }
    TChildForm& mainWindow() { return *main_; }

    // The recording button of the n-th recording line shown (from 1).
    Tsound_bar* recordingButton(int n) {
        TRecordShowStringData* line = nth(line_kind::kRecordingButton, n);
        return line && line->button_block
                   ? dynamic_cast<Tsound_bar*>(line->button_block->button.get())
                   : nullptr;
    }
    // The first family and its first species unfolded, as a user clicks them.
    void unfoldFirstSpecies() {
        clickToggle(nth(line_kind::kFamilyToggle, 1));
        clickToggle(nth(line_kind::kSpeciesToggle, 1));
    }
    // The user opens the recording button's context menu and `choose` picks
    // from it (triggering what it picks); false when no menu came up.
    static bool useRecordingMenu(Tsound_bar& button, const std::function<void(QMenu&)>& choose) {
        bool shown = false;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu || shown) return;
            shown = true;
            choose(*menu);
            menu->close();
        });
        user.start(20);
        QWidget& target = button.button();
        QContextMenuEvent press(QContextMenuEvent::Mouse, QPoint(2, 2),
                                target.mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(&target, &press);
        return shown;
    }

    // The user triggers `action`, and `answer` works the modal dialog of
    // type Dialog it opens (closing it); false when no such dialog came up.
    template <class Dialog>
    static bool answerModal(QAction& action, const std::function<void(Dialog&)>& answer) {
        bool answered = false;
        QTimer user;
        QObject::connect(&user, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog || answered) return;
            answered = true;
            answer(*dialog);
        });
        user.start(20);
        action.trigger();
        return answered;
    }

  private:
    std::unique_ptr<RunningDemoProgram> program_;
};

}  // namespace testing_support

// The journeys wait for what the user would see next.
using testing_support::eventually;
