#pragma once

// The quiz's review log: every answer ever given, one line each, in a file
// of the user's own (one per edition). The cards' state is worked out from
// it at every start, so the whole history stays for a later scheduler.
// Each answer is appended and flushed as it is given: a program killed
// mid-answer leaves every earlier line whole, and at most a last line
// without its newline, which the next start drops.

#include "learning/spaced_repetition.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

struct TQuizAnswer {
    QDateTime time;  // UTC
    int species_id = 0;
    fsrs::Rating rating = fsrs::Rating::Again;
    int elapsed_ms = 0;  // from the question to the answer
    QString recording;   // the recording's catalogue text
    QString answer;      // the name chosen or typed

    bool operator==(const TQuizAnswer&) const = default;
};

class TQuizLog {
  public:
    struct LoadResult {
        std::vector<TQuizAnswer> answers;
        // Where a damaged log was moved; empty when it was sound.
        QString damaged_moved_to;
        // A last line cut off by an interrupted write was dropped.
        bool dropped_interrupted_line = false;
    };

    explicit TQuizLog(QString path) : path_(std::move(path)) {}
    const QString& path() const { return path_; }

    // Reads the log. A damaged log (a line that is not an answer, or not a
    // log at all) is moved aside under a new name and the quiz starts
    // afresh; a last line cut off by an interrupted write is dropped and
    // the file rewritten (atomically) without it.
    LoadResult load();
    // Appends one answer and flushes it to the file; false when the file
    // cannot be written.
    bool append(const TQuizAnswer& answer);

    static QString line_of(const TQuizAnswer& answer);
    static std::optional<TQuizAnswer> parse_line(const QString& line);
    static const char* header();

  private:
    QString path_;
};

// The log of the running edition in the user-files folder.
QString GLB_quiz_log_path();
