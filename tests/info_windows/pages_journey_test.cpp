// Pages, help and the interface language in the program as main makes it, on
// the demo editions: site descriptions from the maps, the user's guide and
// readme windows, the box of a page that cannot open, and the Spanish
// edition's Qt buttons, About window and copy question.
#include "journeys/journey.h"

#include "app/globals.h"
#include "app/settings.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "info_windows/windows/about_form.h"
#include "info_windows/windows/help_window.h"
#include "info_windows/windows/web_browser_form.h"
#include "listview/windows/child_form.h"
#include "pictures_maps/windows/localities_map_form.h"
#include "pictures_maps/windows/map_form.h"
#include "pictures_maps/windows/map_windows.h"
#include "platform/windows/widget_dialogs.h"
#include "utilities/copy_files_thread.h"
#include "utilities/windows/message_while_copying_form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <chrono>
#include <thread>

using testing_support::Journey;
using testing_support::RunningDemoProgram;

namespace {

// Lines of the texts-file section "MENUS".
constexpr int kSiteDescriptionsMenu = 14;
constexpr int kHelpMenu = 19;
constexpr int kReadmeMenu = 20;
constexpr int kAboutMenu = 22;

QList<TWebBrowserForm*> visibleBrowserWindows() {
    QList<TWebBrowserForm*> found;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* form = qobject_cast<TWebBrowserForm*>(w); form && form->isVisible()) found << form;
    return found;
}

const Tlocality* localityByKey(const QString& key) {
    for (const Tlocality* l : GLB_data().localities())
        if (l->key == key) return l;
    return nullptr;
}

// The page a browser window shows, as a file name.
QString shownFile(const TWebBrowserForm& form) {
    return QFileInfo(form.current_url().toLocalFile()).fileName();
}

}  // namespace

// The site descriptions open in the program's own browser window, with
// nothing installed by the test: what the user meets.
class SiteDescriptions : public Journey {
  protected:
    // The first described place whose dot the mouse finds on the localities
    // map, clicked as a user clicks it.
    void clickDescribedDot(TLocalitiesMapForm& map, QString& expectedPage) {
        const QPoint margins(std::max(0, map.layout().main.left_margin),
                             std::max(0, map.layout().main.top_margin));
        auto* scroll = map.findChild<QScrollArea*>();
        for (size_t i = 0; i < map.localities().size(); ++i) {
            const Tlocality* place = map.localities()[i];
            const Txy& xy = map.dots().positions()[i];
            if (place->site_description.isEmpty() || (!xy.on_main && !xy.on_inset)) continue;
            const QPoint dot = TLocalitiesLayout::dot_position(xy) - margins + map.map_origin();
            // Scrolled into sight, as a user scrolls to the place.
            if (scroll) scroll->ensureVisible(dot.x(), dot.y(), 20, 20);
            QCoreApplication::processEvents();
            // The first of two close dots wins: take a place that is its own.
            if (map.dots().hit_test(dot - map.map_origin() + margins) != int(i)) continue;
            expectedPage = place->site_description;
            QTest::mouseClick(map.canvas(), Qt::LeftButton, {}, dot);
            return;
        }
    }
};

TEST_F(SiteDescriptions, ADotOnTheLocalitiesMapOpensItsPageInTheProgramsBrowser) {
    QAction* menu = main_->menu_action(kSiteDescriptionsMenu);
    ASSERT_NE(menu, nullptr);
    menu->trigger();
    TLocalitiesMapForm& map = GLB_localities_map();
    ASSERT_TRUE(map.isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&map));

    QString expected;
    clickDescribedDot(map, expected);
    ASSERT_FALSE(expected.isEmpty()) << "no described place under the mouse";
    const QList<TWebBrowserForm*> browsers = visibleBrowserWindows();
    ASSERT_EQ(browsers.size(), 1) << "the page did not open in the program's browser window";
    EXPECT_EQ(shownFile(*browsers.first()), expected);
    EXPECT_TRUE(browsers.first()->windowTitle().startsWith(QStringLiteral("URL: ")));
    EXPECT_FALSE(browsers.first()->browser()->toPlainText().trimmed().isEmpty());
    EXPECT_TRUE(program().script().messages().empty()) << qPrintable(program().script().lastMessage());
}

TEST_F(SiteDescriptions, TheMapWindowsLinkAndCtrlHOpenThePlacesPage) {
    const Tlocality* madidi = localityByKey(QStringLiteral("BO-MADIDI"));
    ASSERT_NE(madidi, nullptr);
    const Tspecies* species = nullptr;
    for (const Tcutpart* part : GLB_data().cut_parts())
        if (part->locality == madidi && part->first_item(1) && part->first_item(1)->species) {
            species = part->first_item(1)->species;
            break;
        }
    ASSERT_NE(species, nullptr);
    GLB_open_distribution_map(*species, madidi);
    TMapForm* map = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<TMapForm*>(w); m && m->isVisible() && !qobject_cast<TLocalitiesMapForm*>(w))
            map = m;
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(map));
    QTest::keyClick(map, Qt::Key_H, Qt::ControlModifier);
    const QList<TWebBrowserForm*> browsers = visibleBrowserWindows();
    ASSERT_EQ(browsers.size(), 1);
    EXPECT_EQ(shownFile(*browsers.first()), madidi->site_description);
    EXPECT_TRUE(program().script().messages().empty());
}

