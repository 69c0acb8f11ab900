#pragma once

#include <QString>
#include <atomic>

// The space a copy of the disc needs: every file below the directory, all
// folders included, not only the media folders.
class TClassCalculateNeededDiskSpace {
  public:
    QString directory;
    qint64 needed_bytes = 0;
    qint64 needed_megabytes = 0;  // whole megabytes, rounded down

    // Stops early, leaving the sums unfinished, when cancelled is set.
    void calculate(const std::atomic<bool>& cancelled);
};
