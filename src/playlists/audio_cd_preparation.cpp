#include "playlists/audio_cd_preparation.h"

#include "app/globals.h"
#include "data/media_records.h"
#include "data/visibility_filter.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"
#include "playlists/playlist_folders.h"

#include <QDir>
#include <QFileInfo>
#include <cmath>

namespace {

const QString kSection = QStringLiteral("PREPARE_FOR_AUDIO_CD");

QString text(int line) {
    return GLB_text(kSection, line);
}

int tell(const QString& message, int style) {
    return platform::DialogService::message(message, GLB().message_box_caption, style);
}

}  // namespace

TAudioCDPreparation::TAudioCDPreparation(TAudioCDFileWriter& writer, TAudioCDProgress& progress)
    : writer_(writer), progress_(progress) {}

int TAudioCDPreparation::needed_megabytes(qint64 bytes) {
    return static_cast<int>(std::lround(static_cast<double>(bytes) / 1048576.0)) + 1;
}

QString TAudioCDPreparation::file_path(const QString& folder, int n, const QString& entryText) {
    QString name = QString::asprintf("%.3d", n) + entryText + QStringLiteral(".mp3");
    name.replace(u'?', u'Q');
    name.replace(u'"', u'\'');
    name.replace(QStringLiteral("<="), QStringLiteral("LTE"));
    name.replace(QStringLiteral(">="), QStringLiteral("GTE"));
    name.replace(u':', u' ');
    name.replace(u'/', u' ');  // a name never opens a folder
    return folder + u'/' + name;
}

bool TAudioCDPreparation::run(const std::vector<TAudioCDEntry>& entries,
                              const TClassVisibleSpeciesAndRecordings& listState) {
    if (entries.empty() || !entries.front().item) return false;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!listState.carrier_playable(*entries[i].item->cut_part)) {
            tell(text(1) + u'\n' + text(2) + u' ' + QString::number(i + 1) + u'.' + u'\n' + text(3),
                 platform::box::IconStop);
            return false;
        }
    }
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!writer_.can_copy_as_mp3(*entries[i].item->cut_part)) {
            tell(QStringLiteral("The sound file of sound #") + QString::number(i + 1) +
                     QStringLiteral(" is a \"ripped\" track from an audio CD, but is not ") +
                     QStringLiteral(" an internally-MP3 compressed WAV file, nor an MP3 file. "
                                    "Please correct."),
                 platform::box::IconStop);
            return false;
        }
    }
    const auto proposed = TPlayListFolders::ensure_folder(
        TPlayListFolders::user_files_folder(QStringLiteral("Prepared Audio CD")), text(4));
    if (!proposed) return false;

    qint64 bytes = 0;
    for (const TAudioCDEntry& e : entries)
        bytes += QFileInfo(writer_.recording_file_path(*e.item)).size();
    const QString dialogSection = QStringLiteral("PREPARE_FOR_AUDIO_CD_SELECT_DIR_DIALOG");
    const auto folder = platform::DialogService::chooseDirectory(
        GLB_text(dialogSection, 1) + QStringLiteral(" - ") + GLB_text(dialogSection, 2) + u' ' +
            QString::number(needed_megabytes(bytes)),
        *proposed);
    if (!folder) return false;

    if (!QDir(*folder).entryList(QDir::Files).isEmpty()) {
        if (tell(text(5) + QStringLiteral(" \"") + *folder + QStringLiteral("\".") + u'\n' + text(6),
                 platform::box::YesNo) != platform::answer::Yes)
            return false;
        // Only the files go: folders inside were not made by this command.
        bool deleted = true;
        for (const QFileInfo& f : QDir(*folder).entryInfoList(QDir::Files | QDir::Hidden))
            deleted = QFile::remove(f.absoluteFilePath()) && deleted;
        if (!deleted) {
            tell(QStringLiteral("Something went wrong while deleting files."),
                 platform::box::IconStop);
            return false;
        }
    }

    progress_.open(text(7), text(8));
    bool stopped = false;
    const int count = static_cast<int>(entries.size());
    for (int i = 1; i <= count && !stopped; ++i) {
        if (!progress_.step(i, i * 100 / count)) {
            stopped = true;
            break;
        }
        const TAudioCDEntry& e = entries[i - 1];
        const QString source = writer_.recording_file_path(*e.item);
        if (!QFileInfo::exists(source)) {
            progress_.close();
            tell(QStringLiteral("File #") + QString::number(i) + QStringLiteral(" not found. Name is: \"") +
                     source + QStringLiteral("\"."),
                 platform::box::IconStop);
            return false;
        }
        stopped = !writer_.write_mp3(*e.item, e.repeat_count, file_path(*folder, i, e.text));
    }
    progress_.close();
    if (stopped) {
        tell(text(12), platform::box::IconStop);
        return false;
    }
    tell(text(9) + u'\n' + text(10) + QStringLiteral(" \"") + *folder + QStringLiteral("\" ") + text(11),
         platform::box::Plain);
    return true;
}
