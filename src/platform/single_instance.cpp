#include "platform/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>
#include <QThread>

namespace platform {

QString SingleInstanceMarker::pathFor(const QString& name) {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    // Names hold blanks and any characters of an edition title: hash them.
    const QByteArray hash =
        QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QDir(dir).filePath(QStringLiteral("korvelan-") + QString::fromLatin1(hash) +
                              QStringLiteral(".lock"));
}

SingleInstanceMarker::SingleInstanceMarker(const QString& name) : path_(pathFor(name)) {
    fd_ = ::open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) return;  // no marker possible: behave as the only copy
    // Every copy keeps a shared hold; an exclusive try fails while any copy runs.
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        ::flock(fd_, LOCK_SH);
        return;
    }
    alreadyExisted_ = true;
    // A copy that is just starting holds the exclusive lock for a moment.
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (::flock(fd_, LOCK_SH | LOCK_NB) == 0) return;
        QThread::msleep(10);
    }
}

SingleInstanceMarker::~SingleInstanceMarker() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform
