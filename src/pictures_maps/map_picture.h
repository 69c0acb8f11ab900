#pragma once

// The picture of a distribution map window: the base map with its inset,
// a taxon's range projected onto both, and the dot of a place. Pixel work is
// done on QImage scan lines.

#include "pictures_maps/base_map_choice.h"
#include "pictures_maps/map_table.h"

#include <QImage>
#include <QString>
#include <array>
#include <optional>

// A distribution bitmap file as an image (plain, run-length encoded or
// compressed); a null image when it cannot be loaded, after a box that
// tells why.
QImage GLB_load_distribution_bitmap(const QString& path);

// The picture of a table row from the program's resources; a null image
// when there is none.
QImage GLB_base_map_picture(int row);

// Where the main map and its inset lie in the off-screen picture.
struct TMapLayout {
    int main_row = map_row::kDefault;
    Tmap_record main{};
    int inset_row = -1;
    Tmap_record inset{};  // shifted to where it is drawn
    int inset_dx = 0;
    int inset_dy = 0;

    bool has_inset() const { return inset_row >= 0; }
    // The map, plus 10 and the inset's width when there is one.
    int content_width() const;

    static TMapLayout make(int editionCode, int mainRow, std::optional<TGeoPoint> point);
};

// A distribution bitmap and the rectangle in degrees it covers (left
// longitude, top latitude, right longitude, bottom latitude).
struct TRangeBitmap {
    QImage bitmap;
    std::array<double, 4> bounds{};
    bool georeferenced = false;
};

struct TDistribution {
    TRangeBitmap main;
    std::optional<TRangeBitmap> inset;  // the main one again when not given
};

// The base map (and inset) into a picture content width × map height.
QImage GLB_compose_base(const TMapLayout& layout, const QImage& mainPicture,
                        const QImage& insetPicture);

// Range pixels of the distribution (pure red: hatch; pure blue: painted
// blue) combined into the picture; returns the bounding box of range pixels
// right of the main map (x > main width + 10).
QRect GLB_combine_distribution(QImage& picture, const QImage& distribution, int mainWidth);

// The distribution drawn onto the picture (projected, or at (0, 0) when it
// is not georeferenced), with the dot that keeps a tiny range visible on the
// inset.
void GLB_draw_distribution(QImage& picture, const TMapLayout& layout, const TDistribution& d);

// The 5 × 5 red dot without corners and, with the ring, the 7 × 7 square
// without corners around it turned white where not red. Clipped.
void GLB_draw_locality_dot(QImage& picture, QPoint centre, bool withRing,
                           QRgb colour = qRgb(255, 0, 0));

// The place's dots on the main map and the inset, where it falls on them.
struct TPlaceOnMap {
    TProjection main;
    TProjection inset;
};
TPlaceOnMap GLB_project_place(const TMapLayout& layout, TGeoPoint point);
void GLB_draw_place(QImage& picture, const TPlaceOnMap& place);
