#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

// "Coord": left, top, right and bottom of the normal rectangle.
QString GLB_format_coord(const QRect& rect);
std::optional<QRect> GLB_parse_coord(const QString& text);
// Where a window goes when its "Coord" does not parse: 1/8 in from the
// screen's edges with 6/8 of its size (and maximised by the caller).
QRect GLB_default_window_rect(const QRect& screen);

// A window's outer rectangle (frame included) moved and, when it is larger,
// shrunk into a screen's work area. A window that runs off the right or the
// bottom keeps its left or top edge while it can stay at least `smallest`
// (or its own size, when that is less); beyond that it moves.
QRect GLB_fit_into_work_area(const QRect& frame, const QRect& workArea,
                             const QSize& smallest = QSize(684, 512));

// The default places of the small windows that float above the list
// windows, chosen so that neither the main window's menu bar nor the middle
// of the screen, where dialogs open, is covered: the playlist window at the
// top right under the menu bar's height, the volume window at the bottom
// right, the "What was that?" list at the bottom left. Returns the frame's
// top-left corner.
enum class TFloatingPlace { TopRight, BottomRight, BottomLeft };
QPoint GLB_floating_window_place(const QSize& frameSize, const QRect& workArea,
                                 TFloatingPlace place);
