#include "formats/textfile.h"

#include "app/file_helpers.h"
#include "app/messages.h"
#include "platform/dialog_service.h"
#include "platform/text_encoding.h"

#include <QFile>
#include <memory>
#include <stdexcept>

namespace {

std::unique_ptr<Ttextfile_handler>& textsInstance() {
    static std::unique_ptr<Ttextfile_handler> texts;
    return texts;
}

bool& textsLoadedByStart() {
    static bool loaded = false;
    return loaded;
}

bool isSectionHeader(const QString& line, QString& name) {
    if (!line.startsWith(u'$')) return false;
    const qsizetype open = line.indexOf(u'[');
    if (open < 0) return false;
    const qsizetype close = line.indexOf(u']', open + 1);
    if (close < 0) return false;
    name = line.mid(open + 1, close - open - 1).toUpper();
    return true;
}

QStringList splitIntoLines(const QString& text) {
    QStringList lines = text.split(u'\n');
    for (QString& l : lines)
        if (l.endsWith(u'\r')) l.chop(1);
    // A final line break does not open one more (empty) line.
    if (!lines.isEmpty() && lines.back().isEmpty() && text.endsWith(u'\n')) lines.removeLast();
    return lines;
}

}  // namespace

Ttextfile_handler& GLB_texts() {
    if (!textsInstance())
        textsInstance().reset(new Ttextfile_handler(Ttextfile_handler::fromText({})));
    return *textsInstance();
}

void GLB_load_texts(const QString& fileName) {
    if (textsLoadedByStart())
        throw std::logic_error(
            "The program's texts are loaded once by the program's start; they were loaded "
            "again before the program's end dropped them.");
    bool found = false;
    auto texts = std::make_unique<Ttextfile_handler>(fileName, found, true);
    textsInstance() = std::move(texts);
    textsLoadedByStart() = true;
}

void GLB_free_texts() {
    textsInstance().reset();
    textsLoadedByStart() = false;
}

TTextsOverride::TTextsOverride(Ttextfile_handler texts)
    : previous_(std::move(textsInstance())) {
    textsInstance() = std::make_unique<Ttextfile_handler>(std::move(texts));
}

TTextsOverride::~TTextsOverride() {
    textsInstance() = std::move(previous_);
}

Ttextfile_handler::Ttextfile_handler(const QString& fileName, bool& found, bool fatal) {
    QString path;
    found = GLB_find_program_file(fileName, path);
    QFile file(path);
    if (found && file.open(QIODevice::ReadOnly)) {
        parse(splitIntoLines(platform::decodeText(file.readAll())));
        return;
    }
    found = false;
    const QString message = "The text file \"" + path + "\" was not found!";
    if (fatal) throw TLoadError(message);
    GLB_show_message(message, platform::box::IconStop);
}

Ttextfile_handler Ttextfile_handler::fromText(const QString& text) {
    Ttextfile_handler handler;
    handler.parse(splitIntoLines(text));
    return handler;
}

void Ttextfile_handler::parse(const QStringList& rawLines) {
    qsizetype cursor = 0;
    const qsizetype count = rawLines.size();
    while (cursor < count) {
        QString name;
        if (!isSectionHeader(rawLines[cursor], name)) {
            ++cursor;
            continue;
        }
        QStringList sectionLines;
        for (++cursor; cursor < count && !rawLines[cursor].startsWith(u'$'); ++cursor) {
            const QString& raw = rawLines[cursor];
            if (raw.startsWith(u'*') || raw.startsWith(u'\f')) continue;
            QString text = raw;
            const qsizetype hash = text.indexOf(u'#');
            if (hash >= 0) text.truncate(hash);
            text.replace(QStringLiteral("%$@"), QStringLiteral("#"));
            sectionLines << text;
        }
        // A repeated section never replaces the first: texts files are
        // edited by hand, and the first one is what translators see on top.
        if (!sections_.contains(name)) sections_.insert(name, sectionLines);
    }
}

QString Ttextfile_handler::line(const QString& section, int n) const {
    const auto it = sections_.constFind(section.toUpper());
    if (it == sections_.constEnd() || n < 1 || n > it->size()) return {};
    return it->at(n - 1);
}

void Ttextfile_handler::lines(const QString& section, QStringList& target, int maxLength,
                              int minLength, int count) const {
    target.clear();
    const auto it = sections_.constFind(section.toUpper());
    if (it == sections_.constEnd()) return;
    for (int i = 0; i <= count && i < it->size(); ++i) {
        QString text = it->at(i);
        if (minLength > 0 && text.size() < minLength) text = text.leftJustified(minLength, u' ');
        if (maxLength > 0) text.truncate(maxLength);
        target << text;
    }
}

void Ttextfile_handler::lines(const QString& section, QStringList& target, int count) const {
    lines(section, target, 0, 0, count);
}

QString Ttextfile_handler::joined_text(const QString& section) const {
    const auto it = sections_.constFind(section.toUpper());
    if (it == sections_.constEnd()) return {};
    return it->mid(0, 100).join(QString());
}

bool Ttextfile_handler::has_section(const QString& section) const {
    return sections_.contains(section.toUpper());
}

int Ttextfile_handler::section_line_count(const QString& section) const {
    const auto it = sections_.constFind(section.toUpper());
    return it == sections_.constEnd() ? 0 : static_cast<int>(it->size());
}
