// Where the list windows and the small floating windows open on the screen
// and which window owns which, on the demo edition. Stacking itself is the
// window manager's: what the program controls, and these tests check, is the
// ownership the window manager keeps windows above their owners by, that
// nothing stays above everything, and the places the windows open at.
#include "app/globals.h"
#include "app/program/audio_cd_file_writer.h"
#include "app/settings.h"
#include "listview/windows/child_form.h"
#include "listview/windows/list_window_services.h"
#include "listview/list_bitmaps.h"
#include "listview/windows/show_form.h"
#include "listview/top_forms.h"
#include "listview/window_state.h"
#include "platform/dialog_service.h"
#include "platform/windows/widget_dialogs.h"
#include "playlists/windows/playlist_form.h"
#include "playlists/windows/playlists_and_shows.h"
#include "sound/windows/volume_control_form.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"

#include <QAbstractButton>
#include <QMenuBar>
#include <QMessageBox>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>
#include <QStatusBar>
#include <QWindow>
#include <QtTest>

namespace {

// Lines of "MENUS" of the two commands that open floating windows.
constexpr int kWhatWasThatLine = 5;
constexpr int kPlayListsLine = 6;

QRect workArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// Why a window is not kept above its owner by the window manager without
// staying above everything else; empty when it is. On X11 only dialog and
// tool windows are marked as owned (a plain window with a Qt parent is not).
QString notOwned(const QWidget* window, const QWidget* owner) {
    if (!window->windowHandle()) return QStringLiteral("no native window");
    if (window->windowHandle()->transientParent() != owner->windowHandle())
        return QStringLiteral("its owner is another window");
    if (window->windowType() != Qt::Tool && window->windowType() != Qt::Dialog)
        return QStringLiteral("a plain window is not owned on X11");
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        return QStringLiteral("it stays above every window, dialogs too");
    return {};
}

}  // namespace

class FloatingWindowsTest : public QObject {
    Q_OBJECT

    testing_support::ProgramDirectory* dir_ = nullptr;
    testing_support::DialogScript* script_ = nullptr;
    TChildForm* main_ = nullptr;
    // The playlist window and the shows behind the list windows' commands,
    // as the program makes them.
    TProgramAudioCDFileWriter audio_cd_writer_;
    std::unique_ptr<TPlaylistsAndShows> playlists_;
    TListWindowServices services_;

