#pragma once

// The playlist window as a user works it: opened from the list window's
// menu, filled from the recording buttons, edited with keys and clicks.

#include "journeys/journey.h"

#include "formats/textfile.h"
#include "listview/windows/child_form.h"
#include "playlists/windows/playlist_form.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QMenu>

namespace playlist_journey {

constexpr int kPlayListsMenuLine = 6;
constexpr int kAddToPlaylistLine = 3;  // of a recording button's menu

inline QString playListText(int line) {
    return GLB_text(QStringLiteral("PLAY_LISTS"), line);
}

// A playlist file's text.
inline QString contentsOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

class PlayListJourney : public testing_support::Journey {
  protected:
    TPlayListForm& openPlayListWindow() {
        QAction* playLists = mainWindow().menu_action(kPlayListsMenuLine);
        EXPECT_TRUE(playLists && playLists->isEnabled());
        if (playLists) playLists->trigger();
        TPlayListForm* form = shownPlayListWindow();
        EXPECT_TRUE(form);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
        // The window takes the activation it asked for before the user goes
        // on (a recording button's menu would close on it).
        EXPECT_TRUE(QTest::qWaitForWindowActive(form));
        return *form;
    }
    // The playlist window on the screen, found among the windows as the
    // user sees it; none when it is not shown.
    static TPlayListForm* shownPlayListWindow() {
        TPlayListForm* shown = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* form = qobject_cast<TPlayListForm*>(window);
            if (!form || !form->isVisible()) continue;
            EXPECT_EQ(shown, nullptr) << "two playlist windows on the screen";
            shown = form;
        }
        return shown;
    }
    // "Add to playlist" from the recording button's own menu. The offscreen
    // platform hands the activation back to a window a moment after a menu
    // closes, which can close the next menu at once: the user opens it again.
    bool addToPlayList(Tsound_bar& button) {
        for (int attempt = 0; attempt < 5; ++attempt) {
            if (chooseAddToPlayList(button)) return true;
            QTest::qWait(50);
        }
        return false;
    }
    bool chooseAddToPlayList(Tsound_bar& button) {
        return useRecordingMenu(button, [](QMenu& menu) {
            QAction* add = menu.actions().value(kAddToPlaylistLine - 1);
            if (add && add->isEnabled()) add->trigger();
        });
    }
    static void activate(TPlayListForm& form) {
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        form.grid->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    // A key typed into the playlist window. The offscreen platform may have
    // handed the activation to another window meanwhile; a user would click
    // the playlist window first, and its shortcuts need it active.
    static void key(TPlayListForm& form, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        if (QApplication::activeWindow() != &form) {
            form.activateWindow();
            QApplication::setActiveWindow(&form);
            EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        }
        QTest::keyClick(form.grid, key, modifiers);
        QCoreApplication::processEvents();
    }
    static void clickRow(TPlayListForm& form, int row) {
        const QRect cell = form.grid->visualRect(form.grid->model()->index(row - 1, 1));
        ASSERT_TRUE(cell.isValid());
        QTest::mouseClick(form.grid->viewport(), Qt::LeftButton, {}, cell.center());
        ASSERT_EQ(form.grid->currentRow(), row - 1);
    }
    static QStringList rowTexts(const TPlayListForm& form) {
        QStringList out;
        for (int r = 0; r < form.grid->rowCount(); ++r)
            out << (form.grid->item(r, 1) ? form.grid->item(r, 1)->text() : QString());
        return out;
    }
    // A playlist of three rows from the first species' two recordings (the
    // first one twice), as the user makes it from the recording buttons'
    // menus.
    void fillWithThreeRecordings(TPlayListForm& form) {
        unfoldFirstSpecies();
        for (int n : {1, 2, 1}) {
            Tsound_bar* button = recordingButton(n);
            ASSERT_NE(button, nullptr) << n;
            ASSERT_TRUE(addToPlayList(*button)) << n;
        }
        ASSERT_EQ(form.grid->rowCount(), 3);
    }
    testing_support::ScriptedDialogs& dialogs() { return program().script().dialogs(); }
};

}  // namespace playlist_journey
