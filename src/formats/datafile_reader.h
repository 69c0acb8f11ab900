#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "platform/text_encoding.h"

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
    bool at_end() const { return next_index_ >= line_count(); }

    // Finds the section's header from the current line on and copies its
    // lines into target[0..lastIndex]; the rest of target is cleared.
    bool read_section(const QString& name, bool fatal, int lastIndex, QStringList& target,
                      int& count);
    // The same without a limit: target holds exactly the section's lines.
    bool read_whole_section(const QString& name, bool fatal, QStringList& target);

    // Shows what + " corrupt! Error " + number and the hint, then ends.
    [[noreturn]] void corrupt_line_report(const QString& what, int errorNumber,
                                          const QString& hint) const;

    const QString& path() const { return path_; }
    const QString& current_line() const { return current_line_; }
    // The index of the current line in the file, from 0.
    qsizetype current_index() const { return next_index_ - 1; }

    // The number of lines of the open file.
    qsizetype line_count() const { return static_cast<qsizetype>(starts_.size()); }

  private:
    // The file stays in memory as bytes with the start of each line; a
    // line is decoded when it is read, so a large file costs little more
    // than its size.
    QByteArrayView raw_line(qsizetype index) const;
    QString line_at(qsizetype index) const;
    bool line_starts_with(qsizetype index, const QByteArray& asciiPrefix) const;
    void set_bytes(QByteArray bytes);
    // Finds the header and returns the index of its first line, or −1.
    qsizetype find_section(const QString& name, bool fatal);
    // Moves the reading position to the header that ends the section.
    void continue_after(qsizetype endOfSection);

    QString path_;
    QByteArray bytes_;
    std::vector<std::uint32_t> starts_;
    platform::TextEncoding encoding_ = platform::TextEncoding::Ascii;
    qsizetype next_index_ = 0;
    QString current_line_;
};
