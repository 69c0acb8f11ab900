// A playlist made by dragging recordings' position bars onto the playlist
// window, saved, and opened again after the window was closed.
//
// The offscreen platform ends every drag at once, dropping nothing, so the
// drag itself is started by the program from the mouse as a user gives it,
// and its data is then dropped on the grid with the events a desktop
// delivers at the end of a drag.
#include "journeys/playlist_journey.h"

#include <QDrag>
#include <QDropEvent>
#include <QScrollBar>

using namespace playlist_journey;

class PlayListDragJourney : public PlayListJourney {
  protected:
    // The press and the move a user makes on the position bar; the drag
    // the program started from them, while it lasts.
    QDrag* startDrag(Tsound_bar& button) {
        QScrollBar& positions = button.bar();
        const QPoint start(positions.width() - 8, positions.height() / 2);
        const QPoint away = start - QPoint(QApplication::startDragDistance() + 10, 0);
        const QList<QDrag*> before = positions.findChildren<QDrag*>(Qt::FindDirectChildrenOnly);
        QTest::mousePress(&positions, Qt::LeftButton, {}, start);
        QTest::mouseMove(&positions, away);
        const QList<QDrag*> after = positions.findChildren<QDrag*>(Qt::FindDirectChildrenOnly);
        QTest::mouseRelease(&positions, Qt::LeftButton, {}, away);
        for (QDrag* drag : after)
            if (!before.contains(drag)) return drag;
        return nullptr;
    }
    // The drag's data carried over the grid and let go on it.
    static bool dropOn(TPlayListForm& form, const QMimeData* data) {
        QWidget* target = form.grid->viewport();
        const QPoint at(target->width() / 2, target->height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return false;
        QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &move);
        if (!move.isAccepted()) return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, data, Qt::NoButton, {});
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }
    void drag(TPlayListForm& form, int recording) {
        Tsound_bar* button = recordingButton(recording);
        ASSERT_NE(button, nullptr) << recording;
        const int position = button->bar().value();
        QDrag* drag = startDrag(*button);
        ASSERT_NE(drag, nullptr) << "no drag started from recording " << recording;
        ASSERT_TRUE(dropOn(form, drag->mimeData())) << recording;
        EXPECT_EQ(button->bar().value(), position) << "the drag moved the position";
        QTest::qWait(20);
    }
};

TEST_F(PlayListDragJourney, AUserDragsRecordingsOntoThePlaylistSavesItAndOpensItAgainLater) {
    TPlayListForm& form = openPlayListWindow();
    unfoldFirstSpecies();
    for (int recording : {1, 2, 1}) ASSERT_NO_FATAL_FAILURE(drag(form, recording));
    const QStringList three = rowTexts(form);
    ASSERT_EQ(three.size(), 3);
    EXPECT_NE(three[0], three[1]);
    EXPECT_EQ(three[0], three[2]);

    ASSERT_NO_FATAL_FAILURE(activate(form));
    const QString saved = QDir(program().home()).filePath(QStringLiteral("dragged.pl"));
    dialogs().messageAnswers.push_back(platform::answer::No);  // no new playlist folder
    dialogs().fileAnswers.push_back(saved);
    key(form, Qt::Key_S, Qt::ControlModifier);
    dialogs().messageAnswers.clear();
    ASSERT_FALSE(contentsOf(saved).isEmpty());
    key(form, Qt::Key_Escape);
    ASSERT_FALSE(form.isVisible());

    // Later: the window again, a new list, and the saved one opened.
    TPlayListForm& again = openPlayListWindow();
    ASSERT_NO_FATAL_FAILURE(activate(again));
    key(again, Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(rowTexts(again), QStringList{QString()});
    dialogs().fileAnswers.push_back(saved);
    key(again, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(rowTexts(again), three);
    EXPECT_TRUE(again.windowTitle().endsWith(QStringLiteral(": dragged")))
        << again.windowTitle().toStdString();

    ASSERT_NO_FATAL_FAILURE(clickRow(again, 2));
    key(again, Qt::Key_Delete);
    EXPECT_EQ(rowTexts(again), (QStringList{three[0], three[2]}));
}
