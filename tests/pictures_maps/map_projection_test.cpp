// The map table's projection, the choice of base map and inset.
#include "pictures_maps/base_map_choice.h"
#include "pictures_maps/map_picture.h"
#include "pictures_maps/map_table.h"

#include <gtest/gtest.h>

namespace {

const Tmap_record& row(int r) {
    return GLB_map_table()[static_cast<size_t>(r)];
}

TProjection project(int r, double lon, double lat, bool inset = false) {
    return ProjectPoint(row(r), r, {lon, lat}, inset);
}

// One pixel per degree from (0, 0) at lon 0, lat 100 down to (100, 100).
Tmap_record squareRecord() {
    return {"SQUARE", false, false, 0, 0, 100, 100, 0, 0, 0, 100, 100, 0,
            0, 100, 0, 100, {0, 100, 0, 0, 100, 100, 100, 0}};
}

}  // namespace

TEST(ProjectPoint, CornersLandWhereTheTableSaysOnEveryUncorrectedRow) {
    EXPECT_EQ(project(map_row::kBolivia, -69.57, -22.82).pixel, QPoint(15, 639));
    EXPECT_EQ(project(map_row::kBolivia, -58.17, -10.93).pixel, QPoint(566, 68));
    for (int r = 0; r < kMapCount; ++r) {
        if (r == map_row::kIndia || r == map_row::kVenezuela) continue;
        const Tmap_record& m = row(r);
        const auto& c = m.corners;
        SCOPED_TRACE(r);
        EXPECT_EQ(project(r, m.lon_min, m.lat_min).pixel, QPoint(qRound(c[0]), qRound(c[1])));
        EXPECT_EQ(project(r, m.lon_min, m.lat_max).pixel, QPoint(qRound(c[2]), qRound(c[3])));
        EXPECT_EQ(project(r, m.lon_max, m.lat_min).pixel, QPoint(qRound(c[4]), qRound(c[5])));
        EXPECT_EQ(project(r, m.lon_max, m.lat_max).pixel, QPoint(qRound(c[6]), qRound(c[7])));
    }
}

TEST(ProjectPoint, CountsTenPixelsAroundTheBoundsAsOnTheMap) {
    const Tmap_record square = squareRecord();
    auto at = [&](double lon, double lat) { return ProjectPoint(square, -1, {lon, lat}, false); };
    EXPECT_TRUE(at(110, 50).on_map);    // x = x-max + 10
    EXPECT_FALSE(at(111, 50).on_map);   // x = x-max + 11
    EXPECT_TRUE(at(-10, 50).on_map);
    EXPECT_FALSE(at(-11, 50).on_map);
    EXPECT_TRUE(at(50, -10).on_map);    // y = y-max + 10
    EXPECT_FALSE(at(50, -11).on_map);
    EXPECT_TRUE(at(50, 110).on_map);
    EXPECT_FALSE(at(50, 111).on_map);
    EXPECT_EQ(at(50, 50).pixel, QPoint(50, 50));
}

TEST(ProjectPoint, CorrectsTheMainMapsThatNeedIt) {
    // The inset projection of the same row is the plain bilinear one.
    auto shift = [](int r, double lon, double lat) {
        return project(r, lon, lat).pixel - project(r, lon, lat, true).pixel;
    };
    EXPECT_EQ(shift(map_row::kIndia, 82.5, 20), QPoint(2, 8));   // middle: u = v = 0.5
    EXPECT_EQ(shift(map_row::kIndia, 70, 10), QPoint(0, 0));     // corner
    EXPECT_EQ(shift(map_row::kVenezuela, -72.0, 8.2).y(), 10 + 0);
    EXPECT_EQ(shift(map_row::kVenezuela, -69.1, 11.5), QPoint(-4, 12));  // d = 1
    EXPECT_EQ(shift(map_row::kVenezuela, -66, 9), QPoint(0, 0));
    // South of 6° and west of 64°: pushed east by the distance to (−64, 6).
    EXPECT_EQ(shift(map_row::kVenezuela, -67, 2), QPoint(qRound(5.0 / 5 * 10), 0));
    // Row 19 corrects only as an inset.
    const Tmap_record& inset = row(map_row::kNorthernSouthAmericaInset);
    const TGeoPoint guianas{-60, 3};
    EXPECT_EQ(ProjectPoint(inset, map_row::kNorthernSouthAmericaInset, guianas, true).pixel.y() -
                  ProjectPoint(inset, map_row::kNorthernSouthAmericaInset, guianas, false).pixel.y(),
              -8);
}

