// Feeds mutated JPEG files to the decoder, at full size and scaled down as
// thumbnails are. Only a crash, a sanitizer report or a leak ends the run.

#include "pictures_maps/jpeg_files.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    constexpr qint64 kPixels = 4'000'000;
    GLB_decode_jpeg(bytes, {}, kPixels);
    GLB_decode_jpeg(bytes, QSize(160, 160), kPixels);
    return 0;
}
