#pragma once

// JPEG pictures decoded with libjpeg. Where a picture is wanted smaller than
// the file, libjpeg's DCT scaling decodes it at the nearest larger eighth of
// its size, so thumbnails never cost a full-size decode.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Pictures with more pixels than this are refused (a hostile header could
// otherwise ask for gigabytes).
inline constexpr qint64 kLargestJpegPixels = qint64{64} << 20;

// The picture, in Format_RGB32; a null image for anything that is no
// readable JPEG. With a valid fitInto, the picture is scaled (keeping its
// aspect) to fit inside that size when it is larger.
QImage GLB_decode_jpeg(const QByteArray& bytes, QSize fitInto = {},
                       qint64 pixelLimit = kLargestJpegPixels);
QImage GLB_load_jpeg_file(const QString& path, QSize fitInto = {});
