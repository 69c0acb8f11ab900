#pragma once

// Preparing a playlist's recordings as numbered MP3 files in one folder,
// ready for a CD-burning program.

#include <QString>
#include <vector>

class Tcupaitem;
class Tcutpart;
class TClassVisibleSpeciesAndRecordings;

// The MP3 writer as the preparation uses it (the MP3 export provides it).
class TAudioCDFileWriter {
  public:
    virtual ~TAudioCDFileWriter() = default;
    // The recording's sound is MP3 data (an MP3 file, or MP3 inside a WAV).
    virtual bool can_copy_as_mp3(const Tcutpart& cutPart) const = 0;
    // The recording's file as the players find it.
    virtual QString recording_file_path(const Tcupaitem& item) const = 0;
    // Writes the recording, repeated, with its tag; shows its own messages.
    virtual bool write_mp3(const Tcupaitem& item, int repetitions, const QString& path) = 0;
};

// The progress window with its cancel button.
class TAudioCDProgress {
  public:
    virtual ~TAudioCDProgress() = default;
    virtual void open(const QString& caption, const QString& text) = 0;
    // Shows " n" and the percentage; lets pending events run; false when
    // the user has cancelled.
    virtual bool step(int n, int percent) = 0;
    virtual void close() = 0;
};

struct TAudioCDEntry {
    const Tcupaitem* item = nullptr;
    int repeat_count = 1;
    QString text;  // the grid's recording text
};

class TAudioCDPreparation {
  public:
    TAudioCDPreparation(TAudioCDFileWriter& writer, TAudioCDProgress& progress);

    // Runs the whole preparation with its questions and messages; true when
    // every file was written.
    bool run(const std::vector<TAudioCDEntry>& entries,
             const TClassVisibleSpeciesAndRecordings& listState);

    // Needed space in MiB, rounded, plus one.
    static int needed_megabytes(qint64 bytes);
    // "001" + text + ".mp3" under the folder, cleaned for a file name.
    static QString file_path(const QString& folder, int n, const QString& text);

  private:
    TAudioCDFileWriter& writer_;
    TAudioCDProgress& progress_;
};
