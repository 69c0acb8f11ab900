// Drawing a range and a place onto the base map, pixel by pixel.
#include "data/people_places.h"
#include "pictures_maps/localities_layout.h"
#include "pictures_maps/map_picture.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

QImage filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

bool onHatch(int x, int y) {
    return (x + y) % 3 == 0 || (x - y + 10000) % 3 == 0;
}

int count(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) | 0xFF000000) == colour;
    return n;
}

}  // namespace

TEST(Distribution, RedHatchesBlueOnGreyAndOtherColoursLeaveTheMap) {
    const QRgb base = qRgb(90, 120, 150);  // grey value 120
    QImage picture = filled(9, 6, base);
    QImage range = filled(9, 6, kRed);
    for (int x = 0; x < 9; ++x) {
        range.setPixel(x, 4, kBlue);
        range.setPixel(x, 5, x % 2 ? kWhite : qRgb(0, 255, 0));
    }
    GLB_combine_distribution(picture, range, 100);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(picture.pixel(x, y) | kBlack,
                      onHatch(x, y) ? qRgb(60, 60, (120 + 255) / 2) : base)
                << x << "," << y;
    for (int x = 0; x < 9; ++x) {
        EXPECT_EQ(picture.pixel(x, 4) | kBlack, kBlue);
        EXPECT_EQ(picture.pixel(x, 5) | kBlack, base);
    }
}

TEST(Distribution, TracksRangeRightOfTheMainMapOnly) {
    QImage picture = filled(40, 10, kWhite);
    QImage range = filled(40, 10, kWhite);
    range.setPixel(5, 5, kRed);  // on the main map (width 10)
    EXPECT_FALSE(GLB_combine_distribution(picture, range, 10).isValid());
    range.setPixel(25, 3, kRed);
    range.setPixel(27, 6, kBlue);
    EXPECT_EQ(GLB_combine_distribution(picture, range, 10), QRect(QPoint(25, 3), QPoint(27, 6)));
}

TEST(Distribution, ABitmapOfAnotherSizeIsStretchedIntoItsRectangleAndClipped) {
    const TMapLayout layout = TMapLayout::make(101, map_row::kNeotropics, std::nullopt);
    QImage picture = GLB_compose_base(layout, QImage(), QImage());
    TDistribution d;
    d.main.bitmap = filled(2, 2, kRed);
    d.main.georeferenced = true;
    // Ten degrees square around Bolivia, then a rectangle far outside the
    // map in every direction.
    d.main.bounds = {-70, -10, -60, -20};
    GLB_draw_distribution(picture, layout, d);
    const QRect rect(ProjectPoint(layout.main, layout.main_row, {-70, -10}, false).pixel,
                     ProjectPoint(layout.main, layout.main_row, {-60, -20}, false).pixel);
    const int hatched = count(picture, qRgb(127, 127, 255));
    EXPECT_GT(hatched, rect.width() * rect.height() / 3);
    EXPECT_LT(hatched, rect.width() * rect.height() * 2 / 3 + rect.width() + rect.height());

    QImage whole = GLB_compose_base(layout, QImage(), QImage());
    d.main.bounds = {-500, 400, 500, -400};
    GLB_draw_distribution(whole, layout, d);
    EXPECT_EQ(whole.size(), picture.size());
    EXPECT_GT(count(whole, qRgb(127, 127, 255)), 788 * 650 / 3);
}

TEST(Distribution, MissingBitmapLeavesTheBaseMapAlone) {
    const TMapLayout layout = TMapLayout::make(101, map_row::kBolivia, std::nullopt);
    QImage picture = GLB_compose_base(layout, filled(609, 650, qRgb(1, 2, 3)), QImage());
    const QImage before = picture;
    TDistribution d;
    d.main.georeferenced = true;
    d.main.bounds = {-70, -10, -60, -20};
    GLB_draw_distribution(picture, layout, d);
    d.main.georeferenced = false;
    GLB_draw_distribution(picture, layout, d);
    EXPECT_EQ(picture, before);
}

