#include "app/settings.h"
#include "app/globals.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>

using testing_support::ProgramDirectory;

namespace {

class Settings : public ::testing::Test {
  protected:
    void SetUp() override { dir.makeCurrentProgramDirectory(); }
    void TearDown() override { GLB().settings_file_on_cdrom = false; }
    ProgramDirectory dir;
};

}  // namespace

TEST_F(Settings, FlagsReadTheirFirstLetter) {
    dir.write("Korvelan.ini",
              "[F]\na=true\nb=TRUE\nc=Yes\nd=No\ne=0\nf=\ng=false\nh=y\ni=Tuesday\n");
    for (const char* key : {"a", "b", "c", "h", "i"})
        EXPECT_TRUE(GLB_read_flag("F", key, false)) << key;
    for (const char* key : {"d", "e", "f", "g"}) EXPECT_FALSE(GLB_read_flag("F", key, true)) << key;
    EXPECT_TRUE(GLB_read_flag("F", "absent", true));
    EXPECT_FALSE(GLB_read_flag("F", "absent", false));
    GLB_write_flag("F", "written", true);
    EXPECT_EQ(GLB_read_string("F", "written", {}), QStringLiteral("Yes"));
}

TEST_F(Settings, SetsOfSmallNumbers) {
    TSmallNumberSet expected;
    expected.set(3);
    expected.set(78);
    EXPECT_EQ(GLB_parse_set(QStringLiteral("3--7x8-300-")), expected);
    EXPECT_EQ(GLB_parse_set(QString()), TSmallNumberSet());
    EXPECT_EQ(GLB_parse_set(QStringLiteral("0-256-99999999999999")), TSmallNumberSet());
    TSmallNumberSet edges;
    edges.set(1);
    edges.set(255);
    EXPECT_EQ(GLB_parse_set(QStringLiteral("255-1")), edges);
    EXPECT_EQ(GLB_format_set(edges), QStringLiteral("1-255"));

    TSmallNumberSet set;
    for (int n : {17, 2, 5}) set.set(n);
    GLB_write_set("CDS", "Visible", set);
    EXPECT_EQ(GLB_read_string("CDS", "Visible", {}), QStringLiteral("2-5-17"));
    EXPECT_EQ(GLB_read_set("CDS", "Visible", {}), set);
    EXPECT_EQ(GLB_read_set("CDS", "Absent", edges), edges);
    // Only the first 1000 characters count.
    EXPECT_FALSE(GLB_parse_set(QString(999, u'-') + QStringLiteral("-42")).test(42));
}

TEST_F(Settings, TextsAndIntegersRoundTrip) {
    GLB_write_string("GENERAL", "Base Directory", QStringLiteral("/media/cdrom/"));
    GLB_write_int("GENERAL", "Text Size", -15);
    EXPECT_EQ(GLB_read_string("general", "base directory", {}), QStringLiteral("/media/cdrom/"));
    EXPECT_EQ(GLB_read_int("GENERAL", "Text Size", 0), -15);
    EXPECT_EQ(GLB_read_int("GENERAL", "Absent", 15), 15);
    dir.write("Korvelan.ini", "[GENERAL]\nlong=" + QByteArray(20000, 'a') + "\n");
    EXPECT_EQ(GLB_read_string("GENERAL", "long", {}).size(), 10000);
}

TEST_F(Settings, WritesToASettingsFileOnCdRomAreDropped) {
    dir.write("Korvelan.ini", "[GENERAL]\nBeeps=Yes\n");
    GLB().settings_file_on_cdrom = true;
    GLB_write_flag("GENERAL", "Beeps", false);
    EXPECT_EQ(dir.read("Korvelan.ini"), QByteArray("[GENERAL]\nBeeps=Yes\n"));
    // A file named explicitly is always written.
    GLB_write_flag("GENERAL", "Beeps", false, dir.file("Korvelan.ini"));
    EXPECT_FALSE(GLB_read_flag("GENERAL", "Beeps", true));
}
