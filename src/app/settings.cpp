#include "app/settings.h"

#include "app/globals.h"
#include "platform/ini_store.h"

namespace {

constexpr qsizetype kMaxTextLength = 10000;
constexpr qsizetype kMaxSetTextLength = 1000;

QString fileOrDefault(const QString& file) {
    return file.isEmpty() ? GLB().settings_file_path : file;
}

// Writes to the program's own settings file are dropped when it lies on a
// read-only disc; a file named explicitly is always written.
bool writeAllowed(const QString& file) {
    return !file.isEmpty() || !GLB().settings_file_on_cdrom;
}

}  // namespace

QString GLB_read_string(const QString& section, const QString& key, const QString& defaultValue,
                        const QString& file) {
    const auto value = platform::IniStore::read(fileOrDefault(file), section, key);
    return value ? value->left(kMaxTextLength) : defaultValue;
}

int GLB_read_int(const QString& section, const QString& key, int defaultValue,
                 const QString& file) {
    return platform::IniStore::readInt(fileOrDefault(file), section, key, defaultValue);
}

bool GLB_read_flag(const QString& section, const QString& key, bool defaultValue,
                   const QString& file) {
    const QString text =
        GLB_read_string(section, key, defaultValue ? QStringLiteral("Y") : QStringLiteral("N"),
                        file)
            .left(3);
    return GLB_flag_of_text(text);
}

bool GLB_flag_of_text(const QString& text) {
    if (text.isEmpty()) return false;
    const QChar first = text.front().toUpper();
    return first == u'Y' || first == u'T';
}

TSmallNumberSet GLB_parse_set(const QString& text) {
    TSmallNumberSet set;
    int number = 0;
    bool inRun = false;
    auto addNumber = [&] {
        if (inRun && number >= 1 && number <= 255) set.set(static_cast<size_t>(number));
        number = 0;
        inRun = false;
    };
    for (const QChar c : text.left(kMaxSetTextLength)) {
        if (c == u'-') {
            addNumber();
        } else if (c >= u'0' && c <= u'9') {
            // Saturate instead of overflowing: anything above 255 is out anyway.
            number = std::min(number * 10 + (c.unicode() - u'0'), 100000);
            inRun = true;
        }
    }
    addNumber();
    return set;
}

QString GLB_format_set(const TSmallNumberSet& set) {
    QStringList members;
    for (size_t n = 1; n <= 255; ++n)
        if (set.test(n)) members << QString::number(n);
    return members.join(u'-');
}

TSmallNumberSet GLB_read_set(const QString& section, const QString& key,
                             const TSmallNumberSet& defaultValue, const QString& file) {
    const auto value = platform::IniStore::read(fileOrDefault(file), section, key);
    return value ? GLB_parse_set(*value) : defaultValue;
}

void GLB_write_string(const QString& section, const QString& key, const QString& value,
                      const QString& file) {
    if (!writeAllowed(file)) return;
    platform::IniStore::write(fileOrDefault(file), section, key, value);
}

void GLB_write_int(const QString& section, const QString& key, int value, const QString& file) {
    GLB_write_string(section, key, QString::number(value), file);
}

void GLB_write_flag(const QString& section, const QString& key, bool value, const QString& file) {
    GLB_write_string(section, key, value ? QStringLiteral("Yes") : QStringLiteral("No"), file);
}

void GLB_write_set(const QString& section, const QString& key, const TSmallNumberSet& value,
                   const QString& file) {
    GLB_write_string(section, key, GLB_format_set(value), file);
}
