#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/text_encoding.h"

// Reads one data file of the species database line by line and section by
// section. Sections start with "@#[NAME]"; a record file gives each record
// a header with an empty name, "@#[]".
class TDataFileReader {
  public:
    // Loads the file; when it is missing, throws TLoadError (fatal) or
    // returns false.
    bool open_data_file(const QString& fileName, bool fatal);
    // Reads the bytes [from, to) of another reader's file, which stays open
    // meanwhile, in its encoding: parts of one large file for two threads.
    void open_part(const TDataFileReader& whole, qsizetype from, qsizetype to);
    // Ends a part early, at byte `to` of the part (a header at or after the
    // current line): what follows is read by another reader.
    void end_part_at(qsizetype to);
    // Where the first line starting at or after byte `at` that is a section
    // header starts; the file's size when there is none.
    qsizetype header_at_or_after(qsizetype at) const;
    qsizetype size() const { return bytes_.size(); }
    QByteArrayView bytes() const { return bytes_; }
    // Where the current line starts; the size past the end.
    qsizetype current_start() const { return past_end_ ? bytes_.size() : current_start_; }
    // Loads lines already in memory, as if they were the named file.
    void open_text(const QString& pathForMessages, const QString& text);

    // The next line (with "LINEFEED_ONLY_REPLACER" made a line feed), or an
    // empty text at the end.
    QString next_line();
    bool at_end() const { return past_end_ || next_start_ >= bytes_.size(); }

    // Finds the section's header from the current line on and copies its
    // lines into target[0..lastIndex]; the rest of target is cleared.
    bool read_section(const QString& name, bool fatal, int lastIndex, QStringList& target,
                      int& count);
    // The same without a limit: target holds exactly the section's lines.
    bool read_whole_section(const QString& name, bool fatal, QStringList& target);
    // The same two with each line as its bytes in the file, valid while the
    // file stays open; text() decodes one. Loading decodes only the lines
    // it keeps as text.
    bool read_section_bytes(const QString& name, bool fatal, int lastIndex,
                            std::vector<QByteArrayView>& target, int& count);
    bool read_whole_section_bytes(const QString& name, bool fatal,
                                  std::vector<QByteArrayView>& target);
    // A line of the file as text (with "LINEFEED_ONLY_REPLACER" made a line
    // feed).
    QString text(QByteArrayView line) const;

    // Throws TLoadError with what + " corrupt! Error " + number and the hint.
    [[noreturn]] void corrupt_line_report(const QString& what, int errorNumber,
                                          const QString& hint) const;

    const QString& path() const { return path_; }
    // Decoded when first asked for: record files move from header to header
    // without ever looking at the header's text.
    const QString& current_line() const;
    // The index of the current line in the file, from 0.
    qsizetype current_index() const;

  private:
    // The file stays in memory as its bytes; lines are found and decoded as
    // reading moves forward, so a large file costs little more than its size.
    struct TLine {
        qsizetype start = 0;
        qsizetype end = 0;   // without the line break
        qsizetype next = 0;  // where the following line starts
    };
    TLine line_from(qsizetype start) const;
    QString decoded(const TLine& line) const;
    bool starts_with(const TLine& line, const QByteArray& asciiPrefix) const;
    void set_bytes(QByteArray bytes);
    // Finds the header from the current line on; the first line after it,
    // or a start below 0 when there is none.
    qsizetype find_section(const QString& name, bool fatal);
    // The header line of the named section as the bytes an ASCII file holds;
    // empty when the name cannot be compared as bytes. Remembered for the
    // last name: a record file asks for "@#[]" once per record.
    const QByteArray& ascii_header(const QString& name);
    // Makes the header that ended a section the current line.
    void continue_at(qsizetype start);

    QString path_;
    // The open file, mapped into memory when the system allows: its pages
    // are the system's file cache, not a copy on the heap.
    std::unique_ptr<QFile> file_;
    QByteArray bytes_;
    // The whole file's encoding, judged the first time a line with a byte
    // beyond ASCII is decoded (plain ASCII reads alike in every encoding):
    // a file that is all ASCII is never scanned a second time. Shared with
    // the readers of its parts, whichever needs it first.
    struct TEncodingVerdict;
    std::shared_ptr<TEncodingVerdict> encoding_;
    platform::TextEncoding encoding() const;
    qsizetype current_start_ = 0;  // byte offset of the current line
    qsizetype next_start_ = 0;     // byte offset of the next line
    bool past_end_ = false;
    qsizetype next_index_ = 0;
    mutable QString current_line_;
    mutable bool current_line_decoded_ = true;
    QString header_name_;
    QByteArray header_bytes_;
    bool header_known_ = false;
};
