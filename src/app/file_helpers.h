#pragma once

// Paths, folders and file copies as the program needs them; failures are
// told to the user through the message boxes.

#include <QString>
#include <QStringList>
#include <atomic>

// Appends the separator to a non-empty path that lacks it.
void GLB_ensure_trailing_separator(QString& path);
QString GLB_with_trailing_separator(const QString& path);

// Tries the name against the current directory, then (for relative names)
// the start-up directory and the program directory.
bool GLB_find_program_file(const QString& name, QString& fullPath);

bool GLB_copy_file(const QString& source, const QString& target);

// Writes the whole file or leaves the one there as it was: a crash or a
// full disk midway never leaves half a file. The folder must be there.
bool GLB_write_file_atomically(const QString& path, const QByteArray& bytes);

// A free name beside a damaged file to keep it under, so that what the
// user had is never overwritten: "NAME.damaged-DATE-TIME", numbered when
// taken.
QString GLB_name_for_damaged_file(const QString& path);

struct TListDirectoryOptions {
    bool only_subdirectories = false;
    bool with_path = false;
    bool upper_case = false;
    const std::atomic<bool>* cancel = nullptr;
};
QStringList GLB_list_directory(const QString& directory, const TListDirectoryOptions& options);
int GLB_count_files(const QString& directory, bool withSubdirectories);
qint64 GLB_total_size(const QString& directory, const std::atomic<bool>* cancel = nullptr);

void GLB_create_directory(const QString& directory, bool& error);
bool GLB_remove_directory(const QString& directory);
bool GLB_delete_subdirectory_with_confirmation(const QString& directory);
bool GLB_delete_directory_contents(const QString& directory);
