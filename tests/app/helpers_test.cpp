#include "app/external_programs.h"
#include "app/file_helpers.h"
#include "app/font_helpers.h"
#include "app/globals.h"
#include "app/memory_helpers.h"
#include "app/numbers.h"
#include "app/parsing.h"
#include "platform/dialog_service.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>

using testing_support::DialogScript;
using testing_support::ProgramDirectory;

TEST(FindProgramFile, TriesCurrentThenStartupThenProgramDirectory) {
    ProgramDirectory startup, program;
    GLB().startup_directory = startup.path();
    GLB().program_directory = program.path();
    program.write("names_sc.txt", "p");
    QString path;
    EXPECT_TRUE(GLB_find_program_file("names_sc.txt", path));
    EXPECT_EQ(path, program.file("names_sc.txt"));
    startup.write("names_sc.txt", "s");
    EXPECT_TRUE(GLB_find_program_file("names_sc.txt", path));
    EXPECT_EQ(path, startup.file("names_sc.txt"));
    // An absolute name is tried as it stands, nowhere else.
    EXPECT_FALSE(GLB_find_program_file("/nowhere/names_sc.txt", path));
    EXPECT_EQ(path, QStringLiteral("/nowhere/names_sc.txt"));
    // A directory of that name is no file.
    QDir(program.path()).mkdir(QStringLiteral("taxa.txt"));
    EXPECT_FALSE(GLB_find_program_file("taxa.txt", path));
}

TEST(FileHelpers, CopyKeepsContentsAndDateAndReportsFailures) {
    DialogScript script;
    ProgramDirectory dir;
    const QByteArray contents(2500, 'z');  // more than two blocks
    dir.write("a.wav", contents);
    QFile a(dir.file("a.wav"));
    ASSERT_TRUE(a.open(QIODevice::ReadWrite));
    const QDateTime old = QDateTime::currentDateTime().addDays(-30);
    a.setFileTime(old, QFileDevice::FileModificationTime);
    a.close();
    ASSERT_TRUE(GLB_copy_file(dir.file("a.wav"), dir.file("b.wav")));
    EXPECT_EQ(dir.read("b.wav"), contents);
    EXPECT_LE(std::abs(QFileInfo(dir.file("b.wav")).lastModified().secsTo(old)), 1);
    EXPECT_TRUE(script.messages().empty());

    EXPECT_FALSE(GLB_copy_file(dir.file("missing.wav"), dir.file("c.wav")));
    EXPECT_EQ(script.lastMessage(),
              "Could not open \"" + dir.file("missing.wav") + "\" for reading.");
    EXPECT_FALSE(GLB_copy_file(dir.file("a.wav"), dir.file("no/such/dir/c.wav")));
    EXPECT_EQ(script.lastMessage(),
              "Could not open \"" + dir.file("no/such/dir/c.wav") + "\" for writing.");
}

TEST(FileHelpers, CreateDirectoryRefusesAFileOfTheSameName) {
    DialogScript script;
    ProgramDirectory dir;
    bool error = false;
    GLB_create_directory(dir.file("Playlists"), error);
    EXPECT_FALSE(error);
    EXPECT_TRUE(QFileInfo(dir.file("Playlists")).isDir());
    GLB_create_directory(dir.file("Playlists"), error);  // exists: nothing to do
    EXPECT_FALSE(error);
    dir.write("MP3", "file");
    GLB_create_directory(dir.file("MP3"), error);
    EXPECT_TRUE(error);
    EXPECT_EQ(script.lastMessage(),
              "Procedure \"GLB_create_directory()\" wanted to create subdirectory \"" +
                  dir.file("MP3") + "\", but a file with the same name already exists.");
    error = false;
    GLB_create_directory(dir.file("no/parent"), error);
    EXPECT_TRUE(error);
    EXPECT_TRUE(script.lastMessage().startsWith(
        "Something went wrong in procedure \"GLB_create_directory()\""));
}

