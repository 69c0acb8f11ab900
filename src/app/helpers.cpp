#include "app/helpers.h"

#include "app/globals.h"
#include "app/messages.h"
#include "platform/dialog_service.h"
#include "platform/desktop.h"
#include "platform/system.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <new>

using platform::box::IconStop;

void GLB_ensure_trailing_separator(QString& path) {
    if (!path.isEmpty() && !path.endsWith(u'/') && !path.endsWith(u'\\')) path += u'/';
}

QString GLB_with_trailing_separator(const QString& path) {
    QString p = path;
    GLB_ensure_trailing_separator(p);
    return p;
}

namespace {

bool isRelative(const QString& name) {
    if (name.startsWith(u'/') || name.startsWith(u'\\')) return false;
    return !(name.size() >= 2 && name[1] == u':' && name[0].isLetter());
}

}  // namespace

bool GLB_find_program_file(const QString& name, QString& fullPath) {
    QStringList candidates{QDir::current().absoluteFilePath(name)};
    if (isRelative(name)) {
        candidates << GLB().startup_directory + name << GLB().program_directory + name;
    }
    for (const QString& candidate : candidates) {
        const QFileInfo info(candidate);
        if (info.isFile()) {
            fullPath = info.absoluteFilePath();
            return true;
        }
    }
    // Where the file belongs is the most useful place to name in a message.
    fullPath = QFileInfo(candidates.back()).absoluteFilePath();
    return false;
}

bool GLB_copy_file(const QString& source, const QString& target) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        GLB_show_message("Could not open \"" + source + "\" for reading.", IconStop);
        return false;
    }
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        GLB_show_message("Could not open \"" + target + "\" for writing.", IconStop);
        return false;
    }
    char block[1000];
    for (;;) {
        const qint64 got = in.read(block, sizeof block);
        if (got < 0) {
            GLB_show_message("Something went wrong when reading from \"" + source + u'"', IconStop);
            return false;
        }
        if (got == 0) break;
        if (out.write(block, got) != got) {
            GLB_show_message("Something went wrong when writing to \"" + target + u'"', IconStop);
            return false;
        }
    }
    out.close();
    if (out.error() != QFileDevice::NoError) {
        GLB_show_message("Something went wrong when writing to \"" + target + u'"', IconStop);
        return false;
    }
    if (out.open(QIODevice::ReadWrite | QIODevice::Append)) {
        out.setFileTime(QFileInfo(source).lastModified(), QFileDevice::FileModificationTime);
    }
    return true;
}

QStringList GLB_list_directory(const QString& directory, const TListDirectoryOptions& options) {
    QStringList result;
    QDir dir(directory);
    const QDir::Filters filters = (options.only_subdirectories ? QDir::Dirs : QDir::AllEntries) |
                                  QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
    const QString prefix = GLB_with_trailing_separator(directory);
    for (const QString& entry : dir.entryList(filters, QDir::Name)) {
        if (options.cancel && options.cancel->load()) break;
        QString name = options.with_path ? prefix + entry : entry;
        result << (options.upper_case ? name.toUpper() : name);
    }
    return result;
}

int GLB_count_files(const QString& directory, bool withSubdirectories) {
    const QDir::Filters filters = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden;
    QDirIterator it(
        directory, filters,
        withSubdirectories ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    int count = 0;
    while (it.hasNext()) {
        it.next();
        ++count;
    }
    return count;
}

qint64 GLB_total_size(const QString& directory, const std::atomic<bool>* cancel) {
    qint64 total = 0;
    QDirIterator it(directory, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        if (cancel && cancel->load()) break;
        total += it.nextFileInfo().size();
    }
    return total;
}

void GLB_create_directory(const QString& directory, bool& error) {
    const QFileInfo info(directory);
    if (info.isDir()) return;
    if (info.exists()) {
        GLB_show_message("Procedure \"GLB_create_directory()\" wanted to create subdirectory \"" +
                             directory + "\", but a file with the same name already exists.",
                         IconStop);
        error = true;
        return;
    }
    if (!QDir().mkdir(directory)) {
        GLB_show_message(
            "Something went wrong in procedure \"GLB_create_directory()\" when creating "
            "subdirectory \"" +
                directory + "\".",
            IconStop);
        error = true;
    }
}

bool GLB_remove_directory(const QString& directory) {
    if (QDir().rmdir(directory)) return true;
    platform::DialogService::message(
        directory, QStringLiteral("Something went wrong when deleting directory:"), IconStop);
    return false;
}

namespace {

bool deleteTree(const QString& directory) {
    QDir dir(directory);
    bool ok = true;
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (entry.isDir() && !entry.isSymLink()) {
            ok = deleteTree(entry.absoluteFilePath()) && ok;
        } else if (!QFile::remove(entry.absoluteFilePath())) {
            ok = false;
        }
    }
    return GLB_remove_directory(directory) && ok;
}

}  // namespace

