#include "pictures_maps/bitmap_files.h"

#include "app/messages.h"
#include "formats/lzw_file.h"
#include "platform/dialog_service.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <new>

using platform::box::IconStop;

namespace {
constexpr int kFileHeaderSize = 14;
constexpr std::int32_t kLargestSide = 32767;
// Bitmap files larger than this are refused as out of memory.
constexpr qint64 kLargestFile = qint64{512} << 20;
}  // namespace

// --- The block ---------------------------------------------------------------

int TPackedBitmap::prefix() const {
    return bytes_.size() >= 2 && bytes_[0] == 'C' && bytes_[1] == 'F' ? kCompressedPrefix : 0;
}

std::uint32_t TPackedBitmap::u32(int offset) const {
    const qsizetype at = prefix() + offset;
    if (at < 0 || at + 4 > bytes_.size()) return 0;
    return qFromLittleEndian<quint32>(bytes_.constData() + at);
}

int TPackedBitmap::u16(int offset) const {
    const qsizetype at = prefix() + offset;
    if (at < 0 || at + 2 > bytes_.size()) return 0;
    return qFromLittleEndian<quint16>(bytes_.constData() + at);
}

void TPackedBitmap::set_u32(int offset, std::uint32_t value) {
    const qsizetype at = prefix() + offset;
    if (at < 0 || at + 4 > bytes_.size()) return;
    qToLittleEndian<quint32>(value, bytes_.data() + at);
}

int TPackedBitmap::colour_count() const {
    const std::uint32_t used = colours_used();
    if (used != 0) return static_cast<int>(std::min<std::uint32_t>(used, 1u << 16));
    return bit_count() <= 8 ? 1 << bit_count() : 0;
}

qint64 TPackedBitmap::stride() const {
    return ((qint64{width()} * bit_count() + 31) / 32) * 4;
}

bool TPackedBitmap::has_valid_header() const {
    const std::uint32_t size = header_size();
    if (size < 40 || size > 1024 || prefix() + qint64{size} > bytes_.size()) return false;
    if (width() <= 0 || width() > kLargestSide) return false;
    if (height() == 0 || height() > kLargestSide || height() < -kLargestSide) return false;
    const int bits = bit_count();
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (bits <= 8 && colours_used() > (1u << bits)) return false;
    if (bits > 8 && colours_used() > 256) return false;
    return rows_offset() <= bytes_.size();
}

bool TPackedBitmap::rows_complete() const {
    return has_valid_header() && rows_offset() + stride() * std::abs(height()) <= bytes_.size();
}

QImage TPackedBitmap::to_image() const {
    if (!rows_complete()) return {};
    const std::uint32_t kind = compression();
    const int bits = bit_count();
    if (kind != kRgb && !(kind == kBitFields && (bits == 16 || bits == 32))) return {};

    const int w = width();
    const int h = std::abs(height());
    const auto* rows = reinterpret_cast<const uchar*>(bytes_.constData() + rows_offset());
    const qsizetype bytesPerLine = static_cast<qsizetype>(stride());

    QList<QRgb> table;
    const auto* colours =
        reinterpret_cast<const uchar*>(bytes_.constData() + prefix() + header_size());
    for (int i = 0; i < colour_count() && bits <= 8; ++i)
        table.append(qRgb(colours[4 * i + 2], colours[4 * i + 1], colours[4 * i]));

    QImage image;
    switch (bits) {
        case 1:
        case 8: {
            // A wrapper over the block's rows; copied below before the block can go.
            image = QImage(rows, w, h, bytesPerLine,
                           bits == 1 ? QImage::Format_Mono : QImage::Format_Indexed8);
            while (table.size() < (1 << bits)) table.append(qRgb(0, 0, 0));
            image.setColorTable(table);
            break;
        }
        case 4: {
            image = QImage(w, h, QImage::Format_Indexed8);
            for (int y = 0; y < h; ++y) {
                const uchar* in = rows + y * bytesPerLine;
                uchar* out = image.scanLine(y);
                for (int x = 0; x < w; ++x) out[x] = (x & 1) ? (in[x / 2] & 15) : (in[x / 2] >> 4);
            }
            while (table.size() < 16) table.append(qRgb(0, 0, 0));
            image.setColorTable(table);
            break;
        }
        case 16:
            image = QImage(rows, w, h, bytesPerLine, QImage::Format_RGB555);
            break;
        case 24:
            image = QImage(rows, w, h, bytesPerLine, QImage::Format_BGR888);
            break;
        case 32:
            image = QImage(rows, w, h, bytesPerLine, QImage::Format_RGB32);
            break;
        default:
            return {};
    }
    // Bottom-up rows become top-down; a top-down block only needs its own copy.
    return height() > 0 ? image.mirrored(false, true) : image.copy();
}

