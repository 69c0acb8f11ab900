// The picture and map windows as the running program opens them from its
// list for demo species: the big picture window's buttons and its
// information and photographer windows, broken distribution bitmaps on a
// copy of the demo's disc, and the localities map's tooltips at the
// screen's edge.
#include "app/base_directory.h"
#include "app/globals.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "info_windows/windows/person_form.h"
#include "listview/windows/child_form.h"
#include "listview/windows/tooltip_form.h"
#include "pictures_maps/windows/big_picture_form.h"
#include "pictures_maps/windows/localities_map_form.h"
#include "pictures_maps/windows/map_form.h"
#include "pictures_maps/windows/picture_info_form.h"
#include "pictures_maps/picture_paths.h"
#include "support/list_window_driver.h"
#include "support/running_program.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace line_kind;
using namespace big_picture;

namespace {

// Line of the texts-file section "MENUS": View, Site descriptions.
constexpr int kSiteDescriptionsMenu = 14;

template <class Window>
Window* shownWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<Window*>(w); window && window->isVisible()) return window;
    return nullptr;
}

// A copy of the demo's disc on the hard disk.
bool copyFolder(const QString& from, const QString& to) {
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString source = files.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(source);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(source, target)) return false;
    }
    return true;
}

}  // namespace

class OpenedFromTheListTest : public QObject, protected testing_support::ListWindowDriver {
    Q_OBJECT
    std::unique_ptr<testing_support::RunningDemoProgram> program_;
    QString previousDirectory_;

    static const Tspecies& species(int uid) { return *GLB_data().species_by_unique_id(uid); }
    testing_support::DialogScript& script() { return program_->script(); }

    // The line of a kind that belongs to the species, its family unfolded
    // first as a user clicks it, and scrolled into view.
    TRecordShowStringData* lineOf(const Tspecies& s, int kind) {
        const auto find = [this, &s](int wanted) -> TRecordShowStringData* {
            for (auto* l = list().model().first_line(); l; l = l->next)
                if (l->kind == wanted && (wanted == kFamilyToggle ? l->family == s.family(1)
                                                                  : l->species == &s))
                    return l;
            return nullptr;
        };
        TRecordShowStringData* line = find(kind);
        if (!line) {
            TRecordShowStringData* family = find(kFamilyToggle);
            if (!family) return nullptr;
            clickInView(family);
            line = find(kind);
        }
        if (line) scrollTo(line);
        return line;
    }
    void scrollTo(TRecordShowStringData* line) {
        form().verticalScrollBar()->setValue(list().reference_y_of(*line) - 100);
        repaint();
    }
    void clickInView(TRecordShowStringData* line) {
        scrollTo(line);
        clickToggle(line);  // a click on the line's bitmap
    }

