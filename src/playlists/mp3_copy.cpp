#include "playlists/mp3_copy.h"

#include "app/editions.h"
#include "data/media_records.h"
#include "playlists/mp3_writer.h"
#include "playlists/user_files_folder.h"
#include "sound/recording_paths.h"

#include <QFileInfo>

QString& GLB_mp3_folder_of_run() {
    static QString folder;
    return folder;
}

QString GLB_recording_label(const Tcupaitem& recording, const QString& title) {
    int n = 1;
    if (recording.species)
        for (const Tcupaitem* item = recording.species->first_item; item && item != &recording;
             item = item->next_of_species)
            ++n;
    return title.trimmed() + QStringLiteral(" #") + QString::number(n);
}

TRecordingFileLocator GLB_default_recording_file_locator() {
    return [](const Tcupaitem& recording) {
        return recording.cut_part ? GLB_recording_file(*recording.cut_part) : QString();
    };
}

QString GLB_make_mp3_copy(const Tcupaitem& recording, const TTagTextProvider& texts,
                          const TRecordingFileLocator& locator, bool* cancelled) {
    if (cancelled) *cancelled = false;
    const TRecordingTagTexts tagTexts = texts.tag_texts(recording);
    const QString label = GLB_recording_label(recording, tagTexts.title);
    const QString source = locator(recording);
    if (source.isEmpty() || !QFileInfo(source).isFile() || !GLB_can_copy_as_mp3(source))
        return label;

    QString& runFolder = GLB_mp3_folder_of_run();
    const std::optional<QString> folder =
        runFolder.isEmpty()
            ? GLB_ensure_folder(
                  GLB_user_files_folder(QStringLiteral("MP3\\") + GLB_edition().short_title()),
                  QStringLiteral("you can store your mp3 files for this DVD-ROM"))
            : GLB_ensure_folder(runFolder,
                                QStringLiteral("you can store your mp3 files for this CD- or DVD-ROM"));
    if (!folder) {
        if (cancelled) *cancelled = true;
        return {};
    }
    runFolder = *folder;
    const TMP3FileJob job{&recording, source, 1, *folder, label + QStringLiteral(".mp3")};
    return GLB_write_mp3_file(job, texts) ? QString() : label;
}
