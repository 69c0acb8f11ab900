#pragma once

#include <QString>

namespace platform {

// A named, process-wide marker like a system mutex: every running copy holds
// it, and a new copy learns whether another one already did. The kernel
// drops the hold of a crashed copy, so a stale marker never blocks a start.
class SingleInstanceMarker {
  public:
    explicit SingleInstanceMarker(const QString& name);
    ~SingleInstanceMarker();
    SingleInstanceMarker(const SingleInstanceMarker&) = delete;
    SingleInstanceMarker& operator=(const SingleInstanceMarker&) = delete;

    // True when another running copy held the marker when this one was made.
    bool alreadyExisted() const { return alreadyExisted_; }
    QString lockFilePath() const { return path_; }

    // The file that stands for the name, in the user's runtime directory.
    static QString pathFor(const QString& name);

  private:
    QString path_;
    int fd_ = -1;
    bool alreadyExisted_ = false;
};

}  // namespace platform
