#include "info_windows/web_browser_form.h"

#include "formats/textfile.h"
#include "info_windows/page_opening.h"
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
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>
#include <vector>

namespace {

struct BrowserWindows {
    QPointer<TWebBrowserForm> main;
    std::vector<QPointer<TWebBrowserForm>> all;
    std::function<bool(const QUrl&)> system_browser = [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    };
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

bool isPlainText(const QUrl& url) {
    return url.isLocalFile() &&
           QFileInfo(url.toLocalFile()).suffix().compare(QStringLiteral("txt"), Qt::CaseInsensitive) == 0;
}

}  // namespace

TWebBrowserForm::TWebBrowserForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    // Browser windows never keep the program running after its last list
    // window closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(820, 640);
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
}

void TWebBrowserForm::follow_link(const QUrl& link) {
    const QUrl resolved = current_.resolved(link);
    const TPageTarget target = GLB_page_target(resolved.toString(QUrl::FullyEncoded), GLB_local_page_roots());
    switch (target.kind) {
        case TPageTarget::Local:
            show_page(target.url);
            break;
        case TPageTarget::Remote:
            windows().system_browser(target.url);
            break;
        default:
            platform::beep();
            break;
    }
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
            return windows().system_browser(target.url);
        case TPageRoute::IntegratedBrowser: {
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

void GLB_set_system_browser(std::function<bool(const QUrl&)> opener) {
    windows().system_browser = opener ? std::move(opener) : [](const QUrl& url) {
        return QDesktopServices::openUrl(url);
    };
}

void GLB_close_web_browsers() {
    BrowserWindows& w = windows();
    for (QPointer<TWebBrowserForm>& form : w.all) delete form.data();
    w.all.clear();
    w.main = nullptr;
}
