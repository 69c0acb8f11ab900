#include "platform/ini_store.h"

#include "platform/text_encoding.h"

#include <unistd.h>
#include <QFile>
#include <QSaveFile>

namespace platform {
namespace {

struct Line {
    qsizetype begin;  // offset of the first byte of the line
    qsizetype end;    // offset just past its last byte, before any CR/LF
    qsizetype next;   // offset of the following line
};

std::vector<Line> splitLines(const QByteArray& text) {
    std::vector<Line> lines;
    qsizetype pos = 0;
    const qsizetype size = text.size();
    while (pos < size) {
        qsizetype nl = text.indexOf('\n', pos);
        const qsizetype next = nl < 0 ? size : nl + 1;
        qsizetype end = nl < 0 ? size : nl;
        if (end > pos && text[end - 1] == '\r') --end;
        lines.push_back({pos, end, next});
        pos = next;
    }
    return lines;
}

QByteArray trimmed(const QByteArray& bytes) {
    return bytes.trimmed();
}

// The section name of a header line, or nothing for other lines.
std::optional<QByteArray> sectionName(const QByteArray& line) {
    const QByteArray t = trimmed(line);
    if (!t.startsWith('[')) return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0) return std::nullopt;
    return trimmed(t.mid(1, close - 1));
}

bool sameName(const QByteArray& stored, const QString& wanted) {
    return decodeText(stored).compare(wanted.trimmed(), Qt::CaseInsensitive) == 0;
}

struct KeyLine {
    QByteArray key;
    QByteArray value;
};

std::optional<KeyLine> keyLine(const QByteArray& line) {
    const qsizetype eq = line.indexOf('=');
    if (eq < 0) return std::nullopt;
    return KeyLine{trimmed(line.left(eq)), trimmed(line.mid(eq + 1))};
}

QString unquoted(const QByteArray& value) {
    QString v = decodeText(value);
    if (v.size() >= 2 && v.front() == u'"' && v.back() == u'"') v = v.mid(1, v.size() - 2);
    return v;
}

// Where a section lives in the file: its header line and the lines after it.
struct SectionSpan {
    std::optional<size_t> header;
    size_t firstLine = 0;
    size_t endLine = 0;  // one past its last line
};

SectionSpan findSection(const QByteArray& text, const std::vector<Line>& lines,
                        const QString& section) {
    SectionSpan span;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto name = sectionName(text.mid(lines[i].begin, lines[i].end - lines[i].begin));
        if (!name) continue;
        if (span.header) {
            span.endLine = i;
            return span;
        }
        if (sameName(*name, section)) {
            span.header = i;
            span.firstLine = i + 1;
        }
    }
    span.endLine = lines.size();
    return span;
}

QByteArray lineBreakOf(const QByteArray& text) {
    const qsizetype nl = text.indexOf('\n');
    if (nl > 0 && text[nl - 1] == '\r') return "\r\n";
    return "\n";
}

QByteArray singleLine(const QString& text) {
    QString t = text;
    t.replace(u'\r', u' ');
    t.replace(u'\n', u' ');
    return t.toUtf8();
}

}  // namespace

std::optional<QString> IniStore::valueIn(const QByteArray& contents, const QString& section,
                                         const QString& key) {
    const auto lines = splitLines(contents);
    const SectionSpan span = findSection(contents, lines, section);
    if (!span.header) return std::nullopt;
    for (size_t i = span.firstLine; i < span.endLine; ++i) {
        const auto kv = keyLine(contents.mid(lines[i].begin, lines[i].end - lines[i].begin));
        if (kv && sameName(kv->key, key)) return unquoted(kv->value);
    }
    return std::nullopt;
}

std::optional<QString> IniStore::read(const QString& path, const QString& section,
                                      const QString& key) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return valueIn(file.readAll(), section, key);
}

int IniStore::readInt(const QString& path, const QString& section, const QString& key,
                      int defaultValue) {
    return intOf(read(path, section, key), defaultValue);
}

int IniStore::intOf(const std::optional<QString>& value, int defaultValue) {
    if (!value || value->isEmpty()) return defaultValue;
    const QString& v = *value;
    qsizetype i = 0;
    bool negative = false;
    if (i < v.size() && (v[i] == u'-' || v[i] == u'+')) negative = v[i++] == u'-';
    quint32 number = 0;  // wraps like the system reader does on overflow
    for (; i < v.size() && v[i] >= u'0' && v[i] <= u'9'; ++i)
        number = number * 10u + static_cast<quint32>(v[i].unicode() - u'0');
    if (negative) number = 0u - number;
    return static_cast<int>(number);
}

QByteArray IniStore::withValue(const QByteArray& contents, const QString& section,
                               const QString& key, const QString& value) {
    const auto lines = splitLines(contents);
    const SectionSpan span = findSection(contents, lines, section);
    const QByteArray newLine = singleLine(key.trimmed()) + '=' + singleLine(value);
    const QByteArray lineBreak = lineBreakOf(contents);

    if (span.header) {
        std::optional<size_t> lastKeyLine;
        for (size_t i = span.firstLine; i < span.endLine; ++i) {
            const Line& l = lines[i];
            const auto kv = keyLine(contents.mid(l.begin, l.end - l.begin));
            if (!kv) continue;
            if (sameName(kv->key, key)) {
                return contents.left(l.begin) + newLine + contents.mid(l.end);
            }
            lastKeyLine = i;
        }
        // A new key goes after the section's last key, before any blank lines
        // that separate it from the next section.
        const Line& after = lines[lastKeyLine.value_or(*span.header)];
        QByteArray result = contents.left(after.next);
        if (after.next == after.end) result += lineBreak;  // the line had no line break
        result += newLine + lineBreak;
        result += contents.mid(after.next);
        return result;
    }

    QByteArray result = contents;
    if (!result.isEmpty() && !result.endsWith('\n')) result += lineBreak;
    result += '[' + singleLine(section.trimmed()) + ']' + lineBreak + newLine + lineBreak;
    return result;
}

bool IniStore::write(const QString& path, const QString& section, const QString& key,
                     const QString& value) {
    QByteArray contents;
    {
        QFile existing(path);
        if (existing.exists()) {
            if (!existing.open(QIODevice::ReadOnly)) return false;
            contents = existing.readAll();
        }
    }
    const QByteArray updated = withValue(contents, section, key, value);
    if (updated == contents && QFile::exists(path)) return true;

    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (out.write(updated) != updated.size()) {
        out.cancelWriting();
        return false;
    }
    if (!out.flush() || ::fsync(out.handle()) != 0) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

}  // namespace platform
