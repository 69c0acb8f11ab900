#pragma once

#include "listview/fold_snapshot.h"

#include <QRect>
#include <QString>
#include <optional>

// With class rows the text starts with six "0"/"1" class flags and ",";
// then top class, top family, top species, selected family, selected
// species, and the open families. Reading stops at the first field that is
// not a whole number; what was not read keeps its default.
// The fold state as the "Visible" setting keeps it.
QString GLB_format_visible(const TFoldSnapshot& state, bool withClasses);
TFoldSnapshot GLB_parse_visible(const QString& text, bool withClasses);

// "Coord": left, top, right and bottom of the normal rectangle.
QString GLB_format_coord(const QRect& rect);
std::optional<QRect> GLB_parse_coord(const QString& text);
// Where a window goes when its "Coord" does not parse: 1/8 in from the
// screen's edges with 6/8 of its size (and maximised by the caller).
QRect GLB_default_window_rect(const QRect& screen);
