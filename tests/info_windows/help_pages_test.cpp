// The user's guide shipped with the program: contexts, languages, links.
#include "app/editions.h"
#include "info_windows/help_pages.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The guide as the build places it: "help" beside the program.
QString sourceProgramDirectory() {
    return testing_support::sourceTree() + QStringLiteral("/resources/");
}

QString read(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// Whether the page names the anchor as an id or a name.
bool hasAnchor(const QString& page, const QString& anchor) {
    return page.contains(QStringLiteral("id=\"") + anchor + u'"') ||
           page.contains(QStringLiteral("name=\"") + anchor + u'"');
}

}  // namespace

TEST(HelpPages, EveryContextOpensAnExistingPageAndAnchorInEachLanguage) {
    for (TLanguage language : {TLanguage::English, TLanguage::Spanish}) {
        for (int context : GLB_help_contexts()) {
            const QString address = GLB_help_address(sourceProgramDirectory(), language, context);
            ASSERT_FALSE(address.isEmpty()) << context;
            const qsizetype hash = address.indexOf(u'#');
            const QString page = read(address.left(hash));
            ASSERT_FALSE(page.isEmpty()) << address.toStdString();
            if (hash >= 0) {
EXPECT_TRUE(hasAnchor(page, address.mid(hash + 1))) << address.toStdString();
}
        }
    }
    EXPECT_TRUE(GLB_help_address(sourceProgramDirectory(), TLanguage::Spanish, 104)
                    .contains(QStringLiteral("/help/es/")));
}

TEST(HelpPages, ThePlaylistAndAudioCDContextsOpenTheirOwnPages) {
    EXPECT_EQ(GLB_help_page(help_context::kPlaylists), QStringLiteral("playlists.html"));
    EXPECT_TRUE(GLB_help_page(help_context::kAudioCDs).startsWith(QStringLiteral("mp3_and_audio_cds.html#")));
    EXPECT_EQ(GLB_help_page(9999), GLB_help_page(help_context::kContents));
}

TEST(HelpPages, ALanguageWithoutAGuideFallsBackToEnglish) {
    EXPECT_TRUE(GLB_help_folder(sourceProgramDirectory(), TLanguage::Dutch).endsWith(QStringLiteral("/help/en/")));
    QTemporaryDir empty;
    EXPECT_TRUE(GLB_help_address(empty.path(), TLanguage::English, 0).isEmpty());
}

TEST(HelpPages, EveryLinkOfTheGuideLeadsToAPageOfTheGuideOrTheWeb) {
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]*)\""));
    for (const QString& language : {QStringLiteral("en"), QStringLiteral("es")}) {
        const QDir folder(sourceProgramDirectory() + QStringLiteral("help/") + language);
        const QStringList pages = folder.entryList({QStringLiteral("*.html")});
        ASSERT_GE(pages.size(), 9) << language.toStdString();
        for (const QString& name : pages) {
            const QString page = read(folder.filePath(name));
            for (auto m = href.globalMatch(page); m.hasNext();) {
                const QString link = m.next().captured(1);
                if (link.startsWith(QStringLiteral("https://"))) continue;
                const qsizetype hash = link.indexOf(u'#');
                const QString file = hash < 0 ? link : link.left(hash);
                const QString target = read(folder.filePath(file.isEmpty() ? name : file));
                ASSERT_FALSE(target.isEmpty()) << name.toStdString() << " -> " << link.toStdString();
                if (hash >= 0) {
EXPECT_TRUE(hasAnchor(target, link.mid(hash + 1))) << link.toStdString();
}
            }
        }
    }
}

TEST(HelpPages, BothLanguagesHaveTheSamePages) {
    const QDir en(sourceProgramDirectory() + QStringLiteral("help/en"));
    const QDir es(sourceProgramDirectory() + QStringLiteral("help/es"));
    EXPECT_EQ(en.entryList({QStringLiteral("*.html")}), es.entryList({QStringLiteral("*.html")}));
}
