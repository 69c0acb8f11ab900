#pragma once

#include "playlists/recording_tag_texts.h"
#include "sound/id3_tag.h"

#include <QString>
#include <functional>
#include <vector>

class Tcutpart;
class Tcupaitem;

// Whether the recording file holds MP3 data: an ".MP3" file, or a ".WAV"
// file with MP3 inside. The sound is never re-encoded, so nothing else can
// be copied.
bool GLB_can_copy_as_mp3(const QString& recordingFile);

// The output path rules that every MP3 file name goes through: "?" becomes
// "Q", a double quote "'", "<=" "LTE", ">=" "GTE", and a ":" from the third
// character on a blank.
QString GLB_clean_output_text(const QString& text);
// A name that stays inside its folder: the rules above, separators and
// characters the file system refuses replaced, a leading "." made harmless,
// and the length held within what a file name may have.
QString GLB_contained_file_name(const QString& name);

// The tag of a recording from the texts its list gives.
TID3TagTexts GLB_id3_texts(const TRecordingTagTexts& texts);

// One MP3 file to write: the recording, its source file and how often its
// sound is repeated in the copy.
struct TMP3FileJob {
    const Tcupaitem* recording = nullptr;
    QString source_file;
    int repetitions = 1;
    QString folder;
    QString file_name;  // cleaned and contained before it is used
};

// Loads the source (an MP3 file, or the MP3 data inside a WAV file), cuts
// an audio-CD part's slice, repeats it, tags it and saves it under a
// temporary name that is renamed when complete. Shows its own messages;
// false when no file was written.
bool GLB_write_mp3_file(const TMP3FileJob& job, const TTagTextProvider& texts);

// The path a job writes to.
QString GLB_mp3_output_path(const TMP3FileJob& job);

// Entries of a list to be written as numbered files ("001<name>.mp3", ...).
struct TNumberedMP3Entry {
    const Tcupaitem* recording = nullptr;
    int repeat_count = 1;
    QString name_text;
};

class TNumberedMP3Writer {
  public:
    enum class Outcome { Written, Cancelled, SourceMissing, WriteFailed };
    struct Result {
        Outcome outcome = Outcome::Written;
        int entry = 0;  // from 1: the entry that stopped the job
        QString path;   // its source file when that was missing
    };

    // The source file of a recording; empty when it cannot be found.
    using Locator = std::function<QString(const Tcupaitem&)>;
    // Called before each entry (from 1) with the count; false cancels.
    using Progress = std::function<bool(int entry, int count)>;

    TNumberedMP3Writer(Locator locator, const TTagTextProvider& texts)
        : locator_(std::move(locator)), texts_(texts) {}

    Result write(const std::vector<TNumberedMP3Entry>& entries, const QString& folder,
                 const Progress& progress) const;
    // "003" + the name text + ".mp3", contained.
    static QString numbered_name(int entry, const QString& nameText);

  private:
    Locator locator_;
    const TTagTextProvider& texts_;
};
