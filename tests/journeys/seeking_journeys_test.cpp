// Pausing a recording and moving its position, with the mouse and with the
// keys a user holds down, as the program is made at start.
#include "journeys/journey.h"

#include "listview/windows/child_form.h"

#include <QApplication>
#include <QKeyEvent>

using testing_support::Journey;

class SeekingJourney : public Journey {
  protected:
    // The first recording played until its position moved, then paused with
    // a second click on its button.
    Tsound_bar* pausedAfterAMoment() {
        unfoldFirstSpecies();
        Tsound_bar* button = recordingButton(1);
        if (!button) return nullptr;
        QTest::mouseClick(&button->button(), Qt::LeftButton);
        if (!eventually([&] { return button->is_playing() && button->bar().value() >= 3; }))
            return nullptr;
        QTest::mouseClick(&button->button(), Qt::LeftButton);
        return button->is_playing() ? nullptr : button;
    }
    // A key as a keyboard sends it, to whatever has the list window's focus.
    void key(QEvent::Type type, int k, Qt::KeyboardModifiers modifiers) {
        QWidget* focused = mainWindow().focusWidget();
        ASSERT_NE(focused, nullptr);
        QKeyEvent event(type, k, modifiers);
        QApplication::sendEvent(focused, &event);
    }
    bool focusedIsTheButton(Tsound_bar& button) {
        return mainWindow().focusWidget() == &button.button();
    }
    // Shift pressed on its own, then the key with Shift, then both let go.
    void withShift(int k) {
        key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
        key(QEvent::KeyPress, k, Qt::ShiftModifier);
        key(QEvent::KeyRelease, k, Qt::ShiftModifier);
        key(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    }
};

TEST_F(SeekingJourney, AUserPausesClicksFurtherOnInThePositionBarAndPlayGoesOnFromThere) {
    Tsound_bar* button = pausedAfterAMoment();
    ASSERT_NE(button, nullptr);
    QScrollBar& positions = button->bar();
    const int paused = positions.value();
    QTest::qWait(200);
    ASSERT_EQ(positions.value(), paused);

    QTest::mouseClick(&positions, Qt::LeftButton, {},
                      QPoint(positions.width() * 3 / 4, positions.height() / 2));
    ASSERT_TRUE(eventually([&] { return positions.value() > paused; }));
    const int moved = positions.value();
    QTest::qWait(200);
    EXPECT_EQ(positions.value(), moved) << "the position moved while paused";
    EXPECT_FALSE(button->is_playing());

    QTest::mouseClick(&button->button(), Qt::LeftButton);
    ASSERT_TRUE(button->is_playing());
    // Play goes on from the new place, never from where it was paused.
    QTest::qWait(100);
    EXPECT_GE(positions.value(), moved);
    EXPECT_TRUE(eventually([&] { return positions.value() > moved || !button->opened(); }));
}

TEST_F(SeekingJourney, AUserHoldsShiftAndPressesRightThenEndOnThePausedButton) {
    Tsound_bar* button = pausedAfterAMoment();
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(focusedIsTheButton(*button));
    QScrollBar& positions = button->bar();
    const int paused = positions.value();

    ASSERT_NO_FATAL_FAILURE(withShift(Qt::Key_Right));
    ASSERT_NO_FATAL_FAILURE(withShift(Qt::Key_Right));
    EXPECT_EQ(positions.value(), paused + 2 * positions.singleStep());
    EXPECT_TRUE(focusedIsTheButton(*button));
    EXPECT_FALSE(button->is_playing());

    ASSERT_NO_FATAL_FAILURE(withShift(Qt::Key_End));
    EXPECT_EQ(positions.value(), positions.maximum());
    EXPECT_TRUE(focusedIsTheButton(*button));
}
