#include "app/file_helpers.h"

#include "app/globals.h"
#include "app/messages.h"
#include "platform/dialog_service.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

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

bool GLB_write_file_atomically(const QString& path, const QByteArray& bytes) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return false;
    // On the disk before the rename, or the rename may land first.
    if (out.write(bytes) != bytes.size() || !out.flush() || ::fsync(out.handle()) != 0) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

QString GLB_name_for_damaged_file(const QString& path) {
    const QString stem = path + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-hhmmss"));
    QString name = stem;
    for (int n = 2; QFileInfo::exists(name); ++n) name = stem + u'-' + QString::number(n);
    return name;
}
