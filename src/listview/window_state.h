#pragma once

#include <QRect>
#include <QString>
#include <array>
#include <optional>
#include <vector>

// A list window's fold state as it is kept in the settings ("Visible").
struct TWindowFoldState {
    std::array<bool, 6> class_open{true, true, true, true, true, true};
    int top_class = 1;
    int top_family = 1;
    int top_species = 0;
    int selected_family = 1;
    int selected_species = 0;
    std::vector<int> open_families;  // at most 20

    static constexpr size_t kMaxOpenFamilies = 20;
};

// With class rows the text starts with six "0"/"1" class flags and ",";
// then top class, top family, top species, selected family, selected
// species, and the open families. Reading stops at the first field that is
// not a whole number; what was not read keeps its default.
QString GLB_format_visible(const TWindowFoldState& state, bool withClasses);
TWindowFoldState GLB_parse_visible(const QString& text, bool withClasses);

// "Coord": left, top, right and bottom of the normal rectangle.
QString GLB_format_coord(const QRect& rect);
std::optional<QRect> GLB_parse_coord(const QString& text);
// Where a window goes when its "Coord" does not parse: 1/8 in from the
// screen's edges with 6/8 of its size (and maximised by the caller).
QRect GLB_default_window_rect(const QRect& screen);