TEST(ProjectPoint, ReportsPlacesFarOffEveryMapAsOffIt) {
    EXPECT_FALSE(project(map_row::kBolivia, 120, 40).on_map);
    EXPECT_FALSE(project(map_row::kBolivia, 1e300, -1e300).on_map);
}

TEST(Coordinates, CountTheLastTwoDigitsAsHundredthsOfAMinute) {
    EXPECT_DOUBLE_EQ(GLB_coordinate_degrees(-428400), -(71 + 2400 / 6000.0));
    EXPECT_DOUBLE_EQ(GLB_coordinate_degrees(71300), 11 + 5300 / 6000.0);
    EXPECT_DOUBLE_EQ(GLB_coordinate_degrees(0), 0);
}

TEST(ChooseBaseMap, FollowsTheEditionCountryMapTypeAndPlace) {
    const std::optional<TGeoPoint> none;
    const TGeoPoint inParaguay{-57, -25}, inPeru{-75, -10}, inBrazil{-45, -15};
    // In edition 101 Peru is always Peru's map, wherever the place lies.
    EXPECT_EQ(ChooseBaseMap(101, "Peru", 0, inParaguay), map_row::kPeru);
    EXPECT_EQ(ChooseBaseMap(101, "Bolivia", 9, none), map_row::kBolivia);
    EXPECT_EQ(ChooseBaseMap(101, "Peru", 4, none), map_row::kRiberalta);
    EXPECT_EQ(ChooseBaseMap(101, "", 2, none), map_row::kBoliviaAndPunoAndes);
    EXPECT_EQ(ChooseBaseMap(101, "", 1, none), map_row::kBolivia);
    EXPECT_EQ(ChooseBaseMap(103, "", 0, inPeru), map_row::kPeru);
    EXPECT_EQ(ChooseBaseMap(103, "", 0, inParaguay), map_row::kParaguay);
    EXPECT_EQ(ChooseBaseMap(103, "Argentina", 0, inBrazil), map_row::kLittleSouthAmerica);
    EXPECT_EQ(ChooseBaseMap(101, "Argentina", 0, none), map_row::kLittleSouthAmerica);
    EXPECT_EQ(ChooseBaseMap(104, "Ecuador", 1, none), map_row::kDefault);
    EXPECT_EQ(ChooseBaseMap(104, "Bolivia", 8, none), map_row::kBolivia);
    EXPECT_EQ(ChooseBaseMap(104, "Colombia", 0, TGeoPoint{-75, 1.4}), map_row::kEcuador);
    EXPECT_EQ(ChooseBaseMap(104, "Colombia", 0, TGeoPoint{-75, 1.5}), map_row::kNeotropics);
    EXPECT_EQ(ChooseBaseMap(105, "", 0, none), map_row::kEcuador);
    EXPECT_EQ(ChooseBaseMap(115, "", 0, none), map_row::kEcuador);
    EXPECT_EQ(ChooseBaseMap(111, "", 0, none), map_row::kVenezuela);
    EXPECT_EQ(ChooseBaseMap(112, "", 0, none), map_row::kCostaRicaPanama);
    EXPECT_EQ(ChooseBaseMap(113, "", 0, none), map_row::kCentralAmerica);
    EXPECT_EQ(ChooseBaseMap(106, "Hong Kong", 0, none), map_row::kChina);
    EXPECT_EQ(ChooseBaseMap(106, "Bangla Desh", 0, none), map_row::kIndia);
    EXPECT_EQ(ChooseBaseMap(106, "Laos", 0, none), map_row::kIndochina);
    EXPECT_EQ(ChooseBaseMap(106, "Taiwan", 0, none), map_row::kPhilippinesAndTaiwan);
    EXPECT_EQ(ChooseBaseMap(106, "Brunei", 0, none), map_row::kIndonesia);
    EXPECT_EQ(ChooseBaseMap(106, "china", 0, none), map_row::kTropicalAsia);  // exact texts
    EXPECT_EQ(ChooseBaseMap(114, "", 0, none), map_row::kLittleSouthAmerica);
    EXPECT_EQ(ChooseBaseMap(114, "", 0, inBrazil), map_row::kBrazil);
    EXPECT_EQ(ChooseBaseMap(114, "", 0, TGeoPoint{-74, -15}), map_row::kLittleSouthAmerica);
    EXPECT_EQ(ChooseBaseMap(130, "Bolivia", 0, none), map_row::kBolivia);
    EXPECT_EQ(ChooseBaseMap(130, "Peru", 0, none), map_row::kLittleSouthAmerica);
    EXPECT_EQ(ChooseBaseMap(109, "Bolivia", 3, inPeru), map_row::kDefault);
}

