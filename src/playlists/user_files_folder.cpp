#include "playlists/user_files_folder.h"

#include "app/messages.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"
#include "platform/paths.h"
#include "platform/system.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Without a documents folder the home folder stands in for the system drive.
QString documentsOrHome() {
    const QString documents = platform::documentsFolder();
    if (!documents.isEmpty() && QFileInfo(documents).isDir()) return QDir::cleanPath(documents);
    return QDir::homePath();
}

}  // namespace

QString GLB_user_files_folder(const QString& subPath) {
    return documentsOrHome() + QStringLiteral("/My Quillmarsh Files/") +
           platform::nativePath(subPath);
}

std::optional<QString> GLB_ensure_folder(const QString& folder, const QString& question) {
    if (QFileInfo(folder).isDir()) return folder;
    const QString section = QStringLiteral("QUESTION_CREATE_DIRECTORY");
    const int answer = GLB_show_message(GLB_text(section, 1) + folder + GLB_text(section, 2) +
                                            u' ' + question + QStringLiteral(". "),
                                        platform::box::YesNoCancel);
    if (answer == platform::answer::Cancel) return std::nullopt;
    if (answer == platform::answer::Yes && QDir().mkpath(folder) && QFileInfo(folder).isDir())
        return folder;
    return documentsOrHome();
}
