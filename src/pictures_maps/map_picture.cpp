#include "pictures_maps/map_picture.h"

#include "pictures_maps/bitmap_files.h"

#include <QFile>
#include <QPainter>
#include <algorithm>
#include <cmath>

static void initialiseMapResources() {
    Q_INIT_RESOURCE(maps);
}

namespace {

constexpr QRgb kRangeRed = 0xFFFF0000;
constexpr QRgb kRangeBlue = 0xFF0000FF;

QImage asRgb32(const QImage& image) {
    return image.format() == QImage::Format_RGB32 ? image
                                                  : image.convertToFormat(QImage::Format_RGB32);
}

// The rectangle in the picture that a range bitmap covers on a record.
QRect projectedRect(const Tmap_record& record, int row, const std::array<double, 4>& bounds,
                    bool asInset) {
    const TProjection topLeft = ProjectPoint(record, row, {bounds[0], bounds[1]}, asInset);
    const TProjection bottomRight = ProjectPoint(record, row, {bounds[2], bounds[3]}, asInset);
    return QRect(topLeft.pixel, bottomRight.pixel).normalized();
}

void stretchOnto(QImage& layer, const QImage& bitmap, const QRect& target, const QRect& clip) {
    if (bitmap.isNull() || target.isEmpty()) return;
    QPainter painter(&layer);
    painter.setClipRect(clip);
    // Colour on colour: pixels are picked, never blended, so pure colours
    // stay pure.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(target, bitmap);
}

QRect bounds(const Tmap_record& r) {
    return QRect(QPoint(r.x_min, r.y_min), QPoint(r.x_max, r.y_max));
}

}  // namespace

QImage GLB_load_distribution_bitmap(const QString& path) {
    // A bitmap that does not load leaves the base map alone, and the user
    // is told why: otherwise a broken file looks like a taxon without a
    // range. The window loads its bitmaps once when it opens, so each
    // opening tells once.
    TPackedBitmap block;
    if (LoadPossiblyCompressedBitmap(path, true, block) != 0) return QImage();
    return block.to_image();
}

QImage GLB_base_map_picture(int row) {
    static const bool initialised = (initialiseMapResources(), true);
    (void)initialised;
    const QString name = GLB_map_resource_name(row);
    if (name.isEmpty()) return {};
    return QImage(QStringLiteral(":/maps/") + name);
}

int TMapLayout::content_width() const {
    return main.width +
           (has_inset() ? 10 + GLB_map_table()[static_cast<size_t>(inset_row)].width : 0);
}

TMapLayout TMapLayout::make(int editionCode, int mainRow, std::optional<TGeoPoint> point) {
    TMapLayout layout;
    if (mainRow < 0 || mainRow >= kMapCount) mainRow = map_row::kDefault;
    layout.main_row = mainRow;
    layout.main = GLB_map_table()[static_cast<size_t>(mainRow)];
    const TInsetChoice choice = GLB_inset_for(editionCode, mainRow, point);
    if (choice.row >= 0) {
        layout.inset_row = choice.row;
        layout.inset_dx = choice.dx;
        layout.inset_dy = choice.dy;
        layout.inset = GLB_map_table()[static_cast<size_t>(choice.row)].shifted(choice.dx, choice.dy);
    }
    return layout;
}

