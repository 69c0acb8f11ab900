#include "utilities/copy_files_thread.h"

#include "formats/textfile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMetaMethod>
#include <QMutexLocker>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>

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

namespace {

// A descriptor closed when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }
    int get() const { return fd_; }
    void assign(int fd) {
        reset();
        fd_ = fd;
    }
    bool valid() const { return fd_ >= 0; }
    // Closes now; false when closing reports an error (a write that failed late).
    bool reset() {
        const int fd = std::exchange(fd_, -1);
        return fd < 0 || ::close(fd) == 0;
    }

  private:
    int fd_;
};

int openDirectory(const QString& path) {
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

struct Entry {
    std::string name;
    bool directory = false;
};

// The entries of a folder as the copy takes them: files first, then
// folders, each by name; links to folders left out, since one could lead
// back into the tree being copied. Only entries whose kind the listing does
// not tell are asked about.
std::vector<Entry> listFolder(int folder) {
    std::vector<Entry> entries;
    const int listing = ::dup(folder);
    if (listing < 0) return entries;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return entries;
    }
    while (const dirent* e = ::readdir(dir)) {
        const char* name = e->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        bool directory = e->d_type == DT_DIR;
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st {};
            bool link = e->d_type == DT_LNK;
            if (!link && ::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                link = S_ISLNK(st.st_mode);
            if (::fstatat(folder, name, &st, 0) == 0 && S_ISDIR(st.st_mode)) {
                if (link) continue;
                directory = true;
            }
        }
        entries.push_back({name, directory});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.directory != b.directory ? b.directory : a.name < b.name;
    });
    return entries;
}

}  // namespace

