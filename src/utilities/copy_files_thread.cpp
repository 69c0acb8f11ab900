#include "utilities/copy_files_thread.h"

#include "formats/textfile.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMutexLocker>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

QString withSeparator(const QString& path) {
    return path.endsWith(u'/') ? path : path + u'/';
}

const QDir::Filters kAllEntries = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;

}  // namespace

const QStringList& GLB_media_folders() {
    static const QStringList folders{QStringLiteral("big_pict"), QStringLiteral("distmaps"),
                                     QStringLiteral("localities"), QStringLiteral("smalpict"),
                                     QStringLiteral("tapes"),    QStringLiteral("Voices"),
                                     QStringLiteral("Audio CDs")};
    return folders;
}

QStringList GLB_media_folders_in(const QString& root) {
    const QStringList present =
        QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                             QDir::Name);
    QStringList found;
    for (const QString& folder : GLB_media_folders())
        for (const QString& name : present)
            if (name.compare(folder, Qt::CaseInsensitive) == 0) found << name;
    return found;
}

QString GLB_media_folder_target(const QString& targetRoot, const QString& discFolder) {
    const QString root = withSeparator(targetRoot);
    if (QFileInfo(root + discFolder).exists()) return root + discFolder;
    const QStringList present =
        QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                             QDir::Name);
    for (const QString& name : present)
        if (name.compare(discFolder, Qt::CaseInsensitive) == 0) return root + name;
    return root + discFolder;
}

int GLB_count_media_files(const QString& root) {
    int count = 0;
    for (const QString& folder : GLB_media_folders_in(root)) {
        QDirIterator it(withSeparator(root) + folder, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            ++count;
        }
    }
    return count;
}

qint64 GLB_media_bytes_to_add(const QString& sourceRoot, const QString& targetRoot) {
    qint64 total = 0;
    const QString source = withSeparator(sourceRoot);
    const QString target = withSeparator(targetRoot);
    for (const QString& folder : GLB_media_folders_in(source)) {
        const QString from = source + folder;
        const QString into = GLB_media_folder_target(target, folder);
        QDirIterator it(from, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo file = it.nextFileInfo();
            const QFileInfo replaced(into + file.filePath().mid(from.size()));
            total += std::max<qint64>(0, file.size() - (replaced.isFile() ? replaced.size() : 0));
        }
    }
    return total;
}

QString GLB_directory_creation_failure(const QString& directory) {
    return "Something went wrong in procedure \"GLB_create_directory()\" when creating "
           "subdirectory \"" +
           directory + "\".";
}

TCopyFilesToHardDiskThread::TCopyFilesToHardDiskThread(const QString& targetRoot,
                                                       const QString& sourceRoot, QObject* parent)
    : QThread(parent),
      target_root_(withSeparator(targetRoot)),
      source_root_(withSeparator(sourceRoot)),
      disc_gone_text_(GLB_text(QStringLiteral("COPY_TO_HARD_DISK"), 20)),
      block_writer_() {}

TCopyFilesToHardDiskThread::~TCopyFilesToHardDiskThread() {
    set_abort();
    wait();
}

QString TCopyFilesToHardDiskThread::temporary_name_for(const QString& targetFile) {
    const QFileInfo info(targetFile);
    return info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".korvelan-part");
}

void TCopyFilesToHardDiskThread::set_abort() {
    QMutexLocker lock(&mutex_);
    abort_ = true;
    resumed_.wakeAll();
}

void TCopyFilesToHardDiskThread::pause() {
    QMutexLocker lock(&mutex_);
    paused_ = true;
    pause_requested_ = true;
}

void TCopyFilesToHardDiskThread::resume() {
    QMutexLocker lock(&mutex_);
    paused_ = false;
    pause_requested_ = false;
    resumed_.wakeAll();
}

bool TCopyFilesToHardDiskThread::is_paused() const {
    QMutexLocker lock(&mutex_);
    return paused_;
}

QString TCopyFilesToHardDiskThread::current_file_name() const {
    QMutexLocker lock(&mutex_);
    return current_file_;
}

bool TCopyFilesToHardDiskThread::keep_going() {
    if (pause_requested_.load()) {
        QMutexLocker lock(&mutex_);
        while (paused_ && !abort_) resumed_.wait(&mutex_);
    }
    return !abort_.load();
}

void TCopyFilesToHardDiskThread::fail(const QString& message) {
    if (error_message_.isEmpty()) error_message_ = message;
}

