#pragma once

#include <QFile>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QWaitCondition>
#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace platform {
class NewFile;
class SourceFile;
}  // namespace platform


// The folders of a disc that hold its media, in the order they are copied.
const QStringList& GLB_media_folders();

// The media folders as they are named below a root, in copying order. A
// disc made on another system may spell them in other letter cases
// ("voices" for "Voices"), so every folder whose name matches one
// case-insensitively is found.
QStringList GLB_media_folders_in(const QString& root);

// Where a media folder of the disc goes below the target root: a folder
// that is there already under another letter case is reused, so that
// refreshing a copy never leaves two of them side by side.
QString GLB_media_folder_target(const QString& targetRoot, const QString& discFolder);

// The files (not directories) below the media folders of a root, which is
// exactly what a copy reports one by one.
int GLB_count_media_files(const QString& root);

// Bytes a copy from source to target would add: each media file's size,
// less the size of the file it replaces.
qint64 GLB_media_bytes_to_add(const QString& sourceRoot, const QString& targetRoot);

// The message of a directory that could not be made.
QString GLB_directory_creation_failure(const QString& directory);

// Copies the media folders of a disc to the hard disk on its own thread.
// Each file is written without a name (or, where the file system cannot do
// that or the file is there already, under a temporary name beside its
// place) and gets its real name only when complete, so a stopped or failed
// copy leaves only whole files. The thread never touches a window: it
// reports through queued signals, and the progress window asks for the file
// at hand on its own timer.
class TCopyFilesToHardDiskThread : public QThread {
    Q_OBJECT
  public:
    // Both roots are directories; a trailing separator is optional.
    TCopyFilesToHardDiskThread(const QString& targetRoot, const QString& sourceRoot,
                               QObject* parent = nullptr);
    ~TCopyFilesToHardDiskThread() override;

    // Any thread. The copy stops at its next block and removes that file's
    // unfinished copy.
    void set_abort();
    bool abort_requested() const { return abort_.load(); }
    // Holds the copy at its next block until resume() or set_abort().
    void pause();
    void resume();
    bool is_paused() const;

    QString current_file_name() const;
    int files_started() const { return files_started_.load(); }

    // Writes one block; returns the bytes written (fewer on failure). Without
    // one the kernel copies between the files itself where it can; tests put
    // a failing writer in its place.
    using TBlockWriter = std::function<qint64(QFile& target, const char* data, qint64 size)>;
    void set_block_writer(TBlockWriter writer) { block_writer_ = std::move(writer); }

    static constexpr qint64 kBlockSize = qint64{1} << 20;
    static QString temporary_name_for(const QString& targetFile);

  signals:
    // Every file, before its copy starts; only made when something listens.
    void file_started(const QString& sourcePath);
    // Once, when the thread ends: not emitted after an abort.
    void copy_ended(bool success, const QString& errorMessage);

  protected:
    void run() override;

  private:
    struct Folder;
    bool copy_folder(const QString& source, const QString& target);
    bool copy_tree(const QString& source, const QString& target);
    bool copy_file(const Folder& folder, const char* name);
    // In-kernel copy of the whole file; nothing when the file systems do
    // not offer it (then the blocks go through this process).
    std::optional<bool> copy_in_kernel(platform::SourceFile& from, platform::NewFile& to,
                                       const Folder& folder, const char* name);
    bool copy_blocks(platform::SourceFile& from, platform::NewFile& to, const Folder& folder,
                     const char* name);
    bool make_directory(const QString& directory);
    // False when the copy is to stop.
    bool keep_going();
    void fail(const QString& message);

    const QString target_root_;
    const QString source_root_;
    const QString disc_gone_text_;
    std::atomic<bool> abort_{false};
    std::atomic<bool> pause_requested_{false};
    std::atomic<int> files_started_{0};
    mutable QMutex mutex_;
    QWaitCondition resumed_;
    bool paused_ = false;
    // The file at hand: its folder and name, joined only when asked for.
    QString current_folder_;
    std::string current_name_;
    QString error_message_;
    TBlockWriter block_writer_;
    std::vector<char> buffer_;
};