TEST(Inset, SitsBesideTheMainMapsThatHaveOne) {
    const TInsetChoice bolivia = GLB_inset_for(101, map_row::kBolivia, std::nullopt);
    EXPECT_EQ(bolivia.row, map_row::kLittleSouthAmerica);
    EXPECT_EQ(bolivia.dx, 609 + 10);
    EXPECT_EQ(bolivia.dy, 161);
    const TInsetChoice ecuador = GLB_inset_for(105, map_row::kEcuador, std::nullopt);
    EXPECT_EQ(ecuador.dy, 436 - 363);  // raised to fit the map's height
    const TInsetChoice north = GLB_inset_for(101, map_row::kVenezuela, TGeoPoint{-66, 8});
    EXPECT_EQ(north.row, map_row::kNorthernSouthAmericaInset);
    EXPECT_EQ(north.dx, 589 + 10);
    EXPECT_EQ(north.dy, (442 - 280) / 2);
    EXPECT_EQ(GLB_inset_for(101, map_row::kVenezuela, TGeoPoint{-60, -5}).row,
              map_row::kSouthAmericaInset);
    EXPECT_EQ(GLB_inset_for(101, map_row::kCostaRicaPanama, std::nullopt).row,
              map_row::kCentralAmericaInset);
    EXPECT_EQ(GLB_inset_for(111, map_row::kVenezuela, std::nullopt).row, -1);
    EXPECT_EQ(GLB_inset_for(112, map_row::kCostaRicaPanama, std::nullopt).row, -1);
    EXPECT_EQ(GLB_inset_for(101, map_row::kNeotropics, std::nullopt).row, -1);

    // The shifted record projects onto the inset where it is drawn.
    const TMapLayout layout = TMapLayout::make(101, map_row::kBolivia, std::nullopt);
    EXPECT_EQ(layout.content_width(), 609 + 10 + 262);
    const TProjection a = ProjectPoint(layout.inset, layout.inset_row, {-81.28, -56}, true);
    EXPECT_EQ(a.pixel, QPoint(12 + 619, 359 + 161));
    EXPECT_TRUE(a.on_map);
}

TEST(Inset, MapTypesOutsideTheTableFallBackToTheDefaultMap) {
    const TMapLayout layout = TMapLayout::make(101, 99, std::nullopt);
    EXPECT_EQ(layout.main_row, map_row::kDefault);
    EXPECT_FALSE(layout.has_inset());
    EXPECT_EQ(TMapLayout::make(101, -3, std::nullopt).main_row, map_row::kDefault);
}

TEST(BaseMaps, EveryRowHasAPictureOfItsSize) {
    for (int r = 0; r < kMapCount; ++r) {
        SCOPED_TRACE(GLB_map_resource_name(r).toStdString());
        const QImage picture = GLB_base_map_picture(r);
        ASSERT_FALSE(picture.isNull());
        EXPECT_EQ(picture.width(), row(r).width);
        EXPECT_GE(picture.height(), row(r).height);
        EXPECT_EQ(GLB_map_row(GLB_map_resource_name(r)), r);
    }
}
