#include "data/media_records.h"
#include "pictures_maps/big_picture_model.h"

#include <gtest/gtest.h>

using namespace big_picture;

TEST(BigPictureZoom, SnapsToOneAndTwo) {
    EXPECT_DOUBLE_EQ(zoom(0.9, kEnlarge), 1.0);
    EXPECT_NEAR(zoom(1.0, kEnlarge), 1.3333, 1e-4);
    EXPECT_DOUBLE_EQ(zoom(1.6, kEnlarge), 2.0);
    EXPECT_DOUBLE_EQ(zoom(2.2, kShrink), 2.0);
    EXPECT_DOUBLE_EQ(zoom(2.5, kShrink), 2.0);
    EXPECT_DOUBLE_EQ(zoom(3.0, kShrink), 2.25);
    EXPECT_DOUBLE_EQ(zoom(1.3, kShrink), 1.0);
    EXPECT_DOUBLE_EQ(zoom(2.0, kEnlarge), 8.0 / 3.0);
    EXPECT_DOUBLE_EQ(zoom(0.5, kShrink), 0.375);
    EXPECT_EQ(factor_text(zoom(0.9, kEnlarge)), QStringLiteral("100%"));
    EXPECT_EQ(factor_text(0.3333), QStringLiteral("33%"));
}

TEST(BigPictureGeometry, SizesAndPlaces) {
    const QSize screen(1280, 1024);
    EXPECT_TRUE(fits(QSize(800, 600), screen));
    EXPECT_FALSE(fits(QSize(900, 600), screen));  // 1350 is not below 1280
    EXPECT_EQ(normal_client_size(QSize(800, 600), true, screen), QSize(800, 600));
    EXPECT_EQ(normal_client_size(QSize(1600, 1200), false, screen), QSize(640, 480));
    // A tall picture is held to 3/5 of the screen width in height.
    EXPECT_EQ(normal_client_size(QSize(600, 1600), false, screen), QSize(288, 768));

    const QRect work(0, 0, 1280, 994);
    EXPECT_EQ(inside_work_area(QPoint(900, 700), QSize(640, 480), work), QPoint(635, 504));
    EXPECT_EQ(inside_work_area(QPoint(-50, -20), QSize(640, 480), work), QPoint(0, 0));

    EXPECT_DOUBLE_EQ(fitting_factor(QSize(1600, 1200), QSize(1280, 1024)), 0.8);
    EXPECT_DOUBLE_EQ(fitting_factor(QSize(400, 300), QSize(1280, 1024)), 1.0);

    // Wider client than the picture's aspect: full height, centred across.
    EXPECT_EQ(fill_rect(QSize(800, 300), 0.75), QRect(199, 0, 401, 300));
    EXPECT_EQ(fill_rect(QSize(400, 600), 0.75), QRect(0, 149, 400, 301));
    EXPECT_EQ(zoomed_rect(QSize(100, 50), 2.0, QSize(1000, 500)), QRect(399, 199, 201, 101));
    EXPECT_EQ(zoomed_rect(QSize(1000, 500), 2.0, QSize(1000, 500)).topLeft(), QPoint(0, 0));

    const auto plain = button_places(QSize(1000, 700), false);
    EXPECT_EQ(plain[Previous], QPoint(815, 670));
    EXPECT_EQ(plain[Next], QPoint(840, 670));
    EXPECT_EQ(plain[Credit], QPoint(965, 670));
    const auto told = button_places(QSize(1000, 700), true);
    EXPECT_EQ(told[Previous], QPoint(790, 670));
    EXPECT_EQ(told[Shrink], plain[Shrink]);
}

TEST(BigPictureTexts, CaptionAndColoursWarning) {
    EXPECT_EQ(caption(QStringLiteral("Gray Tinamou"), QStringLiteral("Ilse Ravenhorst")),
              QStringLiteral("Gray Tinamou      \u00A9 Ilse Ravenhorst"));
    EXPECT_EQ(caption(QString(), QStringLiteral("Ilse")), QStringLiteral("\u00A9 Ilse"));
    EXPECT_EQ(caption(QStringLiteral("Text"), QString()), QStringLiteral("Text"));
    EXPECT_EQ(next_month(12), 1);
    EXPECT_EQ(next_month(3), 4);
    EXPECT_TRUE(colours_warning_due(256, 5, 5));
    EXPECT_FALSE(colours_warning_due(256, 4, 5));
    EXPECT_FALSE(colours_warning_due(1 << 24, 5, 0));
}

TEST(BigPictureTaxon, NeighboursOfASpeciesAndOfASubspecies) {
    Tspecies species;
    Tsubspecies a, b;
    Tbig_picture p1, p2, p3;
    for (Tbig_picture* p : {&p1, &p2, &p3}) p->species = &species;
    species.first_picture = &p1;
    p1.next = &p2;
    p2.previous = &p1;
    p2.next = &p3;
    p3.previous = &p2;
    p1.subspecies = Tssp_data{&a, false};
    p2.subspecies = Tssp_data{&b, false};
    p3.subspecies = Tssp_data{&a, false};

    const TPictureTaxon whole{&species, nullptr};
    EXPECT_EQ(whole.first(), &p1);
    EXPECT_EQ(whole.neighbour(p1, true), &p2);
    EXPECT_EQ(whole.neighbour(p1, false), nullptr);
    const TPictureTaxon onlyA{&species, &a};
    EXPECT_EQ(onlyA.neighbour(p1, true), &p3);
    EXPECT_EQ(onlyA.neighbour(p3, false), &p1);
    const TPictureTaxon onlyB{&species, &b};
    EXPECT_EQ(onlyB.first(), &p2);
    EXPECT_EQ(onlyB.neighbour(p2, true), nullptr);
    EXPECT_EQ(onlyB.neighbour(p2, false), nullptr);
}
