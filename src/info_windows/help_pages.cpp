#include "info_windows/help_pages.h"

#include "app/editions.h"

#include <QDir>
#include <QFileInfo>

namespace {

struct ContextPage {
    int context;
    const char* page;
};

constexpr ContextPage kPages[] = {
    {help_context::kContents, "index.html"},
    {help_context::kSpeciesList, "species_list.html"},
    {help_context::kWebBrowser, "files_and_editions.html#browser"},
    {help_context::kAudioCDs, "mp3_and_audio_cds.html#my-audio-cds"},
    {help_context::kPlaylists, "playlists.html"},
};

QString languageFolder(TLanguage language) {
    switch (language) {
        case TLanguage::Spanish:
            return QStringLiteral("es");
        case TLanguage::Dutch:
            return QStringLiteral("nl");
        case TLanguage::Portuguese:
            return QStringLiteral("pt");
        default:
            return QStringLiteral("en");
    }
}

}  // namespace

QString GLB_help_page(int context) {
    for (const ContextPage& p : kPages)
        if (p.context == context) return QString::fromLatin1(p.page);
    return QString::fromLatin1(kPages[0].page);
}

QList<int> GLB_help_contexts() {
    QList<int> contexts;
    for (const ContextPage& p : kPages) contexts << p.context;
    return contexts;
}

QString GLB_help_folder(const QString& programDirectory, TLanguage language) {
    const QString root = QDir(programDirectory).filePath(QStringLiteral("help"));
    const QString own = root + u'/' + languageFolder(language) + u'/';
    if (QFileInfo::exists(own + QStringLiteral("index.html"))) return own;
    return root + QStringLiteral("/en/");
}

QString GLB_help_address(const QString& programDirectory, TLanguage language, int context) {
    const QString page = GLB_help_page(context);
    const qsizetype hash = page.indexOf(u'#');
    const QString file = GLB_help_folder(programDirectory, language) + page.left(hash);
    if (!QFileInfo(file).isFile()) return {};
    return hash < 0 ? file : file + page.mid(hash);
}
