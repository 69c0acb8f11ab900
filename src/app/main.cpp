#include "app/startup.h"
#include "listview/child_form.h"
#include "platform/widget_dialogs.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Korvelan"));
    platform::DialogService::setBackend(std::make_unique<platform::WidgetDialogs>());

    TStartup startup({
        .load_species_database = {},
        .create_windows = []() -> QWidget* { return new TChildForm(false); },
        .free_species_database = {},
    });
    startup.initialise(QDir::currentPath(), QCoreApplication::applicationDirPath());
    return startup.run_main_program();
}
