#include "app/program_location.h"

#include "app/file_helpers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kEditionsFile = QStringLiteral("PROGR_NM.TXT");
const QString kInstalledDataFolder = QStringLiteral("../share/korvelan");

bool& keepInUserFolder() {
    static bool keep = false;
    return keep;
}

}  // namespace

TProgramLocation GLB_locate_program_directory(const QString& executableDirectory) {
    const QDir beside(executableDirectory);
    if (beside.exists(kEditionsFile)) return {GLB_with_trailing_separator(beside.absolutePath()), false};
    const QDir installed(beside.absoluteFilePath(kInstalledDataFolder));
    if (installed.exists(kEditionsFile))
        return {GLB_with_trailing_separator(QDir::cleanPath(installed.absolutePath())), true};
    // Nothing found: the messages of the start then name the program's folder.
    return {GLB_with_trailing_separator(beside.absolutePath()), false};
}

void GLB_keep_settings_in_user_folder(bool keep) {
    keepInUserFolder() = keep;
}

QString GLB_settings_file_location(const QString& programDirectory, const QString& fileName,
                                   const QString& userConfigFolder) {
    const QString beside = GLB_with_trailing_separator(programDirectory) + fileName;
    const QFileInfo folder(programDirectory);
    const bool writable = folder.isDir() && folder.isWritable() &&
                          (!QFileInfo::exists(beside) || QFileInfo(beside).isWritable());
    if ((writable && !keepInUserFolder()) || userConfigFolder.isEmpty()) return beside;

    const QString own = GLB_with_trailing_separator(userConfigFolder) + fileName;
    if (!QFileInfo::exists(own) && QFileInfo(beside).isFile() && QDir().mkpath(userConfigFolder)) {
        QFile::copy(beside, own);
        // A copy of a read-only file is read-only too.
        QFile::setPermissions(own, QFile::permissions(own) | QFileDevice::WriteOwner |
                                       QFileDevice::ReadOwner);
    }
    return own;
}

QString GLB_settings_file_location(const QString& programDirectory, const QString& fileName) {
    return GLB_settings_file_location(
        programDirectory, fileName,
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}
