#include "pictures_maps/localities_layout.h"

#include "data/people_places.h"

#include <algorithm>
#include <cstdlib>

void TLocalitiesLayout::build(const TMapLayout& layout,
                              const std::vector<const Tlocality*>& localities) {
    positions_.assign(localities.size(), Txy{});
    const QPoint margins(layout.main.left_margin, layout.main.top_margin);
    for (size_t i = 0; i < localities.size(); ++i) {
        const Tlocality* l = localities[i];
        if (!l || !l->has_coordinates()) continue;
        const TGeoPoint point{GLB_coordinate_degrees(l->longitude),
                              GLB_coordinate_degrees(l->latitude)};
        Txy& xy = positions_[i];
        const TProjection main = ProjectPoint(layout.main, layout.main_row, point, false);
        xy.on_main = main.on_map;
        xy.main = main.pixel + margins;
        if (!xy.on_main && layout.has_inset()) {
            const TProjection inset = ProjectPoint(layout.inset, layout.inset_row, point, true);
            xy.on_inset = inset.on_map;
            xy.inset = inset.pixel + margins;
        }
    }
}

int TLocalitiesLayout::hit_test(QPoint point) const {
    auto holds = [point](QPoint dot) {
        const int dx = point.x() - dot.x();
        const int dy = point.y() - dot.y();
        return std::abs(dx) < 3 && dx * dx + dy * dy < 7;
    };
    for (size_t i = 0; i < positions_.size(); ++i) {
        const Txy& xy = positions_[i];
        if ((xy.on_inset && holds(xy.inset)) || (xy.on_main && holds(xy.main)))
            return static_cast<int>(i);
    }
    return -1;
}

QPoint GLB_locality_tooltip_place(QPoint screenDot, QSize tooltip, const QRect& screenArea) {
    constexpr int kBeside = 15, kAbove = 3;
    const int areaRight = screenArea.left() + screenArea.width();
    const int areaBottom = screenArea.top() + screenArea.height();
    int x = screenDot.x() + kBeside;
    if (x + tooltip.width() > areaRight) x = screenDot.x() - kBeside - tooltip.width();
    x = std::max(screenArea.left(), std::min(x, areaRight - tooltip.width()));
    int y = std::min(screenDot.y() - kAbove, areaBottom - tooltip.height());
    y = std::max(screenArea.top(), y);
    return {x, y};
}