    void openMain(bool maximised) {
        main_ = GLB_open_main_list_window(services_);
        if (maximised) main_->setWindowState(Qt::WindowMaximized);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_));
        QTRY_VERIFY(!maximised || main_->geometry().width() >= workArea().width() - 20);
    }
    void closeMain() {
        main_->close();
        delete main_;
        main_ = nullptr;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    TChildForm* secondWindow() {
        return dynamic_cast<TChildForm*>(Ttop_forms::instance().at(1));
    }

  private slots:
    void initTestCase() {
        TListBitmaps::load();
        playlists_ = std::make_unique<TPlaylistsAndShows>(audio_cd_writer_);
        services_.show_commands = playlists_->list_window_commands();
    }
    void cleanupTestCase() {
        services_ = {};
        playlists_.reset();
    }
    void init() {
        dir_ = new testing_support::ProgramDirectory;
        script_ = new testing_support::DialogScript;
        testing_support::installDemoEdition(*dir_);
    }
    void cleanup() {
        if (main_) closeMain();
        testing_support::removeDemoEdition();
        delete script_;
        delete dir_;
    }

    // A click on the main window must not bury window 2, today or after a
    // restart: it is owned by the main window, whichever way it was opened.
    void furtherWindowsStayAboveTheMainWindow() {
        openMain(true);
        TChildForm* second = main_->new_window();
        QVERIFY(QTest::qWaitForWindowExposed(second));
        QCOMPARE(notOwned(second, main_), QString());
        QVERIFY(!main_->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        closeMain();
        QCOMPARE(GLB_read_int("GENERAL", "Windows", 0), 2);
        openMain(true);
        TChildForm* restored = secondWindow();
        QVERIFY(restored && restored->isVisible());
        QCOMPARE(notOwned(restored, main_), QString());
    }

    // From a maximised main window the new window keeps its 30-pixel offset
    // but gives up size, so that its scroll bar and status bar stay in sight.
    void aNewWindowFromAMaximisedMainWindowFitsTheScreen() {
        openMain(true);
        TChildForm* second = main_->new_window();
        QVERIFY(QTest::qWaitForWindowExposed(second));
        QVERIFY2(workArea().contains(second->frameGeometry()),
                 qPrintable(QStringLiteral("%1 in %2").arg(GLB_format_coord(second->frameGeometry()),
                                                           GLB_format_coord(workArea()))));
        QCOMPARE(second->frameGeometry().topLeft(), main_->frameGeometry().topLeft() + QPoint(30, 30));
        const QWidget* status = second->statusBar();
        QVERIFY(workArea().contains(QRect(status->mapToGlobal(QPoint(0, 0)), status->size())));
    }

    // Places saved on a screen that is not there come back onto this one;
    // what the user saved stays in the settings while the window is not moved.
    void placesOffTheScreenComeBackAndAreNotWrittenAgain() {
        GLB_write_string("WINDOW 1", "Coord", "5000,6000,5600,6500");
        GLB_write_flag("WINDOW 1", "Maximized", false);
        GLB_write_string("GENERAL", "Volume Control Coordinates", "99999,-99999");
        GLB_write_flag("GENERAL", "Show Volume Control", true);
        openMain(false);
        QVERIFY(workArea().contains(main_->frameGeometry()));
        QCOMPARE(main_->size(), QSize(600, 500));
        {
            TVolume_control_form volume(main_);
            QVERIFY(volume.isVisible());
            QVERIFY(workArea().contains(volume.frameGeometry()));
        }
        QCOMPARE(GLB_read_string("GENERAL", "Volume Control Coordinates", {}), QStringLiteral("99999,-99999"));
        closeMain();
        QCOMPARE(GLB_read_string("WINDOW 1", "Coord", {}), QStringLiteral("5000,6000,5600,6500"));

        // Moved by the user, the new place is what is kept.
        openMain(false);
        main_->move(main_->pos() - QPoint(40, 40));
        const QString moved = GLB_format_coord(main_->geometry());
        closeMain();
        QCOMPARE(GLB_read_string("WINDOW 1", "Coord", {}), moved);
    }

    // The playlist, "What was that?" and volume windows float above the main
    // window but under every dialog, and open clear of the main window's
    // menu bar and of the middle of the screen, where dialogs open.
    void floatingWindowsLeaveTheMenusAndTheDialogsFree() {
        openMain(true);
        main_->menu_action(kPlayListsLine)->trigger();
        main_->menu_action(kWhatWasThatLine)->trigger();
        TVolume_control_form volume(main_);
        TPlayListForm* playlist = playlists_->play_list_form();
        QVERIFY(playlist && playlist->isVisible());
        QWidget* whatWasThat = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->inherits("TRecordingsAndOrPicturesListForm")) whatWasThat = w;
        QVERIFY(whatWasThat);

        const QMenuBar* menus = main_->menuBar();
        const QRect menuBar(menus->mapToGlobal(QPoint(0, 0)), menus->size());
        const QPoint middle = workArea().center();
        for (QWidget* floating : {static_cast<QWidget*>(playlist), whatWasThat, static_cast<QWidget*>(&volume)}) {
            QVERIFY(QTest::qWaitForWindowExposed(floating));
            QCOMPARE(notOwned(floating, main_), QString());
            const QRect frame = floating->frameGeometry();
            QVERIFY2(!frame.intersects(menuBar), qPrintable(floating->metaObject()->className()));
            QVERIFY2(!frame.contains(middle), qPrintable(floating->metaObject()->className()));
            QVERIFY(workArea().contains(frame));
        }

        // A question asked from the playlist window is its dialog: above it.
        playlist->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), playlist);
        QWindow* boxOwner = nullptr;
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || !box->isVisible()) return;
            boxOwner = box->windowHandle()->transientParent();
            box->button(QMessageBox::Ok)->click();
        });
        answer.start(10);
        platform::WidgetDialogs().message({QStringLiteral("Saved."), QStringLiteral("Korvelan"), platform::box::Plain});
        QCOMPARE(boxOwner, playlist->windowHandle());
        playlist->hide();
    }
};

// The screen of the desktop session (1280 x 1024, window frames included),
// rather than the offscreen platform's small default one.
int main(int argc, char* argv[]) {
    QTemporaryDir dir;
    const QString config = dir.filePath(QStringLiteral("screen.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 2;
    file.write(R"({"windowFrameMargins": true, "screens": [{"name": "desk", "x": 0, "y": 0,)"
               R"( "width": 1280, "height": 1024, "logicalDpi": 96, "logicalBase": 96, "dpr": 1}]})");
    file.close();
    if (qgetenv("QT_QPA_PLATFORM").startsWith("offscreen"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    QApplication application(argc, argv);
    FloatingWindowsTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "floating_windows_widget_test.moc"
