#include "formats/datafile_reader.h"

#include "app/editions.h"
#include "app/helpers.h"
#include "app/messages.h"
#include "formats/textfile.h"
#include "platform/text_encoding.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <limits>

namespace {

const QString kHeaderStart = QStringLiteral("@#[");

}  // namespace

void TDataFileReader::set_bytes(QByteArray bytes) {
    bytes_ = std::move(bytes);
    encoding_ = platform::detectEncoding(bytes_);
    starts_.clear();
    const qsizetype size = bytes_.size();
    if (size > 0) {
        starts_.reserve(static_cast<size_t>(bytes_.count('\n')) + 1);
        const char* data = bytes_.constData();
        qsizetype at = 0;
        while (at < size) {
            starts_.push_back(static_cast<std::uint32_t>(at));
            const void* feed = std::memchr(data + at, '\n', static_cast<size_t>(size - at));
            if (!feed) break;
            at = static_cast<const char*>(feed) - data + 1;
        }
        // A line feed at the very end ends the last line; it opens none.
    } else {
        starts_.push_back(0);  // an empty text is one empty line
    }
    next_index_ = 0;
}

QByteArrayView TDataFileReader::raw_line(qsizetype index) const {
    const auto i = static_cast<size_t>(index);
    const qsizetype begin = starts_[i];
    qsizetype end = i + 1 < starts_.size() ? qsizetype(starts_[i + 1]) - 1 : bytes_.size();
    if (end > begin && bytes_[end - 1] == '\n') --end;
    if (end > begin && bytes_[end - 1] == '\r') --end;
    return QByteArrayView(bytes_.constData() + begin, end - begin);
}

QString TDataFileReader::line_at(qsizetype index) const {
    const QByteArrayView raw = raw_line(index);
    QString text = platform::decodeText(raw, encoding_);
    if (raw.contains(QByteArrayView("LINEFEED_ONLY_REPLACER")))
        text.replace(QStringLiteral("LINEFEED_ONLY_REPLACER"), QStringLiteral("\n"));
    return text;
}

bool TDataFileReader::line_starts_with(qsizetype index, const QByteArray& asciiPrefix) const {
    return raw_line(index).startsWith(asciiPrefix);
}

bool TDataFileReader::open_data_file(const QString& fileName, bool fatal) {
    QString fullPath;
    const bool found = GLB_find_program_file(fileName, fullPath);
    QFile file(fullPath);
    // Line starts are kept in 32 bits; no data file comes near 4 GB.
    const bool readable = found && file.open(QIODevice::ReadOnly) &&
                          file.size() < std::numeric_limits<std::uint32_t>::max();
    if (!readable) {
        if (fatal) GLB_fatal_message("File \"" + fullPath + "\" could not be loaded!");
        return false;
    }
    path_ = fullPath;
    set_bytes(file.readAll());
    current_line_ = next_line();
    return true;
}

void TDataFileReader::open_text(const QString& pathForMessages, const QString& text) {
    path_ = pathForMessages;
    set_bytes(text.toUtf8());
    current_line_ = next_line();
}

QString TDataFileReader::next_line() {
    if (next_index_ >= line_count()) {
        next_index_ = line_count() + 1;  // the current line is past the end too
        current_line_.clear();
        return {};
    }
    current_line_ = line_at(next_index_++);
    return current_line_;
}

qsizetype TDataFileReader::find_section(const QString& name, bool fatal) {
    const QString header = kHeaderStart + name + u']';
    const QByteArray latin1Header = header.toLatin1();
    const bool ascii = QString::fromLatin1(latin1Header) == header &&
                       std::all_of(latin1Header.begin(), latin1Header.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const qsizetype lines = line_count();
    qsizetype index = std::max<qsizetype>(next_index_ - 1, 0);
    // Names are plain ASCII in practice, so the bytes can be compared as
    // they are; any other name is compared as text.
    while (index < lines &&
           !(ascii ? line_starts_with(index, latin1Header) : line_at(index).startsWith(header)))
        ++index;
    if (index < lines) return index + 1;
    if (fatal) {
        const Ttextfile_handler& t = GLB_texts();
        GLB_fatal_message(t.line(QStringLiteral("BS_DATA"), 3) + path_ + u'\n' +
                          t.line(QStringLiteral("BS_DATA"), 4) + " \"" + header + "\" " +
                          t.line(QStringLiteral("BS_DATA"), 5));
    }
    return -1;
}

void TDataFileReader::continue_after(qsizetype endOfSection) {
    // Reading goes on at the header that ended the section; a section that
    // ends the file leaves the reader past its end, so it is not found twice.
    if (endOfSection < line_count()) {
        current_line_ = line_at(endOfSection);
        next_index_ = endOfSection + 1;
    } else {
        current_line_.clear();
        next_index_ = line_count() + 1;
    }
}

bool TDataFileReader::read_section(const QString& name, bool fatal, int lastIndex,
                                   QStringList& target, int& count) {
    count = 0;
    const qsizetype first = find_section(name, fatal);
    if (first < 0) return false;
    static const QByteArray anyHeader = kHeaderStart.toLatin1();
    const qsizetype wanted = std::max(lastIndex + 1, 0);
    if (target.size() < wanted) target.resize(wanted);
    qsizetype line = first;
    for (; line < line_count() && !line_starts_with(line, anyHeader); ++line) {
        if (count < wanted) target[count++] = line_at(line);
    }
    for (qsizetype i = count; i < target.size(); ++i) target[i].clear();
    continue_after(line);
    return true;
}

bool TDataFileReader::read_whole_section(const QString& name, bool fatal, QStringList& target) {
    target.clear();
    const qsizetype first = find_section(name, fatal);
    if (first < 0) return false;
    static const QByteArray anyHeader = kHeaderStart.toLatin1();
    qsizetype line = first;
    for (; line < line_count() && !line_starts_with(line, anyHeader); ++line)
        target.push_back(line_at(line));
    continue_after(line);
    return true;
}

void TDataFileReader::corrupt_line_report(const QString& what, int errorNumber,
                                          const QString& hint) const {
    QString middle = QStringLiteral(" corrupt! Error ");
    switch (GLB_edition().language) {
        case TLanguage::Spanish:
            middle = QStringLiteral(" corrupto! Error ");
            break;
        case TLanguage::Dutch:
            middle = QStringLiteral(" corrupt! Fout ");
            break;
        default:
            break;
    }
    GLB_fatal_message(what + middle + QString::number(errorNumber) + u'\n' + "hint: \"" + hint +
                      u'"');
}