// A folder being copied: both ends open, and their paths for messages.
struct TCopyFilesToHardDiskThread::Folder {
    int source = -1;
    int target = -1;
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
    const Descriptor from(openDirectory(source));
    // A folder that cannot be listed has nothing to copy, as an empty one.
    if (!from.valid()) return true;
    const std::vector<Entry> entries = listFolder(from.get());
    if (entries.empty()) return true;
    const Descriptor into(openDirectory(target));
    if (!into.valid()) {
        fail(GLB_directory_creation_failure(target));
        return false;
    }
    const Folder folder{from.get(), into.get(), source, target};
    for (const Entry& entry : entries) {
        if (!keep_going()) return false;
        if (entry.directory) {
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

    const Descriptor in(::openat(folder.source, name, O_RDONLY | O_CLOEXEC));
    struct stat st {};
    if (!in.valid() || ::fstat(in.get(), &st) != 0) {
        fail("Could not open \"" + folder.source_file(name) + "\" for reading.");
        return false;
    }
    // Read ahead further, as for any file read from start to end.
    ::posix_fadvise(in.get(), 0, 0, POSIX_FADV_SEQUENTIAL);

    // Written without a name where the file system allows it: nothing of it
    // can ever be seen under its real name before it is complete, and
    // nothing is left behind if the copy stops.
    // Naming it needs the process's descriptors in /proc.
    static const bool canName = ::access("/proc/self/fd", X_OK) == 0;
    bool unnamed = canName;
    Descriptor out(canName ? ::openat(folder.target, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666)
                           : -1);
    if (!out.valid()) {
        unnamed = false;
        out.assign(
            ::openat(folder.target,
                     QFile::encodeName(temporary_name_for(folder.target_file(name))).constData(),
                     O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    }
    if (!out.valid()) {
        fail("Could not open \"" + folder.target_file(name) + "\" for writing.");
        return false;
    }
    const auto discard = [&] {
        out.reset();
        if (!unnamed)
            ::unlinkat(folder.target,
                       QFile::encodeName(temporary_name_for(folder.target_file(name))).constData(),
                       0);
        return false;
    };
    const std::optional<bool> inKernel =
        block_writer_ ? std::nullopt
                      : copy_in_kernel(in.get(), out.get(), S_ISREG(st.st_mode) ? st.st_size : -1,
                                       folder, name);
    if (inKernel ? !*inKernel : !copy_blocks(in.get(), out.get(), folder, name)) return discard();
    // The disc's time, from the descriptor already open.
    const timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
    ::futimens(out.get(), times);
    if (!name_file(out.get(), unnamed, folder, name)) return discard();
    if (!out.reset()) {
        ::unlinkat(folder.target, name, 0);
        fail("Something went wrong when writing to \"" + folder.target_file(name) + u'"');
        return false;
    }
    return true;
}

bool TCopyFilesToHardDiskThread::name_file(int fd, bool unnamed, const Folder& folder,
                                           const char* name) {
    const QByteArray temporary = QFile::encodeName(temporary_name_for(folder.target_file(name)));
    if (unnamed) {
        char self[32];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
        if (::linkat(AT_FDCWD, self, folder.target, name, AT_SYMLINK_FOLLOW) == 0) return true;
        // A file there already (a refresh) is replaced in one step: the
        // complete copy is linked in under the temporary name and renamed
        // over it. A temporary left by a copy that was cut off goes first.
        const bool there = errno == EEXIST;
        if (there) ::unlinkat(folder.target, temporary.constData(), 0);
        if (!there || ::linkat(AT_FDCWD, self, folder.target, temporary.constData(),
                               AT_SYMLINK_FOLLOW) != 0) {
            fail("Something went wrong when writing to \"" + folder.target_file(name) + u'"');
            return false;
        }
    }
    if (::renameat(folder.target, temporary.constData(), folder.target, name) != 0) {
        fail("Something went wrong when writing to \"" + folder.target_file(name) + u'"');
        ::unlinkat(folder.target, temporary.constData(), 0);
        return false;
    }
    return true;
}

bool TCopyFilesToHardDiskThread::copy_blocks(int from, int to, const Folder& folder,
                                             const char* name) {
    buffer_.resize(kBlockSize);
    QFile target;
    if (block_writer_ && !target.open(to, QIODevice::WriteOnly | QIODevice::Unbuffered,
                                      QFileDevice::DontCloseHandle)) {
        fail("Could not open \"" + folder.target_file(name) + "\" for writing.");
        return false;
    }
    for (;;) {
        if (!keep_going()) return false;
        const ssize_t got = ::read(from, buffer_.data(), buffer_.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            fail("Something went wrong when reading from \"" + folder.source_file(name) + u'"');
            return false;
        }
        if (got == 0) return true;
        qint64 written = 0;
        if (block_writer_) {
            written = block_writer_(target, buffer_.data(), got);
        } else {
            while (written < got) {
                const ssize_t n = ::write(to, buffer_.data() + written, size_t(got - written));
                if (n < 0 && errno == EINTR) continue;
                if (n <= 0) break;
                written += n;
            }
        }
        if (written != got) {
            fail("Something went wrong when writing to \"" + folder.target_file(name) + u'"');
            return false;
        }
    }
}

std::optional<bool> TCopyFilesToHardDiskThread::copy_in_kernel(int from, int to, qint64 size,
                                                               const Folder& folder,
                                                               const char* name) {
    bool first = true;
    qint64 copied = 0;
    // A file of known size is done when that much is copied: asking once
    // more only to hear the end costs a call per file.
    while (size < 0 || copied < size || first) {
        if (!keep_going()) return false;
        const ssize_t n = ::copy_file_range(from, nullptr, to, nullptr, kBlockSize, 0);
        if (n == 0) return true;
        if (n > 0) {
            first = false;
            copied += n;
            continue;
        }
        if (errno == EINTR) continue;
        const bool unsupported = errno == EXDEV || errno == EINVAL || errno == ENOSYS ||
                                 errno == EOPNOTSUPP || errno == EBADF;
        if (first && unsupported) return std::nullopt;
        fail(errno == EIO
                 ? "Something went wrong when reading from \"" + folder.source_file(name) + u'"'
                 : "Something went wrong when writing to \"" + folder.target_file(name) + u'"');
        return false;
    }
    return true;
}
