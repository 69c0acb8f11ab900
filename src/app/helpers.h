#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <memory>

class QFont;

// Appends the separator to a non-empty path that lacks it.
void GLB_ensure_trailing_separator(QString& path);
QString GLB_with_trailing_separator(const QString& path);

// Tries the name against the current directory, then (for relative names)
// the start-up directory and the program directory.
bool GLB_find_program_file(const QString& name, QString& fullPath);

bool GLB_copy_file(const QString& source, const QString& target);

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

void GLB_run_program(const QString& program, const QStringList& arguments, bool wait, bool& error);
void GLB_open_with_shell(const QString& documentOrAddress);

// A block of memory that the picture routines fill and hand around.
using TGlobalMemory = std::unique_ptr<QByteArray>;
TGlobalMemory GLB_allocate_global_memory(qsizetype size, bool zeroFilled);
void GLB_free_global_memory(TGlobalMemory& block);

int GLB_font_height(const QFont& font);
int GLB_text_width(const QFont& font, const QString& text);
int GLB_average_char_width(const QFont& font);

bool GLB_key_down(int qtKey);

QString GLB_four_numbers_to_text(const std::array<int, 4>& numbers);
std::array<int, 4> GLB_text_to_four_numbers(const QString& text, bool& error);

// Takes the text up to the first "," off the line, leaving what follows it.
QString GLB_take_comma_field(QString& line);

// Reads "-12.345" whatever the system's decimal separator; the default when
// the text holds no number.
double GLB_read_decimal(const QString& text, double defaultValue);

inline int GLB_clamp(int value, int low, int high) {
    return value < low ? low : (value > high ? high : value);
}
inline bool GLB_is_digit(QChar c) {
    return c >= u'0' && c <= u'9';
}
