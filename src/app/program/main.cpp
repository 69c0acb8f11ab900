#include "app/program/program.h"
#include "app/program_location.h"
#include "app/settings.h"
#include "listview/windows/child_form.h"
#include "platform/dialog_service.h"
#include "platform/heap_pages.h"
#include "platform/windows/widget_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

namespace {

// For the check of an installed program: once the main window shows, say
// which edition it runs and close it as the user would.
void closeAfterStartWhenAsked() {
    if (!qEnvironmentVariableIsSet("KORVELAN_CLOSE_AFTER_START")) return;
    QTimer::singleShot(500, [] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* list = qobject_cast<TChildForm*>(window);
            if (!list || !list->isVisible()) continue;
            std::printf("main window shown: %s\n", qPrintable(list->windowTitle()));
            std::fflush(stdout);
            list->close();
            return;
        }
    });
}

}  // namespace

int main(int argc, char* argv[]) {
    const TProgram::Clock::time_point mainStarted = TProgram::Clock::now();
    // The start writes tens of megabytes of fresh memory: on large pages,
    // here and in the loading worker's own heap.
    platform::use_large_pages_for_heap();
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Korvelan"));
    platform::DialogService::setBackend(std::make_unique<platform::WidgetDialogs>());

    TProgram program(mainStarted);
    const TProgramLocation location =
        GLB_locate_program_directory(QCoreApplication::applicationDirPath());
    // An installed program's folder belongs to the system, not to one user.
    GLB_keep_settings_in_user_folder(location.installed);
    program.initialise(QDir::currentPath(), location.program_directory);
    closeAfterStartWhenAsked();
    return program.run();
}
