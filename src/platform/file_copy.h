#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QFile;

// The system's side of copying a tree of files quickly: folders kept open
// while their files are copied, so that every file is reached by its name
// alone instead of by a full path the system walks again each time.
namespace platform {

class NewFile;

// How a copy between two open files ended.
enum class CopyEnd { complete, stopped, read_failed, write_failed };

// A folder open for listing and for reaching its files by name.
class OpenFolder {
  public:
    explicit OpenFolder(const QString& path);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    // False when the folder is not there or cannot be read.
    bool is_open() const { return fd_ >= 0; }

    struct Entry {
        std::string name;
        bool folder = false;
    };
    // Files first, then folders, each by name. Links to folders are left
    // out: one could lead back into the tree being copied. Empty when the
    // folder cannot be listed.
    std::vector<Entry> entries() const;

  private:
    friend class SourceFile;
    friend class NewFile;
    int fd_;
};

// A file open for reading from start to end.
class SourceFile {
  public:
    SourceFile() = default;
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    // False when the file cannot be opened or asked about.
    bool open(const OpenFolder& folder, const char* name);
    // Its size, or -1 when it is not a plain file (its end is known only
    // when reached).
    std::int64_t size() const { return size_; }
    // The next bytes, at most `size`: 0 at the end, -1 on failure.
    std::int64_t read(char* data, std::int64_t size);

  private:
    friend class NewFile;
    friend std::optional<CopyEnd> copy_in_kernel(SourceFile&, NewFile&, std::int64_t,
                                                 const std::function<bool()>&);
    int fd_ = -1;
    std::int64_t size_ = -1;
    std::int64_t modified_seconds_ = 0;
    long modified_nanoseconds_ = 0;
};

// A file being written that is seen under its name only once complete.
// Where the file system allows it, it is written without any name, so that
// nothing is left behind if the copy stops; elsewhere it is written under a
// temporary name beside its place, removed again if it is given up.
class NewFile {
  public:
    NewFile() = default;
    // Gives up a file that was never named.
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Opens the file that is to become `name` in `folder`; `temporary` is
    // the name it is written under where it cannot be without one, and
    // where it waits for a moment to replace a file already there. False
    // when neither way opens.
    bool create(const OpenFolder& folder, const char* name, QByteArray temporary);
    // Opens `file` on this one, without handing it over.
    bool open_in(QFile& file) const;
    // Writes all of `data`; returns how much was written (less on failure).
    std::int64_t write(const char* data, std::int64_t size);
    // Gives it the time the source was last changed.
    void set_time_of(const SourceFile& source);
    // Makes the complete file visible under its name, replacing a file
    // there in one step. False on failure, when the file is given up.
    bool publish();
    // Closes it after publish(); false when closing reports a failure (a
    // write that failed late), when the named file is removed too.
    bool close();
    // Closes it and removes what was written under the temporary name.
    void discard();

  private:
    friend std::optional<CopyEnd> copy_in_kernel(SourceFile&, NewFile&, std::int64_t,
                                                 const std::function<bool()>&);
    int fd_ = -1;
    int folder_ = -1;
    bool unnamed_ = false;
    bool published_ = false;
    std::string name_;
    QByteArray temporary_;
};

// Copies all of `from` into `to` in the kernel, `chunk` bytes a call, asking
// `keep_going` before each. Nothing when the file systems do not offer that:
// then nothing was copied, and the bytes are to go through the process.
std::optional<CopyEnd> copy_in_kernel(SourceFile& from, NewFile& to, std::int64_t chunk,
                                      const std::function<bool()>& keep_going);

}  // namespace platform
