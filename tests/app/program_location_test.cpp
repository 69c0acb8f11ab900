#include "app/program_location.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void writeFile(const QString& path, const QByteArray& contents) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(contents);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct KeepInUserFolder {
    explicit KeepInUserFolder(bool keep) { GLB_keep_settings_in_user_folder(keep); }
    ~KeepInUserFolder() { GLB_keep_settings_in_user_folder(false); }
};

}  // namespace

TEST(ProgramLocation, FilesBesideTheProgramWinOverAnInstalledTree) {
    QTemporaryDir prefix;
    const QString bin = prefix.path() + "/bin";
    const QString share = prefix.path() + "/share/korvelan";
    QDir().mkpath(bin);
    writeFile(share + "/PROGR_NM.TXT", "1011\n");

    const TProgramLocation installed = GLB_locate_program_directory(bin);
    EXPECT_TRUE(installed.installed);
    EXPECT_EQ(installed.program_directory, share + u'/');

    writeFile(bin + "/PROGR_NM.TXT", "1011\n");
    const TProgramLocation build = GLB_locate_program_directory(bin);
    EXPECT_FALSE(build.installed);
    EXPECT_EQ(build.program_directory, bin + u'/');

    QTemporaryDir empty;
    EXPECT_EQ(GLB_locate_program_directory(empty.path()).program_directory, empty.path() + u'/')
        << "with nothing found the start names the program's own folder";
}

TEST(ProgramLocation, UserSettingsAreCopiedOnceFromTheProgramDirectory) {
    QTemporaryDir program;
    QTemporaryDir config;
    const QString userFolder = config.path() + "/Korvelan/korvelan";
    writeFile(program.path() + "/Korvelan.ini", "[GENERAL]\nBase Directory=/usr/share/korvelan/base/\n");
    QFile::setPermissions(program.path() + "/Korvelan.ini", QFileDevice::ReadOwner | QFileDevice::ReadGroup);

    EXPECT_EQ(GLB_settings_file_location(program.path(), "Korvelan.ini", userFolder),
              program.path() + "/Korvelan.ini")
        << "a writable build keeps its settings beside the program";

    KeepInUserFolder keep(true);
    const QString own = GLB_settings_file_location(program.path(), "Korvelan.ini", userFolder);
    EXPECT_EQ(own, userFolder + "/Korvelan.ini");
    EXPECT_EQ(readFile(own), readFile(program.path() + "/Korvelan.ini"));
    EXPECT_TRUE(QFileInfo(own).permissions() & QFileDevice::WriteOwner);

    // The user's own settings are never replaced by the program's again.
    writeFile(own, "[GENERAL]\nBase Directory=/home/me/copy/\n");
    EXPECT_EQ(GLB_settings_file_location(program.path(), "Korvelan.ini", userFolder), own);
    EXPECT_EQ(readFile(own), "[GENERAL]\nBase Directory=/home/me/copy/\n");

    QTemporaryDir bare;
    const QString fresh = GLB_settings_file_location(bare.path(), "Korvelan.ini", userFolder + "2");
    EXPECT_EQ(fresh, userFolder + "2/Korvelan.ini");
    EXPECT_FALSE(QFileInfo::exists(fresh)) << "nothing to copy: the start reports the missing file";
}
