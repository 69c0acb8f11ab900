#include "sound/recording_paths.h"

#include "app/base_directory.h"
#include "app/globals.h"
#include "data/media_records.h"
#include "data/visibility_filter.h"
#include "sound/players.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

QString GLB_resolve_path(const QString& directory, const QString& relative) {
    QString path = QDir::fromNativeSeparators(directory);
    if (!path.isEmpty() && !path.endsWith(u'/')) path += u'/';
    static const QRegularExpression separators(QStringLiteral("[\\\\/]+"));
    const QStringList parts = relative.split(separators, Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        QString chosen = part;
        if (!QFileInfo::exists(path + part)) {
            const QStringList entries =
                QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            for (const QString& entry : entries)
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    chosen = entry;
                    break;
                }
        }
        path += chosen;
        if (i + 1 < parts.size()) path += u'/';
    }
    return path;
}

QString GLB_audio_CD_folder(const TaudioCD& cd, bool carriedOnDisc) {
    QString folder;
    if (carriedOnDisc) {
        for (;;) {
            folder = GLB_resolve_path(GLB().base_directory, QStringLiteral("Audio CDs/") + cd.folder_name);
            if (QFileInfo(folder).isDir()) break;
            if (!GLB_ask_for_base_directory()) return {};
        }
    } else {
        folder = QDir::fromNativeSeparators(cd.hard_disk_directory);
    }
    while (folder.endsWith(u'/') && folder.size() > 1) folder.chop(1);
    return folder.isEmpty() ? folder : folder + u'/';
}

QString GLB_audio_CD_track_file(const TaudioCD& cd, int track, bool carriedOnDisc) {
    const QString folder = GLB_audio_CD_folder(cd, carriedOnDisc);
    if (folder.isEmpty()) return {};
    const QString number = QStringLiteral("%1").arg(track, 2, 10, QChar(u'0'));
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Unsorted);
    for (const QString& name : files)
        if (name.contains(number)) return folder + name;
    return {};
}

QString GLB_recording_file(const Tcutpart& cutPart) {
    if (cutPart.is_sound_file)
        return GLB_resolve_path(GLB().base_directory, QStringLiteral("tapes/") + cutPart.sound_file_name());
    if (!cutPart.audio_cd) return {};
    return GLB_audio_CD_track_file(*cutPart.audio_cd, cutPart.track, cutPart.audio_cd->carried_on_disc);
}

QString GLB_recording_file(const Tcutpart& cutPart, const TClassSoundCarriersUseSpecification& carriers) {
    if (!GLB_available_as_file(cutPart, carriers)) return {};
    return GLB_recording_file(cutPart);
}
