#include "listview/window_state.h"

#include "app/helpers.h"


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
