#include "pictures_maps/contour_fill.h"

#include <vector>

int GLB_flood_fill(QImage& picture, QPoint seed, QRgb colour) {
    if (!picture.rect().contains(seed)) return 0;
    if (picture.depth() != 32) picture = picture.convertToFormat(QImage::Format_RGB32);
    const int width = picture.width(), height = picture.height();
    auto line = [&picture](int y) { return reinterpret_cast<QRgb*>(picture.scanLine(y)); };
    const QRgb from = line(seed.y())[seed.x()] | 0xFF000000;
    colour |= 0xFF000000;
    if (from == colour || from == unit_colour::kBorder) return 0;
    auto matches = [from](QRgb p) { return (p | 0xFF000000) == from; };
    // Span filling: each popped point is widened to its whole run, and the
    // rows above and below are searched for runs to fill next.
    int changed = 0;
    std::vector<QPoint> stack{seed};
    while (!stack.empty()) {
        const QPoint p = stack.back();
        stack.pop_back();
        QRgb* row = line(p.y());
        if (!matches(row[p.x()])) continue;
        int left = p.x(), right = p.x();
        while (left > 0 && matches(row[left - 1])) --left;
        while (right < width - 1 && matches(row[right + 1])) ++right;
        for (int x = left; x <= right; ++x) row[x] = colour;
        changed += right - left + 1;
        for (int ny : {p.y() - 1, p.y() + 1}) {
            if (ny < 0 || ny >= height) continue;
            const QRgb* next = line(ny);
            bool inRun = false;
            for (int x = left; x <= right; ++x) {
                const bool m = matches(next[x]);
                if (m && !inRun) stack.emplace_back(x, ny);
                inRun = m;
            }
        }
    }
    return changed;
}
