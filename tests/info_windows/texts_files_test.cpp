// The demo's English and Spanish texts files offer the same texts.
#include "formats/textfile.h"
#include "support/test_environment.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

QString readFile(const QString& relative) {
    QFile file(testing_support::sourceTree() + relative);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QStringList sectionNames(const QString& text) {
    static const QRegularExpression header(QStringLiteral("^\\$\\[([^\\]]*)\\]"),
                                           QRegularExpression::MultilineOption);
    QStringList names;
    for (auto m = header.globalMatch(text); m.hasNext();) names << m.next().captured(1).toUpper();
    names.sort();
    return names;
}

}  // namespace

TEST(TextsFiles, TheSpanishFileHasEverySectionWithAsManyLines) {
    const QString english = readFile(QStringLiteral("/editions/demo/Korvelan.txt"));
    const QString spanish = readFile(QStringLiteral("/editions/demo-es/Korvelan_es.txt"));
    ASSERT_FALSE(english.isEmpty());
    ASSERT_FALSE(spanish.isEmpty());
    const QStringList sections = sectionNames(english);
    EXPECT_EQ(sections, sectionNames(spanish));
    const Ttextfile_handler en = Ttextfile_handler::fromText(english);
    const Ttextfile_handler es = Ttextfile_handler::fromText(spanish);
    for (const QString& section : sections) {
        EXPECT_EQ(en.section_line_count(section), es.section_line_count(section)) << section.toStdString();
        // A translated line is never left empty where the English one has words.
        for (int n = 1; n <= en.section_line_count(section); ++n)
            if (!en.line(section, n).trimmed().isEmpty()) {
                EXPECT_FALSE(es.line(section, n).trimmed().isEmpty()) << section.toStdString() << n;
            }
    }
}

TEST(TextsFiles, TheSpanishEditionNamesItsOwnTextsAndProduct) {
    EXPECT_EQ(readFile(QStringLiteral("/editions/demo-es/PROGR_NM.TXT")).trimmed(), QStringLiteral("1012"));
    EXPECT_TRUE(readFile(QStringLiteral("/editions/demo-es/Korvelan.ini.in"))
                    .contains(QStringLiteral("Text File=Korvelan_es.txt")));
}
