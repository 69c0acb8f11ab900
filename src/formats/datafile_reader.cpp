#include "formats/datafile_reader.h"

#include "app/editions.h"
#include "app/helpers.h"
#include "app/messages.h"
#include "formats/textfile.h"
#include "platform/text_encoding.h"

#include <QFile>

namespace {

const QString kHeaderStart = QStringLiteral("@#[");

}  // namespace

QString TDataFileReader::expanded(const QString& line) {
    QString text = line;
    text.replace(QStringLiteral("LINEFEED_ONLY_REPLACER"), QStringLiteral("\n"));
    return text;
}

bool TDataFileReader::open_data_file(const QString& fileName, bool fatal) {
    QString fullPath;
    const bool found = GLB_find_program_file(fileName, fullPath);
    QFile file(fullPath);
    if (!found || !file.open(QIODevice::ReadOnly)) {
        if (fatal) GLB_fatal_message("File \"" + fullPath + "\" could not be loaded!");
        return false;
    }
    open_text(fullPath, platform::decodeText(file.readAll()));
    return true;
}

void TDataFileReader::open_text(const QString& pathForMessages, const QString& text) {
    path_ = pathForMessages;
    lines_ = text.split(u'\n');
    for (QString& l : lines_)
        if (l.endsWith(u'\r')) l.chop(1);
    if (!lines_.isEmpty() && lines_.back().isEmpty() && text.endsWith(u'\n')) lines_.removeLast();
    next_index_ = 0;
    current_line_ = next_line();
}

QString TDataFileReader::next_line() {
    if (next_index_ >= lines_.size()) {
        next_index_ = lines_.size() + 1;  // the current line is past the end too
        current_line_.clear();
        return {};
    }
    current_line_ = expanded(lines_[next_index_++]);
    return current_line_;
}

bool TDataFileReader::read_section(const QString& name, bool fatal, int lastIndex,
                                   QStringList& target, int& count) {
    const QString header = kHeaderStart + name + u']';
    count = 0;
    qsizetype index = std::max<qsizetype>(next_index_ - 1, 0);
    while (index < lines_.size() && !lines_[index].startsWith(header)) ++index;
    if (index >= lines_.size()) {
        if (fatal) {
            const Ttextfile_handler& t = GLB_texts();
            GLB_fatal_message(t.line(QStringLiteral("BS_DATA"), 3) + path_ + u'\n' +
                              t.line(QStringLiteral("BS_DATA"), 4) + " \"" + header + "\" " +
                              t.line(QStringLiteral("BS_DATA"), 5));
        }
        return false;
    }
    const qsizetype wanted = std::max(lastIndex + 1, 0);
    if (target.size() < wanted) target.resize(wanted);
    qsizetype line = index + 1;
    for (; line < lines_.size() && !lines_[line].startsWith(kHeaderStart); ++line) {
        if (count < wanted) target[count++] = expanded(lines_[line]);
    }
    for (qsizetype i = count; i < target.size(); ++i) target[i].clear();
    // Reading goes on at the header that ended the section.
    next_index_ = line;
    current_line_ = next_index_ < lines_.size() ? expanded(lines_[next_index_]) : QString();
    if (next_index_ < lines_.size()) ++next_index_;
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
