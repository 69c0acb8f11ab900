#include "app/base_directory.h"
#include "app/startup.h"
#include "data/records.h"
#include "listview/child_form.h"
#include "platform/widget_dialogs.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Korvelan"));
    platform::DialogService::setBackend(std::make_unique<platform::WidgetDialogs>());

    TStartup startup({
        .load_species_database = &GLB_load_species_database,
        .create_windows = []() -> QWidget* { return new TChildForm(false); },
        .free_species_database = &GLB_free_species_database,
    });
    // Pictures are looked for again under a new base directory.
    GLB_on_base_directory_changed([] {
        if (const Tdata* data = GLB_data_or_null()) data->clear_small_picture_missing_flags();
    });
    startup.initialise(QDir::currentPath(), QCoreApplication::applicationDirPath());
    return startup.run_main_program();
}
