#include "playlists/playlist_folders.h"

#include "app/editions.h"
#include "app/globals.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString TPlayListFolders::documents_folder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
    while (folder.size() > 1 && folder.endsWith(u'/')) folder.chop(1);
    return folder;
}

QString TPlayListFolders::user_files_folder(const QString& subPath) {
    QString folder = documents_folder() + QStringLiteral("/My Quillmarsh Files");
    if (!subPath.isEmpty()) folder += u'/' + platform::nativePath(subPath);
    return folder;
}

QString TPlayListFolders::default_play_list_folder() {
    return user_files_folder(QStringLiteral("Playlists\\") + GLB_edition().short_title());
}

QString TPlayListFolders::deepest_existing_folder(const QString& folder) {
    QString f = folder;
    while (!f.isEmpty() && !QFileInfo(f).isDir()) {
        const qsizetype cut = f.lastIndexOf(u'/');
        if (cut <= 0) return cut == 0 ? QStringLiteral("/") : QString();
        f = f.left(cut);
    }
    return f;
}

std::optional<QString> TPlayListFolders::ensure_folder(const QString& folder,
                                                       const QString& question) {
    if (QFileInfo(folder).isDir()) return folder;
    const QString section = QStringLiteral("QUESTION_CREATE_DIRECTORY");
    const int answer = platform::DialogService::message(
        GLB_text(section, 1) + folder + GLB_text(section, 2) + u' ' + question +
            QStringLiteral(". "),
        GLB().message_box_caption, platform::box::YesNoCancel);
    if (answer == platform::answer::Cancel) return std::nullopt;
    if (answer == platform::answer::Yes && QDir().mkpath(folder)) return folder;
    return documents_folder();
}
