#include "formats/textfile.h"
#include "app/messages.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

Ttextfile_handler parse(const char* text) {
    return Ttextfile_handler::fromText(QString::fromUtf8(text));
}

}  // namespace

TEST(TextsFile, SectionsLinesCommentsAndEscapes) {
    const auto t = parse(
        "preamble line\n$ not a header\n$[Menus]  trailing\n&File\n* a comment\n\f form feed\n"
        "word %$@ second # comment\n\nafter empty\n$[EMPTY]\n$[next]\nx\n$junk\nlost line\n");
    EXPECT_EQ(t.line("MENUS", 1), QStringLiteral("&File"));
    EXPECT_EQ(t.line("menus", 2), QStringLiteral("word # second "));
    EXPECT_EQ(t.line("MENUS", 3), QString());
    EXPECT_EQ(t.line("MENUS", 4), QStringLiteral("after empty"));
    EXPECT_EQ(t.section_line_count("MENUS"), 4);
    EXPECT_TRUE(t.has_section("EMPTY"));
    EXPECT_EQ(t.line("EMPTY", 1), QString());
    EXPECT_EQ(t.line("NEXT", 1), QStringLiteral("x"));
    EXPECT_EQ(t.section_line_count("NEXT"), 1);  // "$junk" ends it and "lost line" is outside
    EXPECT_EQ(t.line("MENUS", 0), QString());
    EXPECT_EQ(t.line("MISSING", 1), QString());
}

TEST(TextsFile, LinesPadCutAndStopAtCount) {
    const auto t = parse("$[S]\na\nbbbbbb\nccc\nd\n");
    QStringList target{"stale"};
    t.lines("S", target, 1);
    EXPECT_EQ(target, (QStringList{"a", "bbbbbb"}));
    t.lines("S", target, 4, 3, 10);
    EXPECT_EQ(target, (QStringList{"a  ", "bbbb", "ccc", "d  "}));
    t.lines("NONE", target, 3);
    EXPECT_TRUE(target.isEmpty());
    EXPECT_EQ(t.joined_text("S"), QStringLiteral("abbbbbbcccd"));
}

TEST(TextsFile, ARepeatedSectionKeepsTheFirst) {
    const auto t = parse("$[A]\nfirst\n$[B]\nb\n$[a]\nsecond\n");
    EXPECT_EQ(t.line("A", 1), QStringLiteral("first"));
    EXPECT_EQ(t.section_line_count("A"), 1);
    EXPECT_EQ(t.line("B", 1), QStringLiteral("b"));
}

TEST(TextsFile, CrLfAndWindows1252Files) {
    testing_support::ProgramDirectory dir;
    dir.makeCurrentProgramDirectory();
    dir.write("Korvelan.txt",
              "$[CLASSES]\r\nMam\xed"
              "feros\r\nRanas y Sapos\r\n");
    bool found = false;
    Ttextfile_handler t(QStringLiteral("Korvelan.txt"), found, true);
    EXPECT_TRUE(found);
    EXPECT_EQ(t.line("CLASSES", 1), QStringLiteral("Mamíferos"));
    EXPECT_EQ(t.line("CLASSES", 2), QStringLiteral("Ranas y Sapos"));
}

TEST(TextsFile, AMissingFileIsReportedAndFatalOnlyWhenAsked) {
    testing_support::DialogScript script;
    testing_support::ProgramDirectory dir;
    dir.makeCurrentProgramDirectory();
    bool found = true;
    Ttextfile_handler t(QStringLiteral("Other.txt"), found, false);
    EXPECT_FALSE(found);
    EXPECT_EQ(script.lastMessage(),
              "The text file \"" + dir.file("Other.txt") + "\" was not found!");
    EXPECT_THROW(Ttextfile_handler(QStringLiteral("Other.txt"), found, true), TLoadError);
}

TEST(TextsFile, TheDemoEditionHasEveryTextTheStartReads) {
    testing_support::ProgramDirectory dir;
    dir.makeCurrentProgramDirectory();
    bool found = false;
    Ttextfile_handler t(
        testing_support::sourceTree() + QStringLiteral("/editions/demo/Korvelan.txt"), found,
        false);
    ASSERT_TRUE(found);
    for (const char* section : {"MESSAGES_CAPTION", "OUT_OF_MEMORY", "BASEDIR"})
        EXPECT_FALSE(t.line(section, 1).isEmpty()) << section;
    EXPECT_EQ(t.section_line_count("OTHER_INSTANCE"), 2);
    EXPECT_EQ(t.section_line_count("MENUS"), 22);
    EXPECT_EQ(t.section_line_count("BS_CHILD"), 3);
    for (int n = 3; n <= 5; ++n) EXPECT_FALSE(t.line("BS_DATA", n).isEmpty()) << n;
}

// The program's texts are the start's to load, once: a second load before
// the end drops them is refused and keeps the first; a test's override comes
// and goes without counting as a load; after the end a next start loads anew.
TEST(TextsFile, TheProgramsTextsAreLoadedOnceUntilTheEndDropsThem) {
    testing_support::ProgramDirectory dir;
    dir.makeCurrentProgramDirectory();
    dir.write("Korvelan.txt", "$[MESSAGES_CAPTION]\nFirst\n");
    GLB_load_texts(QStringLiteral("Korvelan.txt"));
    EXPECT_EQ(GLB_text("MESSAGES_CAPTION"), QStringLiteral("First"));

    dir.write("Korvelan.txt", "$[MESSAGES_CAPTION]\nSecond\n");
    EXPECT_THROW(GLB_load_texts(QStringLiteral("Korvelan.txt")), std::logic_error);
    EXPECT_EQ(GLB_text("MESSAGES_CAPTION"), QStringLiteral("First"));
    {
        const TTextsOverride texts(Ttextfile_handler::fromText("$[MESSAGES_CAPTION]\nTest\n"));
        EXPECT_EQ(GLB_text("MESSAGES_CAPTION"), QStringLiteral("Test"));
    }
    EXPECT_EQ(GLB_text("MESSAGES_CAPTION"), QStringLiteral("First"));
    EXPECT_THROW(GLB_load_texts(QStringLiteral("Korvelan.txt")), std::logic_error);

    GLB_free_texts();
    EXPECT_EQ(GLB_text("MESSAGES_CAPTION"), QString());
    GLB_load_texts(QStringLiteral("Korvelan.txt"));
    EXPECT_EQ(GLB_text("MESSAGES_CAPTION"), QStringLiteral("Second"));
    GLB_free_texts();
}
