#include "formats/datafile_reader.h"
#include "app/editions.h"
#include "app/messages.h"
#include "formats/textfile.h"
#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>
#include <QFile>
#include <algorithm>
#include <vector>

using testing_support::DialogScript;
using testing_support::ProgramDirectory;

namespace {

TDataFileReader readerOf(const char* text) {
    TDataFileReader reader;
    reader.open_text(QStringLiteral("/prog/taxa.txt"), QString::fromUtf8(text));
    return reader;
}

}  // namespace

TEST(DataFileReader, NextLineWalksTheFileAndExpandsLineFeeds) {
    auto r = readerOf("first\r\none LINEFEED_ONLY_REPLACERtwo\nlast");
    EXPECT_EQ(r.current_line(), QStringLiteral("first"));
    EXPECT_EQ(r.next_line(), QStringLiteral("one \ntwo"));
    EXPECT_EQ(r.next_line(), QStringLiteral("last"));
    EXPECT_EQ(r.next_line(), QString());
    EXPECT_EQ(r.next_line(), QString());
    EXPECT_TRUE(r.at_end());
}

TEST(DataFileReader, SectionsAreFoundForwardOnlyAndCutToTheCallersSize) {
    auto r = readerOf(
        "@#[FAMILIES] comment\nTinamidae\nRheidae\nCracidae\n@#[ORDERS]\nClements 2000\n"
        "@#[EMPTY]\n@#[LAST]\nx LINEFEED_ONLY_REPLACERy\n");
    QStringList target{"old", "old", "old", "old"};
    int count = -1;
    ASSERT_TRUE(r.read_section("FAMILIES", false, 1, target, count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(target, (QStringList{"Tinamidae", "Rheidae", "", ""}));

    ASSERT_TRUE(r.read_section("ORDERS", false, 5, target, count));
    EXPECT_EQ(count, 1);
    EXPECT_EQ(target.value(0), QStringLiteral("Clements 2000"));
    ASSERT_TRUE(r.read_section("EMPTY", false, 5, target, count));
    EXPECT_EQ(count, 0);
    // A section behind the reading position is not found again.
    EXPECT_FALSE(r.read_section("FAMILIES", false, 5, target, count));
    ASSERT_TRUE(r.read_section("LAST", false, 5, target, count));
    EXPECT_EQ(target.value(0), QStringLiteral("x \ny"));
    // Names compare exactly.
    auto again = readerOf("@#[families]\nx\n");
    EXPECT_FALSE(again.read_section("FAMILIES", false, 5, target, count));
}

TEST(DataFileReader, MissingFilesAndSectionsAreFatalWhenAsked) {
    DialogScript script;
    ProgramDirectory dir;
    dir.makeCurrentProgramDirectory();
    const TTextsOverride texts(Ttextfile_handler::fromText(
        QStringLiteral("$[BS_DATA]\none\ntwo\nIn the data file \nthe section\nis missing.\n")));
    TDataFileReader reader;
    EXPECT_FALSE(reader.open_data_file("people.txt", false));
    try {
        reader.open_data_file("people.txt", true);
        FAIL();
    } catch (const TLoadError& stop) {
        EXPECT_EQ(stop.message(), "File \"" + dir.file("people.txt") + "\" could not be loaded!");
    }
    dir.write("people.txt", "@#[PEOPLE]\nA. Person\n");
    ASSERT_TRUE(reader.open_data_file("people.txt", true));
    QStringList target;
    int count = 0;
    try {
        reader.read_section("LITERATURE", true, 10, target, count);
        FAIL();
    } catch (const TLoadError& stop) {
        EXPECT_EQ(stop.message(), "In the data file " + dir.file("people.txt") +
                                    "\nthe section \"@#[LITERATURE]\" is missing.");
    }
}

TEST(DataFileReader, CorruptLineReportSpeaksTheInterfaceLanguage) {
    DialogScript script;
    const auto report = [](int product) {
        const TEditionOverride edition(GLB_edition_for_product(product));
        try {
            readerOf("x").corrupt_line_report(QStringLiteral("locality.txt"), 17,
                                              QStringLiteral("MANU"));
        } catch (const TLoadError& stop) {
            return stop.message();
        }
        return QString();
    };
    EXPECT_EQ(report(1011), QStringLiteral("locality.txt corrupt! Error 17\nhint: \"MANU\""));
    EXPECT_EQ(report(1012), QStringLiteral("locality.txt corrupto! Error 17\nhint: \"MANU\""));
    EXPECT_EQ(report(1052), QStringLiteral("locality.txt corrupt! Fout 17\nhint: \"MANU\""));
}

namespace {

// Every record of a reader's file ("@#[]" and its lines), decoded.
std::vector<QStringList> recordsOf(TDataFileReader& reader) {
    std::vector<QStringList> records;
    std::vector<QByteArrayView> lines;
    int count = 0;
    while (reader.read_section_bytes(QString(), false, 9, lines, count)) {
        QStringList record;
        for (const QByteArrayView line : lines) record.push_back(reader.text(line));
        records.push_back(record);
    }
    return records;
}

}  // namespace

TEST(DataFileReader, TwoPartsMeetingAtAHeaderReadAsTheWholeFile) {
    QFile file(testing_support::sourceTree() + "/editions/demo/cutparts.txt");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    TDataFileReader whole;
    whole.open_text(QStringLiteral("/prog/cutparts.txt"), text);
    const QByteArrayView bytes = whole.bytes();
    const qsizetype middle = bytes.size() / 2;
    // The middle of the file lies inside a record: the parts meet at the
    // next record's header, never inside a record.
    ASSERT_FALSE(bytes.sliced(middle).startsWith("@#["));
    const qsizetype split = whole.header_at_or_after(middle);
    ASSERT_GT(split, middle);
    ASSERT_LT(split, bytes.size());
    EXPECT_EQ(bytes[split - 1], '\n');
    EXPECT_TRUE(bytes.sliced(split).startsWith("@#[]"));
    EXPECT_EQ(whole.header_at_or_after(split), split);
    EXPECT_EQ(whole.header_at_or_after(0), 0);

    TDataFileReader earlier;
    TDataFileReader later;
    earlier.open_part(whole, 0, split);
    later.open_part(whole, split, bytes.size());
    std::vector<QStringList> joined = recordsOf(earlier);
    const std::vector<QStringList> second = recordsOf(later);
    ASSERT_FALSE(joined.empty());
    ASSERT_FALSE(second.empty());
    joined.insert(joined.end(), second.begin(), second.end());
    TDataFileReader again;
    again.open_text(QStringLiteral("/prog/cutparts.txt"), text);
    const std::vector<QStringList> all = recordsOf(again);
    EXPECT_EQ(joined, all);
    // The later part decodes as the whole file does: names with accents
    // come through.
    const bool accented = std::any_of(second.begin(), second.end(), [](const QStringList& r) {
        return r.join(u'\n').contains(QStringLiteral("Ferrándiz"));
    });
    EXPECT_TRUE(accented);
}

namespace {

// The lines of a text the plain way: split at every line feed, one carriage
// return before it dropped, the placeholder made a line feed.
QStringList linesOf(const QString& text) {
    QStringList lines = text.split(u'\n');
    if (text.endsWith(u'\n')) lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(u'\r')) line.chop(1);
        line.replace(QStringLiteral("LINEFEED_ONLY_REPLACER"), QStringLiteral("\n"));
    }
    return lines;
}

QStringList linesReadBy(TDataFileReader& reader) {
    QStringList lines{reader.current_line()};
    while (!reader.at_end()) lines.push_back(reader.next_line());
    return lines;
}

}  // namespace