QImage GLB_compose_base(const TMapLayout& layout, const QImage& mainPicture,
                        const QImage& insetPicture) {
    QImage picture(std::max(1, layout.content_width()), std::max(1, layout.main.height),
                   QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    if (!mainPicture.isNull()) painter.drawImage(0, 0, mainPicture);
    if (!layout.has_inset()) return picture;
    if (!insetPicture.isNull()) painter.drawImage(layout.inset_dx, layout.inset_dy, insetPicture);
    painter.end();
    if (layout.inset_dy > 0) {
        // The strip beside the main map takes the inset's background colour
        // above, below and right of the inset.
        const int dx = layout.inset_dx, dy = layout.inset_dy;
        const QPoint sample(dx + 5, dy + 5);
        if (!picture.rect().contains(sample)) return picture;
        const QRgb colour = picture.pixel(sample);
        const int insetWidth = insetPicture.isNull() ? 0 : insetPicture.width();
        const int insetBottom = dy + (insetPicture.isNull() ? 0 : insetPicture.height());
        for (int y = 0; y < picture.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            const bool besideInset = y >= dy && y < insetBottom;
            const int from = besideInset ? dx + insetWidth : dx;
            for (int x = std::max(0, from); x < picture.width(); ++x) line[x] = colour;
        }
    }
    return picture;
}

QRect GLB_combine_distribution(QImage& picture, const QImage& distribution, int mainWidth) {
    const QImage layer = asRgb32(distribution);
    const int width = std::min(picture.width(), layer.width());
    const int height = std::min(picture.height(), layer.height());
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y) {
        auto* out = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const auto* in = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb range = in[x] | 0xFF000000;
            if (range == kRangeRed) {
                if ((x + y) % 3 == 0 || (x - y + 10000) % 3 == 0) {
                    const int g = (qRed(out[x]) + qGreen(out[x]) + qBlue(out[x])) / 3;
                    out[x] = qRgb(g / 2, g / 2, (g + 255) / 2);
                }
            } else if (range == kRangeBlue) {
                out[x] = kRangeBlue;
            } else {
                continue;
            }
            if (x > mainWidth + 10) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void GLB_draw_distribution(QImage& picture, const TMapLayout& layout, const TDistribution& d) {
    if (!d.main.georeferenced) {
        if (d.main.bitmap.isNull()) return;
        QPainter painter(&picture);
        painter.drawImage(0, 0, d.main.bitmap);
        return;
    }
    QImage layer(picture.size(), QImage::Format_RGB32);
    layer.fill(Qt::white);
    stretchOnto(layer, d.main.bitmap,
                projectedRect(layout.main, layout.main_row, d.main.bounds, false),
                bounds(layout.main));
    if (layout.has_inset()) {
        const TRangeBitmap& onInset = d.inset && !d.inset->bitmap.isNull() ? *d.inset : d.main;
        stretchOnto(layer, onInset.bitmap,
                    projectedRect(layout.inset, layout.inset_row, onInset.bounds, true),
                    bounds(layout.inset));
    }
    const QRect tiny = GLB_combine_distribution(picture, layer, layout.main.width);
    if (layout.has_inset() && tiny.isValid() && tiny.width() + tiny.height() < 10)
        GLB_draw_locality_dot(picture, tiny.center(), false, qRgb(0, 0, 0));
}

void GLB_draw_locality_dot(QImage& picture, QPoint centre, bool withRing, QRgb colour) {
    auto paint = [&](int half, auto&& apply) {
        for (int dy = -half; dy <= half; ++dy) {
            const int y = centre.y() + dy;
            if (y < 0 || y >= picture.height()) continue;
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int dx = -half; dx <= half; ++dx) {
                if (std::abs(dx) == half && std::abs(dy) == half) continue;
                const int x = centre.x() + dx;
                if (x >= 0 && x < picture.width()) apply(line[x]);
            }
        }
    };
    paint(2, [colour](QRgb& p) { p = colour | 0xFF000000; });
    if (withRing)
        paint(3, [](QRgb& p) {
            if ((p | 0xFF000000) != kRangeRed) p = 0xFFFFFFFF;
        });
}

TPlaceOnMap GLB_project_place(const TMapLayout& layout, TGeoPoint point) {
    TPlaceOnMap place;
    place.main = ProjectPoint(layout.main, layout.main_row, point, false);
    if (layout.has_inset()) place.inset = ProjectPoint(layout.inset, layout.inset_row, point, true);
    return place;
}

void GLB_draw_place(QImage& picture, const TPlaceOnMap& place) {
    if (place.main.on_map) GLB_draw_locality_dot(picture, place.main.pixel, true);
    if (place.inset.on_map) GLB_draw_locality_dot(picture, place.inset.pixel, true);
}
