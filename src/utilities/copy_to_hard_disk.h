#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class TClassCalculateNeededDiskSpace;
class TCopyFilesToHardDiskThread;

enum class TCopyResult { success, failure, aborted };

// The windows the copy command opens, so that the command itself runs
// without any. Messages and questions go through the dialog service.
class TCopyToHardDiskUi {
  public:
    virtual ~TCopyToHardDiskUi() = default;
    // Runs the calculator in the waiting window; false when cancelled.
    virtual bool measure(TClassCalculateNeededDiskSpace& calculator, const QString& message,
                         const QString& cancelCaption) = 0;
    // The directory-selection dialog; nothing when the user cancels.
    virtual std::optional<QString> choose_target(const QStringList& texts,
                                                 const QString& defaultDirectory,
                                                 qint64 neededMegabytes) = 0;
    // Starts the (not yet started) thread under the progress window and
    // returns when that window has closed and the thread has ended.
    virtual TCopyResult run_copy(TCopyFilesToHardDiskThread& thread, int fileCount) = 0;
};

// The texts of the copy, from the texts file.
QString GLB_copy_text(int line);
QStringList GLB_copy_select_dir_texts();

// The folder below the user's documents that holds the copies.
QString GLB_default_copy_folder(const QString& documentsFolder, const QString& shortTitle);

// Free bytes on the file system that holds the path, or would hold it once
// its missing folders are made; -1 when unknown.
qint64 GLB_free_bytes_for(const QString& path);

// "Copy to HD": copies the disc in the base directory to the hard disk, or
// refreshes the hard-disk copy in the base directory from a disc. True when
// a copy was made; the base directory is then the copy.
class TCopyToHardDisk {
  public:
    explicit TCopyToHardDisk(TCopyToHardDiskUi& ui) : ui_(ui) {}
    bool run();

    std::function<qint64(const QString&)> free_bytes = &GLB_free_bytes_for;
    std::function<QString()> documents_folder;
    // Called with the thread before it starts (tests put faults in it).
    std::function<void(TCopyFilesToHardDiskThread&)> prepare_thread;

  private:
    bool copy_from_disc_in_base_directory(QString& source, QString& target);
    bool refresh_from_disc(QString& source, QString& target);
    bool has_room(const QString& target, qint64 neededBytes);
    void error(const QString& text);

    TCopyToHardDiskUi& ui_;
};
