#pragma once

// Windows bitmap files (plain, RLE8, or stored in the compressed file
// format) loaded into one packed bitmap block, and the drawing of such
// blocks. The maps and the list draw their bitmaps through these routines.

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <cstdint>

// The result codes of the bitmap loaders.
namespace bitmap_result {
inline constexpr int kOk = 0;
inline constexpr int kCannotOpen = 1;
inline constexpr int kNotABitmap = 2;
inline constexpr int kReadError = 3;
inline constexpr int kOutOfMemory = 4;
}  // namespace bitmap_result

// A packed device-independent bitmap: the information header, the colour
// table and the pixel rows, as a bitmap file holds them after its 14-byte
// file header. A block read from a compressed file keeps "CF" and that
// file header in front (16 bytes); every reader skips them.
class TPackedBitmap {
  public:
    static constexpr int kCompressedPrefix = 16;
    static constexpr std::uint32_t kRgb = 0;
    static constexpr std::uint32_t kRle8 = 1;
    static constexpr std::uint32_t kBitFields = 3;

    TPackedBitmap() = default;
    explicit TPackedBitmap(QByteArray bytes) : bytes_(std::move(bytes)) {}

    bool is_null() const { return bytes_.isEmpty(); }
    const QByteArray& bytes() const { return bytes_; }
    qsizetype block_size() const { return bytes_.size(); }

    // 16 when the block starts with "CF", else 0.
    int prefix() const;
    std::uint32_t header_size() const { return u32(0); }
    std::int32_t width() const { return static_cast<std::int32_t>(u32(4)); }
    // Positive: rows stored bottom-up; negative: top-down.
    std::int32_t height() const { return static_cast<std::int32_t>(u32(8)); }
    int bit_count() const { return u16(14); }
    std::uint32_t compression() const { return u32(16); }
    std::uint32_t image_size() const { return u32(20); }
    std::uint32_t colours_used() const { return header_size() >= 36 ? u32(32) : 0; }
    void set_image_size(std::uint32_t value) { set_u32(20, value); }
    void set_compression(std::uint32_t value) { set_u32(16, value); }

    // The colour-used field when set, else 2^bits up to 8 bits, else 0.
    int colour_count() const;
    // ((width × bits + 31) div 32) × 4.
    qint64 stride() const;
    // Offset of the pixel rows in the block (prefix included).
    qint64 rows_offset() const { return prefix() + header_size() + 4LL * colour_count(); }

    // A header this program can draw: 40 bytes or more inside the block,
    // sane dimensions, 1, 4, 8, 16, 24 or 32 bits, a colour table that fits.
    bool has_valid_header() const;
    // Uncompressed rows that all lie inside the block.
    bool rows_complete() const;

    // The picture, or a null image when the block cannot be drawn. Rows are
    // copied whole; only 4-bit pictures are unpacked pixel by pixel.
    QImage to_image() const;

  private:
    std::uint32_t u32(int offset) const;
    int u16(int offset) const;
    void set_u32(int offset, std::uint32_t value);

    QByteArray bytes_;
};

// Loads a bitmap file, or a compressed file holding one; an RLE8 bitmap
// comes back expanded. Messages only when showMessages is set.
int LoadPossiblyCompressedBitmap(const QString& fileName, bool showMessages, TPackedBitmap& block);
int LoadBitmapFile(const QString& fileName, bool showMessages, TPackedBitmap& block);
// Replaces an RLE8 block by one with plain rows. No stream, however
// hostile, writes outside the new block or reads past the old one. False
// (block unchanged) when the block is no RLE8 bitmap or memory runs out.
bool ExpandRle8Bitmap(TPackedBitmap& block);

// Draws the block at (x, y), stretched to width × height, or at its own
// size when width is 0; ANDed onto the target when sourceAnd is set.
// Nothing is drawn for a null pointer or a block that cannot be drawn.
void StretchDrawDib(QPainter& painter, int x, int y, bool sourceAnd, TPackedBitmap* block,
                    int width, int height);
// Draws a bitmap at its own size; nothing for a null bitmap.
void DrawBitmapHandle(QPainter& painter, const QPixmap& bitmap, QPoint at,
                      QPainter::CompositionMode mode = QPainter::CompositionMode_Source);
