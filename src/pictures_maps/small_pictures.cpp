#include "pictures_maps/small_pictures.h"

#include "data/taxa.h"
#include "pictures_maps/jpeg_files.h"
#include "pictures_maps/picture_paths.h"

#include <QFileInfo>
#include <QPainter>

const QImage* TSmallPictureCache::picture(const Tspecies& species) {
    return static_cast<const QImage*>(species.small_picture.get());
}

QSize TSmallPictureCache::acquire(const Tspecies& species) {
    if (!species.small_picture) {
        if (species.small_picture_missing) return {};
        const QString path = GLB_small_picture_path(species);
        QImage image;
        if (QFileInfo(path).isFile()) image = GLB_load_jpeg_file(path, kLargestThumbnail);
        if (image.isNull()) {
            species.small_picture_missing = true;
            return {};
        }
        species.small_picture = std::make_shared<QImage>(std::move(image));
        species.small_picture_use_count = 0;
    }
    ++species.small_picture_use_count;
    return picture(species)->size();
}

void TSmallPictureCache::release(const Tspecies& species) {
    if (!species.small_picture) return;
    if (--species.small_picture_use_count <= 0) {
        species.small_picture_use_count = 0;
        species.small_picture.reset();
    }
}

void TSmallPictureCache::draw(QPainter& painter, const Tspecies& species, QPoint topLeft) {
    if (const QImage* image = picture(species)) painter.drawImage(topLeft, *image);
}

bool TSmallPictureCache::hit_test(const Tspecies& species, QPoint topLeft, QPoint point) const {
    const QImage* image = picture(species);
    if (!image) return false;
    const int dx = point.x() - topLeft.x();
    const int dy = point.y() - topLeft.y();
    return dx >= 0 && dx <= image->width() && dy >= 0 && dy <= image->height();
}
