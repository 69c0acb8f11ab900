// The contour maps of the selection frames against their click points.
#include "pictures_maps/area_seed_points.h"
#include "pictures_maps/contour_fill.h"

#include <gtest/gtest.h>

namespace {

void expectEveryUnitFillsAloneFromItsPoints(const QString& name,
                                            const std::vector<TUnitSeedPoints>& units) {
    const QImage map = GLB_contour_map(name);
    ASSERT_FALSE(map.isNull()) << name.toStdString();
    for (const TUnitSeedPoints& unit : units) {
        SCOPED_TRACE(unit.unit);
        QImage filled = map;
        const QRgb mark = qRgb(1, 2, 3);
        for (const QPoint& seed : unit.points) {
            ASSERT_TRUE(map.rect().contains(seed)) << seed.x() << "," << seed.y();
            EXPECT_EQ(map.pixel(seed) | 0xFF000000, unit_colour::kNotSelected)
                << "not on a white unit: " << seed.x() << "," << seed.y();
            GLB_flood_fill(filled, seed, mark);
            EXPECT_EQ(filled.pixel(seed) | 0xFF000000, mark | 0xFF000000);
        }
        for (const TUnitSeedPoints& other : units) {
            if (other.unit == unit.unit) continue;
            for (const QPoint& seed : other.points)
                EXPECT_NE(filled.pixel(seed) | 0xFF000000, mark | 0xFF000000)
                    << "unit " << unit.unit << " floods into unit " << other.unit << " at "
                    << seed.x() << "," << seed.y();
        }
        // Nothing leaks into the sea around the map.
        EXPECT_NE(filled.pixel(0, filled.height() - 1) | 0xFF000000, mark | 0xFF000000);
    }
}

}  // namespace

TEST(ContourMaps, SouthAmericanUnitsFillAloneFromTheirPoints) {
    expectEveryUnitFillsAloneFromItsPoints(QStringLiteral("SOUTH_AMERICA_CONTOURS"),
                                           GLB_bolivia_etc_seed_points());
}

TEST(ContourMaps, TropicalAsianUnitsFillAloneFromTheirPoints) {
    expectEveryUnitFillsAloneFromItsPoints(QStringLiteral("TROPICAL_ASIA_MAP_BITMAP"),
                                           GLB_tropical_asia_seed_points());
}

TEST(FloodFill, StaysInsideFourConnectedBordersAndSkipsBlackAndSameColour) {
    // A white square split by a diagonal black line: 4-connected filling
    // cannot cross it.
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int i = 0; i < 8; ++i) picture.setPixel(i, 7 - i, qRgb(0, 0, 0));
    EXPECT_EQ(GLB_flood_fill(picture, QPoint(0, 0), unit_colour::kSelected), 28);
    EXPECT_EQ(picture.pixel(7, 7) | 0xFF000000, unit_colour::kNotSelected);
    EXPECT_EQ(GLB_flood_fill(picture, QPoint(0, 0), unit_colour::kSelected), 0);
    EXPECT_EQ(GLB_flood_fill(picture, QPoint(3, 4), unit_colour::kSelected), 0);  // black
    EXPECT_EQ(GLB_flood_fill(picture, QPoint(8, 0), unit_colour::kSelected), 0);  // outside
    EXPECT_EQ(GLB_flood_fill(picture, QPoint(7, 7), unit_colour::kSelected), 28);
}