  private slots:
    void init() {
        previousDirectory_ = QDir::currentPath();
        // The program looks for its files in the current folder first.
        QDir::setCurrent(QDir::tempPath());
        program_ = std::make_unique<testing_support::RunningDemoProgram>();
        main_ = &program_->mainWindow();
        main_->resize(1000, 800);
        QVERIFY(QTest::qWaitForWindowExposed(main_));
        // The introduction is clicked away before the user goes on.
        QTRY_VERIFY(!QApplication::activeModalWidget());
        repaint();
    }
    void cleanup() {
        // A window a failed check left open goes before the program ends.
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<TBigPictureForm*>(w) || qobject_cast<TMapForm*>(w)) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        program_.reset();
        main_ = nullptr;
        QDir::setCurrent(previousDirectory_);
    }

    // Every point of the information and photographer windows belongs to
    // them: no button lies over their texts or catches a click on the link,
    // also after the controls' timer has shown the buttons again.
    void bigPictureButtonsLeaveTheInformationAndCreditUncovered() {
        TRecordShowStringData* marker = lineOf(species(20020), kMediaMarker);
        QVERIFY(marker);
        clickInView(marker);
        QPointer<TBigPictureForm> window = shownWindow<TBigPictureForm>();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(window->control(Information)->isVisible() && window->control(Credit)->isVisible());
        // What lies over the window, or an empty text.
        const auto covering = [&window](QWidget* shown) {
            for (int y = 0; y < shown->height(); ++y)
                for (int x = 0; x < shown->width(); ++x) {
                    const QPoint p = shown->mapTo(window.data(), QPoint(x, y));
                    QWidget* at = window->childAt(p);
                    if (at != shown && !shown->isAncestorOf(at))
                        return QStringLiteral("%1 at %2,%3 over %4")
                            .arg(at ? QString::fromLatin1(at->metaObject()->className()) : "nothing")
                            .arg(p.x()).arg(p.y()).arg(shown->metaObject()->className());
                }
            return QString();
        };
        const auto clearOfButtons = [&window](QWidget* shown) {
            for (int c = Previous; c <= Credit; ++c) {
                QWidget* button = window->control(Control(c));
                if (button->isVisible() && button->geometry().intersects(shown->geometry()))
                    return false;
            }
            return true;
        };

        QTest::mouseClick(window->control(Information), Qt::LeftButton);
        TPictureInfoForm* info = window->information_window();
        QVERIFY(info->isVisible());
        QVERIFY(info->text().contains(QStringLiteral("(Cusco, Peru)")));
        QTest::qWait(1200);  // the controls' timer has shown the buttons again
        QVERIFY2(covering(info).isEmpty(), qPrintable(covering(info)));
        QVERIFY(clearOfButtons(info));

        QTest::mouseClick(window->control(Credit), Qt::LeftButton);
        auto* credit = window->findChild<TPersonForm*>();
        QVERIFY(credit && credit->isVisible());
        QTest::qWait(1200);
        QVERIFY2(covering(credit).isEmpty(), qPrintable(covering(credit)));
        QVERIFY(clearOfButtons(credit));
        // Both at once: the photographer's window leaves the information whole.
        QVERIFY2(covering(info).isEmpty(), qPrintable(covering(info)));
        // The buttons keep their places and still take clicks.
        QCOMPARE(window->childAt(window->control(Shrink)->geometry().center()),
                 window->control(Shrink));
        const double factor = window->factor();
        QTest::mouseClick(window->control(Shrink), Qt::LeftButton);
        QVERIFY(window->factor() < factor);
        window->close();
    }

    // On a copy of the disc with one distribution bitmap cut short and one
    // whose compressed codes are broken, each map opening tells once, and
    // painting the window tells nothing more.
    void brokenDistributionBitmapsAreReportedOncePerOpening() {
        QTemporaryDir disc;
        QVERIFY(copyFolder(testing_support::RunningDemoProgram::demoBaseDirectory(), disc.path()));
        script().dialogs().directoryAnswers.push_back(disc.path());
        QVERIFY(GLB_ask_for_base_directory());

        const Tspecies& plain = species(24895);
        QFile truncated(GLB_distribution_map_path(plain, 1));
        QVERIFY(truncated.fileName().startsWith(disc.path()));
        QVERIFY(truncated.resize(truncated.size() / 2));

        const Tspecies& compressed = species(22038);
        QFile broken(GLB_distribution_map_path(compressed, 1));
        QVERIFY(broken.open(QIODevice::ReadWrite));
        QByteArray bytes = broken.readAll();
        QVERIFY(bytes.startsWith("Marvek's compression format"));
        // Past the first codes, every code names the last dictionary entry,
        // which the decoder has not defined yet.
        for (qsizetype i = 63 + 30; i < bytes.size(); ++i) bytes[i] = char(0xFF);
        QVERIFY(broken.seek(0));
        QCOMPARE(broken.write(bytes), bytes.size());
        broken.close();

        // Opens the species' map from its marker in the list, paints and
        // resizes it, and closes it: the boxes shown.
        const auto openMap = [this](const Tspecies& s) -> QStringList {
            const size_t before = script().messages().size();
            TRecordShowStringData* marker = lineOf(s, kMapMarker);
            if (!marker) return {QStringLiteral("no map marker")};
            clickInView(marker);
            QPointer<TMapForm> map = shownWindow<TMapForm>();
            if (!map || !QTest::qWaitForWindowExposed(map)) return {QStringLiteral("no map window")};
            const size_t onOpening = script().messages().size();
            for (int i = 0; i < 3; ++i) {
                map->canvas()->repaint();
                map->resize(map->size() + QSize(0, 1));
                QCoreApplication::processEvents();
            }
            QStringList shown;
            for (size_t i = before; i < script().messages().size(); ++i)
                shown << script().messages()[i].text;
            if (script().messages().size() != onOpening) shown << QStringLiteral("painted again");
            QTest::keyClick(map, Qt::Key_Escape);
            if (!QTest::qWaitFor([&map] { return map.isNull(); }, 2000))
                shown << QStringLiteral("still open");
            return shown;
        };

        const QString cutShort = QStringLiteral("Error when reading file \"%1\", can not show picture.")
                                     .arg(truncated.fileName());
        QCOMPARE(openMap(plain), QStringList{cutShort});
        QCOMPARE(script().messages().front().style & platform::box::IconMask,
                 platform::box::IconStop);
        QCOMPARE(openMap(plain), QStringList{cutShort});

        // The compressed file's reader says that decoding failed, and then
        // that reading it failed.
        const QStringList undecodable{
            QStringLiteral("read_compressed_file_into_memory(): error when decompressing"),
            QStringLiteral("read_compressed_file_into_memory(): error")};
        QCOMPARE(openMap(compressed), undecodable);
        QCOMPARE(openMap(compressed), undecodable);

        // An intact bitmap beside them says nothing.
        QCOMPARE(openMap(species(21861)), QStringList());
    }

    // The localities map from the View menu, moved against the screen's
    // right edge: the tooltip of its rightmost place goes left of the dot and
    // stays whole on the screen.
    void localitiesTooltipNearTheScreensRightEdgeStaysOnTheScreen() {
        QAction* menu = main_->menu_action(kSiteDescriptionsMenu);
        QVERIFY(menu);
        menu->trigger();

        TLocalitiesMapForm& map = GLB_localities_map();
        QVERIFY(map.isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(&map));
        if (map.isMaximized()) map.showNormal();
        QCoreApplication::processEvents();
        const QRect screenArea = map.screen()->availableGeometry();

        int rightmost = -1;
        QPoint dot;
        const QPoint margins(map.layout().main.left_margin, map.layout().main.top_margin);
        for (size_t i = 0; i < map.dots().positions().size(); ++i) {
            const Txy& xy = map.dots().positions()[i];
            if (!xy.on_main && !xy.on_inset) continue;
            const QPoint p = TLocalitiesLayout::dot_position(xy) - margins + map.map_origin();
            if (rightmost < 0 || p.x() > dot.x()) {
                rightmost = int(i);
                dot = p;
            }
        }
        QVERIFY(rightmost >= 0);
        map.move(screenArea.right() + 1 - map.frameGeometry().width(), map.y());
        QCoreApplication::processEvents();
        const QPoint onScreen = map.canvas()->mapToGlobal(dot);
        QVERIFY(screenArea.contains(onScreen));
        QVERIFY(screenArea.right() - onScreen.x() < 100);

        // Moved in the map's own window: the test's screen stacks no windows,
        // so the cursor alone could land in another one.
        QTest::mouseMove(map.windowHandle(), map.canvas()->mapTo(&map, dot));
        QCOMPARE(map.hovered(), rightmost);
        TTooltipForm* tip = map.tooltip();
        QVERIFY(tip && tip->isVisible());
        QVERIFY2(screenArea.contains(tip->geometry()),
                 qPrintable(QStringLiteral("tooltip at %1,%2, %3 wide, on a screen area %4 wide")
                                .arg(tip->x()).arg(tip->y()).arg(tip->width())
                                .arg(screenArea.width())));
        // It leaves the dot free, so the mouse stays on the map.
        QVERIFY(!tip->geometry().adjusted(-3, -3, 3, 3).contains(onScreen));
        map.close();
    }
};

QTEST_MAIN(OpenedFromTheListTest)
#include "opened_from_the_list_widget_test.moc"
