#include "listview/window_state.h"

#include "app/parsing.h"

#include <algorithm>

QString GLB_format_coord(const QRect& rect) {
    return GLB_four_numbers_to_text(
        {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()});
}

std::optional<QRect> GLB_parse_coord(const QString& text) {
    bool error = false;
    const auto n = GLB_text_to_four_numbers(text, error);
    if (error || n[2] <= n[0] || n[3] <= n[1]) return std::nullopt;
    return QRect(QPoint(n[0], n[1]), QSize(n[2] - n[0], n[3] - n[1]));
}

QRect GLB_default_window_rect(const QRect& screen) {
    return QRect(screen.left() + screen.width() / 8, screen.top() + screen.height() / 8,
                 screen.width() * 6 / 8, screen.height() * 6 / 8);
}

namespace {

// One axis of the fit: start and length of the window against the area's.
void fitAxis(int& start, int& length, int areaStart, int areaLength, int smallest) {
    length = std::min(length, areaLength);
    const int areaEnd = areaStart + areaLength;
    if (start + length > areaEnd) {
        const int floor = std::min(length, smallest);
        length = std::max(floor, areaEnd - start);
        if (start + length > areaEnd) start = areaEnd - length;
    }
    start = std::max(start, areaStart);
}

}  // namespace

QRect GLB_fit_into_work_area(const QRect& frame, const QRect& workArea, const QSize& smallest) {
    if (workArea.isEmpty()) return frame;
    int x = frame.x(), width = frame.width();
    int y = frame.y(), height = frame.height();
    fitAxis(x, width, workArea.x(), workArea.width(), smallest.width());
    fitAxis(y, height, workArea.y(), workArea.height(), smallest.height());
    return QRect(x, y, width, height);
}

QPoint GLB_floating_window_place(const QSize& frameSize, const QRect& workArea,
                                 TFloatingPlace place) {
    // A small gap to the screen's edges; the top one clears the main
    // window's title and menu bars even when it is maximised.
    const int edge = std::max(4, workArea.width() / 100);
    const int below = std::max(80, workArea.height() / 8);
    const int right = workArea.x() + workArea.width() - frameSize.width() - edge;
    const int bottom = workArea.y() + workArea.height() - frameSize.height() - below / 2;
    QPoint at;
    switch (place) {
        case TFloatingPlace::TopRight: at = QPoint(right, workArea.y() + below); break;
        case TFloatingPlace::BottomRight: at = QPoint(right, bottom); break;
        case TFloatingPlace::BottomLeft: at = QPoint(workArea.x() + edge, bottom); break;
    }
    return GLB_fit_into_work_area(QRect(at, frameSize), workArea, frameSize).topLeft();
}
