#include "playlists/playlist_folders.h"

#include "app/editions.h"
#include "playlists/user_files_folder.h"

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
    QString folder = GLB_user_files_folder(subPath);
    while (folder.endsWith(u'/')) folder.chop(1);
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
    return GLB_ensure_folder(folder, question);
}
