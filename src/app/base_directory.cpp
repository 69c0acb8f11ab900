#include "app/base_directory.h"

#include "app/file_helpers.h"
#include "app/globals.h"
#include "app/settings.h"
#include "app/settings_general.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"
#include "platform/drives.h"

#include <vector>

namespace {


std::vector<std::function<void()>>& listeners() {
    static std::vector<std::function<void()>> list;
    return list;
}

bool hasDriveLetter(const QString& path) {
    return path.size() >= 2 && path[1] == u':' && path[0].isLetter();
}

}  // namespace

QString GLB_drive_of(const QString& path, const QString& mountTable) {
    if (hasDriveLetter(path) || path.size() < 2) return path.left(2);
    const QString mount = platform::mountPointOf(path, mountTable);
    return mount.isEmpty() ? path.left(1) : mount;
}

void GLB_read_base_directory() {
    TGlobalValues& g = GLB();
    QString base = GLB_read_string(g.default_section, settings::general::kBaseDirectory, QString());
    if (GLB_read_flag(g.default_section, settings::general::kJustInstalled,
                      settings::general::kJustInstalledDefault)) {
        base = GLB_drive_of(base, platform::currentMountTable());
        GLB_write_string(g.default_section, settings::general::kBaseDirectory, base);
    }
    if (!base.endsWith(u'/') && !base.endsWith(u'\\')) base += u'/';
    g.base_directory = base;
}

bool GLB_base_directory_on_cdrom() {
    const QString& base = GLB().base_directory;
    if (base.size() < 2) return false;
    if (hasDriveLetter(base)) return false;  // no such drives on this system
    return platform::isOnCdRom(base);
}

bool GLB_ask_for_base_directory() {
    const auto chosen =
        platform::DialogService::chooseDirectory(GLB_text(QStringLiteral("BASEDIR")), QString());
    TGlobalValues& g = GLB();
    const QString previous = g.base_directory;
    // A cancelled dialog keeps the directory the user had: clearing it would
    // write an empty "Base Directory" at shut-down and lose the setting.
    if (!chosen) return false;
    g.base_directory = GLB_with_trailing_separator(*chosen);
    if (g.base_directory != previous) {
        GLB_write_string(g.default_section, settings::general::kBaseDirectory, g.base_directory);
        for (const auto& listener : listeners()) listener();
    }
    return true;
}

void GLB_on_base_directory_changed(std::function<void()> listener) {
    listeners().push_back(std::move(listener));
}

void GLB_clear_base_directory_listeners() {
    listeners().clear();
}
