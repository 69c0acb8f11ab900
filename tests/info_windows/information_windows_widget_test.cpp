// The information windows in the demo edition's list window: opened by
// clicks on underlined words, placed in the list, closed by the next click
// or key; their links; the browser window and help.
#include "app/globals.h"
#include "app/settings.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "info_windows/windows/about_audio_cd_form.h"
#include "info_windows/help_pages.h"
#include "info_windows/windows/help_window.h"
#include "info_windows/info_layout.h"
#include "info_windows/windows/information_window_actions.h"
#include "info_windows/windows/intro_form.h"
#include "info_windows/windows/literature_references_form.h"
#include "info_windows/windows/person_form.h"
#include "info_windows/windows/threatened_status_explication_form.h"
#include "info_windows/windows/web_browser_form.h"
#include "listview/windows/child_form.h"
#include "listview/list_bitmaps.h"
#include "listview/list_fonts.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/top_forms.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"

#include <QDesktopServices>
#include <QDir>
#include <QScrollBar>
#include <QTextBrowser>
#include <QtTest>

using namespace line_kind;

namespace {

void copyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& entry : QDir(from).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (entry.isDir())
            copyFolder(entry.filePath(), to + u'/' + entry.fileName());
        else
            QFile::copy(entry.filePath(), to + u'/' + entry.fileName());
    }
}

// What the program hands to the system's browser, caught through Qt's own
// URL handlers instead of starting one.
class SystemBrowserRecorder : public QObject {
    Q_OBJECT
  public:
    static QStringList schemes() {
        // javascript is here so that a crafted address the program wrongly
        // passed on would be seen too.
        return {QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("file"),
                QStringLiteral("javascript")};
    }
    void start() {
        for (const QString& scheme : schemes()) QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    void stop() {
        for (const QString& scheme : schemes()) QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> opened;

  public slots:
    void open(const QUrl& url) { opened << url; }
};

}  // namespace

class InformationWindowsTest : public QObject {
    Q_OBJECT

    testing_support::ProgramDirectory* dir_ = nullptr;
    testing_support::DialogScript* script_ = nullptr;
    TChildForm* main_ = nullptr;
    TInformationWindowActions actions_;
    TListWindowServices services_;
    SystemBrowserRecorder systemBrowser_;
    QList<QUrl>& opened_ = systemBrowser_.opened;

    TShowForm& form() { return *main_->list_form(); }
    TShowStrings& list() { return form().strings(); }
    QWidget* host() { return form().viewport(); }
    template <class Form>
    Form* window() {
        return host()->findChild<Form*>(QString(), Qt::FindDirectChildrenOnly);
    }
    void repaint() {
        form().viewport()->repaint();
        QCoreApplication::processEvents();
    }
    void unfoldAll(int kind) {
        for (auto* l = list().model().first_line(); l; l = l->next)
            if (l->kind == kind && !l->open) list().model().toggle(l, TViewBand{0, 1 << 30});
        form().list_changed();
    }
    // Scrolls the first line of the kind into view and clicks the first point
    // of it that the list offers as a link; false when there is none.
    bool clickLinkOf(int kind) {
        for (auto* l = list().model().first_line(); l; l = l->next) {
            if (l->kind != kind) continue;
            form().scroll_to(list().top_of(*l) - 100);
            repaint();
            const int scrollY = form().verticalScrollBar()->value();
            const int y0 = list().top_of(*l);
            for (int y = y0; y <= list().reference_y_of(*l) + 6; ++y) {
                for (int x = l->drawn_x; x < l->drawn_x + 500; x += 2) {
                    if (!list().over_clickable(QPoint(x, y))) continue;
                    QTest::mouseClick(host(), Qt::LeftButton, {}, QPoint(x, y - scrollY));
                    QCoreApplication::processEvents();
                    return true;
                }
            }
        }
        return false;
    }

  private slots:
    void initTestCase() {
        TListBitmaps::load();
        services_.list_actions = &actions_;
        systemBrowser_.start();
    }
    void cleanupTestCase() {
        systemBrowser_.stop();
    }
    void init() {
        dir_ = new testing_support::ProgramDirectory;
        script_ = new testing_support::DialogScript;
        testing_support::installDemoEdition(*dir_);
        main_ = GLB_open_main_list_window(services_);
        main_->resize(900, 700);
        main_->show();
        QVERIFY(QTest::qWaitForWindowExposed(main_));
        repaint();
        opened_.clear();
    }
    void cleanup() {
        GLB_close_web_browsers();
        GLB_close_help();
        delete main_;
        main_ = nullptr;
        testing_support::removeDemoEdition();
        delete script_;
        delete dir_;
    }

