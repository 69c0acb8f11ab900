#include "platform/drives.h"
#include "platform/paths.h"
#include "platform/text_encoding.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace platform;

TEST(Drives, TheLongestMountPointDecidesTheFileSystem) {
    const QString table = QStringLiteral(
        "/dev/vda / ext4 rw 0 0\n"
        "/dev/sr0 /media/cdrom iso9660 ro 0 0\n"
        "/dev/sr1 /media/dvd\\040disc udf ro 0 0\n"
        "tmpfs /media/cdrom-copy tmpfs rw 0 0\n");
    EXPECT_EQ(fileSystemTypeOf("/media/cdrom/tapes/1", table), QStringLiteral("iso9660"));
    EXPECT_EQ(fileSystemTypeOf("/media/cdrom", table), QStringLiteral("iso9660"));
    EXPECT_EQ(fileSystemTypeOf("/media/cdrom-copy/x", table), QStringLiteral("tmpfs"));
    EXPECT_EQ(fileSystemTypeOf("/media/dvd disc/big_pict", table), QStringLiteral("udf"));
    EXPECT_EQ(fileSystemTypeOf("/home/user", table), QStringLiteral("ext4"));
    EXPECT_EQ(mountPointOf("/media/cdrom/tapes", table), QStringLiteral("/media/cdrom"));
    EXPECT_EQ(fileSystemTypeOf("/x", QString()), QString());
}

TEST(Paths, DataPathsFindFilesWhatEverTheirLetterCase) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Voices/Lang1/TINAMIDAE")));
    QFile f(dir.filePath(QStringLiteral("Voices/Lang1/TINAMIDAE/1001.wav")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    const QString composed = dir.path() + QStringLiteral("\\voices\\lang1\\Tinamidae\\1001.WAV");
    EXPECT_EQ(resolveCaseInsensitive(composed),
              dir.filePath(QStringLiteral("Voices/Lang1/TINAMIDAE/1001.wav")));
    const QString missing = dir.path() + QStringLiteral("/voices/lang2/x.wav");
    EXPECT_EQ(resolveCaseInsensitive(missing), missing);
    EXPECT_EQ(nativePath(QStringLiteral("tapes\\12\\A03.wav")), QStringLiteral("tapes/12/A03.wav"));
}

TEST(TextEncoding, Utf8WhenValidElseWindows1252) {
    EXPECT_EQ(decodeText("Per\xc3\xba"), QStringLiteral("Perú"));
    EXPECT_EQ(decodeText("Per\xfa"), QStringLiteral("Perú"));
    EXPECT_EQ(decodeText("\x93quoted\x94 \x80"), QStringLiteral("“quoted” €"));
    // The formatted-text codes stay single characters.
    EXPECT_EQ(decodeText("\x0bitalic\x0b"), QStringLiteral("\x0bitalic\x0b"));
}
