#include "learning/quiz_log.h"

#include "app/editions.h"
#include "app/file_helpers.h"
#include "playlists/user_files_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QUrl>

namespace {

constexpr char kHeader[] = "# Korvelan quiz log 1";
constexpr int kFields = 6;

// A name may hold anything; tabs and line ends must not split the line.
QString encoded(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text, " ()'-,.&/"));
}

}  // namespace

const char* TQuizLog::header() {
    return kHeader;
}

QString TQuizLog::line_of(const TQuizAnswer& a) {
    return a.time.toUTC().toString(Qt::ISODateWithMs) + u'\t' + QString::number(a.species_id) + u'\t' +
           QString::number(static_cast<int>(a.rating)) + u'\t' + QString::number(a.elapsed_ms) + u'\t' +
           encoded(a.recording) + u'\t' + encoded(a.answer);
}

std::optional<TQuizAnswer> TQuizLog::parse_line(const QString& line) {
    const QStringList fields = line.split(u'\t');
    if (fields.size() != kFields) return std::nullopt;
    TQuizAnswer a;
    a.time = QDateTime::fromString(fields[0], Qt::ISODateWithMs);
    if (!a.time.isValid()) return std::nullopt;
    a.time = a.time.toUTC();
    bool ok = false;
    a.species_id = fields[1].toInt(&ok);
    if (!ok) return std::nullopt;
    const int rating = fields[2].toInt(&ok);
    if (!ok || rating < 1 || rating > 4) return std::nullopt;
    a.rating = static_cast<fsrs::Rating>(rating);
    a.elapsed_ms = fields[3].toInt(&ok);
    if (!ok || a.elapsed_ms < 0) return std::nullopt;
    a.recording = QUrl::fromPercentEncoding(fields[4].toLatin1());
    a.answer = QUrl::fromPercentEncoding(fields[5].toLatin1());
    return a;
}

TQuizLog::LoadResult TQuizLog::load() {
    LoadResult result;
    QFile file(path_);
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) return result;
    const QByteArray bytes = file.readAll();
    file.close();
    if (bytes.isEmpty()) return result;

    // Only lines ended by a newline were written whole.
    const qsizetype lastNewline = bytes.lastIndexOf('\n');
    const QByteArray whole = lastNewline < 0 ? QByteArray() : bytes.left(lastNewline + 1);
    result.dropped_interrupted_line = lastNewline + 1 < bytes.size();

    bool damaged = false;
    QList<QByteArray> lines = whole.split('\n');
    lines.removeLast();  // after the final newline
    if (lines.isEmpty()) {
        // Only a header cut short can be forgiven; anything else is not ours.
        damaged = !QByteArray(kHeader).startsWith(bytes.trimmed());
    } else if (lines.front().trimmed() != kHeader) {
        damaged = true;
    } else {
        for (qsizetype i = 1; i < lines.size() && !damaged; ++i) {
            const QString text = QString::fromUtf8(lines[i]).trimmed();
            if (text.isEmpty()) continue;
            std::optional<TQuizAnswer> answer = parse_line(text);
            if (answer)
                result.answers.push_back(*answer);
            else
                damaged = true;
        }
    }
    if (damaged) {
        result.answers.clear();
        result.dropped_interrupted_line = false;
        const QString aside = GLB_name_for_damaged_file(path_);
        if (QFile::rename(path_, aside)) result.damaged_moved_to = aside;
        return result;
    }
    if (result.dropped_interrupted_line) {
        // The next answer must start on a line of its own.
        QSaveFile out(path_);
        if (out.open(QIODevice::WriteOnly)) {
            out.write(whole.isEmpty() ? QByteArray(kHeader) + '\n' : whole);
            out.commit();
        }
    }
    return result;
}

bool TQuizLog::append(const TQuizAnswer& answer) {
    QDir().mkpath(QFileInfo(path_).path());
    QFile file(path_);
    const bool fresh = !file.exists() || QFileInfo(path_).size() == 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    QByteArray bytes;
    if (fresh) bytes = QByteArray(kHeader) + '\n';
    bytes += line_of(answer).toUtf8() + '\n';
    // One write and a flush: the line reaches the system before the next
    // question, and a kill cannot split the lines written before it.
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    return written;
}

QString GLB_quiz_log_path() {
    return GLB_user_files_folder(QStringLiteral("Quiz\\")) + GLB_edition().short_title() +
           QStringLiteral(" quiz log.txt");
}
