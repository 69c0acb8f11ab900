#pragma once

#include <QRect>
#include <QString>
#include <optional>

// "Coord": left, top, right and bottom of the normal rectangle.
QString GLB_format_coord(const QRect& rect);
std::optional<QRect> GLB_parse_coord(const QString& text);
// Where a window goes when its "Coord" does not parse: 1/8 in from the
// screen's edges with 6/8 of its size (and maximised by the caller).
QRect GLB_default_window_rect(const QRect& screen);