void TCopyFilesToHardDiskThread::run() {
    buffer_.resize(kBlockSize);
    error_message_.clear();
    // A disc taken out of the drive leaves its mount point empty or gone;
    // skipping the remaining folders then would pass for success.
    const auto discPresent = [this] {
        if (QFileInfo(source_root_).isDir() && !QDir(source_root_).isEmpty(kAllEntries)) return true;
        fail(disc_gone_text_ + QStringLiteral(" \"") + source_root_ + u'"');
        return false;
    };
    bool ok = discPresent();
    for (const QString& folder : GLB_media_folders_in(source_root_)) {
        if (!ok || !keep_going()) break;
        if (!(ok = discPresent())) break;
        const QString source = source_root_ + folder;
        if (!QFileInfo(source).isDir()) continue;
        ok = copy_folder(source, GLB_media_folder_target(target_root_, folder));
    }
    buffer_ = {};
    if (abort_requested()) return;
    emit copy_ended(ok, error_message_);
}

bool TCopyFilesToHardDiskThread::make_directory(const QString& directory) {
    const QFileInfo info(directory);
    if (info.isDir()) return true;
    if (info.exists()) {
        fail("Procedure \"GLB_create_directory()\" wanted to create subdirectory \"" + directory +
             "\", but a file with the same name already exists.");
        return false;
    }
    if (!QDir().mkdir(directory)) {
        fail(GLB_directory_creation_failure(directory));
        return false;
    }
    return true;
}

bool TCopyFilesToHardDiskThread::copy_folder(const QString& source, const QString& target) {
    if (!make_directory(target)) return false;
    return copy_tree(source, target);
}

bool TCopyFilesToHardDiskThread::copy_tree(const QString& source, const QString& target) {
    const QFileInfoList entries =
        QDir(source).entryInfoList(kAllEntries, QDir::Name | QDir::DirsLast);
    for (const QFileInfo& entry : entries) {
        if (!keep_going()) return false;
        const QString into = target + u'/' + entry.fileName();
        if (entry.isDir()) {
            // A link to a folder could lead back into the tree being copied.
            if (entry.isSymLink()) continue;
            if (!make_directory(into) || !copy_tree(entry.filePath(), into)) return false;
        } else if (!copy_file(entry.filePath(), into, entry.lastModified())) {
            return false;
        }
    }
    return true;
}

bool TCopyFilesToHardDiskThread::copy_file(const QString& source, const QString& target,
                                           const QDateTime& modified) {
    {
        QMutexLocker lock(&mutex_);
        current_file_ = source;
    }
    ++files_started_;
    emit file_started(source);

    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        fail("Could not open \"" + source + "\" for reading.");
        return false;
    }
    // Read ahead further, as for any file read from start to end.
    ::posix_fadvise(in.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
    const QString temporary = temporary_name_for(target);
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        fail("Could not open \"" + target + "\" for writing.");
        return false;
    }
    auto discard = [&] {
        out.close();
        QFile::remove(temporary);
        return false;
    };
    const std::optional<bool> inKernel =
        block_writer_ ? std::nullopt : copy_in_kernel(in, out, source, target);
    if (inKernel && !*inKernel) return discard();
    for (bool done = inKernel.has_value(); !done;) {
        if (!keep_going()) return discard();
        const qint64 got = in.read(buffer_.data(), kBlockSize);
        if (got < 0) {
            fail("Something went wrong when reading from \"" + source + u'"');
            return discard();
        }
        if (got == 0) break;
        const qint64 written =
            block_writer_ ? block_writer_(out, buffer_.data(), got) : out.write(buffer_.data(), got);
        if (written != got) {
            fail("Something went wrong when writing to \"" + target + u'"');
            return discard();
        }
    }
    // The time the listing read: asking the file again costs a call per file.
    out.setFileTime(modified, QFileDevice::FileModificationTime);
    out.close();
    if (out.error() != QFileDevice::NoError ||
        std::rename(QFile::encodeName(temporary).constData(),
                    QFile::encodeName(target).constData()) != 0) {
        fail("Something went wrong when writing to \"" + target + u'"');
        QFile::remove(temporary);
        return false;
    }
    return true;
}

std::optional<bool> TCopyFilesToHardDiskThread::copy_in_kernel(QFile& in, QFile& out,
                                                               const QString& source,
                                                               const QString& target) {
    const int from = in.handle();
    const int to = out.handle();
    bool first = true;
    for (;;) {
        if (!keep_going()) return false;
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, kBlockSize, 0);
        if (n == 0) return true;
        if (n > 0) {
            first = false;
            continue;
        }
        if (errno == EINTR) continue;
        const bool unsupported = errno == EXDEV || errno == EINVAL || errno == ENOSYS ||
                                 errno == EOPNOTSUPP || errno == EBADF;
        if (first && unsupported) return std::nullopt;
        fail(errno == EIO ? "Something went wrong when reading from \"" + source + u'"'
                          : "Something went wrong when writing to \"" + target + u'"');
        return false;
    }
}