// --- Loading -----------------------------------------------------------------

namespace {

void report(bool show, const QString& text) {
    if (show) GLB_show_message(text, IconStop);
}

QString readErrorText(const QString& fileName) {
    return QStringLiteral("Error when reading file \"%1\", can not show picture.").arg(fileName);
}

QString notBitmapText(const QString& fileName) {
    return QStringLiteral("File \"%1\" is not a Windows bitmap file, can not show picture.")
        .arg(fileName);
}

// Checks a loaded block and expands RLE8; the code for what was found.
int settle(TPackedBitmap& block, const QString& fileName, bool showMessages) {
    if (!block.has_valid_header()) {
        report(showMessages, notBitmapText(fileName));
        return bitmap_result::kNotABitmap;
    }
    if (block.image_size() == 0) block.set_image_size(static_cast<std::uint32_t>(
        block.stride() * std::abs(block.height())));
    if (block.compression() == TPackedBitmap::kRle8) {
        if (!ExpandRle8Bitmap(block)) {
            if (block.bit_count() != 8 || block.height() < 0) {
                report(showMessages, notBitmapText(fileName));
                return bitmap_result::kNotABitmap;
            }
            report(showMessages,
                   QStringLiteral("Error when trying to allocate memory, can not show picture."));
            return bitmap_result::kOutOfMemory;
        }
        return bitmap_result::kOk;
    }
    const std::uint32_t kind = block.compression();
    if (kind != TPackedBitmap::kRgb &&
        !(kind == TPackedBitmap::kBitFields && (block.bit_count() == 16 || block.bit_count() == 32))) {
        report(showMessages, notBitmapText(fileName));
        return bitmap_result::kNotABitmap;
    }
    if (!block.rows_complete()) {
        report(showMessages, readErrorText(fileName));
        return bitmap_result::kReadError;
    }
    return bitmap_result::kOk;
}

}  // namespace

int LoadBitmapFile(const QString& fileName, bool showMessages, TPackedBitmap& block) {
    block = TPackedBitmap();
    QFile file(fileName);
    char fileHeader[kFileHeaderSize];
    if (!file.open(QIODevice::ReadOnly) || file.read(fileHeader, kFileHeaderSize) != kFileHeaderSize) {
        report(showMessages, readErrorText(fileName));
        report(showMessages,
               QStringLiteral("File \"%1\" does not exist, can not show picture.").arg(fileName));
        return bitmap_result::kCannotOpen;
    }
    if (qFromLittleEndian<quint16>(fileHeader) != 0x4D42) {
        report(showMessages, notBitmapText(fileName));
        return bitmap_result::kNotABitmap;
    }
    const qint64 rest = file.size() - kFileHeaderSize;
    QByteArray bytes;
    try {
        if (rest > kLargestFile) throw std::bad_alloc();
        bytes = QByteArray(rest, '\0');
    } catch (const std::bad_alloc&) {
        report(showMessages,
               QStringLiteral("Error when trying to allocate memory, can not show picture."));
        return bitmap_result::kOutOfMemory;
    }
    if (!file.seek(kFileHeaderSize) || file.read(bytes.data(), rest) != rest) {
        report(showMessages, readErrorText(fileName));
        return bitmap_result::kReadError;
    }
    file.close();
    block = TPackedBitmap(std::move(bytes));
    const int code = settle(block, fileName, showMessages);
    if (code != bitmap_result::kOk) block = TPackedBitmap();
    return code;
}

int LoadPossiblyCompressedBitmap(const QString& fileName, bool showMessages, TPackedBitmap& block) {
    if (!QFileInfo::exists(fileName) || !LZW_is_compressed_file(fileName))
        return LoadBitmapFile(fileName, showMessages, block);
    block = TPackedBitmap();
    TGlobalMemory memory;
    const int code = LZW_read_compressed_file_into_memory(fileName, showMessages, memory);
    if (code != 0) return code;
    // The compressed file holds a whole bitmap file: its 14-byte file
    // header follows "CF", which makes the 16-byte prefix every reader skips.
    if (memory->size() < TPackedBitmap::kCompressedPrefix ||
        memory->mid(2, 2) != QByteArrayLiteral("BM")) {
        report(showMessages, notBitmapText(fileName));
        return bitmap_result::kNotABitmap;
    }
    block = TPackedBitmap(std::move(*memory));
    const int settled = settle(block, fileName, showMessages);
    if (settled != bitmap_result::kOk) block = TPackedBitmap();
    return settled;
}

