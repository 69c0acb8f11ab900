// The area selection frames: clicks on the contour map, clear and select
// all, and the round trip through an area.
#include "formats/textfile.h"
#include "pictures_maps/contour_fill.h"
#include "pictures_maps/windows/select_area_frame.h"
#include "support/scripted_dialogs.h"

#include <QPushButton>
#include <QtTest>

class SelectAreaFrameTest : public QObject {
    Q_OBJECT
    using SA = TBoliviaEtcArea;
    using TA = TTropicalAsiaArea;

    std::unique_ptr<TTextsOverride> texts_;

    static QRgb at(const TFrameSelectArea& frame, QPoint p) { return frame.map_image().pixel(p) | 0xFF000000; }

  private slots:
    void initTestCase() {
        texts_ = std::make_unique<TTextsOverride>(Ttextfile_handler::fromText(
            QStringLiteral("$[SELECT AREA]\nCountries shown\nClear all\nSelect all\n")));
    }
    void cleanupTestCase() { texts_.reset(); }

    void clickTurnsAUnitOnAndOffInAllItsPieces() {
        TFrameSelectBoliviaEtcArea frame;
        QCOMPARE(frame.item_count(), int(SA::UnitCount));
        QCOMPARE(frame.size(), frame.map_image().size());
        QVERIFY(!frame.Button_clear_all->isVisibleTo(&frame));
        QCOMPARE(at(frame, {110, 180}), unit_colour::kNotSelected);
        QCOMPARE(at(frame, {50, 50}), unit_colour::kAlternateNotSelected);

        // Paraguay has two points: clicking one piece changes both.
        QTest::mouseClick(frame.image(), Qt::LeftButton, {}, QPoint(125, 195));
        QVERIFY(frame.item_selected(SA::PA));
        QCOMPARE(at(frame, {110, 180}), unit_colour::kSelected);
        QCOMPARE(at(frame, {125, 195}), unit_colour::kSelected);
        QVERIFY(!frame.item_selected(SA::PE));
        QCOMPARE(at(frame, {40, 120}), unit_colour::kNotSelected);
        QTest::mouseClick(frame.image(), Qt::LeftButton, {}, QPoint(110, 180));
        QVERIFY(!frame.item_selected(SA::PA));
        QCOMPARE(at(frame, {125, 195}), unit_colour::kNotSelected);

        // The other countries in the alternate colours, all points at once.
        QTest::mouseClick(frame.image(), Qt::LeftButton, {}, QPoint(87, 331));
        QVERIFY(frame.item_selected(SA::OT));
        for (const QPoint& p : frame.item(SA::OT).seed_points) QCOMPARE(at(frame, p), unit_colour::kAlternateSelected);
        QVERIFY(frame.may_close());

        // A click on the sea or a border changes nothing.
        QTest::mouseClick(frame.image(), Qt::LeftButton, {}, QPoint(230, 340));
        QVERIFY(frame.item_selected(SA::OT));
    }

    void mayCloseOnlyWithAMainCountryOrTheOthers() {
        TFrameSelectBoliviaEtcArea frame;
        QVERIFY(!frame.may_close());
        frame.set_item_selected(SA::AR, true);
        QVERIFY(!frame.may_close());
        frame.set_item_selected(SA::BO, true);
        QVERIFY(frame.may_close());
    }

    void areaLoadsIntoAndReadsBackFromTheFrame() {
        TBoliviaEtcArea area;
        area.ParseDistribution(QStringLiteral("PE-OT"), QString(), true);
        TFrameSelectBoliviaEtcArea frame;
        area.LoadIntoFrame(frame);
        QCOMPARE(at(frame, {40, 120}), unit_colour::kSelected);
        QCOMPARE(at(frame, {10, 32}), unit_colour::kAlternateSelected);
        QVERIFY(!area.FrameChanged(frame));
        QTest::mouseClick(frame.image(), Qt::LeftButton, {}, QPoint(90, 150));
        QVERIFY(area.FrameChanged(frame));
        area.ReadFromFrame(frame);
        QCOMPARE(area.selection_text(), QStringLiteral("PE-BO-OT"));

        // A frame of another area kind is a programming error, and nothing
        // changes.
        testing_support::DialogScript script;
        TFrameSelectCountryArea country;
        area.ReadFromFrame(country);
        QCOMPARE(script.lastMessage(), QStringLiteral("Programming error 12730, tell Marvek"));
        QCOMPARE(area.selection_text(), QStringLiteral("PE-BO-OT"));
    }

    void tropicalAsiaOffersAllButFourUnits() {
        TFrameSelectTropicalAsiaArea frame;
        QCOMPARE(frame.item_count(), int(TA::UnitCount));
        QVERIFY(frame.Button_select_all->isVisibleTo(&frame));
        QCOMPARE(frame.Button_select_all->y() + frame.Button_select_all->sizeHint().height(),
                 frame.height() - 50);
        frame.Button_select_all->click();
        for (int u = 0; u < TA::UnitCount; ++u)
            QCOMPARE(frame.item_selected(u), !TTropicalAsiaArea::never_selectable(u));
        QCOMPARE(at(frame, {402, 429}), unit_colour::kSelected);
        QCOMPARE(at(frame, {533, 377}), unit_colour::kNotOffered);
        // Java's two points change together; Sulawesi cannot be clicked.
        QTest::mouseClick(frame.image(), Qt::LeftButton, {}, QPoint(423, 425));
        QVERIFY(!frame.item_selected(TA::JA));
        QCOMPARE(at(frame, {402, 429}), unit_colour::kNotSelected);
        QTest::mouseClick(frame.image(), Qt::LeftButton, {}, QPoint(547, 278));
        QVERIFY(!frame.item_selected(TA::SW));
        frame.Button_clear_all->click();
        QVERIFY(!frame.may_close());
        QCOMPARE(at(frame, {78, 180}), unit_colour::kNotSelected);
    }

    void framesOfAnAreasKindAreCentredInTheirHost() {
        QWidget host;
        host.resize(600, 500);
        TBoliviaEtcArea area;
        TFrameSelectArea* frame = GLB_create_area_frame(area.frame_kind(), &host, 0);
        QVERIFY(frame);
        QCOMPARE(frame->parentWidget(), &host);
        QCOMPARE(frame->item_count(), area.unit_count());
        QCOMPARE(frame->pos(), QPoint((600 - frame->width()) / 2, std::max(0, (500 - frame->height()) / 2)));
        TFrameSelectArea* placed = GLB_create_area_frame(area.frame_kind(), &host, 7);
        QCOMPARE(placed->x(), 7);
        TCountryArea country(111);
        QCOMPARE(GLB_create_area_frame(country.frame_kind(), &host, 0)->item_count(), 2);
        QVERIFY(!GLB_create_area_frame(TAreaFrameKind::None, &host, 0));
    }
};

QTEST_MAIN(SelectAreaFrameTest)
#include "select_area_frame_widget_test.moc"
