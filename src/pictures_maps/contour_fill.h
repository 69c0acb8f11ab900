#pragma once

// Filling the units of a contour map: black borders, units in flat colours.

#include <QImage>
#include <QPoint>
#include <QRgb>

// Fills the 4-connected area of the starting pixel's colour with the colour;
// nothing when the starting point lies outside the picture, on black, or already has
// the colour. Returns the number of pixels changed. The picture must be
// 32-bit.
int GLB_flood_fill(QImage& picture, QPoint seed, QRgb colour);

// The colours of selected and not selected units (normal and alternate).
namespace unit_colour {
inline constexpr QRgb kSelected = 0xFF00FF00;
inline constexpr QRgb kNotSelected = 0xFFFFFFFF;
inline constexpr QRgb kAlternateSelected = 0xFF3BA887;
inline constexpr QRgb kAlternateNotSelected = 0xFFC8C8C8;
inline constexpr QRgb kBorder = 0xFF000000;
// Units the frame does not offer.
inline constexpr QRgb kNotOffered = 0xFFD9CFB6;
}  // namespace unit_colour
