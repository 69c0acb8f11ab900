#include "formats/lzw_compression.h"
#include "pictures_maps/bitmap_files.h"
#include "support/scripted_dialogs.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

struct BitmapSpec {
    int width = 4;
    int height = 2;
    int bits = 8;
    std::uint32_t compression = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t coloursUsed = 0;
    std::uint32_t headerSize = 40;
    int tableEntries = 256;
};

// A bitmap file: file header, information header, colour table (entry i is
// grey i), then the given pixel bytes.
QByteArray bitmap_file(const BitmapSpec& s, const QByteArray& pixels) {
    QByteArray info(static_cast<qsizetype>(s.headerSize), '\0');
    auto put32 = [&info](int at, std::uint32_t v) {
        if (at + 4 <= info.size()) qToLittleEndian<quint32>(v, info.data() + at);
    };
    auto put16 = [&info](int at, std::uint16_t v) {
        if (at + 2 <= info.size()) qToLittleEndian<quint16>(v, info.data() + at);
    };
    put32(0, s.headerSize);
    put32(4, static_cast<std::uint32_t>(s.width));
    put32(8, static_cast<std::uint32_t>(s.height));
    put16(12, 1);
    put16(14, static_cast<std::uint16_t>(s.bits));
    put32(16, s.compression);
    put32(20, s.imageSize);
    put32(32, s.coloursUsed);
    QByteArray table;
    for (int i = 0; i < s.tableEntries; ++i) table += QByteArray(3, static_cast<char>(i)) + '\0';
    QByteArray file("BM");
    file += QByteArray(12, '\0');
    return file + info + table + pixels;
}

class BitmapFiles : public ::testing::Test {
  protected:
    QString write(const QByteArray& contents) {
        const QString path = dir.filePath(QStringLiteral("b%1.bmp").arg(++count));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contents);
        return path;
    }
    TPackedBitmap load(const QByteArray& contents, int expectedCode = 0) {
        TPackedBitmap block;
        EXPECT_EQ(LoadPossiblyCompressedBitmap(write(contents), true, block), expectedCode);
        return block;
    }
    // The pixel indices of an 8-bit picture, top row first.
    static std::vector<int> indices(const TPackedBitmap& block) {
        const QImage image = block.to_image();
        std::vector<int> out;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) out.push_back(image.pixelIndex(x, y));
        return out;
    }
    QTemporaryDir dir;
    int count = 0;
    testing_support::DialogScript script;
};

}  // namespace

TEST_F(BitmapFiles, HeaderFieldsStridesAndColourCounts) {
    // Width 3 at 8 bits pads each row to 4 bytes; a zero image size is filled in.
    TPackedBitmap b = load(bitmap_file({.width = 3, .height = 2}, QByteArray(8, '\x07')));
    EXPECT_EQ(b.stride(), 4);
    EXPECT_EQ(b.image_size(), 8u);
    EXPECT_EQ(b.colour_count(), 256);
    EXPECT_EQ(b.rows_offset(), 40 + 1024);
    EXPECT_EQ(b.prefix(), 0);

    b = load(bitmap_file({.width = 33, .height = 1, .bits = 1, .tableEntries = 2}, QByteArray(8, '\0')));
    EXPECT_EQ(b.stride(), 8);
    EXPECT_EQ(b.colour_count(), 2);

    b = load(bitmap_file({.width = 5, .height = 1, .bits = 24, .tableEntries = 0}, QByteArray(16, '\0')));
    EXPECT_EQ(b.stride(), 16);
    EXPECT_EQ(b.colour_count(), 0);

    // The colours-used field wins over 2^bits.
    b = load(bitmap_file({.width = 4, .height = 1, .coloursUsed = 16, .tableEntries = 16},
                         QByteArray(4, '\x03')));
    EXPECT_EQ(b.colour_count(), 16);
    EXPECT_EQ(indices(b), (std::vector<int>{3, 3, 3, 3}));
}

