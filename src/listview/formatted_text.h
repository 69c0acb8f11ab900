#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

class QPainter;
struct TListFont;

// The in-line code characters of formatted texts.
namespace text_code {
inline constexpr char16_t kLineFeed = 10;
inline constexpr char16_t kItalic = 11;
inline constexpr char16_t kBold = 12;
inline constexpr char16_t kUnderline = 13;
inline constexpr char16_t kSmaller = 14;
inline constexpr char16_t kLarger = 15;
inline constexpr char16_t kRed = 16;
inline constexpr char16_t kGreen = 17;
inline bool is_style_code(QChar c) {
    return c.unicode() >= kItalic && c.unicode() <= kGreen;
}
}  // namespace text_code

// Colours the writer draws with.
namespace text_colour {
inline const QColor kUnderline(0, 255, 0);
inline const QColor kHighlight(0, 255, 255);
inline const QColor kRed(255, 0, 0);
inline const QColor kGreen(0, 170, 0);
}  // namespace text_colour

// Where underlined (link) text was drawn, so that a click can be tested
// against it. Coordinates are those of the canvas that drew them.
class TLinkRegister {
  public:
    struct Link {
        QRect cell;    // from the top of the letters to the bottom of the row
        int baseline;  // the stroke lies one pixel below it
    };
    void add(const QRect& cell, int baseline) { links_.push_back({cell, baseline}); }
    // Drops the links whose cell meets the area (before it is painted again).
    void forget(const QRect& area);
    void clear() { links_.clear(); }
    const std::vector<Link>& links() const { return links_; }

  private:
    std::vector<Link> links_;
};

// The drawing state the writer works on: the font (which the in-line codes
// change in place), the text colour, the underlining, the pen position on the
// baseline and the background colour. Without a painter it only measures.
class TTextCanvas {
  public:
    explicit TTextCanvas(QPainter* painter = nullptr, TLinkRegister* links = nullptr);

    // Takes a font and colour of the table as the current drawing state.
    void select_font(const TListFont& font);
    void set_font(const QFont& font);
    const QFont& font() const { return font_; }
    const QFontMetrics& metrics() const;

    QColor colour;
    bool underline = false;
    QColor window_colour = Qt::white;
    QPoint pen;
    void move_to(int x, int y) { pen = QPoint(x, y); }

    QPainter* painter() const { return painter_; }
    TLinkRegister* links() const { return links_; }

  private:
    QPainter* painter_;
    TLinkRegister* links_;
    QFont font_;
    mutable std::optional<QFontMetrics> metrics_;
};

struct TWrapResult {
    int lines = 1;
    int widest = 0;  // the widest line that fitted
};

// Draws the text at the canvas's pen (on its baseline) and leaves the pen
// after the text. Several lines are drawn upwards from the pen so that the
// last one lies on the starting baseline.
void GLB_draw_text(TTextCanvas& canvas, int lineHeight, bool highlight, const QString& text);
// Breaks the text to the width by turning blanks into line feeds.
TWrapResult GLB_wrap_text(const TTextCanvas& canvas, int availableWidth, QString& text);
// The text with its style codes (11..17) left out, as a reader sees it.
QString GLB_without_codes(const QString& text);
// The width of a text in the canvas's font with its code characters left out.
int GLB_plain_text_width(const TTextCanvas& canvas, const QString& text);
// Whether the point lies on link text drawn with its stroke not below the
// limit (callers pass the bottom of the line's last text row).
bool GLB_point_on_link(const TLinkRegister& links, QPoint point, int limit);