bool GLB_delete_subdirectory_with_confirmation(const QString& directory) {
    const int answer = platform::DialogService::message(
        "Is it OK to delete the subdirectory \"" + directory + "\"?", QString(),
        platform::box::QuestionYesNo);
    if (answer != platform::answer::Yes) return false;
    return deleteTree(directory);
}

bool GLB_delete_directory_contents(const QString& directory) {
    QDir dir(directory);
    if (!dir.exists()) return false;
    bool ok = true;
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
        if (entry.isDir() && !entry.isSymLink()) {
            ok = QDir(entry.absoluteFilePath()).removeRecursively() && ok;
        } else {
            ok = QFile::remove(entry.absoluteFilePath()) && ok;
        }
    }
    return ok;
}

void GLB_run_program(const QString& program, const QStringList& arguments, bool wait, bool& error) {
    const platform::RunResult result = platform::runProgram(program, arguments, wait);
    const QString commandLine = arguments.isEmpty() ? QString() : u' ' + arguments.join(u' ');
    if (!result.started) {
        platform::DialogService::message("Could not execute \"" + program + commandLine +
                                             "\".\nError code is " +
                                             QString::number(result.systemError),
                                         QString(), IconStop);
        error = true;
        return;
    }
    if (result.waitFailed) {
        platform::DialogService::message("Something went wrong when waiting for the process \"" +
                                             program + commandLine + "\" to return!",
                                         QString(), IconStop);
        error = true;
    }
}

void GLB_open_with_shell(const QString& documentOrAddress) {
    platform::openWithAssociatedProgram(documentOrAddress);
}

TGlobalMemory GLB_allocate_global_memory(qsizetype size, bool zeroFilled) {
    try {
        auto block = std::make_unique<QByteArray>();
        if (zeroFilled) {
            block->fill('\0', size);
        } else {
            block->resize(size);
        }
        if (block->size() != size) throw std::bad_alloc();
        return block;
    } catch (const std::bad_alloc&) {
        GLB_show_message(QStringLiteral("Could not globally allocate!"), IconStop);
        return nullptr;
    }
}

void GLB_free_global_memory(TGlobalMemory& block) {
    if (!block) {
        GLB_show_message(QStringLiteral("GlobalFree with parameter = 0!"), IconStop);
        return;
    }
    block.reset();
}

namespace {
// 72 characters, mixed as running text is, for a fair average width.
const QString kSampleSentence =
    QStringLiteral("The quick brown fox jumps over the lazy dog while 12 birds sing, Ok? Yes.");
}  // namespace

int GLB_font_height(const QFont& font) {
    const int height = QFontMetrics(font).height();
    if (height <= 0) {
        GLB_show_message(QStringLiteral("\"GetTextMetrics()\" returned FALSE!"), IconStop);
        return 13;
    }
    return height;
}

int GLB_text_width(const QFont& font, const QString& text) {
    return QFontMetrics(font).horizontalAdvance(text);
}

int GLB_average_char_width(const QFont& font) {
    const int width = GLB_text_width(font, kSampleSentence);
    return (width + static_cast<int>(kSampleSentence.size()) / 2) /
           static_cast<int>(kSampleSentence.size());
}

bool GLB_key_down(int qtKey) {
    return platform::isKeyDown(qtKey);
}

QString GLB_four_numbers_to_text(const std::array<int, 4>& numbers) {
    return QStringLiteral("%1,%2,%3,%4")
        .arg(numbers[0])
        .arg(numbers[1])
        .arg(numbers[2])
        .arg(numbers[3]);
}

std::array<int, 4> GLB_text_to_four_numbers(const QString& text, bool& error) {
    std::array<int, 4> numbers{1, 1, 1, 1};
    QString rest = text;
    for (int& n : numbers) {
        const QString field = GLB_take_comma_field(rest).trimmed();
        bool ok = false;
        const int value = field.toInt(&ok);
        if (ok) {
            n = value;
        } else {
            error = true;
        }
    }
    return numbers;
}

QString GLB_take_comma_field(QString& line) {
    const qsizetype comma = line.indexOf(u',');
    if (comma < 0) {
        QString field = line;
        line.clear();
        return field;
    }
    QString field = line.left(comma);
    line = line.mid(comma + 1);
    return field;
}

double GLB_read_decimal(const QString& text, double defaultValue) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
    double value = 0;
    bool digits = false;
    for (; i < t.size() && GLB_is_digit(t[i]); ++i, digits = true)
        value = value * 10 + (t[i].unicode() - u'0');
    if (i < t.size() && t[i] == u'.') {
        double scale = 0.1;
        for (++i; i < t.size() && GLB_is_digit(t[i]); ++i, digits = true, scale /= 10)
            value += (t[i].unicode() - u'0') * scale;
    }
    if (!digits || i != t.size()) return defaultValue;
    return negative ? -value : value;
}
