#include "info_windows/page_opening.h"

#include "app/globals.h"
#include "app/settings.h"
#include "app/settings_general.h"

#include <QDir>
#include <QFileInfo>

namespace {

using settings::general::kUseIntegratedWebBrowser;
using settings::general::kUseOnlyOneWebBrowserWindow;

bool hasBlank(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isSpace(); });
}

bool isUnder(const QString& canonicalFile, const QStringList& roots) {
    for (const QString& root : roots) {
        if (root.isEmpty()) continue;
        const QString canonicalRoot = QFileInfo(root).canonicalFilePath();
        if (canonicalRoot.isEmpty()) continue;
        const QString prefix = canonicalRoot.endsWith(u'/') ? canonicalRoot : canonicalRoot + u'/';
        if (canonicalFile.startsWith(prefix)) return true;
    }
    return false;
}

TPageTarget localTarget(const QString& path, const QString& fragment, const QStringList& roots) {
    const QFileInfo info(QDir::fromNativeSeparators(path));
    if (!info.isAbsolute() || !info.isFile()) return {};
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty() || !isUnder(canonical, roots)) return {};
    QUrl url = QUrl::fromLocalFile(canonical);
    if (!fragment.isEmpty()) url.setFragment(fragment);
    return {TPageTarget::Local, url};
}

}  // namespace

TPageTarget GLB_page_target(const QString& address, const QStringList& roots) {
    const QString text = address.trimmed();
    if (text.isEmpty()) return {};
    // Folders of local files may have blanks in their names ("My Documents");
    // an address with one is broken and is not guessed at.
    if (text.startsWith(u'/')) {
        const qsizetype hash = text.indexOf(u'#');
        return hash < 0 ? localTarget(text, {}, roots)
                        : localTarget(text.left(hash), text.mid(hash + 1), roots);
    }
    if (text.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive)) {
        // Only the file itself matters: it must lie under a root.
        const QUrl url(text, QUrl::TolerantMode);
        return url.isLocalFile() ? localTarget(url.toLocalFile(), url.fragment(), roots)
                                 : TPageTarget{};
    }
    if (hasBlank(text)) return {};
    const qsizetype colon = text.indexOf(u':');
    const qsizetype slash = text.indexOf(u'/');
    const bool hasScheme = colon > 1 && (slash < 0 || colon < slash);
    if (!hasScheme) {
        // "www.example.org/page" as the data files sometimes write it.
        if (text.startsWith(QStringLiteral("www."), Qt::CaseInsensitive))
            return GLB_page_target(QStringLiteral("http://") + text, roots);
        return {};
    }
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid()) return {};
    const QString scheme = url.scheme().toLower();
    if ((scheme == QStringLiteral("http") || scheme == QStringLiteral("https")) &&
        !url.host().isEmpty())
        return {TPageTarget::Remote, url};
    return {};
}

TWebBrowserSettings GLB_read_web_browser_settings() {
    const QString& section = GLB().default_section;
    TWebBrowserSettings settings;
    settings.use_integrated_browser = GLB_read_flag(section, kUseIntegratedWebBrowser, true);
    settings.use_only_one_window = GLB_read_flag(section, kUseOnlyOneWebBrowserWindow, true);
    return settings;
}

void GLB_write_web_browser_settings(const TWebBrowserSettings& settings) {
    const QString& section = GLB().default_section;
    GLB_write_flag(section, kUseIntegratedWebBrowser, settings.use_integrated_browser);
    GLB_write_flag(section, kUseOnlyOneWebBrowserWindow, settings.use_only_one_window);
}

TPageRoute GLB_page_route(const TPageTarget& target, const TWebBrowserSettings& settings) {
    switch (target.kind) {
        case TPageTarget::Remote:
            return TPageRoute::SystemBrowser;
        case TPageTarget::Local:
            return settings.use_integrated_browser ? TPageRoute::IntegratedBrowser
                                                   : TPageRoute::SystemBrowser;
        default:
            return TPageRoute::Refused;
    }
}

QStringList GLB_local_page_roots() {
    return {GLB().program_directory, GLB().base_directory};
}
