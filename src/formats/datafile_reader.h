#pragma once

#include <QString>
#include <QStringList>

// Reads one data file of the species database line by line and section by
// section. Sections start with "@#[NAME]"; a record file gives each record
// a header with an empty name, "@#[]".
class TDataFileReader {
  public:
    // Loads the file; when it is missing, ends the program (fatal) or
    // returns false.
    bool open_data_file(const QString& fileName, bool fatal);
    // Loads lines already in memory, as if they were the named file.
    void open_text(const QString& pathForMessages, const QString& text);

    // The next line (with "LINEFEED_ONLY_REPLACER" made a line feed), or an
    // empty text at the end.
    QString next_line();
    bool at_end() const { return next_index_ >= lines_.size(); }

    // Finds the section's header from the current line on and copies its
    // lines into target[0..lastIndex]; the rest of target is cleared.
    bool read_section(const QString& name, bool fatal, int lastIndex, QStringList& target,
                      int& count);

    // Shows what + " corrupt! Error " + number and the hint, then ends.
    [[noreturn]] void corrupt_line_report(const QString& what, int errorNumber,
                                          const QString& hint) const;

    const QString& path() const { return path_; }
    const QString& current_line() const { return current_line_; }
    // The index of the current line in the file, from 0.
    qsizetype current_index() const { return next_index_ - 1; }

  private:
    static QString expanded(const QString& line);

    QString path_;
    QStringList lines_;
    qsizetype next_index_ = 0;
    QString current_line_;
};
