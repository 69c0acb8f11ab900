#include "app/base_directory.h"
#include "app/globals.h"
#include "app/settings.h"
#include "formats/textfile.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>

using testing_support::DialogScript;
using testing_support::ProgramDirectory;

namespace {

class BaseDirectory : public ::testing::Test {
  protected:
    void SetUp() override {
        dir.makeCurrentProgramDirectory();
    }
    void TearDown() override { GLB_clear_base_directory_listeners(); }
    QString base() const { return GLB().base_directory; }
    ProgramDirectory dir;
    TTextsOverride texts{
        Ttextfile_handler::fromText(QStringLiteral("$[BASEDIR]\nWhere are the sounds?\n"))};
};

}  // namespace

TEST_F(BaseDirectory, JustInstalledKeepsOnlyTheDrive) {
    dir.write("Korvelan.ini", "[GENERAL]\nJust Installed=Yes\nBase Directory=E:\\Setup\\Files\n");
    GLB_read_base_directory();
    EXPECT_EQ(base(), QStringLiteral("E:/"));
    EXPECT_EQ(GLB_read_string("GENERAL", "Base Directory", {}), QStringLiteral("E:"));
}

TEST_F(BaseDirectory, JustInstalledOnThisSystemKeepsTheMountPoint) {
    const QString table =
        QStringLiteral("/dev/vda / ext4 rw 0 0\n/dev/sr0 /media/cdrom iso9660 ro 0 0\n");
    EXPECT_EQ(GLB_drive_of(QStringLiteral("/media/cdrom/setup/files"), table),
              QStringLiteral("/media/cdrom"));
    EXPECT_EQ(GLB_drive_of(QStringLiteral("D:\\"), table), QStringLiteral("D:"));
}

TEST_F(BaseDirectory, TheTrailingSeparatorIsAddedOnce) {
    dir.write("Korvelan.ini", "[GENERAL]\nBase Directory=/media/cdrom\n");
    GLB_read_base_directory();
    EXPECT_EQ(base(), QStringLiteral("/media/cdrom/"));
    dir.write("Korvelan.ini", "[GENERAL]\nBase Directory=/media/cdrom/\nJust Installed=No\n");
    GLB_read_base_directory();
    EXPECT_EQ(base(), QStringLiteral("/media/cdrom/"));
    dir.write("Korvelan.ini", "[GENERAL]\nBase Directory=\n");
    GLB_read_base_directory();
    EXPECT_EQ(base(), QStringLiteral("/"));
}

TEST_F(BaseDirectory, AskingStoresANewChoiceAndTellsTheListeners) {
    DialogScript script;
    GLB().base_directory = QStringLiteral("/old/");
    int refreshed = 0;
    GLB_on_base_directory_changed([&] { ++refreshed; });

    script.dialogs().directoryAnswers = {QStringLiteral("/media/dvd")};
    EXPECT_TRUE(GLB_ask_for_base_directory());
    EXPECT_EQ(script.directoryCaptions().back(), QStringLiteral("Where are the sounds?"));
    EXPECT_EQ(base(), QStringLiteral("/media/dvd/"));
    EXPECT_EQ(GLB_read_string("GENERAL", "Base Directory", {}), QStringLiteral("/media/dvd/"));
    EXPECT_EQ(refreshed, 1);

    // The same directory again: confirmed, but nothing to store or refresh.
    script.dialogs().directoryAnswers = {QStringLiteral("/media/dvd/")};
    EXPECT_TRUE(GLB_ask_for_base_directory());
    EXPECT_EQ(refreshed, 1);

    // Cancelling keeps what the user had.
    script.dialogs().directoryAnswers = {std::nullopt};
    EXPECT_FALSE(GLB_ask_for_base_directory());
    EXPECT_EQ(base(), QStringLiteral("/media/dvd/"));
    EXPECT_EQ(refreshed, 1);
}