// Without the integrated browser a page goes to the system's program for
// web pages; where there is none, the user is told so.
TEST_F(SiteDescriptions, APageThatCannotOpenSaysSoInABox) {
    GLB_write_flag(QStringLiteral("GENERAL"), QStringLiteral("Use Integrated Web Browser"), false);
    const Tlocality* madidi = localityByKey(QStringLiteral("BO-MADIDI"));
    ASSERT_NE(madidi, nullptr);
    // A system without any program that opens web pages.
    const QByteArray path = qgetenv("PATH");
    const QByteArray desktop = qgetenv("XDG_CURRENT_DESKTOP");
    qputenv("PATH", "/nonexistent");
    qunsetenv("XDG_CURRENT_DESKTOP");
    const bool opened = OpenSiteDescription(*madidi);
    qputenv("PATH", path);
    if (!desktop.isEmpty()) qputenv("XDG_CURRENT_DESKTOP", desktop);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(visibleBrowserWindows().isEmpty());
    ASSERT_EQ(program().script().messages().size(), 1u);
    EXPECT_TRUE(program().script().lastMessage().contains(madidi->site_description))
        << qPrintable(program().script().lastMessage());
}

// The help and readme windows close with Escape, wherever their focus is.
class HelpWindows : public Journey {
  protected:
    TWebBrowserForm* openedBy(int menuLine) {
        QAction* action = main_->menu_action(menuLine);
        if (!action) return nullptr;
        action->trigger();
        const QList<TWebBrowserForm*> browsers = visibleBrowserWindows();
        return browsers.size() == 1 ? browsers.first() : nullptr;
    }
    void escapeCloses(TWebBrowserForm* window) {
        ASSERT_NE(window, nullptr);
        // The user is in the window (a window that showed late, such as the
        // volume window, may have taken the activation meanwhile).
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        window->browser()->setFocus();
        QTest::keyClick(window->browser(), Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible());
    }
};

TEST_F(HelpWindows, EscapeClosesTheUsersGuide) {
    TWebBrowserForm* help = openedBy(kHelpMenu);
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(shownFile(*help), QStringLiteral("index.html"));
    escapeCloses(help);
    EXPECT_TRUE(program().script().messages().empty());
}

TEST_F(HelpWindows, EscapeClosesTheReadme) {
    TWebBrowserForm* readme = openedBy(kReadmeMenu);
    ASSERT_NE(readme, nullptr);
    EXPECT_EQ(shownFile(*readme), QStringLiteral("Readme.txt"));
    escapeCloses(readme);
}

// The Spanish demo edition: Qt's own words in Spanish too.
class SpanishEdition : public ::testing::Test {
  protected:
    void SetUp() override {
        program_ = std::make_unique<RunningDemoProgram>(QStringLiteral("demo-es"));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&program_->mainWindow()));
    }
    void TearDown() override { program_.reset(); }
    std::unique_ptr<RunningDemoProgram> program_;
};

TEST_F(SpanishEdition, QuestionBoxesSaySiAndNo) {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_es.qm")))
        GTEST_SKIP() << "Qt's Spanish translations are not installed (Debian: qt6-translations-l10n)";
    // The box the program shows, read and answered while it is open.
    QStringList buttons;
    QTimer::singleShot(0, [&buttons] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        for (QAbstractButton* b : box->buttons()) buttons << b->text().remove(u'&');
        box->button(QMessageBox::No)->click();
    });
    platform::WidgetDialogs dialogs;
    const int answer = dialogs.message({QStringLiteral("¿Seguir?"), QStringLiteral("Prueba"),
                                        platform::box::QuestionYesNo});
    EXPECT_EQ(answer, platform::answer::No);
    EXPECT_TRUE(buttons.contains(QStringLiteral("Sí"))) << qPrintable(buttons.join(u','));
    EXPECT_TRUE(buttons.contains(QStringLiteral("No")));
}

TEST_F(SpanishEdition, AboutTellsCreditsAndLicencesInSpanish) {
    QString text;
    QTimer::singleShot(0, [&text] {
        if (auto* about = qobject_cast<TAboutForm*>(QApplication::activeModalWidget())) {
            text = about->text();
            about->accept();
        }
    });
    program_->mainWindow().menu_action(kAboutMenu)->trigger();
    EXPECT_TRUE(text.contains(QStringLiteral("Grabaciones y textos"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("versión 3 o posterior"))) << qPrintable(text);
    EXPECT_TRUE(text.contains(QStringLiteral("Datos de mapas")));
    EXPECT_FALSE(text.contains(QStringLiteral(" or later")));
    EXPECT_FALSE(text.contains(QStringLiteral("field team")));
}

TEST_F(SpanishEdition, TheCopysAbortQuestionIsSpanish) {
    QTemporaryDir disc;
    QTemporaryDir target;
    QDir(disc.path()).mkpath(QStringLiteral("tapes"));
    for (int i = 0; i < 20; ++i) {
        QFile f(disc.path() + QStringLiteral("/tapes/%1.wav").arg(i));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(64 << 10, 'x'));
    }
    TCopyFilesToHardDiskThread thread(target.path(), disc.path() + u'/');
    // Slow writes keep the copy busy while the user closes its window.
    thread.set_block_writer([](QFile& f, const char* data, qint64 size) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return f.write(data, size);
    });
    program_->script().dialogs().messageAnswers.push_back(platform::answer::Yes);
    TMessageWhileCopyingForm form(thread, 20);
    form.show();
    ASSERT_TRUE(testing_support::eventually([&] { return thread.files_started() >= 1; }, 10000));
    form.cancel_button()->click();
    ASSERT_FALSE(program_->script().messages().empty());
    EXPECT_TRUE(program_->script().lastMessage().startsWith(QStringLiteral("El programa no ha terminado")))
        << qPrintable(program_->script().lastMessage());
    EXPECT_TRUE(testing_support::eventually([&] { return !form.isVisible(); }, 10000));
}
