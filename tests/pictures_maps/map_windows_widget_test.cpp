// The distribution map window and the localities map on the demo edition.
#include "app/globals.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "info_windows/windows/web_browser_form.h"
#include "listview/windows/tooltip_form.h"
#include "pictures_maps/windows/localities_map_form.h"
#include "pictures_maps/windows/map_form.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"

#include <QtTest>

namespace {

const Tspecies* speciesOnMap(const QString& mapName) {
    for (Tfamily* f = GLB_data_or_null()->first_family(1); f; f = f->next)
        for (Tspecies* s = f->first_species; s; s = s->next(1))
            if (s->map_reference_count > 0 && s->map_references[0].map->name == mapName) return s;
    return nullptr;
}

const Tlocality* localityByKey(const QString& key) {
    for (const Tlocality* l : GLB_data_or_null()->localities())
        if (l->key == key) return l;
    return nullptr;
}

int countColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) | 0xFF000000) == colour;
    return n;
}

}  // namespace

class MapWindowsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<testing_support::ProgramDirectory> dir_;

    // The page the program's browser window shows, each browser window
    // closed before the next is looked for; empty when none opened.
    static QStringList shownPages() {
        QStringList pages;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* browser = qobject_cast<TWebBrowserForm*>(w); browser && browser->isVisible())
                pages << browser->current_url().toLocalFile();
        GLB_close_web_browsers();
        return pages;
    }

  private slots:
    void initTestCase() {
        dir_ = std::make_unique<testing_support::ProgramDirectory>();
        testing_support::installDemoEdition(*dir_);
        GLB().base_directory = testing_support::sourceTree() + QStringLiteral("/editions/demo/base/");
    }
    void cleanupTestCase() {
        GLB_close_web_browsers();
        testing_support::removeDemoEdition();
    }

    void distributionWithALocalityShowsHatchDotAndCaption() {
        const Tspecies* species = speciesOnMap(QStringLiteral("BOLIVIA_MAP"));
        const Tlocality* madidi = localityByKey(QStringLiteral("BO-MADIDI"));
        QVERIFY(species && madidi);
        auto* form = new TMapForm;
        QPointer<TMapForm> alive(form);
        form->ShowMap(species, madidi, true, QStringLiteral("Range"));
        QCOMPARE(form->windowTitle(), QStringLiteral("Range, ") + madidi->name);
        QCOMPARE(form->layout().main_row, map_row::kBolivia);
        QVERIFY(form->layout().has_inset());
        const QImage& picture = form->picture();
        QCOMPARE(picture.width(), 609 + 10 + 262);
        QVERIFY(countColour(picture, qRgb(255, 0, 0)) >= 2 * 21);  // main map and inset
        QVERIFY(countColour(picture, qRgb(255, 255, 255)) > 0);
        int hatch = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) {
                const QRgb p = picture.pixel(x, y);
                hatch += qBlue(p) > qRed(p) + 60 && qRed(p) == qGreen(p);
            }
        QVERIFY(hatch > 1000);

        // The link opens the site description; Esc closes and releases.
        QVERIFY(!madidi->site_description.isEmpty());
        QVERIFY(shownPages().isEmpty());
        QTest::keyClick(form, Qt::Key_H, Qt::ControlModifier);
        const QStringList pages = shownPages();
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().endsWith(u'/' + madidi->site_description));
        QTest::keyClick(form, Qt::Key_Escape);
        QTRY_VERIFY(!alive);
    }

    void localityAbroadGoesOnTheOverviewMapOnly() {
        const Tlocality* pantanal = localityByKey(QStringLiteral("BR-PANTANAL"));
        QVERIFY(pantanal);
        TMapForm form;
        form.ShowMap(nullptr, pantanal, false, QString());
        QCOMPARE(form.layout().main_row, map_row::kLittleSouthAmerica);
        QVERIFY(!form.layout().has_inset());
        QCOMPARE(countColour(form.picture(), qRgb(255, 0, 0)), 21);
    }

    void localitiesMapShowsEveryPlaceAndTellsAboutTheOneUnderTheMouse() {
        TLocalitiesMapForm form;
        form.ShowLocalitiesMap(nullptr, nullptr, false, QString());
        QCOMPARE(form.layout().main_row, map_row::kBolivia);
        int shown = 0, withCoordinates = 0;
        for (size_t i = 0; i < form.localities().size(); ++i) {
            withCoordinates += form.localities()[i]->has_coordinates();
            shown += form.dots().positions()[i].on_main || form.dots().positions()[i].on_inset;
        }
        QCOMPARE(shown, withCoordinates);
        QVERIFY(shown >= 30);

        int index = -1;
        for (size_t i = 0; i < form.localities().size(); ++i)
            if (form.localities()[i]->key == u"BO-NOEL KEMPFF") index = int(i);
        QVERIFY(index >= 0);
        const QPoint dot = TLocalitiesLayout::dot_position(form.dots().positions()[size_t(index)]) -
                           QPoint(form.layout().main.left_margin, form.layout().main.top_margin) +
                           form.map_origin();
        QTest::mouseMove(form.canvas(), dot);
        QCOMPARE(form.hovered(), index);
        QPointer<TTooltipForm> tip = form.tooltip();
        QVERIFY(tip);
        QTest::mouseMove(form.canvas(), dot + QPoint(1, 1));
        QCOMPARE(form.tooltip(), tip.data());  // the same dot keeps its tooltip
        QTest::mouseMove(form.canvas(), QPoint(3, 3));
        QCOMPARE(form.hovered(), -1);

        QVERIFY(shownPages().isEmpty());
        QTest::mouseClick(form.canvas(), Qt::LeftButton, {}, dot);
        const QStringList pages = shownPages();
        QCOMPARE(pages.size(), 1);
        QVERIFY(pages.first().endsWith(QStringLiteral("/noelkempff.htm")));
    }

    void reopeningWithAnotherListsFilterLaysOutOnlyItsPlaces() {
        TLocalitiesMapForm form;
        form.ShowLocalitiesMap(nullptr, nullptr, false, QString());
        const size_t everyPlace = form.localities().size();
        QVERIFY(everyPlace > 1);
        form.ShowLocalitiesMap(nullptr, nullptr, false, QString(), [](const Tlocality& l) {
            return l.key == u"BO-NOEL KEMPFF";
        });
        QCOMPARE(form.localities().size(), size_t(1));
        QCOMPARE(form.dots().positions().size(), size_t(1));
        form.ShowLocalitiesMap(nullptr, nullptr, false, QString());
        QCOMPARE(form.localities().size(), everyPlace);
    }

    void tooltipNamesThePlaceItsTextAndItsPage() {
        const Tlocality* madidi = localityByKey(QStringLiteral("BO-MADIDI"));
        const QString text = TLocalitiesMapForm::tooltip_text(*madidi, 200, QApplication::font());
        const QStringList lines = text.split(u'\n');
        QVERIFY(lines.size() >= 3);
        QVERIFY(lines.first().contains(madidi->name));
        QVERIFY(lines.last().startsWith(QChar(14)));
        QVERIFY(lines.last().endsWith(madidi->site_description));
    }
};

QTEST_MAIN(MapWindowsTest)
#include "map_windows_widget_test.moc"
