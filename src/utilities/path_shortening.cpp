#include "utilities/path_shortening.h"

namespace {

const QString kEllipsis = QStringLiteral("....");
constexpr qsizetype kDriveHeadLength = 20;

bool hasDriveLetter(const QString& path) {
    return path.size() >= 2 && path[1] == u':' && path[0].isLetter();
}

}  // namespace

QString GLB_shorten_path(const QString& path, const std::function<bool(const QString&)>& fits) {
    if (fits(path)) return path;
    const bool drive = hasDriveLetter(path) && path.size() > kDriveHeadLength;
    const QString head = drive ? path.left(kDriveHeadLength) + kEllipsis : kEllipsis;
    const qsizetype firstCut = drive ? kDriveHeadLength + 1 : 4;
    QString candidate = head;
    for (qsizetype cut = firstCut; cut <= path.size(); ++cut) {
        candidate = head + path.mid(cut);
        if (fits(candidate)) return candidate;
    }
    return candidate;
}