    void aRecordistClickOpensThePersonWindowWhichTheNextKeyCloses() {
        unfoldAll(kFamilyToggle);
        unfoldAll(kSpeciesToggle);
        unfoldAll(kDetailsToggle);
        QVERIFY(clickLinkOf(kSoundAndRecordist));
        auto* person = window<TPersonForm>();
        QVERIFY(person && person->isVisible());
        QCOMPARE(person->parentWidget(), host());
        QVERIFY(host()->rect().contains(person->geometry()));
        QVERIFY(!person->layout().name_line.isEmpty());
        QTest::keyClick(&form(), Qt::Key_Down);
        QVERIFY(!person->isVisible());
    }

    void literatureThreatenedStatusAndAudioCDOpenTheirWindows() {
        unfoldAll(kFamilyToggle);
        unfoldAll(kSpeciesToggle);
        QVERIFY(clickLinkOf(kLiterature));
        auto* literature = window<TLiteratureReferencesForm>();
        QVERIFY(literature && literature->isVisible());
        const int entries = static_cast<int>(literature->text().count(u'\n')) + 1;
        QCOMPARE(literature->height(), GLB_list_fonts().line_height() * (entries + 1));

        // Any key closes it (the window may cover the next link).
        QTest::keyClick(&form(), Qt::Key_Escape);
        QVERIFY(!literature->isVisible());
        QVERIFY(clickLinkOf(kThreatened));
        // The status follows the literature mark on its row; only it opens.
        QVERIFY(!literature->isVisible());
        auto* status = window<TThreatenedStatusExplicationForm>();
        QVERIFY(status && status->isVisible());
        QCOMPARE(status->width(), kThreatenedStatusWidth);
        QVERIFY(status->text().replace(u'\n', u' ').contains(GLB_threat_source().title));

        // A click on the list closes it before the click does its own work.
        QTest::mouseClick(host(), Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!status->isVisible());
        QVERIFY(clickLinkOf(kAudioCD));
        auto* cd = window<TAboutAudioCDForm>();
        QVERIFY(cd && cd->isVisible());
        QCOMPARE(cd->link_address().left(8), QStringLiteral("https://"));
        QTest::mouseClick(host(), Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!cd->isVisible());
    }

    void aWindowAskedForAtTheBottomRightEndsFivePixelsInside() {
        const Tperson* someone = GLB_data().people().front();
        const QPoint corner(host()->width() - 1, host()->height() - 1);
        actions_.open_person(host(), *someone, corner);
        auto* person = window<TPersonForm>();
        QVERIFY(person);
        QCOMPARE(person->geometry().right() + 1, host()->width() - 5);
        QCOMPARE(person->geometry().bottom() + 1, host()->height() - 5);
    }

    void eachListWindowHasItsOwnWindows() {
        TChildForm* second = main_->new_window();
        QWidget* otherHost = second->list_form()->viewport();
        const Tperson* someone = GLB_data().people().front();
        actions_.open_person(host(), *someone, {10, 10});
        actions_.open_person(otherHost, *someone, {20, 20});
        auto* mine = window<TPersonForm>();
        auto* theirs = otherHost->findChild<TPersonForm*>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(mine && theirs && mine != theirs);
        actions_.close_information_windows(otherHost);
        QVERIFY(mine->isVisible());
        QVERIFY(!theirs->isVisible());
        delete second;
    }

    void thePersonsAddressLinesOpenItInTheSystemBrowser() {
        const Tperson* withAddress = nullptr;
        for (const Tperson* p : GLB_data().people())
            if (p->text_3.startsWith(QStringLiteral("https://"))) withAddress = p;
        QVERIFY(withAddress);
        actions_.open_person(host(), *withAddress, {10, 10});
        auto* person = window<TPersonForm>();
        QTest::mouseClick(person, Qt::LeftButton, {}, QPoint(person->width() / 2, 5));
        QVERIFY(opened_.isEmpty());
        QTest::mouseClick(person, Qt::LeftButton, {}, QPoint(person->width() / 2, person->height() - 3));
        QCOMPARE(opened_, QList<QUrl>{QUrl(withAddress->text_3)});
    }

    void addressesFromTheDataThatAreNotWebPagesAreNeverOpened() {
        Tperson crafted;
        crafted.name = QStringLiteral("Crafted");
        crafted.text_3 = QStringLiteral("javascript:alert(document.cookie)");
        actions_.open_person(host(), crafted, {10, 10});
        auto* person = window<TPersonForm>();
        QTest::mouseClick(person, Qt::LeftButton, {}, QPoint(20, person->height() - 3));
        QVERIFY(!GLB_open_web_page(QStringLiteral("file:///etc/passwd")));
        QVERIFY(opened_.isEmpty());
        QVERIFY(!GLB_main_web_browser());
    }