TEST(FileHelpers, ListingCountingSizingAndDeleting) {
    DialogScript script;
    ProgramDirectory dir;
    dir.write("copy/tapes/1/a.wav", QByteArray(10, 'a'));
    dir.write("copy/tapes/2/b.wav", QByteArray(20, 'b'));
    dir.write("copy/readme.txt", QByteArray(5, 'r'));
    const QString copy = dir.file("copy");
    EXPECT_EQ(GLB_list_directory(copy, {}), (QStringList{"readme.txt", "tapes"}));
    EXPECT_EQ(GLB_list_directory(
                  copy, {.only_subdirectories = true, .with_path = true, .upper_case = true}),
              QStringList{(copy + "/tapes").toUpper()});
    std::atomic<bool> cancel{true};
    EXPECT_TRUE(GLB_list_directory(copy, {.cancel = &cancel}).isEmpty());
    EXPECT_EQ(GLB_count_files(copy, false), 2);
    EXPECT_EQ(GLB_count_files(copy, true), 6);
    EXPECT_EQ(GLB_total_size(copy), 35);

    script.dialogs().messageAnswers = {platform::answer::No};
    EXPECT_FALSE(GLB_delete_subdirectory_with_confirmation(copy));
    EXPECT_TRUE(QFileInfo::exists(copy));
    EXPECT_EQ(script.lastMessage(), "Is it OK to delete the subdirectory \"" + copy + "\"?");
    EXPECT_EQ(script.messages().back().style, platform::box::QuestionYesNo);
    EXPECT_TRUE(GLB_delete_subdirectory_with_confirmation(copy));  // default answer: Yes
    EXPECT_FALSE(QFileInfo::exists(copy));

    dir.write("other/x/y.txt", "y");
    EXPECT_TRUE(GLB_delete_directory_contents(dir.file("other")));
    EXPECT_EQ(GLB_count_files(dir.file("other"), true), 0);
    EXPECT_FALSE(GLB_remove_directory(dir.file("never-made")));
    EXPECT_EQ(script.messages().back().caption,
              QStringLiteral("Something went wrong when deleting directory:"));
}

TEST(ProcessHelpers, RunProgramWaitsAndReportsWhatCouldNotStart) {
    DialogScript script;
    ProgramDirectory dir;
    bool error = false;
    GLB_run_program("/bin/sh", {"-c", "echo ran > '" + dir.file("out.txt") + "'"}, true, error);
    EXPECT_FALSE(error);
    EXPECT_EQ(dir.read("out.txt"), QByteArray("ran\n"));
    // Arguments are never given to a shell.
    GLB_run_program("/bin/echo", {"; touch " + dir.file("injected")}, true, error);
    EXPECT_FALSE(QFileInfo::exists(dir.file("injected")));
    GLB_run_program("/no/such/editor", {"file.wav"}, false, error);
    EXPECT_TRUE(error);
    EXPECT_EQ(script.lastMessage(),
              QStringLiteral("Could not execute \"/no/such/editor file.wav\".\nError code is 2"));
}

