#pragma once

// A whole INI file read once, for files with many keys (playlists), where
// asking the settings store key by key would read the file again each time.
// Same rules as the store: names case-insensitive and trimmed, the first of
// duplicate sections and keys wins, one pair of enclosing quotes dropped.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

class TIniSnapshot {
  public:
    static TIniSnapshot from_bytes(const QByteArray& contents);
    // An unreadable or missing file gives an empty snapshot.
    static TIniSnapshot from_file(const QString& path);

    std::optional<QString> value(const QString& section, const QString& key) const;
    QString text(const QString& section, const QString& key, const QString& defaultValue) const;
    int integer(const QString& section, const QString& key, int defaultValue) const;
    bool flag(const QString& section, const QString& key, bool defaultValue) const;

  private:
    QHash<QString, QHash<QString, QString>> sections_;  // by lower-case names
};

// The text of a new INI file, written section by section in the order the
// keys come; what the settings store would leave after writing the keys one
// by one into an empty file.
class TIniComposer {
  public:
    void add(const QString& section, const QString& key, const QString& value);
    QByteArray bytes() const;

  private:
    struct TSection {
        QString name;
        std::vector<std::pair<QString, QString>> keys;
        QHash<QString, size_t> index;  // lower-case key -> place in keys
    };
    std::vector<TSection> sections_;
};
