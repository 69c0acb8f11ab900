#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>

// The user-interface texts, in named sections of numbered lines.
class Ttextfile_handler {
  public:
    // Finds and parses the file. When it is missing or unreadable the text
    // "The text file ... was not found!" is shown; with fatal set it is
    // thrown as a TLoadError instead.
    Ttextfile_handler(const QString& fileName, bool& found, bool fatal);
    // Parses texts already in memory (the same rules as a file).
    static Ttextfile_handler fromText(const QString& text);

    // The n-th line (from 1) of the section; empty when there is none.
    QString line(const QString& section, int n) const;
    // Lines 1, 2, ... into target entries 0, 1, ... up to entry count, each
    // padded to minLength and cut to maxLength when those are above 0.
    void lines(const QString& section, QStringList& target, int maxLength, int minLength,
               int count) const;
    void lines(const QString& section, QStringList& target, int count) const;
    // The first 100 lines of the section joined without separators.
    QString joined_text(const QString& section) const;

    bool has_section(const QString& section) const;
    int section_line_count(const QString& section) const;

  private:
    Ttextfile_handler() = default;
    void parse(const QStringList& rawLines);

    QHash<QString, QStringList> sections_;
};

// The program's texts. Start-up loads them once (GLB_load_texts); they stay
// until the program's end drops them (GLB_free_texts), and only the next
// start may load them again. Without any, every line is empty.
Ttextfile_handler& GLB_texts();
// Finds and reads the texts file as the program's texts; a missing file is
// thrown as a TLoadError. A second load before GLB_free_texts is a
// programming error: it throws std::logic_error.
void GLB_load_texts(const QString& fileName);
void GLB_free_texts();

// The way tests and tools put texts in place for a while: they are the
// program's texts as long as the override lives; then the previous ones
// come back. It leaves the start's load-once rule alone.
class TTextsOverride {
  public:
    explicit TTextsOverride(Ttextfile_handler texts);
    ~TTextsOverride();
    TTextsOverride(const TTextsOverride&) = delete;
    TTextsOverride& operator=(const TTextsOverride&) = delete;

  private:
    std::unique_ptr<Ttextfile_handler> previous_;
};
// The first line of a section, the common case.
inline QString GLB_text(const QString& section, int n = 1) {
    return GLB_texts().line(section, n);
}
