#include "app/editions.h"
#include "formats/textfile.h"
#include "listview/child_form.h"
#include "support/test_environment.h"

#include <QAction>
#include <QMenuBar>
#include <QStatusBar>
#include <QtTest>

class ChildFormShellTest : public QObject {
    Q_OBJECT
  private slots:
    void init() {
        bool found = false;
        GLB_set_texts(std::make_unique<Ttextfile_handler>(
            testing_support::sourceTree() + QStringLiteral("/editions/demo/Korvelan.txt"), found,
            true));
        GLB_set_edition(GLB_edition_for_product(1011));
    }
    void cleanup() { GLB_set_texts(nullptr); }

    void menusComeFromTheTextsFileAndUnbuiltCommandsAreOff() {
        TChildForm form(false);
        const auto menus = form.menuBar()->actions();
        QCOMPARE(menus.size(), 5);
        QCOMPARE(menus[0]->text(), GLB_text("MENUS", 1));
        QCOMPARE(menus[1]->text(), GLB_text("MENUS", 10));
        QCOMPARE(form.menu_action(11)->text(),
                 GLB_text("MENUS", 11) + QStringLiteral("...\tCtrl+F"));
        QCOMPARE(form.menu_action(12)->text(), GLB_text("MENUS", 12) + QStringLiteral("\tF3"));
        QVERIFY(!form.menu_action(2)->isEnabled());
        QVERIFY(form.menu_action(8)->isEnabled());   // Exit
        QVERIFY(form.menu_action(22)->isEnabled());  // About
        QVERIFY(form.menu_action(17)->isVisible());  // Copy to HD in the main window
        QCOMPARE(form.windowTitle(), GLB_edition().title);
        QVERIFY(form.statusBar() != nullptr);
    }

    void exitClosesTheWindow() {
        TChildForm form(false);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.menu_action(8)->trigger();
        QVERIFY(!form.isVisible());
    }

    void secondaryWindowsUseTheCloseWordAndHidePlaylistsAndCopy() {
        TChildForm form(true);
        QCOMPARE(form.menu_action(8), nullptr);
        QCOMPARE(form.menu_action(9)->text(), GLB_text("MENUS", 9));
        QVERIFY(!form.menu_action(6)->isVisible());
        QVERIFY(!form.menu_action(17)->isVisible());
    }
};

QTEST_MAIN(ChildFormShellTest)
#include "child_form_widget_test.moc"
