#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// The file-system type of the mount that holds the path, taken from a mount
// table in /proc/mounts format; empty when no mount matches.
QString fileSystemTypeOf(const QString& path, const QString& mountTable);
// The mount point that holds the path (its "drive").
QString mountPointOf(const QString& path, const QString& mountTable);

// The system's mount table. When KORVELAN_MOUNT_TABLE names a file, that
// file is read instead, so that a folder can stand in for a mounted disc in
// tests and trials without one.
QString currentMountTable();

// The mount points of optical discs (iso9660 or udf) in table order.
QStringList opticalDiscMountPoints(const QString& mountTable);

// True when the path lies on an optical disc's file system (iso9660 or udf).
bool isOnCdRom(const QString& path);

}  // namespace platform
