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

namespace {
bool shown(const Txy& xy) {
    return xy.on_main || xy.on_inset;
}
}  // namespace

int TLocalitiesLayout::nearest_to(QPoint point) const {
    int best = -1;
    long bestDistance = 0;
    for (size_t i = 0; i < positions_.size(); ++i) {
        if (!shown(positions_[i])) continue;
        const QPoint d = dot_position(positions_[i]) - point;
        const long distance = long(d.x()) * d.x() + long(d.y()) * d.y();
        if (best < 0 || distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    return best;
}

int TLocalitiesLayout::next_in_direction(int from, QPoint direction) const {
    if (from < 0 || from >= static_cast<int>(positions_.size())) return nearest_to({});
    const QPoint origin = dot_position(positions_[static_cast<size_t>(from)]);
    const bool forward = direction.x() + direction.y() > 0;
    // Several places on one spot are walked in list order before leaving it.
    if (forward) {
        for (size_t i = static_cast<size_t>(from) + 1; i < positions_.size(); ++i)
            if (shown(positions_[i]) && dot_position(positions_[i]) == origin) return static_cast<int>(i);
    } else {
        for (int i = from - 1; i >= 0; --i)
            if (shown(positions_[static_cast<size_t>(i)]) &&
                dot_position(positions_[static_cast<size_t>(i)]) == origin)
                return i;
    }
    int best = -1;
    long bestScore = 0;
    for (size_t i = 0; i < positions_.size(); ++i) {
        if (!shown(positions_[i])) continue;
        const QPoint d = dot_position(positions_[i]) - origin;
        const long ahead = long(d.x()) * direction.x() + long(d.y()) * direction.y();
        const long aside = std::abs(long(d.x()) * direction.y() - long(d.y()) * direction.x());
        if (ahead <= 0 || aside > ahead) continue;
        const long score = ahead + 2 * aside;
        if (best < 0 || score < bestScore) {
            best = static_cast<int>(i);
            bestScore = score;
        }
    }
    // A spot reached is entered at its first place (forward) or its last.
    if (best >= 0) {
        const QPoint spot = dot_position(positions_[static_cast<size_t>(best)]);
        for (size_t i = 0; i < positions_.size(); ++i)
            if (shown(positions_[i]) && dot_position(positions_[i]) == spot) {
                best = static_cast<int>(i);
                if (forward) break;
            }
    }
    return best;
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
