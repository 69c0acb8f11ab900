#include "playlists/recording_file.h"

#include "app/base_directory.h"
#include "app/globals.h"
#include "data/records.h"
#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

QString GLB_track_file_in(const QString& folder, int track) {
    const QString number = QString::asprintf("%.2d", track);
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files, QDir::Unsorted))
        if (name.contains(number)) return dir.filePath(name);
    return {};
}

QString GLB_recording_file_path(const Tcutpart& cutPart) {
    if (cutPart.is_sound_file)
        return platform::resolveCaseInsensitive(
            platform::nativePath(GLB().base_directory + QStringLiteral("tapes\\") +
                                 cutPart.sound_file_name()));
    const TaudioCD* cd = cutPart.audio_cd;
    if (!cd) return {};
    QString folder;
    if (cd->carried_on_disc) {
        auto carriedFolder = [cd] {
            return platform::resolveCaseInsensitive(platform::nativePath(
                GLB().base_directory + QStringLiteral("Audio CDs\\") + cd->folder_name));
        };
        folder = carriedFolder();
        while (!QFileInfo(folder).isDir()) {
            if (!GLB_ask_for_base_directory()) return {};
            folder = carriedFolder();
        }
    } else {
        folder = platform::nativePath(cd->hard_disk_directory);
    }
    if (folder.isEmpty()) return {};
    return GLB_track_file_in(folder, cutPart.track);
}