    void localPagesOpenInTheBrowserWindowAsTheSettingsSay() {
        dir_->write(QStringLiteral("page.html"), "<h1>Site</h1>");
        const QString page = dir_->file(QStringLiteral("page.html"));
        QVERIFY(GLB_open_web_page(page));
        TWebBrowserForm* main = GLB_main_web_browser();
        QVERIFY(main && main->isVisible());
        QCOMPARE(main->windowTitle(), QStringLiteral("URL: ") + page);
        QVERIFY(main->browser()->toPlainText().contains(QStringLiteral("Site")));
        QVERIFY(GLB_open_web_page(page));
        QCOMPARE(GLB_main_web_browser(), main);

        GLB_write_flag(QStringLiteral("GENERAL"), QStringLiteral("Use Only One Web Browser Window"), false);
        QVERIFY(GLB_open_web_page(page));
        QCOMPARE(GLB_main_web_browser(), main);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](QWidget* w) {
                                   return qobject_cast<TWebBrowserForm*>(w) && w->isVisible();
                               }),
                 2);

        GLB_write_flag(QStringLiteral("GENERAL"), QStringLiteral("Use Integrated Web Browser"), false);
        QVERIFY(GLB_open_web_page(page));
        QCOMPARE(opened_, QList<QUrl>{QUrl::fromLocalFile(page)});
        // Remote pages go to the system's browser whatever the setting.
        GLB_write_flag(QStringLiteral("GENERAL"), QStringLiteral("Use Integrated Web Browser"), true);
        QVERIFY(GLB_open_web_page(QStringLiteral("https://www.example.org/")));
        QCOMPARE(opened_.last(), QUrl(QStringLiteral("https://www.example.org/")));
    }

    void helpShowsTheGuidesPageForTheContextWithoutTheDisc() {
        copyFolder(testing_support::sourceTree() + QStringLiteral("/resources/help"),
                   dir_->file(QStringLiteral("help")));
        QVERIFY(!QFileInfo::exists(GLB().base_directory + QStringLiteral("tapes")));
        GLB_show_help(help_context::kPlaylists);
        auto windows = QApplication::topLevelWidgets();
        TWebBrowserForm* help = nullptr;
        for (QWidget* w : windows)
            if (auto* b = qobject_cast<TWebBrowserForm*>(w); b && b->isVisible()) help = b;
        QVERIFY(help);
        QVERIFY(help->current_url().toLocalFile().endsWith(QStringLiteral("/help/en/playlists.html")));
        QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("Playlists")));
        // A link inside the guide stays in the help window.
        help->browser()->anchorClicked(QUrl(QStringLiteral("index.html")));
        QVERIFY(help->current_url().toLocalFile().endsWith(QStringLiteral("/help/en/index.html")));
        QVERIFY(opened_.isEmpty());
    }

    // A large edition's recordists fill far more rows than the greeting has:
    // the photographers keep their place, no row runs past the width, and a
    // cut list says so.
    void theGreetingFitsCreditsOfAnyLengthIntoItsRows() {
        QStringList recordists;
        for (int i = 0; i < 800; ++i) recordists << QStringLiteral("Adela Aramburu Mendieta %1").arg(i);
        const QStringList credits{QStringLiteral("Recordings by ") + recordists.join(QStringLiteral(", ")),
                                  QStringLiteral("Photographs by Ana Quispe, Jorge Mamani")};
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(13);
        const QFontMetrics metrics(font);
        const QStringList rows = TIntroForm::fitted_credit_rows(credits, font, 600, 6);
        QCOMPARE(rows.size(), 6);
        for (const QString& row : rows) QVERIFY2(metrics.horizontalAdvance(row) <= 600, qPrintable(row));
        QVERIFY(rows[0].startsWith(QStringLiteral("Recordings by Adela")));
        QVERIFY2(rows[4].endsWith(QChar(0x2026)), qPrintable(rows[4]));
        QCOMPARE(rows[5], credits[1]);
        // Short credits are kept whole, word for word.
        const QStringList whole = TIntroForm::fitted_credit_rows(credits.mid(1), font, 120, 6);
        QVERIFY(whole.size() > 1);
        QCOMPARE(whole.join(u' '), credits[1]);
    }
};

QTEST_MAIN(InformationWindowsTest)
#include "information_windows_widget_test.moc"
