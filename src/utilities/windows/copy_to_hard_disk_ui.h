#pragma once

#include "utilities/copy_to_hard_disk.h"

// The copy command with its real windows: the waiting window while the
// space is measured, the directory dialog and the progress window.
class TCopyToHardDiskWindows final : public TCopyToHardDiskUi {
  public:
    bool measure(TClassCalculateNeededDiskSpace& calculator, const QString& message,
                 const QString& cancelCaption) override;
    std::optional<QString> choose_target(const QStringList& texts, const QString& defaultDirectory,
                                         qint64 neededMegabytes) override;
    TCopyResult run_copy(TCopyFilesToHardDiskThread& thread, int fileCount) override;
};

// "Copy to HD": true when a copy was made and the base directory changed.
bool CopyToHardDisk();
