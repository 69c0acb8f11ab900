#include "app/editions.h"
#include "formats/textfile.h"
#include "listview/windows/child_form.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"

#include <QAction>
#include <QMenuBar>
#include <QStatusBar>
#include <QtTest>

class ChildFormMenusTest : public QObject {
    Q_OBJECT
    testing_support::ProgramDirectory* dir_ = nullptr;
    testing_support::DialogScript* script_ = nullptr;

  private slots:
    void init() {
        dir_ = new testing_support::ProgramDirectory;
        script_ = new testing_support::DialogScript;
        testing_support::installDemoEdition(*dir_);
    }
    void cleanup() {
        testing_support::removeDemoEdition();
        delete script_;
        delete dir_;
    }

    void menusComeFromTheTextsFileAndUnbuiltCommandsAreOff() {
        TChildForm form({}, false);
        form.open_list_window({});
        const auto menus = form.menuBar()->actions();
        QCOMPARE(menus.size(), 5);
        QCOMPARE(menus[0]->text(), GLB_text("MENUS", 1));
        QCOMPARE(menus[1]->text(), GLB_text("MENUS", 10));
        QCOMPARE(form.menu_action(11)->text(),
                 GLB_text("MENUS", 11) + QStringLiteral("...\tCtrl+F"));
        QCOMPARE(form.menu_action(12)->text(), GLB_text("MENUS", 12) + QStringLiteral("\tF3"));
        QVERIFY(form.menu_action(2)->isEnabled());   // New Window
        QVERIFY(!form.menu_action(4)->isEnabled());  // Show! waits for the shows
        QVERIFY(form.menu_action(8)->isEnabled());   // Exit
        QVERIFY(form.menu_action(22)->isEnabled());  // About
        QVERIFY(form.menu_action(17)->isVisible());  // Copy to HD in the main window
        QCOMPARE(form.windowTitle(), GLB_edition().title);
        QVERIFY(form.statusBar() != nullptr);
    }

    void exitClosesTheWindow() {
        TChildForm form({}, false);
        form.open_list_window({});
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.menu_action(8)->trigger();
        QVERIFY(!form.isVisible());
    }

    void secondaryWindowsUseTheCloseWordAndHidePlaylistsAndCopy() {
        TChildForm form({}, true);
        QCOMPARE(form.menu_action(8), nullptr);
        QCOMPARE(form.menu_action(9)->text(), GLB_text("MENUS", 9));
        QVERIFY(!form.menu_action(6)->isVisible());
        QVERIFY(!form.menu_action(17)->isVisible());
    }
};

QTEST_MAIN(ChildFormMenusTest)
#include "child_form_menus_widget_test.moc"
