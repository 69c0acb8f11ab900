#include "platform/ini_store.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using platform::IniStore;

namespace {

std::optional<QString> value(const char* contents, const char* section, const char* key) {
    return IniStore::valueIn(QByteArray(contents), QString::fromUtf8(section),
                             QString::fromUtf8(key));
}

}  // namespace

TEST(IniReading, NamesAreCaseInsensitiveAndBlanksAreTrimmed) {
    const char* ini = "[General]\n  Base Directory  =  /media/cdrom/  \n";
    EXPECT_EQ(value(ini, "GENERAL", "base directory"), QStringLiteral("/media/cdrom/"));
    EXPECT_EQ(value(ini, " general ", "BASE DIRECTORY"), QStringLiteral("/media/cdrom/"));
    EXPECT_EQ(value(ini, "GENERAL", "Other"), std::nullopt);
    EXPECT_EQ(value(ini, "Missing", "Base Directory"), std::nullopt);
}

TEST(IniReading, QuotesSemicolonsAndEqualSignsInValues) {
    const char* ini =
        "[S]\nquoted=\"  padded  \"\nhalf=\"open\nsemi=value ; not a comment\nabc=b=c\n";
    EXPECT_EQ(value(ini, "S", "quoted"), QStringLiteral("  padded  "));
    EXPECT_EQ(value(ini, "S", "half"), QStringLiteral("\"open"));
    EXPECT_EQ(value(ini, "S", "semi"), QStringLiteral("value ; not a comment"));
    EXPECT_EQ(value(ini, "S", "abc"), QStringLiteral("b=c"));
}

TEST(IniReading, FirstDuplicateWinsAndGarbageIsNoKey) {
    const char* ini =
        "garbage before any section\n[A]\nkey=first\nkey=second\njust some words\n[a]\nkey=third\n"
        "[B]\n=no name\n";
    EXPECT_EQ(value(ini, "A", "key"), QStringLiteral("first"));
    EXPECT_EQ(value(ini, "A", "just some words"), std::nullopt);
    EXPECT_EQ(value(ini, "B", ""), QStringLiteral("no name"));
}

TEST(IniReading, CrLfAndMissingFinalNewline) {
    EXPECT_EQ(value("[A]\r\nx=1\r\ny=2", "A", "y"), QStringLiteral("2"));
    EXPECT_EQ(value("[A]\r\nx=1\r\n", "A", "x"), QStringLiteral("1"));
}

TEST(IniReading, IntegersTakeLeadingDigits) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.ini"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[N]\na=42abc\nb=-7\nc=abc\nd=\ne= 12 \n");
    f.close();
    EXPECT_EQ(IniStore::readInt(path, "N", "a", 5), 42);
    EXPECT_EQ(IniStore::readInt(path, "N", "b", 5), -7);
    EXPECT_EQ(IniStore::readInt(path, "N", "c", 5), 0);
    EXPECT_EQ(IniStore::readInt(path, "N", "d", 5), 5);
    EXPECT_EQ(IniStore::readInt(path, "N", "e", 5), 12);
    EXPECT_EQ(IniStore::readInt(path, "N", "missing", 5), 5);
}

TEST(IniWriting, ReplacesOnlyItsOwnLineByteForByte) {
    const QByteArray before =
        "; settings\r\n[General]\r\nBeeps = Yes\r\nBase Directory=old\r\n\r\n[Window 1]\r\n"
        "Coord=1,2,3,4\r\nweird line without equals\r\n";
    const QByteArray after = IniStore::withValue(before, "GENERAL", "base directory", "/new/");
    EXPECT_EQ(after,
              QByteArray("; settings\r\n[General]\r\nBeeps = Yes\r\nbase directory=/new/\r\n\r\n"
                         "[Window 1]\r\nCoord=1,2,3,4\r\nweird line without equals\r\n"));
}

TEST(IniWriting, NewKeysJoinTheirSectionAndNewSectionsGoAtTheEnd) {
    const QByteArray before = "[A]\nx=1\n\n[B]\ny=2";
    EXPECT_EQ(IniStore::withValue(before, "a", "z", "3"), QByteArray("[A]\nx=1\nz=3\n\n[B]\ny=2"));
    EXPECT_EQ(IniStore::withValue(before, "B", "z", "3"),
              QByteArray("[A]\nx=1\n\n[B]\ny=2\nz=3\n"));
    EXPECT_EQ(IniStore::withValue(before, "C", "k", "v"),
              QByteArray("[A]\nx=1\n\n[B]\ny=2\n[C]\nk=v\n"));
    EXPECT_EQ(IniStore::withValue({}, "C", "k", "v"), QByteArray("[C]\nk=v\n"));
    // Only the first of duplicate sections is ever read, so only it is written.
    EXPECT_EQ(IniStore::withValue("[A]\nk=1\n[A]\nk=2\n", "A", "k", "9"),
              QByteArray("[A]\nk=9\n[A]\nk=2\n"));
}

TEST(IniWriting, ValuesCannotBreakTheFileApart) {
    const QByteArray after = IniStore::withValue("[A]\n", "A", "k", "two\nlines\r\n[B]");
    EXPECT_EQ(IniStore::valueIn(after, "A", "k"), QStringLiteral("two lines  [B]"));
    EXPECT_EQ(IniStore::valueIn(after, "B", "k"), std::nullopt);
}

TEST(IniWriting, HugeValuesRoundTripAndOtherLinesSurvive) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.ini"));
    const QByteArray prefix = "[Keep]\r\nthis=stays\r\n";
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(prefix + "[Big]\r\nhuge=" + QByteArray(1 << 20, 'x') + "\r\n");
    f.close();
    EXPECT_EQ(IniStore::read(path, "Big", "huge")->size(), 1 << 20);
    ASSERT_TRUE(IniStore::write(path, "Big", "other", "1"));
    ASSERT_TRUE(IniStore::write(path, "Big", "huge", "small"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), prefix + "[Big]\r\nhuge=small\r\nother=1\r\n");
}

TEST(IniWriting, AFailedWriteIsReportedAndChangesNothing) {
    QTemporaryDir dir;
    // A directory where the settings file should be cannot be replaced.
    const QString path = dir.filePath(QStringLiteral("Korvelan.ini"));
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/inside")));
    EXPECT_FALSE(IniStore::write(path, "A", "k", "new"));
    EXPECT_TRUE(QFileInfo(path + QStringLiteral("/inside")).isDir());
}
