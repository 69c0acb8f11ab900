// Which addresses the program opens, and where.
#include "app/globals.h"
#include "info_windows/page_opening.h"
#include "support/test_environment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PageTargetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(program_.isValid() && outside_.isValid());
        QDir(program_.path()).mkpath(QStringLiteral("help/en"));
        write(program_.filePath(QStringLiteral("help/en/index.html")));
        write(outside_.filePath(QStringLiteral("secret.html")));
    }
    static void write(const QString& path) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<p>page</p>");
    }
    TPageTarget target(const QString& address) const {
        return GLB_page_target(address, {program_.path() + u'/'});
    }
    QString page() const { return program_.filePath(QStringLiteral("help/en/index.html")); }

    QTemporaryDir program_;
    QTemporaryDir outside_;
};

}  // namespace

TEST_F(PageTargetTest, WebPagesAreRemote) {
    EXPECT_EQ(target("https://www.iucnredlist.org").kind, TPageTarget::Remote);
    EXPECT_EQ(target("  http://www.example.org/people/tupa ").url,
              QUrl("http://www.example.org/people/tupa"));
    // The data files sometimes leave out the scheme.
    const TPageTarget bare = target("www.example.org/audio/yungas");
    EXPECT_EQ(bare.kind, TPageTarget::Remote);
    EXPECT_EQ(bare.url.scheme(), QStringLiteral("http"));
}

TEST_F(PageTargetTest, OtherSchemesAndMalformedAddressesAreRefused) {
    for (const char* address :
         {"javascript:alert(1)", "JavaScript:void(0)", "mailto:someone@example.org",
          "ftp://ftp.example.org/file", "data:text/html,<b>x</b>", "http://", "",
          "https://www.example.org/a page", "www.example.org/two words", "not an address",
          "C:\\Program Files\\Korvelan\\help.html", "vbscript:msgbox"}) {
        EXPECT_EQ(target(QString::fromUtf8(address)).kind, TPageTarget::Refused) << address;
    }
}

TEST_F(PageTargetTest, LocalFilesOnlyUnderTheRoots) {
    const TPageTarget local = target(page());
    EXPECT_EQ(local.kind, TPageTarget::Local);
    EXPECT_TRUE(local.url.isLocalFile());
    EXPECT_EQ(target(QUrl::fromLocalFile(page()).toString()).kind, TPageTarget::Local);
    EXPECT_EQ(target(page() + "#keys").url.fragment(), QStringLiteral("keys"));
    // Folder names with blanks are common on the user's disk.
    QDir(program_.path()).mkpath(QStringLiteral("My Files"));
    write(program_.filePath(QStringLiteral("My Files/site 1.html")));
    const QString spaced = program_.filePath(QStringLiteral("My Files/site 1.html"));
    EXPECT_EQ(target(spaced).kind, TPageTarget::Local);
    EXPECT_EQ(target(QUrl::fromLocalFile(spaced).toString(QUrl::FullyEncoded)).kind,
              TPageTarget::Local);

    const QString secret = outside_.filePath(QStringLiteral("secret.html"));
    EXPECT_EQ(target(secret).kind, TPageTarget::Refused);
    EXPECT_EQ(target(QUrl::fromLocalFile(secret).toString()).kind, TPageTarget::Refused);
    EXPECT_EQ(target("file:///etc/passwd").kind, TPageTarget::Refused);
    // Climbing out of the program directory does not count as inside it.
    const QString climbing = program_.path() + "/help/../../" +
                             QFileInfo(outside_.path()).fileName() + "/secret.html";
    EXPECT_EQ(target(climbing).kind, TPageTarget::Refused);
    EXPECT_EQ(target(program_.filePath("help/en/missing.html")).kind, TPageTarget::Refused);
    EXPECT_EQ(target(program_.filePath("help/en")).kind, TPageTarget::Refused);
}

TEST_F(PageTargetTest, ALinkOutOfTheRootsIsRefusedEvenThroughASymbolicLink) {
    const QString link = program_.filePath(QStringLiteral("help/en/escape.html"));
    ASSERT_TRUE(QFile::link(outside_.filePath(QStringLiteral("secret.html")), link));
    EXPECT_EQ(target(link).kind, TPageTarget::Refused);
}

TEST_F(PageTargetTest, EmptyRootsAcceptNoLocalFile) {
    EXPECT_EQ(GLB_page_target(page(), {QString(), QStringLiteral("/nowhere/at/all/")}).kind,
              TPageTarget::Refused);
}

TEST(PageRoute, RemotePagesAlwaysGoToTheSystemBrowser) {
    const TPageTarget remote{TPageTarget::Remote, QUrl("https://www.example.org")};
    const TPageTarget local{TPageTarget::Local, QUrl::fromLocalFile("/tmp/x.html")};
    const TWebBrowserSettings integrated{true, true};
    const TWebBrowserSettings system{false, true};
    EXPECT_EQ(GLB_page_route(remote, integrated), TPageRoute::SystemBrowser);
    EXPECT_EQ(GLB_page_route(remote, system), TPageRoute::SystemBrowser);
    EXPECT_EQ(GLB_page_route(local, integrated), TPageRoute::IntegratedBrowser);
    EXPECT_EQ(GLB_page_route(local, system), TPageRoute::SystemBrowser);
    EXPECT_EQ(GLB_page_route(TPageTarget{}, integrated), TPageRoute::Refused);
}

TEST(WebBrowserSettings, DefaultToTheIntegratedBrowserAndAreKept) {
    testing_support::IsolatedProgram program(QStringLiteral("$[MESSAGES_CAPTION]\nKorvelan\n"), 1011);
    program.dir.write(QStringLiteral("Korvelan.ini"), "[GENERAL]\n");
    const TWebBrowserSettings initial = GLB_read_web_browser_settings();
    EXPECT_TRUE(initial.use_integrated_browser);
    EXPECT_TRUE(initial.use_only_one_window);
    GLB_write_web_browser_settings({false, false});
    const QByteArray ini = program.dir.read(QStringLiteral("Korvelan.ini"));
    EXPECT_TRUE(ini.contains("Use Integrated Web Browser=No"));
    EXPECT_TRUE(ini.contains("Use Only One Web Browser Window=No"));
    const TWebBrowserSettings read = GLB_read_web_browser_settings();
    EXPECT_FALSE(read.use_integrated_browser);
    EXPECT_FALSE(read.use_only_one_window);
}
