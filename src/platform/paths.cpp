#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

QString nativePath(const QString& composed) {
    QString path = composed;
    path.replace(u'\\', u'/');
    return path;
}

QString resolveCaseInsensitive(const QString& path) {
    const QString native = nativePath(path);
    if (native.isEmpty() || QFileInfo::exists(native)) return native;
    const bool absolute = native.startsWith(u'/');
    const QStringList parts = native.split(u'/', Qt::SkipEmptyParts);
    QString resolved = absolute ? QStringLiteral("/") : QStringLiteral(".");
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString candidate = QDir(resolved).filePath(parts[i]);
        if (QFileInfo::exists(candidate)) {
            resolved = candidate;
            continue;
        }
        const QStringList entries =
            QDir(resolved).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
        auto match = std::find_if(entries.begin(), entries.end(), [&](const QString& e) {
            return e.compare(parts[i], Qt::CaseInsensitive) == 0;
        });
        if (match == entries.end()) return native;
        resolved = QDir(resolved).filePath(*match);
    }
    if (!absolute && resolved.startsWith("./")) resolved = resolved.mid(2);
    if (native.endsWith(u'/') && !resolved.endsWith(u'/')) resolved += u'/';
    return resolved;
}

}  // namespace platform
