#pragma once

#include <QColor>
#include <QFont>
#include <array>

// One entry of the shared font table: the face with its size and style, and
// the colour text is drawn in.
struct TListFont {
    QFont font;
    QColor colour;
};

// Styles, size steps and colours that index the table.
namespace list_font {
inline constexpr int kItalic = 0;
inline constexpr int kRegular = 1;
inline constexpr int kBold = 2;
inline constexpr int kNormal = 0;
inline constexpr int kRed = 1;
inline constexpr int kDefaultTextSize = 15;
// Text sizes the lists can be drawn in; others stored give the default.
inline constexpr int kMinTextSize = 6;
inline constexpr int kMaxTextSize = 72;
inline constexpr int kFailedMetricsHeight = 13;
}  // namespace list_font

// The 30 fonts every list line and small information window draws with
// (3 styles x 5 size steps x 2 colours), built from one base height, and the
// metrics the line layout derives from the standard list font.
class TListFonts {
  public:
    explicit TListFonts(int baseHeight = list_font::kDefaultTextSize);
    TListFonts(const TListFonts&) = delete;
    TListFonts& operator=(const TListFonts&) = delete;

    // style 0..2, step -2..+2, colour 0..1.
    const TListFont& font(int style, int step, int colour) const;
    const TListFont& standard() const { return font(list_font::kRegular, 0, list_font::kNormal); }

    int base_height() const { return base_height_; }
    // Rebuilds every entry in place, so references that lines hold to table
    // entries stay valid across a change of text size.
    void set_base_height(int baseHeight);

    int line_height() const { return line_height_; }           // lh
    int average_char_width() const { return average_width_; }  // cw
    int small_font_height() const { return small_height_; }    // regular, step -1

    static int height_for_step(int baseHeight, int step);

  private:
    static int index(int style, int step, int colour);
    void rebuild();

    int base_height_;
    std::array<TListFont, 30> fonts_;
    int line_height_ = list_font::kFailedMetricsHeight;
    int average_width_ = 0;
    int small_height_ = list_font::kFailedMetricsHeight;
};

// The process-wide table; made on first use with the base height from the
// "Text Size" setting.
TListFonts& GLB_list_fonts();
// The "Text Size" setting (default 15, also for a size out of range).
int GLB_read_text_size();
// Writes the table's base height to the "Text Size" setting (at shut-down).
void GLB_write_text_size();
