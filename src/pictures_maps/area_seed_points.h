#pragma once

// The click points of the units on the contour maps of the area selection
// frames (pixels of the contour bitmaps), and the bitmaps themselves.

#include <QImage>
#include <QPoint>
#include <QString>
#include <vector>

struct TUnitSeedPoints {
    int unit;  // index in the area's unit table
    std::vector<QPoint> points;
};

// Peru, Bolivia, Paraguay and the other countries together (the last drawn
// in the alternate colours).
const std::vector<TUnitSeedPoints>& GLB_bolivia_etc_seed_points();
const std::vector<TUnitSeedPoints>& GLB_tropical_asia_seed_points();

// A contour map by its resource name, as a 32-bit picture; null when none.
QImage GLB_contour_map(const QString& name);
