#include "listview/child_form.h"
#include "app/editions.h"
#include "formats/textfile.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QMenuBar>
#include <QStatusBar>

namespace {

class ChildFormShell : public ::testing::Test {
  protected:
    void SetUp() override {
        bool found = false;
        GLB_set_texts(std::make_unique<Ttextfile_handler>(
            testing_support::sourceTree() + QStringLiteral("/editions/demo/Korvelan.txt"), found,
            true));
        GLB_set_edition(GLB_edition_for_product(1011));
    }
    void TearDown() override { GLB_set_texts(nullptr); }
};

}  // namespace

TEST_F(ChildFormShell, MenusComeFromTheTextsFileAndUnbuiltCommandsAreOff) {
    TChildForm form(false);
    const auto menus = form.menuBar()->actions();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(menus[0]->text(), GLB_text("MENUS", 1));
    EXPECT_EQ(menus[1]->text(), GLB_text("MENUS", 10));
    EXPECT_EQ(form.menu_action(11)->text(), GLB_text("MENUS", 11) + QStringLiteral("...\tCtrl+F"));
    EXPECT_EQ(form.menu_action(12)->text(), GLB_text("MENUS", 12) + QStringLiteral("\tF3"));
    EXPECT_FALSE(form.menu_action(2)->isEnabled());
    EXPECT_TRUE(form.menu_action(8)->isEnabled());   // Exit
    EXPECT_TRUE(form.menu_action(22)->isEnabled());  // About
    EXPECT_TRUE(form.menu_action(17)->isVisible());  // Copy to HD in the main window
    EXPECT_EQ(form.windowTitle(), GLB_edition().title);
    EXPECT_NE(form.statusBar(), nullptr);
}

TEST_F(ChildFormShell, SecondaryWindowsUseTheCloseWordAndHidePlaylistsAndCopy) {
    TChildForm form(true);
    EXPECT_EQ(form.menu_action(8), nullptr);
    EXPECT_EQ(form.menu_action(9)->text(), GLB_text("MENUS", 9));
    EXPECT_FALSE(form.menu_action(6)->isVisible());
    EXPECT_FALSE(form.menu_action(17)->isVisible());
}