TEST(Distribution, ATinyRangeOnTheInsetStillShowsAsADot) {
    const TMapLayout layout = TMapLayout::make(101, map_row::kBolivia, std::nullopt);
    QImage picture = GLB_compose_base(layout, QImage(), QImage());
    TDistribution d;
    d.main.bitmap = filled(4, 4, kWhite);
    d.main.georeferenced = true;
    d.main.bounds = {-70, -10, -60, -20};
    TRangeBitmap onInset;
    onInset.bitmap = filled(1, 1, kRed);
    onInset.georeferenced = true;
    onInset.bounds = {-65, -16, -64.5, -16.5};  // about 3 × 3 pixels on the inset
    d.inset = onInset;
    GLB_draw_distribution(picture, layout, d);
    EXPECT_GE(count(picture, kBlack), 21);  // the 5 × 5 dot without its corners
    EXPECT_EQ(count(picture, kWhite) + count(picture, kBlack) + count(picture, qRgb(127, 127, 255)),
              picture.width() * picture.height());
}

TEST(LocalityDot, IsRedWithAWhiteRingAndClippedAtTheEdges) {
    QImage picture = filled(20, 20, qRgb(10, 20, 30));
    GLB_draw_locality_dot(picture, QPoint(10, 10), true);
    EXPECT_EQ(count(picture, kRed), 21);
    EXPECT_EQ(count(picture, kWhite), 45 - 21);  // 7 × 7 less corners, less the red
    EXPECT_EQ(picture.pixel(12, 12) | kBlack, kWhite);  // corner of the 5 × 5: ring
    EXPECT_EQ(picture.pixel(13, 13) | kBlack, qRgb(10, 20, 30));  // corner of the 7 × 7
    EXPECT_EQ(picture.pixel(12, 10) | kBlack, kRed);

    QImage edge = filled(20, 20, qRgb(10, 20, 30));
    GLB_draw_locality_dot(edge, QPoint(0, 0), true);
    GLB_draw_locality_dot(edge, QPoint(-50, 900), true);
    GLB_draw_locality_dot(edge, QPoint(19, 19), true);
    EXPECT_EQ(count(edge, kRed), 9 + 9 - 2);
}

TEST(LocalitiesLayout, HitsTheEarlierOfCloseDotsAndSkipsPlacesWithoutCoordinates) {
    const TMapLayout layout = TMapLayout::make(101, map_row::kBolivia, std::nullopt);
    Tlocality none, first, second, abroad;
    none.name = QStringLiteral("ZERO LOCATION");
    first.name = QStringLiteral("A");
    first.longitude = -65 * 6000;
    first.latitude = -17 * 6000;
    second = first;
    second.name = QStringLiteral("B");
    second.longitude -= 2;  // 0.02 minute west: the same pixel
    abroad.name = QStringLiteral("Manaus");
    abroad.longitude = -60 * 6000;
    abroad.latitude = -3 * 6000;
    TLocalitiesLayout dots;
    dots.build(layout, {&none, &second, &first, &abroad});
    ASSERT_EQ(dots.positions().size(), 4u);
    EXPECT_FALSE(dots.positions()[0].on_main || dots.positions()[0].on_inset);
    const QPoint dot = dots.positions()[2].main;
    EXPECT_TRUE(dots.positions()[2].on_main);
    EXPECT_EQ(dots.hit_test(dot), 1);  // "B" comes first in the list
    EXPECT_EQ(dots.hit_test(dot + QPoint(2, 1)), 1);
    EXPECT_EQ(dots.hit_test(dot + QPoint(3, 0)), -1);   // |dx| < 3
    EXPECT_EQ(dots.hit_test(dot + QPoint(2, 2)), -1);   // dx² + dy² < 7
    EXPECT_EQ(dots.hit_test(dot + QPoint(0, 2)), 1);
    // Off the main map, on the inset.
    EXPECT_FALSE(dots.positions()[3].on_main);
    EXPECT_TRUE(dots.positions()[3].on_inset);
    EXPECT_EQ(dots.hit_test(dots.positions()[3].inset), 3);
}
