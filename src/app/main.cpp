#include "app/base_directory.h"
#include "app/startup.h"
#include "data/records.h"
#include "info_windows/list_window_commands.h"
#include "listview/child_form.h"
#include "listview/find_dialog.h"
#include "listview/list_bitmaps.h"
#include "listview/list_fonts.h"
#include "listview/top_forms.h"
#include "platform/widget_dialogs.h"

#include <QApplication>
#include <QDir>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Korvelan"));
    platform::DialogService::setBackend(std::make_unique<platform::WidgetDialogs>());

    std::unique_ptr<TFindInShowStringsDialog> findDialog;
    TStartup startup({
        .load_species_database = &GLB_load_species_database,
        .create_windows = [&findDialog]() -> QWidget* {
            TListBitmaps::load();
            GLB_list_fonts();
            GLB_install_information_windows();
            // The main list window first: it is the application's main form.
            TChildForm* main = GLB_open_main_list_window();
            findDialog = std::make_unique<TFindInShowStringsDialog>();
            TChildForm::set_find_dialog(findDialog.get());
            return main;
        },
        .free_species_database =
            [] {
                GLB_write_text_size();
                GLB_free_species_database();
            },
    });
    // Pictures are looked for again under a new base directory, and every
    // list shows what it finds there.
    GLB_on_base_directory_changed([] {
        if (const Tdata* data = GLB_data_or_null()) data->clear_small_picture_missing_flags();
        Ttop_forms::instance().refresh_all_forms();
    });
    startup.initialise(QDir::currentPath(), QCoreApplication::applicationDirPath());
    const int code = startup.run_main_program();
    TChildForm::set_find_dialog(nullptr);
    return code;
}
