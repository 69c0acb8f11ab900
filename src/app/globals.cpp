#include "app/globals.h"

#include "app/file_helpers.h"
#include "app/messages.h"
#include "app/program_location.h"
#include "app/settings.h"
#include "app/settings_general.h"
#include "platform/dialog_service.h"
#include "platform/drives.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QOperatingSystemVersion>
#include <QScreen>
#include <cmath>
#include <numbers>

TGlobalValues& GLB() {
    static TGlobalValues values;
    return values;
}

void GLB_fill_sine_table(std::array<double, 91>& table) {
    for (size_t degree = 0; degree < table.size(); ++degree)
        table[degree] = std::sin(static_cast<double>(degree) * std::numbers::pi / 180.0);
}

namespace {

QChar timeSeparatorOf(const QLocale& locale) {
    // The first character between the hour and minute fields of the short format.
    const QString format = locale.timeFormat(QLocale::ShortFormat);
    for (const QChar c : format) {
        if (!c.isLetter() && !c.isSpace() && c != u'\'') return c;
    }
    return u':';
}

void readScreenCapabilities(TGlobalValues& g) {
    int depth = 24;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) depth = screen->depth();
    }
    g.screen_palette_based = depth > 0 && depth <= 8;
    g.screen_colours = qint64{1} << std::clamp(depth, 1, 24);
}

}  // namespace

void GLB_initialise_process_values(const QString& startupDirectory,
                                   const QString& programDirectory) {
    TGlobalValues& g = GLB();
    GLB_fill_sine_table(g.sine_table);
    g.startup_directory = GLB_with_trailing_separator(startupDirectory);
    g.program_directory = GLB_with_trailing_separator(programDirectory);
    g.settings_file_path = GLB_settings_file_location(g.program_directory, g.settings_file_name);
    g.settings_file_on_cdrom = platform::isOnCdRom(g.settings_file_path);

    const QFileInfo settingsFile(g.settings_file_path);
    if (!settingsFile.isFile() || !settingsFile.isReadable()) {
        GLB_show_message(
            QStringLiteral("There is a problem with the file ") + g.settings_file_path.toUpper(),
            platform::box::IconStop);
    }
    g.store_settings_between_sessions =
        GLB_read_flag(g.default_section, settings::general::kStoreSettingsBetweenSessions,
                      settings::general::kStoreSettingsBetweenSessionsDefault);
    readScreenCapabilities(g);
    const QOperatingSystemVersion os = QOperatingSystemVersion::current();
    g.os_major_version = os.majorVersion() < 0 ? 0 : os.majorVersion();
    g.os_minor_version = os.minorVersion() < 0 ? 0 : os.minorVersion();

    const QLocale locale = QLocale::system();
    const QString decimal = locale.decimalPoint();
    g.decimal_separator = decimal.isEmpty() ? QChar(u'.') : decimal.front();
    g.time_separator = timeSeparatorOf(locale);
    g.beeps_off = !GLB_read_flag(g.default_section, settings::general::kBeeps, settings::general::kBeepsDefault);
}
