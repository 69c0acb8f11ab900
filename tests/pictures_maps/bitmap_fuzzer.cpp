// Feeds mutated bitmap files (plain, RLE8 or compressed) to the loader and
// draws what it accepts. Only a crash, a sanitizer report or a leak ends
// the run.

#include "formats/lzw_compression.h"
#include "pictures_maps/bitmap_files.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("input.bmp"));
    const lzw::THeaderFields fields = lzw::LZW_parse_header(std::span(data, size));
    if (size >= lzw::kHeaderSize && fields.problem == lzw::THeaderFields::Problem::None &&
        fields.size > (std::uint64_t{16} << 20))
        return 0;
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly)) return 0;
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    TPackedBitmap block;
    if (LoadPossiblyCompressedBitmap(path, false, block) != 0) return 0;
    // Pictures larger than a screen only measure the scaler.
    if (qint64{block.width()} * std::abs(block.height()) > 4'000'000) return 0;
    QImage canvas(64, 64, QImage::Format_RGB32);
    QPainter painter(&canvas);
    StretchDrawDib(painter, 0, 0, false, &block, 0, 0);
    StretchDrawDib(painter, 3, 3, true, &block, 40, 30);
    return 0;
}
