#include "app/editions.h"
#include "app/globals.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>
#include <QGuiApplication>
#include <QSet>

#include <stdexcept>

using testing_support::DialogScript;
using testing_support::ProgramDirectory;

TEST(EditionsTable, OddNumbersAreEnglishAndEvenOnesTheSecondLanguage) {
    const TEdition english = GLB_edition_for_product(1011);
    EXPECT_TRUE(english.known);
    EXPECT_EQ(english.edition_code, 101);
    EXPECT_EQ(english.language, TLanguage::English);
    EXPECT_EQ(english.title, english.title_english);
    const TEdition spanish = GLB_edition_for_product(1012);
    EXPECT_EQ(spanish.edition_code, 101);
    EXPECT_EQ(spanish.language, TLanguage::Spanish);
    EXPECT_NE(spanish.title, spanish.title_english);
    EXPECT_EQ(spanish.short_title(), english.title_english + QStringLiteral(" 1"));
    // English-only rows have no even number.
    EXPECT_FALSE(GLB_edition_for_product(1062).known);
}

TEST(EditionsTable, EveryCodeTheRulesNameHasARowWithItsFlags) {
    QSet<int> codes;
    QSet<int> products;
    for (const TEditionRow& row : GLB_edition_rows()) {
        codes.insert(row.edition_code);
        EXPECT_EQ(row.odd_product_number % 2, 1);
        EXPECT_FALSE(products.contains(row.odd_product_number));
        products.insert(row.odd_product_number);
        if (row.even_product_number) products.insert(row.even_product_number);
    }
    for (int code = 101; code <= 116; ++code) EXPECT_TRUE(codes.contains(code)) << code;
    EXPECT_TRUE(codes.contains(120));
    EXPECT_TRUE(codes.contains(130));
    EXPECT_TRUE(GLB_edition_for_product(1041).has_spoken_names);
    EXPECT_FALSE(GLB_edition_for_product(1011).has_spoken_names);
    EXPECT_TRUE(GLB_edition_for_product(1091).every_species_flag_e);
    EXPECT_TRUE(GLB_edition_for_product(1011).offers_sounds_photos_filter);
}

TEST(EditionsTable, UpdatePageAddsVersionAndLanguagePage) {
    const TEdition spanish = GLB_edition_for_product(1012);
    EXPECT_TRUE(
        spanish.update_page().endsWith(QStringLiteral("/1EnterFromDiskProgramSpanish.htm")));
    EXPECT_TRUE(GLB_edition_for_product(1031).update_page().isEmpty());
}

namespace {

// Reads PROGR_NM.TXT written with the given contents (or none).
TEdition readEditionsFile(const std::optional<QByteArray>& contents, DialogScript& script) {
    ProgramDirectory dir;
    dir.makeCurrentProgramDirectory();
    if (contents) dir.write("PROGR_NM.TXT", *contents);
    GLB_read_editions_file();
    EXPECT_EQ(GLB().message_box_caption, GLB_edition().title);
    EXPECT_EQ(QCoreApplication::applicationName(), GLB_edition().title);
    (void)script;
    const TEdition read = GLB_edition();
    // The program's end, so that the next read is a new start.
    GLB_forget_edition();
    return read;
}

}  // namespace

TEST(EditionsFile, TheEditionsTitleIsNotAppendedToWindowCaptions) {
    // Qt appends an explicitly set display name to every caption; without
    // one the display name follows the application name.
    const TEditionOverride edition(GLB_edition_for_product(1011));
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("probe"));
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QStringLiteral("probe"));
    QCoreApplication::setApplicationName(name);
}

TEST(EditionsFile, ProductNumberPicksTheEdition) {
    DialogScript script;
    const TEdition e = readEditionsFile(QByteArray("1012\r\nanything else\r\n"), script);
    EXPECT_EQ(e.edition_code, 101);
    EXPECT_EQ(e.language, TLanguage::Spanish);
    EXPECT_TRUE(script.messages().empty());
}

TEST(EditionsFile, MissingEmptyGarbledAndUnknownFilesGiveTheUnknownEdition) {
    {
        DialogScript script;
        const TEdition e = readEditionsFile(std::nullopt, script);
        EXPECT_EQ(e.edition_code, 103);
        EXPECT_TRUE(e.title.startsWith(QStringLiteral("Error: Unknown")));
        ASSERT_EQ(script.messages().size(), 1u);
        EXPECT_TRUE(script.lastMessage().contains(QStringLiteral("PROGR_NM.TXT")));
        EXPECT_EQ(script.messages()[0].style, 16);
    }
    {
        DialogScript script;
        const TEdition e = readEditionsFile(QByteArray(), script);
        EXPECT_EQ(e.edition_code, 103);
        ASSERT_EQ(script.messages().size(), 1u);
        EXPECT_EQ(script.lastMessage(), QStringLiteral("\"PROGR_NM.TXT\" is empty!"));
    }
    for (const QByteArray& text :
         {QByteArray("not a number\n"), QByteArray("99999\n"), QByteArray("1011x\n")}) {
        DialogScript script;
        const TEdition e = readEditionsFile(text, script);
        EXPECT_FALSE(e.known) << text.constData();
        EXPECT_EQ(e.edition_code, 103);
        EXPECT_TRUE(e.title.startsWith(QStringLiteral("Error: Unknown")));
    }
}

// The edition is the start's to set, once: a second read before the end
// forgets it is refused and changes nothing; a test's override comes and
// goes with the caption and application name and leaves that rule alone.
TEST(EditionsFile, IsReadOnceUntilTheEndForgetsItAndOverridesComeBackOut) {
    DialogScript script;
    ProgramDirectory dir;
    dir.makeCurrentProgramDirectory();
    dir.write("PROGR_NM.TXT", "1012\n");
    GLB_read_editions_file();
    const TEdition spanish = GLB_edition();
    EXPECT_EQ(spanish.product_number, 1012);

    dir.write("PROGR_NM.TXT", "1011\n");
    EXPECT_THROW(GLB_read_editions_file(), std::logic_error);
    EXPECT_EQ(GLB_edition().product_number, 1012);
    EXPECT_EQ(GLB().message_box_caption, spanish.title);

    {
        const TEditionOverride other(GLB_edition_for_product(1041));
        EXPECT_EQ(GLB_edition().product_number, 1041);
        EXPECT_EQ(GLB().message_box_caption, GLB_edition().title);
        EXPECT_EQ(QCoreApplication::applicationName(), GLB_edition().title);
        EXPECT_THROW(GLB_read_editions_file(), std::logic_error);
    }
    EXPECT_EQ(GLB_edition().product_number, 1012);
    EXPECT_EQ(GLB().message_box_caption, spanish.title);
    EXPECT_EQ(QCoreApplication::applicationName(), spanish.title);

    GLB_forget_edition();
    EXPECT_FALSE(GLB_edition().known);
    GLB_read_editions_file();
    EXPECT_EQ(GLB_edition().product_number, 1011);
    GLB_forget_edition();
    EXPECT_TRUE(script.messages().empty());
}