TEST_F(BitmapFiles, PicturesComeOutTopRowFirst) {
    // Rows are stored bottom-up: the first stored row is the picture's last.
    TPackedBitmap b = load(bitmap_file({.width = 2, .height = 2}, QByteArray("\x01\x02\0\0\x03\x04\0\0", 8)));
    EXPECT_EQ(indices(b), (std::vector<int>{3, 4, 1, 2}));
    const QImage grey = b.to_image();
    EXPECT_EQ(grey.pixel(0, 0), qRgb(3, 3, 3));

    const QByteArray bgr("\x10\x20\x30\x40\x50\x60\0\0", 8);  // one row: two pixels, padding
    b = load(bitmap_file({.width = 2, .height = 1, .bits = 24, .tableEntries = 0}, bgr));
    EXPECT_EQ(b.to_image().pixel(0, 0), qRgb(0x30, 0x20, 0x10));
    EXPECT_EQ(b.to_image().pixel(1, 0), qRgb(0x60, 0x50, 0x40));

    b = load(bitmap_file({.width = 3, .height = 1, .bits = 4, .tableEntries = 16}, QByteArray("\x12\x30\0\0", 4)));
    EXPECT_EQ(indices(b), (std::vector<int>{1, 2, 3}));
}

TEST_F(BitmapFiles, BadFilesGiveTheirCodesAndNoBlock) {
    TPackedBitmap b;
    EXPECT_EQ(LoadBitmapFile(dir.filePath("none.bmp"), true, b), 1);
    ASSERT_EQ(script.messages().size(), 2u);
    EXPECT_TRUE(script.messages()[0].text.startsWith("Error when reading file"));
    EXPECT_TRUE(script.messages()[1].text.endsWith("does not exist, can not show picture."));
    EXPECT_EQ(script.messages()[1].style, 16);

    QByteArray notBmp = bitmap_file({}, QByteArray(8, '\0'));
    notBmp[0] = 'X';
    EXPECT_TRUE(load(notBmp, 2).is_null());
    EXPECT_TRUE(script.lastMessage().endsWith("is not a Windows bitmap file, can not show picture."));

    EXPECT_TRUE(load(bitmap_file({.headerSize = 12}, QByteArray(8, '\0')), 2).is_null());
    EXPECT_TRUE(load(bitmap_file({.coloursUsed = 300}, QByteArray(8, '\0')), 2).is_null());
    EXPECT_TRUE(load(bitmap_file({.width = 0}, QByteArray(8, '\0')), 2).is_null());
    EXPECT_TRUE(load(bitmap_file({.width = 4, .height = 2, .bits = 7}, QByteArray(8, '\0')), 2).is_null());
    // Rows missing from the end of the file.
    EXPECT_TRUE(load(bitmap_file({.width = 4, .height = 100}, QByteArray(8, '\0')), 3).is_null());
    EXPECT_TRUE(script.lastMessage().startsWith("Error when reading file"));
    // Without the flag nothing is said.
    const size_t said = script.messages().size();
    EXPECT_EQ(LoadBitmapFile(write(notBmp), false, b), 2);
    EXPECT_EQ(script.messages().size(), said);
}

TEST_F(BitmapFiles, Rle8Escapes) {
    const BitmapSpec rle{.width = 4, .height = 3, .compression = 1, .imageSize = 99};
    // A run, end of line right after a completed row (width a multiple of 4:
    // a whole row is skipped), then a delta and an odd absolute run.
    QByteArray stream("\x04\x05" "\x00\x00" "\x00\x02\x01\x00" "\x00\x03\x07\x08\x09\x00", 14);
    TPackedBitmap b = load(bitmap_file(rle, stream));
    EXPECT_EQ(b.compression(), 0u);
    EXPECT_EQ(b.image_size(), 12u);
    // Stored rows: 5 5 5 5 | 0 0 0 0 | 0 7 8 9 (bottom-up), shown top row first.
    EXPECT_EQ(indices(b), (std::vector<int>{0, 7, 8, 9, 0, 0, 0, 0, 5, 5, 5, 5}));

    // End of bitmap moves two bytes on and decoding goes on; the rest stays 0.
    stream = QByteArray("\x01\x04" "\x00\x01" "\x01\x06" "\x00\x01", 8);
    EXPECT_EQ(indices(load(bitmap_file(rle, stream))),
              (std::vector<int>{0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 6}));
}

