#pragma once

#include <QString>
#include <optional>

namespace platform {

// Key-by-key access to an INI file with the semantics users' existing
// settings files were written for: case-insensitive names, first duplicate
// wins, surrounding blanks trimmed, one pair of enclosing quotes dropped.
// The file is never held open; every write replaces the file atomically and
// leaves every other line exactly as it was.
class IniStore {
  public:
    // The stored value, or nothing when the section or key is absent.
    static std::optional<QString> read(const QString& path, const QString& section,
                                       const QString& key);
    // Integer reading of the value: leading sign and digits, "42abc" gives 42,
    // a value without digits gives 0, an absent or empty value the default.
    static int readInt(const QString& path, const QString& section, const QString& key,
                       int defaultValue);
    // The integer reading of a value already read; nothing or empty gives
    // the default.
    static int intOf(const std::optional<QString>& value, int defaultValue);
    // Returns false when the file could not be written; the old file then stays.
    static bool write(const QString& path, const QString& section, const QString& key,
                      const QString& value);

    // The pure transformation behind write(): the new file contents.
    static QByteArray withValue(const QByteArray& contents, const QString& section,
                                const QString& key, const QString& value);
    static std::optional<QString> valueIn(const QByteArray& contents, const QString& section,
                                          const QString& key);
};

}  // namespace platform
