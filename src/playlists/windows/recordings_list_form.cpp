#include "playlists/windows/recordings_list_form.h"

#include "formats/textfile.h"
#include "listview/windows/window_placement.h"
#include "listview/window_state.h"
#include "playlists/recent_list.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {
QString text(int line) {
    return GLB_text(QStringLiteral("BS_SHOW_LISTS"), line);
}
}  // namespace

TRecordingsAndOrPicturesListForm::TRecordingsAndOrPicturesListForm(
    TRecordingsAndOrPicturesList& list, QWidget* parent)
    // A tool window of its list window: above it, below the dialogs.
    : QWidget(parent, Qt::Tool), list_(list) {
    setWindowTitle(text(1));
    auto* menu = new QMenuBar(this);
    QMenu* edit_menu = menu->addMenu(text(2));
    edit_menu->addAction(text(3), QKeySequence(Qt::CTRL | Qt::Key_C), this,
                         &TRecordingsAndOrPicturesListForm::copy_to_clipboard);
    memo = new QPlainTextEdit(this);
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menu);
    layout->addWidget(memo);
    resize(460, 300);
}

void TRecordingsAndOrPicturesListForm::refill() {
    memo->setPlainText(list_.texts().join(u'\n'));
    memo->verticalScrollBar()->setValue(memo->verticalScrollBar()->maximum());
}

void TRecordingsAndOrPicturesListForm::copy_to_clipboard() {
    memo->selectAll();
    memo->copy();
    memo->moveCursor(QTextCursor::End);
}

void TRecordingsAndOrPicturesListForm::showEvent(QShowEvent* event) {
    if (!testAttribute(Qt::WA_Moved)) {
        // The first showing: a corner away from the menu bar and the dialogs.
        const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
        move(GLB_floating_window_place(size().grownBy(GLB_frame_margins(this, owner)),
                                       GLB_work_area_for(owner ? owner->frameGeometry() : QRect()),
                                       TFloatingPlace::BottomLeft));
    }
    QWidget::showEvent(event);
    refill();
}

void TRecordingsAndOrPicturesListForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
