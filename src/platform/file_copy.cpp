#include "platform/file_copy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <utility>

namespace platform {

OpenFolder::OpenFolder(const QString& path)
    : fd_(::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {}

OpenFolder::~OpenFolder() {
    if (fd_ >= 0) ::close(fd_);
}

// Only entries whose kind the listing does not tell are asked about: one
// call per entry would cost more than listing the folder.
std::vector<OpenFolder::Entry> OpenFolder::entries() const {
    std::vector<Entry> entries;
    // The listing reads through a descriptor of its own, closed with it.
    const int listing = fd_ < 0 ? -1 : ::dup(fd_);
    if (listing < 0) return entries;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return entries;
    }
    while (const dirent* e = ::readdir(dir)) {
        const char* name = e->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
        bool folder = e->d_type == DT_DIR;
        if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
            struct stat st {};
            bool link = e->d_type == DT_LNK;
            if (!link && ::fstatat(fd_, name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                link = S_ISLNK(st.st_mode);
            if (::fstatat(fd_, name, &st, 0) == 0 && S_ISDIR(st.st_mode)) {
                if (link) continue;
                folder = true;
            }
        }
        entries.push_back({name, folder});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.folder != b.folder ? b.folder : a.name < b.name;
    });
    return entries;
}

SourceFile::~SourceFile() {
    if (fd_ >= 0) ::close(fd_);
}

bool SourceFile::open(const OpenFolder& folder, const char* name) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = ::openat(folder.fd_, name, O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return false;
    size_ = S_ISREG(st.st_mode) ? st.st_size : -1;
    modified_seconds_ = st.st_mtim.tv_sec;
    modified_nanoseconds_ = st.st_mtim.tv_nsec;
    // Read ahead further, as for any file read from start to end.
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    return true;
}

std::int64_t SourceFile::read(char* data, std::int64_t size) {
    for (;;) {
        const ssize_t got = ::read(fd_, data, size_t(size));
        if (got >= 0 || errno != EINTR) return got;
    }
}

NewFile::~NewFile() {
    if (!published_)
        discard();
    else if (fd_ >= 0)
        ::close(fd_);
}

bool NewFile::create(const OpenFolder& folder, const char* name, QByteArray temporary) {
    discard();
    folder_ = folder.fd_;
    name_ = name;
    temporary_ = std::move(temporary);
    published_ = false;
    // Naming an unnamed file needs the process's descriptors in /proc.
    static const bool canName = ::access("/proc/self/fd", X_OK) == 0;
    unnamed_ = canName;
    fd_ = canName ? ::openat(folder_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666) : -1;
    if (fd_ < 0) {
        unnamed_ = false;
        fd_ = ::openat(folder_, temporary_.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC,
                       0666);
    }
    return fd_ >= 0;
}

bool NewFile::open_in(QFile& file) const {
    return file.open(fd_, QIODevice::WriteOnly | QIODevice::Unbuffered,
                     QFileDevice::DontCloseHandle);
}

std::int64_t NewFile::write(const char* data, std::int64_t size) {
    std::int64_t written = 0;
    while (written < size) {
        const ssize_t n = ::write(fd_, data + written, size_t(size - written));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        written += n;
    }
    return written;
}

void NewFile::set_time_of(const SourceFile& source) {
    // Only the time it was changed; the time it was read is left to the system.
    const timespec times[2] = {{0, UTIME_OMIT},
                               {time_t(source.modified_seconds_), source.modified_nanoseconds_}};
    ::futimens(fd_, times);
}

bool NewFile::publish() {
    const char* temporary = temporary_.constData();
    if (unnamed_) {
        char self[32];
        std::snprintf(self, sizeof self, "/proc/self/fd/%d", fd_);
        if (::linkat(AT_FDCWD, self, folder_, name_.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return published_ = true;
        // A file there already (a refresh) is replaced in one step: the
        // complete copy is linked in under the temporary name and renamed
        // over it. A temporary left by a copy that was cut off goes first.
        const bool there = errno == EEXIST;
        if (there) ::unlinkat(folder_, temporary, 0);
        if (!there || ::linkat(AT_FDCWD, self, folder_, temporary, AT_SYMLINK_FOLLOW) != 0) {
            discard();
            return false;
        }
    }
    if (::renameat(folder_, temporary, folder_, name_.c_str()) != 0) {
        ::unlinkat(folder_, temporary, 0);
        discard();
        return false;
    }
    return published_ = true;
}

bool NewFile::close() {
    const int fd = std::exchange(fd_, -1);
    if (fd < 0 || ::close(fd) == 0) return true;
    if (published_) ::unlinkat(folder_, name_.c_str(), 0);
    return false;
}

void NewFile::discard() {
    if (fd_ < 0) return;
    ::close(std::exchange(fd_, -1));
    if (!unnamed_) ::unlinkat(folder_, temporary_.constData(), 0);
}

std::optional<CopyEnd> copy_in_kernel(SourceFile& from, NewFile& to, std::int64_t chunk,
                                      const std::function<bool()>& keep_going) {
    const std::int64_t size = from.size_;
    bool first = true;
    std::int64_t copied = 0;
    // A file of known size is done when that much is copied: asking once
    // more only to hear the end costs a call per file.
    while (size < 0 || copied < size || first) {
        if (!keep_going()) return CopyEnd::stopped;
        const ssize_t n = ::copy_file_range(from.fd_, nullptr, to.fd_, nullptr, size_t(chunk), 0);
        if (n == 0) return CopyEnd::complete;
        if (n > 0) {
            first = false;
            copied += n;
            continue;
        }
        if (errno == EINTR) continue;
        const bool unsupported = errno == EXDEV || errno == EINVAL || errno == ENOSYS ||
                                 errno == EOPNOTSUPP || errno == EBADF;
        if (first && unsupported) return std::nullopt;
        return errno == EIO ? CopyEnd::read_failed : CopyEnd::write_failed;
    }
    return CopyEnd::complete;
}

}  // namespace platform