TEST_F(BitmapFiles, HostileRle8StaysInsideItsBlocks) {
    const BitmapSpec rle{.width = 4, .height = 2, .compression = 1};
    // Runs and deltas far past the rows, and an absolute run longer than the stream.
    for (const QByteArray& stream :
         {QByteArray("\xFF\x01\xFF\x02\xFF\x03", 6), QByteArray("\x00\x02\xFF\xFF\x05\x05", 6),
          QByteArray("\x00\xFF\x01\x02", 4), QByteArray("\x00\x02", 2), QByteArray("\x07", 1)}) {
        TPackedBitmap b = load(bitmap_file(rle, stream));
        ASSERT_FALSE(b.is_null());
        EXPECT_EQ(b.to_image().size(), QSize(4, 2));
    }
    const std::vector<int> clipped = indices(load(bitmap_file(rle, QByteArray("\xFF\x01", 2))));
    EXPECT_EQ(clipped, std::vector<int>(8, 1));
}

TEST_F(BitmapFiles, CompressedBitmapsKeepTheirPrefix) {
    const QByteArray plain = bitmap_file({.width = 4, .height = 2}, QByteArray("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
    const auto packed = lzw::LZW_make_file(std::span(reinterpret_cast<const std::uint8_t*>(plain.constData()),
                                                     static_cast<size_t>(plain.size())));
    TPackedBitmap b = load(QByteArray(reinterpret_cast<const char*>(packed.data()), static_cast<qsizetype>(packed.size())));
    EXPECT_EQ(b.prefix(), TPackedBitmap::kCompressedPrefix);
    EXPECT_EQ(b.bytes().left(4), QByteArray("CFBM"));
    EXPECT_EQ(indices(b), (std::vector<int>{5, 6, 7, 8, 1, 2, 3, 4}));

    // A compressed RLE8 bitmap comes back expanded, without the prefix.
    const QByteArray rle = bitmap_file({.width = 4, .height = 1, .compression = 1}, QByteArray("\x04\x09\x00\x01", 4));
    const auto packedRle = lzw::LZW_make_file(std::span(reinterpret_cast<const std::uint8_t*>(rle.constData()),
                                                        static_cast<size_t>(rle.size())));
    b = load(QByteArray(reinterpret_cast<const char*>(packedRle.data()), static_cast<qsizetype>(packedRle.size())));
    EXPECT_EQ(b.prefix(), 0);
    EXPECT_EQ(indices(b), (std::vector<int>{9, 9, 9, 9}));

    // Compressed data that is no bitmap.
    const auto text = lzw::LZW_make_file(std::span(reinterpret_cast<const std::uint8_t*>("hello there"), 11));
    EXPECT_TRUE(load(QByteArray(reinterpret_cast<const char*>(text.data()), static_cast<qsizetype>(text.size())), 2).is_null());
}

TEST_F(BitmapFiles, StretchDrawDib) {
    TPackedBitmap b = load(bitmap_file({.width = 2, .height = 2}, QByteArray("\xFF\x00\0\0\x00\xFF\0\0", 8)));
    QImage canvas(10, 10, QImage::Format_RGB32);
    canvas.fill(Qt::red);
    {
        QPainter p(&canvas);
        StretchDrawDib(p, 1, 1, false, &b, 0, 0);  // its own size
        StretchDrawDib(p, 4, 4, false, &b, 4, 4);  // stretched
        StretchDrawDib(p, 0, 0, false, nullptr, 4, 4);
    }
    EXPECT_EQ(b.image_size(), 0u);
    EXPECT_EQ(canvas.pixel(1, 1), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(2, 1), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(3, 1), qRgb(255, 0, 0));  // nothing beyond its own width
    EXPECT_EQ(canvas.pixel(5, 5), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(7, 5), qRgb(255, 255, 255));
    EXPECT_EQ(canvas.pixel(7, 7), qRgb(0, 0, 0));
    EXPECT_EQ(canvas.pixel(8, 8), qRgb(255, 0, 0));

    // ANDed: white leaves the target as it was.
    QImage target(2, 2, QImage::Format_RGB32);
    target.fill(qRgb(0, 200, 0));
    {
        QPainter p(&target);
        StretchDrawDib(p, 0, 0, true, &b, 0, 0);
    }
    EXPECT_EQ(target.pixel(1, 0), qRgb(0, 200, 0));
    EXPECT_EQ(target.pixel(0, 0), qRgb(0, 0, 0));
}
