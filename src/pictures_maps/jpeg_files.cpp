#include "pictures_maps/jpeg_files.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace {

struct TJpegError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void leave(j_common_ptr info) {
    std::longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1);
}

void stay_silent(j_common_ptr) {}

// The smallest eighth of the full size that still covers the wanted size.
int eighths_for(const jpeg_decompress_struct& info, QSize fitInto) {
    if (!fitInto.isValid()) return 8;
    const QSize full(static_cast<int>(info.image_width), static_cast<int>(info.image_height));
    const QSize wanted = full.scaled(fitInto, Qt::KeepAspectRatio);
    if (wanted.width() >= full.width()) return 8;
    for (int m = 1; m < 8; ++m)
        if (full.width() * m >= wanted.width() * 8 && full.height() * m >= wanted.height() * 8)
            return m;
    return 8;
}

// Only plain C data lives across the jump; the image is the caller's.
bool decode(const unsigned char* data, unsigned long size, QSize fitInto, qint64 pixelLimit,
            QImage* image) {
    jpeg_decompress_struct info;
    TJpegError error;
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = leave;
    error.manager.output_message = stay_silent;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK ||
        qint64{info.image_width} * info.image_height > pixelLimit ||
        (info.jpeg_color_space != JCS_GRAYSCALE && info.num_components != 3)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_BGRX;
    info.scale_num = static_cast<unsigned>(eighths_for(info, fitInto));
    info.scale_denom = 8;
    info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&info);
    *image = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height),
                    QImage::Format_RGB32);
    if (image->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

QImage GLB_decode_jpeg(const QByteArray& bytes, QSize fitInto, qint64 pixelLimit) {
    if (bytes.isEmpty()) return {};
    QImage image;
    if (!decode(reinterpret_cast<const unsigned char*>(bytes.constData()),
                static_cast<unsigned long>(bytes.size()), fitInto, pixelLimit, &image))
        return {};
    if (fitInto.isValid() && (image.width() > fitInto.width() || image.height() > fitInto.height()))
        image = image.scaled(fitInto, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

QImage GLB_load_jpeg_file(const QString& path, QSize fitInto) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return GLB_decode_jpeg(file.readAll(), fitInto);
}
