#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimeZone>

namespace testing_support {

// A folder laid out as a disc: files are written by relative path, each
// with its own contents and an old modification time.
class DiscTree {
  public:
    QString root() const { return dir_.path() + u'/'; }

    void write(const QString& relative, const QByteArray& contents) const {
        const QString path = root() + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write disc file");
        f.write(contents);
        f.flush();
        f.setFileTime(kOldTime, QFileDevice::FileModificationTime);
    }

    // Relative paths of every file below the root, sorted.
    static QStringList files(const QString& root) {
        QStringList found;
        QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) found << QDir(root).relativeFilePath(it.next());
        found.sort();
        return found;
    }

    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static inline const QDateTime kOldTime =
        QDateTime(QDate(2004, 5, 17), QTime(10, 30), Qt::UTC);

  private:
    QTemporaryDir dir_;
};

// A disc with files in six of the seven media folders (no "Voices") and a
// folder the copy leaves alone.
inline void writeSixFolderDisc(const DiscTree& disc) {
    disc.write(QStringLiteral("big_pict/b1.jpg"), QByteArray(3000, 'b'));
    disc.write(QStringLiteral("distmaps/d1.bmp"), QByteArray(2000, 'd'));
    disc.write(QStringLiteral("localities/l1.htm"), "<p>site</p>");
    disc.write(QStringLiteral("smalpict/s1.jpg"), QByteArray(500, 's'));
    disc.write(QStringLiteral("tapes/12/cut1.wav"), QByteArray(5000, 't'));
    disc.write(QStringLiteral("tapes/12/cut2.wav"), QByteArray(7000, 'u'));
    disc.write(QStringLiteral("tapes/3/cut1.mp3"), QByteArray(100, 'v'));
    disc.write(QStringLiteral("Audio CDs/cd1/track01.wav"), QByteArray(9000, 'a'));
    disc.write(QStringLiteral("setup/install.exe"), "not a media file");
}

}  // namespace testing_support
