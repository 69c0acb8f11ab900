#include "playlists/mp3_writer.h"

#include "app/editions.h"
#include "app/settings.h"
#include "app/settings_general.h"
#include "data/media_records.h"
#include "platform/dialog_service.h"
#include "sound/mp3_memory_stream.h"
#include "sound/wave_memory_stream.h"

#include <QDir>
#include <QFileInfo>
#include <memory>

namespace {

// Room for the temporary name's suffix within the 255 bytes of a file name.
constexpr int kMaxNameBytes = 200;

QString upperSuffix(const QString& file) {
    return QFileInfo(file).suffix().toUpper();
}

QString publisherAddress() {
    return GLB_read_string(settings::general::kSection, settings::general::kPublisherWebAddress,
                           GLB_edition().update_address);
}

void showFormatError(const QString& file) {
    platform::DialogService::message(
        QStringLiteral("Format error inside \"") + file + QStringLiteral("\"."),
        GLB_edition().title, platform::box::IconStop);
}

// The source's frames; none (after the message) when it cannot be read or
// holds no frame the copy could carry, so that no copy without sound is made.
std::unique_ptr<TMP3MemoryStream> loadSource(const QString& file) {
    bool failed = false;
    std::unique_ptr<TMP3MemoryStream> stream;
    if (upperSuffix(file) == QStringLiteral("MP3")) {
        stream = std::make_unique<TMP3MemoryStream>();
        stream->LoadSoundFile(file, failed);
        if (failed) return nullptr;  // the load told the user
    } else {
        TWaveMemoryStream wave;
        wave.LoadSoundFile(file, failed);
        const std::uint8_t* data = nullptr;
        std::int64_t count = 0;
        const bool mp3Inside = !failed && wave.IsMP3InsideWave();
        if (mp3Inside) wave.GetSoundData(failed, data, count);
        if (!mp3Inside || failed) {
            showFormatError(file);
            return nullptr;
        }
        // Chunks behind the sound data are not sound: the copy keeps the frames.
        stream = std::make_unique<TMP3MemoryStream>(data, count);
        stream->keep_frames_only();
    }
    if (stream->empty()) {
        showFormatError(file);
        return nullptr;
    }
    return stream;
}

}  // namespace

bool GLB_can_copy_as_mp3(const QString& recordingFile) {
    const QString suffix = upperSuffix(recordingFile);
    return suffix == QStringLiteral("MP3") ||
           (suffix == QStringLiteral("WAV") && FileIsMP3InsideWave(recordingFile));
}

QString GLB_clean_output_text(const QString& text) {
    QString cleaned = text;
    cleaned.replace(u'?', u'Q');
    cleaned.replace(u'"', u'\'');
    cleaned.replace(QStringLiteral("<="), QStringLiteral("LTE"));
    cleaned.replace(QStringLiteral(">="), QStringLiteral("GTE"));
    for (qsizetype i = 2; i < cleaned.size(); ++i)
        if (cleaned[i] == u':') cleaned[i] = u' ';
    return cleaned;
}

QString GLB_contained_file_name(const QString& name) {
    // The name always follows a folder, so none of its colons is a drive's.
    QString contained = GLB_clean_output_text(QStringLiteral("..") + name).mid(2);
    for (QChar& c : contained)
        if (c == u'/' || c == u'\\')
            c = u'-';
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    if (contained.startsWith(u'.')) contained[0] = u'_';
    if (contained.trimmed().isEmpty()) contained = QStringLiteral("_");
    while (contained.toUtf8().size() > kMaxNameBytes) contained.chop(1);
    return contained;
}

TID3TagTexts GLB_id3_texts(const TRecordingTagTexts& texts) {
    TID3TagTexts tag;
    tag.genre = texts.family;
    tag.recordist = texts.artist;
    tag.album = texts.rights;
    tag.title = texts.title;
    tag.item = texts.item_text;
    tag.publisher = texts.publisher;
    if (!tag.publisher.isEmpty()) tag.publisher_address = publisherAddress();
    tag.comment = texts.comment;
    return tag;
}

QString GLB_mp3_output_path(const TMP3FileJob& job) {
    return QDir(job.folder).filePath(GLB_contained_file_name(job.file_name));
}

bool GLB_write_mp3_file(const TMP3FileJob& job, const TTagTextProvider& texts) {
    if (!job.recording || !job.recording->cut_part) return false;
    const Tcutpart& cut = *job.recording->cut_part;
    std::unique_ptr<TMP3MemoryStream> stream = loadSource(job.source_file);
    if (!stream) return false;
    if (!cut.is_sound_file) stream->CutSlice(cut.offset / 1000.0, cut.length / 1000.0);
    if (job.repetitions > 1) stream->repeat(job.repetitions - 1);
    const Tspecies* species = job.recording->species;
    stream->write_tag(GLB_id3_texts(texts.tag_texts(*job.recording)), GLB_edition().language,
                      cut.track, species ? species->position(2) : -1);
    return stream->SaveSoundFile(GLB_mp3_output_path(job));
}

QString TNumberedMP3Writer::numbered_name(int entry, const QString& nameText) {
    return GLB_contained_file_name(QString::asprintf("%.3d", entry) + nameText +
                                   QStringLiteral(".mp3"));
}

TNumberedMP3Writer::Result TNumberedMP3Writer::write(const std::vector<TNumberedMP3Entry>& entries,
                                                     const QString& folder,
                                                     const Progress& progress) const {
    const int count = static_cast<int>(entries.size());
    for (int i = 1; i <= count; ++i) {
        if (progress && !progress(i, count)) return {Outcome::Cancelled, i, {}};
        const TNumberedMP3Entry& entry = entries[static_cast<size_t>(i - 1)];
        const QString source = entry.recording ? locator_(*entry.recording) : QString();
        if (source.isEmpty() || !QFileInfo::exists(source))
            return {Outcome::SourceMissing, i, source};
        TMP3FileJob job{entry.recording, source, entry.repeat_count, folder,
                        numbered_name(i, entry.name_text)};
        if (!GLB_write_mp3_file(job, texts_)) return {Outcome::WriteFailed, i, {}};
    }
    return {Outcome::Written, count, {}};
}
