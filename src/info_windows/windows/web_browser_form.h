#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

// The program's own browser window: local pages (the user's guide, site
// descriptions, the readme) in a text browser. Links to remote pages go to
// the system's browser, since this window shows local pages only.
class TWebBrowserForm : public QWidget {
    Q_OBJECT
  public:
    explicit TWebBrowserForm(QWidget* parent = nullptr);

    // Shows the page (a local file URL) under the caption "URL: " + address.
    void navigate(const QUrl& url, const QString& address);
    // A home page for the contents button (the guide's contents).
    void set_home(const QUrl& url);
    QUrl current_url() const { return current_; }
    QTextBrowser* browser() const { return browser_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void follow_link(const QUrl& link);
    void show_page(const QUrl& url);

    QTextBrowser* browser_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    QToolButton* home_button_ = nullptr;
    QUrl home_;
    QUrl current_;
};

// Opens an address by the program's rule: with "Use Integrated Web Browser"
// a local page goes to a browser window (the one window, or a new one each
// time as "Use Only One Web Browser Window" says), otherwise and for remote
// pages the system's browser. Addresses that are not http, https or a file
// under the program or base directory are refused with a beep. With
// systemBrowserOnly the integrated window is not used. True when opened.
bool GLB_open_web_page(const QString& address, bool systemBrowserOnly = false);
// The first browser window made, which stays for reuse; none before.
TWebBrowserForm* GLB_main_web_browser();
// Closes and frees every browser window (at the end of the program).
void GLB_close_web_browsers();
