#pragma once

// Which web pages and local files the program agrees to open, and where.
// Addresses come from the data files as well as from the program itself, so
// only http and https pages and existing files under the program or base
// directory are ever opened; everything else is refused.

#include <QString>
#include <QStringList>
#include <QUrl>

struct TPageTarget {
    enum Kind { Refused, Remote, Local };
    Kind kind = Refused;
    QUrl url;
};

// `roots` are the directories local files must lie under.
TPageTarget GLB_page_target(const QString& address, const QStringList& roots);

// The two browser settings of section "GENERAL".
struct TWebBrowserSettings {
    bool use_integrated_browser = true;
    bool use_only_one_window = true;
};
TWebBrowserSettings GLB_read_web_browser_settings();
void GLB_write_web_browser_settings(const TWebBrowserSettings& settings);

enum class TPageRoute { Refused, SystemBrowser, IntegratedBrowser };
// Remote pages always go to the system's browser: the integrated window
// shows local pages only.
TPageRoute GLB_page_route(const TPageTarget& target, const TWebBrowserSettings& settings);

// The program and base directories, as the roots of local pages.
QStringList GLB_local_page_roots();
