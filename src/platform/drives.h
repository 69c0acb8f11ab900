#pragma once

#include <QString>

namespace platform {

// The file-system type of the mount that holds the path, taken from a mount
// table in /proc/mounts format; empty when no mount matches.
QString fileSystemTypeOf(const QString& path, const QString& mountTable);
// The mount point that holds the path (its "drive").
QString mountPointOf(const QString& path, const QString& mountTable);

QString currentMountTable();

// True when the path lies on an optical disc's file system (iso9660 or udf).
bool isOnCdRom(const QString& path);

}  // namespace platform