TEST(SmallHelpers, FourNumbersCommaFieldsDecimalsAndSeparators) {
    EXPECT_EQ(GLB_four_numbers_to_text({10, -20, 300, 4}), QStringLiteral("10,-20,300,4"));
    bool error = false;
    EXPECT_EQ(GLB_text_to_four_numbers(QStringLiteral(" 10 , -20,300 ,4"), error),
              (std::array<int, 4>{10, -20, 300, 4}));
    EXPECT_FALSE(error);
    EXPECT_EQ(GLB_text_to_four_numbers(QStringLiteral("10,x,30"), error),
              (std::array<int, 4>{10, 1, 30, 1}));
    EXPECT_TRUE(error);

    QString line = QStringLiteral("-69.57,-22.82,rest");
    EXPECT_EQ(GLB_take_comma_field(line), QStringLiteral("-69.57"));
    EXPECT_EQ(line, QStringLiteral("-22.82,rest"));
    line = QStringLiteral("last");
    EXPECT_EQ(GLB_take_comma_field(line), QStringLiteral("last"));
    EXPECT_TRUE(line.isEmpty());

    EXPECT_DOUBLE_EQ(GLB_read_decimal(QStringLiteral("-0.5"), 9), -0.5);
    EXPECT_DOUBLE_EQ(GLB_read_decimal(QStringLiteral(" 12 "), 9), 12);
    EXPECT_DOUBLE_EQ(GLB_read_decimal(QStringLiteral("-58.17"), 9), -58.17);
    EXPECT_DOUBLE_EQ(GLB_read_decimal(QStringLiteral("abc"), 9), 9);
    EXPECT_DOUBLE_EQ(GLB_read_decimal(QStringLiteral("1,5"), 9), 9);

    QString p = QStringLiteral("/media/cdrom");
    GLB_ensure_trailing_separator(p);
    EXPECT_EQ(p, QStringLiteral("/media/cdrom/"));
    GLB_ensure_trailing_separator(p);
    EXPECT_EQ(p, QStringLiteral("/media/cdrom/"));
    QString empty;
    GLB_ensure_trailing_separator(empty);
    EXPECT_TRUE(empty.isEmpty());
    EXPECT_EQ(GLB_clamp(9, 1, 6), 6);
    EXPECT_EQ(GLB_clamp(-2, 1, 6), 1);
}

TEST(SmallHelpers, MemoryBlocksAndTextMetrics) {
    DialogScript script;
    TGlobalMemory block = GLB_allocate_global_memory(64, true);
    ASSERT_TRUE(block);
    EXPECT_EQ(block->count('\0'), 64);
    GLB_free_global_memory(block);
    EXPECT_FALSE(block);
    EXPECT_TRUE(script.messages().empty());
    GLB_free_global_memory(block);
    EXPECT_EQ(script.lastMessage(), QStringLiteral("GlobalFree with parameter = 0!"));

    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(15);
    EXPECT_GT(GLB_font_height(arial), 10);
    const int average = GLB_average_char_width(arial);
    EXPECT_GT(average, 3);
    EXPECT_LT(average, 15);
    EXPECT_GT(GLB_text_width(arial, QStringLiteral("Tinamidae")),
              GLB_text_width(arial, QStringLiteral("Tina")));
}

TEST(ProcessValues, SineTableAndSeparators) {
    std::array<double, 91> table{};
    GLB_fill_sine_table(table);
    EXPECT_DOUBLE_EQ(table[0], 0.0);
    EXPECT_NEAR(table[30], 0.5, 1e-12);
    EXPECT_DOUBLE_EQ(table[90], 1.0);
    DialogScript script;
    ProgramDirectory dir;
    dir.write("Korvelan.ini", "[GENERAL]\nBeeps=No\nStore Settings between Sessions=Yes\n");
    GLB_initialise_process_values(dir.path(), dir.path());
    EXPECT_TRUE(GLB().beeps_off);
    EXPECT_TRUE(GLB().store_settings_between_sessions);
    EXPECT_TRUE(GLB().modern_platform_family);
    EXPECT_FALSE(GLB().decimal_separator.isNull());
    EXPECT_FALSE(GLB().time_separator.isLetterOrNumber());
    EXPECT_TRUE(script.messages().empty());
}

TEST(ProcessValues, AMissingSettingsFileIsReportedAndTheStartGoesOn) {
    DialogScript script;
    ProgramDirectory dir;
    GLB_initialise_process_values(dir.path(), dir.path());
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_EQ(script.lastMessage(),
              "There is a problem with the file " + dir.file("Korvelan.ini").toUpper());
    EXPECT_FALSE(GLB().beeps_off);  // defaults
    EXPECT_FALSE(GLB().store_settings_between_sessions);
}