TEST(DataFileReader, LinesOfEveryLengthEndWhereTheirFeedIs) {
    // Lines of 0 to 40 bytes, so that feeds fall on every place of the
    // reader's steps through the bytes; some end in CR LF, the last in none.
    QString text;
    for (int length = 0; length <= 40; ++length) {
        QString line;
        for (int i = 0; i < length; ++i) line += QChar(u'a' + (length + i) % 26);
        text += line + (length % 3 == 0 ? QStringLiteral("\r\n") : QStringLiteral("\n"));
    }
    text += QStringLiteral("no feed at the end");
    TDataFileReader reader;
    reader.open_text(QStringLiteral("/prog/taxa.txt"), text);
    EXPECT_EQ(linesReadBy(reader), linesOf(text));

    // A line feed in the last byte: no empty line after it.
    TDataFileReader ending;
    ending.open_text(QStringLiteral("/prog/taxa.txt"), QStringLiteral("abcdefgh\n12345678\n"));
    EXPECT_EQ(linesReadBy(ending), (QStringList{"abcdefgh", "12345678"}));
}

TEST(DataFileReader, TheDemoEditionsRecordsReadAsTheirLines) {
    for (const char* name : {"cutparts.txt", "cupaitem.txt", "locality.txt"}) {
        QFile file(testing_support::sourceTree() + "/editions/demo/" + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QString text = QString::fromUtf8(file.readAll());
        TDataFileReader reader;
        reader.open_text(QStringLiteral("/prog/") + name, text);
        EXPECT_EQ(linesReadBy(reader), linesOf(text)) << name;

        // Record by record, the header lines left out.
        TDataFileReader records;
        records.open_text(QStringLiteral("/prog/") + name, text);
        QStringList read;
        std::vector<QByteArrayView> lines;
        if (QByteArrayView(name) == "cupaitem.txt") {
            for (const QString& header : linesOf(text)) {
                if (!header.startsWith(u"@#[")) continue;
                ASSERT_TRUE(records.read_whole_section_bytes(header.mid(3, header.indexOf(u']') - 3),
                                                             false, lines));
                for (const QByteArrayView line : lines) read.push_back(records.text(line));
            }
        } else {
            while (records.read_whole_section_bytes(QString(), false, lines))
                for (const QByteArrayView line : lines) read.push_back(records.text(line));
        }
        QStringList expected = linesOf(text);
        expected.removeIf([](const QString& line) { return line.startsWith(u"@#["); });
        EXPECT_EQ(read, expected) << name;
    }
}
