#include "platform/drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace platform {
namespace {

struct Mount {
    QString point;
    QString type;
};

// /proc/mounts writes blanks and other awkward characters as octal escapes.
QString unescapeMountField(const QString& field) {
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == u'\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += QChar(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

Mount bestMount(const QString& path, const QString& mountTable) {
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    Mount best;
    for (const QString& line : mountTable.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() < 3) continue;
        const QString point = unescapeMountField(fields[1]);
        const bool contains = point == "/" || absolute == point ||
                              absolute.startsWith(point.endsWith(u'/') ? point : point + u'/');
        if (contains && point.size() >= best.point.size()) best = {point, fields[2]};
    }
    return best;
}

}  // namespace

QString fileSystemTypeOf(const QString& path, const QString& mountTable) {
    return bestMount(path, mountTable).type;
}

QString mountPointOf(const QString& path, const QString& mountTable) {
    return bestMount(path, mountTable).point;
}

QString currentMountTable() {
    const QString standIn = qEnvironmentVariable("KORVELAN_MOUNT_TABLE");
    QFile file(standIn.isEmpty() ? QStringLiteral("/proc/self/mounts") : standIn);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromLocal8Bit(file.readAll());
}

namespace {
bool isOpticalType(const QString& type) {
    return type == "iso9660" || type == "udf";
}
}  // namespace

bool isOnCdRom(const QString& path) {
    return isOpticalType(fileSystemTypeOf(path, currentMountTable()));
}

QStringList opticalDiscMountPoints(const QString& mountTable) {
    QStringList points;
    for (const QString& line : mountTable.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(u' ', Qt::SkipEmptyParts);
        if (fields.size() < 3 || !isOpticalType(fields[2])) continue;
        const QString point = unescapeMountField(fields[1]);
        if (!points.contains(point)) points << point;
    }
    return points;
}

}  // namespace platform
