#include "app/globals.h"
#include "data/media_records.h"
#include "pictures_maps/jpeg_files.h"
#include "pictures_maps/picture_paths.h"
#include "pictures_maps/small_pictures.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SmallPictures : public ::testing::Test {
  protected:
    void SetUp() override {
        previousBase = GLB().base_directory;
        GLB().base_directory = dir.path() + u'/';
        species.family_folder_name = QStringLiteral("TINAMIDA");
        species.unique_id = 20020;
    }
    void TearDown() override { GLB().base_directory = previousBase; }

    // Written in lower case: the data's "TINAMIDA" must still find it.
    void write_picture(QSize size, QColor colour) {
        QDir(dir.path()).mkpath(QStringLiteral("Smalpict/tinamida"));
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(dir.filePath(QStringLiteral("Smalpict/tinamida/20020.jpg")), "JPEG", 95));
    }

    QTemporaryDir dir;
    QString previousBase;
    Tspecies species;
    TSmallPictureCache cache;
};

}  // namespace

TEST_F(SmallPictures, UsesAreCountedAndTheLastFreesThePicture) {
    write_picture(QSize(120, 90), Qt::blue);
    EXPECT_EQ(cache.acquire(species), QSize(120, 90));
    EXPECT_EQ(cache.acquire(species), QSize(120, 90));
    EXPECT_EQ(species.small_picture_use_count, 2);
    cache.release(species);
    ASSERT_NE(TSmallPictureCache::picture(species), nullptr);
    cache.release(species);
    EXPECT_EQ(TSmallPictureCache::picture(species), nullptr);
    EXPECT_EQ(species.small_picture_use_count, 0);
    cache.release(species);  // one release too many is harmless
    EXPECT_EQ(species.small_picture_use_count, 0);
}

TEST_F(SmallPictures, AMissingFileIsNotLookedForAgain) {
    EXPECT_FALSE(cache.acquire(species).isValid());
    EXPECT_TRUE(species.small_picture_missing);
    write_picture(QSize(40, 30), Qt::green);
    EXPECT_FALSE(cache.acquire(species).isValid());
    species.small_picture_missing = false;  // as after a new base directory
    EXPECT_EQ(cache.acquire(species), QSize(40, 30));
}

TEST_F(SmallPictures, LargeFilesAreDecodedSmallerAndHitTestIncludesTheEdges) {
    write_picture(QSize(800, 600), Qt::red);
    const QSize size = cache.acquire(species);
    EXPECT_EQ(size, QSize(160, 120));
    const QPoint at(20, 100);
    EXPECT_TRUE(cache.hit_test(species, at, at));
    EXPECT_TRUE(cache.hit_test(species, at, at + QPoint(160, 120)));
    EXPECT_FALSE(cache.hit_test(species, at, at + QPoint(161, 0)));
    EXPECT_FALSE(cache.hit_test(species, at, at + QPoint(0, -1)));

    QImage canvas(200, 300, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    cache.draw(painter, species, at);
    painter.end();
    EXPECT_GT(qRed(canvas.pixel(at + QPoint(80, 60))), 200);
    EXPECT_LT(qGreen(canvas.pixel(at + QPoint(80, 60))), 60);
    EXPECT_EQ(canvas.pixel(at - QPoint(1, 1)), qRgb(255, 255, 255));

    cache.release(species);
    EXPECT_FALSE(cache.hit_test(species, at, at));
}

TEST(PicturePaths, BackslashesAndLetterCase) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Big_Pict/Tinamida"));
    QFile(dir.filePath(QStringLiteral("Big_Pict/Tinamida/20020_2.jpg"))).open(QIODevice::WriteOnly);
    const QString previous = GLB().base_directory;
    GLB().base_directory = dir.path() + u'/';
    Tspecies species;
    species.family_folder_name = QStringLiteral("TINAMIDA");
    species.unique_id = 20020;
    Tbig_picture picture;
    picture.species = &species;
    picture.sequence_number = 2;
    EXPECT_EQ(GLB_big_picture_path(picture), dir.filePath(QStringLiteral("Big_Pict/Tinamida/20020_2.jpg")));
    EXPECT_EQ(GLB_media_path(QStringLiteral("big_pict\\tinamida/20020_2.JPG")),
              dir.filePath(QStringLiteral("Big_Pict/Tinamida/20020_2.jpg")));
    EXPECT_TRUE(GLB_distribution_map_path(species, 2).endsWith(QStringLiteral("distmaps/TINAMIDA/20020_2.bmp")));
    GLB().base_directory = previous;
}

TEST(JpegFiles, BadDataGivesANullImage) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::yellow);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "JPEG"));
    EXPECT_EQ(GLB_decode_jpeg(jpeg).size(), QSize(64, 48));
    EXPECT_TRUE(GLB_decode_jpeg(jpeg.left(40)).isNull() || GLB_decode_jpeg(jpeg.left(40)).size() == QSize(64, 48));
    EXPECT_TRUE(GLB_decode_jpeg(QByteArray("not a jpeg at all")).isNull());
    EXPECT_TRUE(GLB_decode_jpeg(QByteArray()).isNull());
    // More pixels than allowed.
    EXPECT_TRUE(GLB_decode_jpeg(jpeg, {}, 1000).isNull());
    // Decoded at an eighth and then fitted.
    EXPECT_EQ(GLB_decode_jpeg(jpeg, QSize(8, 8)).size(), QSize(8, 6));
}
