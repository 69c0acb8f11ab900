#include "utilities/copy_files_thread.h"

#include "formats/textfile.h"
#include "platform/file_copy.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMetaMethod>
#include <QMutexLocker>
#include <algorithm>

namespace {

QString withSeparator(const QString& path) {
    return path.endsWith(u'/') ? path : path + u'/';
}

const QDir::Filters kAllEntries =
    QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;

}  // namespace

const QStringList& GLB_media_folders() {
    static const QStringList folders{QStringLiteral("big_pict"),   QStringLiteral("distmaps"),
                                     QStringLiteral("localities"), QStringLiteral("smalpict"),
                                     QStringLiteral("tapes"),      QStringLiteral("Voices"),
                                     QStringLiteral("Audio CDs")};
    return folders;
}

QStringList GLB_media_folders_in(const QString& root) {
    const QStringList present = QDir(root).entryList(
        QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    QStringList found;
    for (const QString& folder : GLB_media_folders())
        for (const QString& name : present)
            if (name.compare(folder, Qt::CaseInsensitive) == 0) found << name;
    return found;
}

QString GLB_media_folder_target(const QString& targetRoot, const QString& discFolder) {
    const QString root = withSeparator(targetRoot);
    if (QFileInfo(root + discFolder).exists()) return root + discFolder;
    const QStringList present = QDir(root).entryList(
        QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
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
    if (current_name_.empty()) return {};
    return current_folder_ + u'/' + QFile::decodeName(current_name_.c_str());
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
    error_message_.clear();
    // A disc taken out of the drive leaves its mount point empty or gone;
    // skipping the remaining folders then would pass for success.
    const auto discPresent = [this] {
        if (QFileInfo(source_root_).isDir() && !QDir(source_root_).isEmpty(kAllEntries))
            return true;
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

// A folder being copied: both ends open, and their paths for messages.
struct TCopyFilesToHardDiskThread::Folder {
    const platform::OpenFolder& source;
    const platform::OpenFolder& target;
    QString sourcePath;
    QString targetPath;
    QString source_file(const char* name) const {
        return sourcePath + u'/' + QFile::decodeName(name);
    }
    QString target_file(const char* name) const {
        return targetPath + u'/' + QFile::decodeName(name);
    }
};

bool TCopyFilesToHardDiskThread::copy_tree(const QString& source, const QString& target) {
    const platform::OpenFolder from(source);
    // A folder that cannot be listed has nothing to copy, as an empty one.
    if (!from.is_open()) return true;
    const std::vector<platform::OpenFolder::Entry> entries = from.entries();
    if (entries.empty()) return true;
    const platform::OpenFolder into(target);
    if (!into.is_open()) {
        fail(GLB_directory_creation_failure(target));
        return false;
    }
    const Folder folder{from, into, source, target};
    for (const platform::OpenFolder::Entry& entry : entries) {
        if (!keep_going()) return false;
        if (entry.folder) {
            const QString name = QFile::decodeName(entry.name.c_str());
            const QString subfolder = target + u'/' + name;
            if (!make_directory(subfolder) || !copy_tree(source + u'/' + name, subfolder))
                return false;
        } else if (!copy_file(folder, entry.name.c_str())) {
            return false;
        }
    }
    return true;
}

bool TCopyFilesToHardDiskThread::copy_file(const Folder& folder, const char* name) {
    {
        QMutexLocker lock(&mutex_);
        if (current_folder_.constData() != folder.sourcePath.constData())
            current_folder_ = folder.sourcePath;
        current_name_ = name;
    }
    ++files_started_;
    static const QMetaMethod startedSignal =
        QMetaMethod::fromSignal(&TCopyFilesToHardDiskThread::file_started);
    if (isSignalConnected(startedSignal)) emit file_started(folder.source_file(name));

    platform::SourceFile in;
    if (!in.open(folder.source, name)) {
        fail("Could not open \"" + folder.source_file(name) + "\" for reading.");
        return false;
    }
    // Nothing of the copy can ever be seen under its real name before it is
    // complete, and nothing is left behind if the copy stops.
    platform::NewFile out;
    if (!out.create(folder.target, name,
                    QFile::encodeName(temporary_name_for(folder.target_file(name))))) {
        fail("Could not open \"" + folder.target_file(name) + "\" for writing.");
        return false;
    }
    const std::optional<bool> inKernel =
        block_writer_ ? std::nullopt : copy_in_kernel(in, out, folder, name);
    if (inKernel ? !*inKernel : !copy_blocks(in, out, folder, name)) {
        out.discard();
        return false;
    }
    // The disc's time, from the file already open.
    out.set_time_of(in);
    if (!out.publish() || !out.close()) {
        fail("Something went wrong when writing to \"" + folder.target_file(name) + u'"');
        return false;
    }
    return true;
}

bool TCopyFilesToHardDiskThread::copy_blocks(platform::SourceFile& from, platform::NewFile& to,
                                             const Folder& folder, const char* name) {
    buffer_.resize(kBlockSize);
    QFile target;
    if (block_writer_ && !to.open_in(target)) {
        fail("Could not open \"" + folder.target_file(name) + "\" for writing.");
        return false;
    }
    for (;;) {
        if (!keep_going()) return false;
        const qint64 got = from.read(buffer_.data(), qint64(buffer_.size()));
        if (got < 0) {
            fail("Something went wrong when reading from \"" + folder.source_file(name) + u'"');
            return false;
        }
        if (got == 0) return true;
        const qint64 written = block_writer_ ? block_writer_(target, buffer_.data(), got)
                                             : to.write(buffer_.data(), got);
        if (written != got) {
            fail("Something went wrong when writing to \"" + folder.target_file(name) + u'"');
            return false;
        }
    }
}

std::optional<bool> TCopyFilesToHardDiskThread::copy_in_kernel(platform::SourceFile& from,
                                                               platform::NewFile& to,
                                                               const Folder& folder,
                                                               const char* name) {
    const std::optional<platform::CopyEnd> end =
        platform::copy_in_kernel(from, to, kBlockSize, [this] { return keep_going(); });
    if (!end) return std::nullopt;
    switch (*end) {
        case platform::CopyEnd::complete:
            return true;
        case platform::CopyEnd::stopped:
            return false;
        case platform::CopyEnd::read_failed:
            fail("Something went wrong when reading from \"" + folder.source_file(name) + u'"');
            return false;
        case platform::CopyEnd::write_failed:
            break;
    }
    fail("Something went wrong when writing to \"" + folder.target_file(name) + u'"');
    return false;
}
