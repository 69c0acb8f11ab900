#include "info_windows/windows/help_window.h"

#include "app/editions.h"
#include "app/globals.h"
#include "app/messages.h"
#include "info_windows/help_pages.h"
#include "info_windows/windows/web_browser_form.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

QPointer<TWebBrowserForm>& helpWindow() {
    static QPointer<TWebBrowserForm> window;
    return window;
}

}  // namespace

void GLB_show_help(int context) {
    const QString programDirectory = GLB().program_directory;
    const TLanguage language = GLB_edition().language;
    const QString address = GLB_help_address(programDirectory, language, context);
    if (address.isEmpty()) {
        GLB_show_message(GLB_text(QStringLiteral("WEB BROWSER"), 4) + u' ' +
                             GLB_help_folder(programDirectory, language),
                         platform::box::IconStop);
        return;
    }
    QPointer<TWebBrowserForm>& window = helpWindow();
    if (!window) {
        window = new TWebBrowserForm;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { GLB_close_help(); });
    }
    window->set_home(QUrl::fromLocalFile(GLB_help_address(programDirectory, language, 0)));
    const qsizetype hash = address.indexOf(u'#');
    QUrl url = QUrl::fromLocalFile(address.left(hash));
    if (hash >= 0) url.setFragment(address.mid(hash + 1));
    window->navigate(url, url.toString());
    window->setWindowTitle(GLB_text(QStringLiteral("WEB BROWSER"), 5) + QStringLiteral(" - ") +
                           GLB_edition().title);
}

void GLB_close_help() {
    delete helpWindow().data();
}
