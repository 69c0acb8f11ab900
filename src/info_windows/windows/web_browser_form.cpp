#include "info_windows/windows/web_browser_form.h"

#include "app/editions.h"
#include "app/messages.h"
#include "formats/textfile.h"
#include "info_windows/page_opening.h"
#include "listview/windows/window_placement.h"
#include "platform/dialog_service.h"
#include "platform/system.h"
#include "platform/text_encoding.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPointer>
#include <QShortcut>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <vector>

namespace {

struct BrowserWindows {
    QPointer<TWebBrowserForm> main;
    std::vector<QPointer<TWebBrowserForm>> all;
};

BrowserWindows& windows() {
    static BrowserWindows instance;
    return instance;
}

TWebBrowserForm* newBrowserWindow() {
    auto* form = new TWebBrowserForm;
    BrowserWindows& w = windows();
    if (!w.main) {
        w.main = form;
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { GLB_close_web_browsers(); });
    } else {
        // Further windows are freed when closed; the first one stays.
        form->setAttribute(Qt::WA_DeleteOnClose);
    }
    w.all.emplace_back(form);
    return form;
}

// Said in the interface language: the texts file of older editions has no
// line for it.
QString pageNotOpenedText(const QString& address) {
    QString text;
    switch (GLB_edition().language) {
        case TLanguage::Spanish: text = QStringLiteral("No se pudo abrir la p\u00E1gina:"); break;
        case TLanguage::Dutch: text = QStringLiteral("De pagina kon niet worden geopend:"); break;
        case TLanguage::Portuguese:
            text = QStringLiteral("N\u00E3o foi poss\u00EDvel abrir a p\u00E1gina:");
            break;
        default: text = QStringLiteral("The page could not be opened:"); break;
    }
    return text + u'\n' + address;
}

bool pageNotOpened(const QString& address) {
    GLB_show_message(pageNotOpenedText(address), platform::box::IconWarning);
    return false;
}

bool isPlainText(const QUrl& url) {
    return url.isLocalFile() &&
           QFileInfo(url.toLocalFile()).suffix().compare(QStringLiteral("txt"), Qt::CaseInsensitive) == 0;
}

}  // namespace

TWebBrowserForm::TWebBrowserForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    // Browser windows never keep the program running after its last list
    // window closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(GLB_size_within_screen(this, QSize(820, 640)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    auto* bar = new QHBoxLayout;
    auto button = [this, bar](int line, const QString& fallback) {
        auto* b = new QToolButton(this);
        const QString text = GLB_text(QStringLiteral("WEB BROWSER"), line);
        b->setText(text.isEmpty() ? fallback : text);
        bar->addWidget(b);
        return b;
    };
    back_ = button(1, QStringLiteral("<"));
    forward_ = button(2, QStringLiteral(">"));
    home_button_ = button(3, QStringLiteral("Home"));
    bar->addStretch(1);
    layout->addLayout(bar);
    browser_ = new QTextBrowser(this);
    browser_->setOpenLinks(false);
    layout->addWidget(browser_, 1);
    home_button_->hide();

    connect(browser_, &QTextBrowser::anchorClicked, this, &TWebBrowserForm::follow_link);
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        current_ = url;
        setWindowTitle(QStringLiteral("URL: ") +
                       (url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile())
                                          : url.toString()));
    });
    connect(home_button_, &QToolButton::clicked, this, [this] { show_page(home_); });
    back_->setEnabled(false);
    forward_->setEnabled(false);
    // Escape closes the page wherever the focus is in the window, as it
    // closes the program's other windows.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void TWebBrowserForm::set_home(const QUrl& url) {
    home_ = url;
    home_button_->setVisible(url.isValid());
}

void TWebBrowserForm::show_page(const QUrl& url) {
    if (isPlainText(url)) {
        // Plain texts keep their line breaks and are never read as markup.
        QFile file(url.toLocalFile());
        if (file.open(QIODevice::ReadOnly)) {
            browser_->clearHistory();
            browser_->setPlainText(platform::decodeText(file.readAll()));
            current_ = url;
        }
        return;
    }
    browser_->setSource(url, QTextDocument::HtmlResource);
}

void TWebBrowserForm::navigate(const QUrl& url, const QString& address) {
    show_page(url);
    setWindowTitle(QStringLiteral("URL: ") + address);
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
    // A map hands over its site description and takes the focus back right
    // after; the page must still come out on top.
    QTimer::singleShot(0, this, [this] {
        raise();
        activateWindow();
    });
}

void TWebBrowserForm::follow_link(const QUrl& link) {
    const QUrl resolved = current_.resolved(link);
    const TPageTarget target = GLB_page_target(resolved.toString(QUrl::FullyEncoded), GLB_local_page_roots());
    switch (target.kind) {
        case TPageTarget::Local:
            show_page(target.url);
            break;
        case TPageTarget::Remote:
            if (!QDesktopServices::openUrl(target.url)) pageNotOpened(target.url.toString());
            break;
        default:
            platform::beep();
            break;
    }
}

void TWebBrowserForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    GLB_move_onto_screen(this);
}

void TWebBrowserForm::closeEvent(QCloseEvent* event) {
    event->accept();
}

bool GLB_open_web_page(const QString& address, bool systemBrowserOnly) {
    const TPageTarget target = GLB_page_target(address, GLB_local_page_roots());
    TWebBrowserSettings settings = GLB_read_web_browser_settings();
    if (systemBrowserOnly) settings.use_integrated_browser = false;
    switch (GLB_page_route(target, settings)) {
        case TPageRoute::SystemBrowser:
            // Without a program for web pages the system opens nothing and
            // says nothing.
            return QDesktopServices::openUrl(target.url) || pageNotOpened(address.trimmed());
        case TPageRoute::IntegratedBrowser: {
            if (!QFileInfo(target.url.toLocalFile()).isReadable()) return pageNotOpened(address.trimmed());
            BrowserWindows& w = windows();
            TWebBrowserForm* form =
                settings.use_only_one_window && w.main ? w.main.data() : newBrowserWindow();
            form->navigate(target.url, address.trimmed());
            return true;
        }
        default:
            platform::beep();
            return false;
    }
}

TWebBrowserForm* GLB_main_web_browser() {
    return windows().main;
}

void GLB_close_web_browsers() {
    BrowserWindows& w = windows();
    for (QPointer<TWebBrowserForm>& form : w.all) delete form.data();
    w.all.clear();
    w.main = nullptr;
}
