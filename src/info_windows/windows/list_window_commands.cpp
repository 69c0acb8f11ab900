#include "info_windows/windows/list_window_commands.h"

#include "app/editions.h"
#include "app/file_helpers.h"
#include "app/messages.h"
#include "formats/textfile.h"
#include "info_windows/windows/about_form.h"
#include "info_windows/windows/help_window.h"
#include "info_windows/windows/intro_form.h"
#include "info_windows/windows/web_browser_form.h"
#include "listview/windows/list_window_services.h"
#include "platform/dialog_service.h"

QString GLB_readme_path() {
    for (const char* name : {"Readme.html", "Readme.txt", "Readme.wri"}) {
        QString path;
        if (GLB_find_program_file(QString::fromLatin1(name), path)) return path;
    }
    return {};
}

TListWindowCommands GLB_information_window_commands() {
    TListWindowCommands commands;
    commands.help = [](int context) { GLB_show_help(context); };
    commands.readme = [] {
        const QString path = GLB_readme_path();
        if (path.isEmpty()) {
            GLB_show_message(GLB_text(QStringLiteral("WEB BROWSER"), 6), platform::box::IconWarning);
            return;
        }
        GLB_open_web_page(path);
    };
    commands.recent_info = [] { GLB_open_web_page(GLB_edition().update_page()); };
    commands.about = [](QWidget* window) {
        TAboutForm about(window);
        about.exec();
    };
    commands.introduction = [](QWidget* window) {
        TIntroForm intro(window);
        intro.exec();
    };
    return commands;
}
