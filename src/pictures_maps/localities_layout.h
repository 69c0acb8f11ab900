#pragma once

// Where every locality of the database lies on a map window's base map, and
// which one a point of the window is on.

#include "pictures_maps/map_picture.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <vector>

class Tlocality;

struct Txy {
    bool on_main = false;
    bool on_inset = false;
    QPoint main;   // margins included
    QPoint inset;  // margins included
};

class TLocalitiesLayout {
  public:
    // One entry per locality, in list order; a locality without
    // coordinates lies on neither map.
    void build(const TMapLayout& layout, const std::vector<const Tlocality*>& localities);

    const std::vector<Txy>& positions() const { return positions_; }
    // The first locality, in list order, whose dot holds the point
    // (relative to the map's drawing origin, margins included); -1 when none.
    int hit_test(QPoint point) const;
    // The position the locality's dot is drawn at (inset when not on the
    // main map).
    static QPoint dot_position(const Txy& xy) { return xy.on_main ? xy.main : xy.inset; }

    // The keyboard's walk over the dots. The dot a walk starts from: the
    // one nearest the point; -1 when no dot is shown.
    int nearest_to(QPoint point) const;
    // The dot the arrow in `direction` (one of (±1, 0), (0, ±1)) goes to
    // from dot `from`: the nearest ahead within the quarter the arrow points
    // into, a dot sideways counting double its distance; dots on the very
    // same spot come first, in list order forward (right, down) or back.
    // -1 when none lies that way.
    int next_in_direction(int from, QPoint direction) const;

  private:
    std::vector<Txy> positions_;
};

// Where the tooltip about a dot goes on the screen: 15 pixels right of the
// dot and 3 above it; where the screen's area ends first, left of the dot
// instead, and up as far as needed, so that it stays whole on the screen
// and never lies over the dot, which would take the mouse from the map.
QPoint GLB_locality_tooltip_place(QPoint screenDot, QSize tooltip, const QRect& screenArea);
