#include "sound/sound_editor.h"

#include "app/messages.h"
#include "app/settings.h"
#include "app/settings_general.h"
#include "platform/dialog_service.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {
using settings::general::kSection;
using settings::general::kSoundEditingProgram;
}  // namespace

TSoundEditorSettings& GLB_sound_editor() {
    static TSoundEditorSettings settings;
    return settings;
}

QString GLB_default_sound_editor() {
    for (const char* name : {"audacity", "tenacity", "ocenaudio"})
        if (const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name)); !path.isEmpty())
            return path;
    return {};
}

void GLB_read_sound_editor_settings() {
    GLB_sound_editor().program =
        GLB_read_string(kSection, kSoundEditingProgram, GLB_default_sound_editor());
    GLB_sound_editor().maximize =
        GLB_read_flag(kSection, settings::general::kMaximizeSoundEditingProgram, false);
}

bool GLB_choose_sound_editor(const QString& title) {
    const std::optional<QString> chosen = platform::DialogService::openFileName(
        {.caption = title, .directory = GLB_sound_editor().program, .filter = QStringLiteral("Programs (*)")});
    if (!chosen) return false;
    if (!QFileInfo(*chosen).isExecutable() || QFileInfo(*chosen).isDir()) {
        GLB_show_message(QStringLiteral("\"%1\" is not a program.").arg(*chosen), platform::box::IconStop);
        return false;
    }
    GLB_store_sound_editor_program(*chosen);
    return true;
}

void GLB_store_sound_editor_program(const QString& path) {
    GLB_sound_editor().program = path;
    GLB_write_string(kSection, kSoundEditingProgram, path);
}

bool GLB_start_sound_editor(const QString& soundFile) {
    const QString program = GLB_sound_editor().program;
    return !program.isEmpty() && QProcess::startDetached(program, {soundFile});
}