bool ExpandRle8Bitmap(TPackedBitmap& block) {
    if (!block.has_valid_header() || block.bit_count() != 8 || block.height() < 0 ||
        block.compression() != TPackedBitmap::kRle8)
        return false;
    const qint64 stride = block.stride();
    // The expanded rows always need stride × height, whatever the field
    // says (for RLE8 files it usually holds the compressed size).
    const qint64 imageSize = stride * block.height();
    const qint64 tableEnd = block.header_size() + 4LL * block.colour_count();
    QByteArray out;
    try {
        out = QByteArray(tableEnd + imageSize + 500, '\0');
    } catch (const std::bad_alloc&) {
        return false;
    }
    const QByteArray& in = block.bytes();
    std::memcpy(out.data(), in.constData() + block.prefix(), static_cast<std::size_t>(tableEnd));

    const auto* words = reinterpret_cast<const uchar*>(in.constData() + block.rows_offset());
    const qint64 wordCount = (in.size() - block.rows_offset()) / 2;
    uchar* pixels = reinterpret_cast<uchar*>(out.data()) + tableEnd;
    const qint64 room = imageSize;  // writes stop at the rows' end
    qint64 position = 0;
    qint64 word = 0;
    const auto put = [&](const uchar* from, uchar value, qint64 count) {
        const qint64 n = std::clamp<qint64>(room - position, 0, count);
        if (n <= 0) {
            position += count;
            return;
        }
        if (from)
            std::memcpy(pixels + position, from, static_cast<std::size_t>(n));
        else
            std::memset(pixels + position, value, static_cast<std::size_t>(n));
        position += count;
    };
    while (word < wordCount && position < imageSize) {
        const uchar count = words[2 * word];
        const uchar value = words[2 * word + 1];
        if (count > 0) {
            put(nullptr, value, count);
            word += 1;
        } else if (value == 0) {
            position += stride - position % stride;
            word += 1;
        } else if (value == 1) {
            position += 2;
            word += 1;
        } else if (value == 2) {
            if (word + 1 >= wordCount) break;
            const qint64 dx = words[2 * word + 2];
            const qint64 dy = words[2 * word + 3];
            position += dy * stride + dx;
            word += 2;
        } else {
            const qint64 runWords = (value + 1) / 2;
            const qint64 available = std::min<qint64>(value, (wordCount - word - 1) * 2);
            put(words + 2 * (word + 1), 0, std::max<qint64>(available, 0));
            word += runWords + 1;
        }
    }
    TPackedBitmap expanded(std::move(out));
    expanded.set_compression(TPackedBitmap::kRgb);
    expanded.set_image_size(static_cast<std::uint32_t>(imageSize));
    block = std::move(expanded);
    return true;
}

// --- Drawing -----------------------------------------------------------------

void StretchDrawDib(QPainter& painter, int x, int y, bool sourceAnd, TPackedBitmap* block,
                    int width, int height) {
    if (!block) return;
    block->set_image_size(0);
    const QImage image = block->to_image();
    if (image.isNull()) return;
    const QRect target(x, y, width == 0 ? image.width() : width,
                       width == 0 ? image.height() : height);
    const QPainter::CompositionMode oldMode = painter.compositionMode();
    const bool oldSmooth = painter.testRenderHint(QPainter::SmoothPixmapTransform);
    // Colour-on-colour stretching: rows and columns are dropped, not blended.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(sourceAnd ? QPainter::RasterOp_SourceAndDestination
                                         : QPainter::CompositionMode_Source);
    painter.drawImage(target, image);
    painter.setCompositionMode(oldMode);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, oldSmooth);
}

void DrawBitmapHandle(QPainter& painter, const QPixmap& bitmap, QPoint at,
                      QPainter::CompositionMode mode) {
    if (bitmap.isNull()) return;
    const QPainter::CompositionMode oldMode = painter.compositionMode();
    painter.setCompositionMode(mode);
    painter.drawPixmap(at, bitmap);
    painter.setCompositionMode(oldMode);
}
