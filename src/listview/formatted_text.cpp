#include "listview/formatted_text.h"

#include "listview/list_fonts.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

namespace {

constexpr qsizetype kMaxLineLength = 1000;
constexpr qsizetype kMaxMeasuredLength = 501;
constexpr int kWrapMargin = 4;
constexpr int kItalicStep = 2;

// Measuring needs a device even when nothing is drawn; an image works
// without any display.
const QPaintDevice* measuringDevice() {
    static const QImage device(1, 1, QImage::Format_RGB32);
    return &device;
}

void drawSegment(TTextCanvas& canvas, bool highlight, QStringView segment) {
    const QFontMetrics& fm = canvas.metrics();
    const QString text = segment.toString();
    const int x0 = canvas.pen.x();
    const int y = canvas.pen.y();
    const int width = fm.horizontalAdvance(text);
    const QRect cell(x0, y - fm.ascent(), width, fm.ascent() + fm.descent());
    if (QPainter* p = canvas.painter()) {
        p->fillRect(cell, highlight ? text_colour::kHighlight : canvas.window_colour);
        if (canvas.underline && width > 0) {
            // The stroke goes under the letters, which are drawn over it.
            p->setPen(text_colour::kUnderline);
            p->drawLine(x0, y + 1, x0 + width - 1, y + 1);
        }
        p->setFont(canvas.font());
        p->setPen(canvas.colour);
        p->drawText(QPoint(x0, y), text);
    }
    canvas.pen.rx() += width;
    if (canvas.underline) {
        if (canvas.links() && width > 0) canvas.links()->add(cell, y);
    } else if (canvas.font().italic()) {
        // Slanted letters lean over the next segment; leave them room.
        canvas.pen.rx() += kItalicStep;
    }
}

void applyCode(TTextCanvas& canvas, char16_t code) {
    QFont font = canvas.font();
    switch (code) {
        case text_code::kItalic:
            if (font.italic()) canvas.pen.rx() -= 1;
            font.setItalic(!font.italic());
            break;
        case text_code::kBold:
            font.setBold(!font.bold());
            break;
        case text_code::kUnderline:
            canvas.underline = !canvas.underline;
            return;
        case text_code::kSmaller:
            font.setPixelSize(std::max(1, font.pixelSize() - 1));
            break;
        case text_code::kLarger:
            font.setPixelSize(font.pixelSize() + 1);
            break;
        case text_code::kRed:
            canvas.colour = canvas.colour == QColor(Qt::black) ? text_colour::kRed : Qt::black;
            return;
        case text_code::kGreen:
            canvas.colour =
                canvas.colour == text_colour::kGreen ? QColor(Qt::black) : text_colour::kGreen;
            return;
        default:
            return;
    }
    canvas.set_font(font);
}

void drawLine(TTextCanvas& canvas, bool highlight, QStringView line) {
    line = line.left(kMaxLineLength);
    qsizetype start = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        const bool end = i == line.size();
        if (!end && !text_code::is_style_code(line[i])) continue;
        if (i > start) drawSegment(canvas, highlight, line.mid(start, i - start));
        if (!end) applyCode(canvas, line[i].unicode());
        start = i + 1;
    }
}

}  // namespace

void TLinkRegister::forget(const QRect& area) {
    std::erase_if(links_, [&](const Link& link) { return link.cell.intersects(area); });
}

TTextCanvas::TTextCanvas(QPainter* painter, TLinkRegister* links)
    : painter_(painter), links_(links) {}

void TTextCanvas::select_font(const TListFont& font) {
    set_font(font.font);
    colour = font.colour;
}

void TTextCanvas::set_font(const QFont& font) {
    font_ = font;
    metrics_.reset();
}

const QFontMetrics& TTextCanvas::metrics() const {
    if (!metrics_) {
        const QPaintDevice* device = painter_ ? painter_->device() : measuringDevice();
        metrics_.emplace(font_, device);
    }
    return *metrics_;
}

void GLB_draw_text(TTextCanvas& canvas, int lineHeight, bool highlight, const QString& text) {
    const qsizetype lines = text.count(QChar(text_code::kLineFeed)) + 1;
    if (lines > 1) canvas.pen.ry() -= static_cast<int>(lines - 1) * lineHeight;
    const int startX = canvas.pen.x();
    qsizetype start = 0;
    for (qsizetype n = 0; n < lines; ++n) {
        qsizetype end = text.indexOf(QChar(text_code::kLineFeed), start);
        if (end < 0) end = text.size();
        drawLine(canvas, highlight, QStringView(text).mid(start, end - start));
        if (n + 1 < lines) canvas.move_to(startX, canvas.pen.y() + lineHeight);
        start = end + 1;
    }
}

QString GLB_without_codes(const QString& text) {
    QString plain;
    plain.reserve(text.size());
    for (QChar c : text)
        if (!text_code::is_style_code(c)) plain.append(c);
    return plain;
}

int GLB_plain_text_width(const TTextCanvas& canvas, const QString& text) {
    QString plain;
    plain.reserve(std::min(text.size(), kMaxMeasuredLength));
    for (QChar c : text) {
        if (text_code::is_style_code(c)) continue;
        plain.append(c);
        if (plain.size() == kMaxMeasuredLength) break;
    }
    return canvas.metrics().horizontalAdvance(plain);
}

namespace {

// Breaks one line of the text (from `from` up to `to`, which holds no line
// feed) word by word.
void wrapLine(const TTextCanvas& canvas, int availableWidth, QString& text, qsizetype from,
              qsizetype to, TWrapResult& result) {
    const auto fits = [&](qsizetype start, qsizetype end, int& width) {
        width = GLB_plain_text_width(canvas, text.mid(start, end - start));
        return availableWidth - width > kWrapMargin;
    };
    // A line that fits whole fits at every word, and is its own widest.
    int width = 0;
    if (fits(from, to, width)) {
        result.widest = std::max(result.widest, width);
        return;
    }
    qsizetype lineStart = from;
    qsizetype wordStart = from;
    while (true) {
        qsizetype wordEnd = wordStart;
        while (wordEnd < to && text[wordEnd] != u' ') ++wordEnd;
        if (fits(lineStart, wordEnd, width)) {
            result.widest = std::max(result.widest, width);
        } else if (wordStart > lineStart) {
            // The blank before the word becomes the line break; a word that
            // alone is too wide stays where it is.
            text[wordStart - 1] = QChar(text_code::kLineFeed);
            ++result.lines;
            lineStart = wordStart;
            if (fits(lineStart, wordEnd, width)) result.widest = std::max(result.widest, width);
        }
        if (wordEnd >= to) return;
        wordStart = wordEnd + 1;
    }
}

}  // namespace

TWrapResult GLB_wrap_text(const TTextCanvas& canvas, int availableWidth, QString& text) {
    TWrapResult result;
    qsizetype from = 0;
    while (true) {
        qsizetype to = text.indexOf(QChar(text_code::kLineFeed), from);
        const bool last = to < 0;
        if (last) to = text.size();
        wrapLine(canvas, availableWidth, text, from, to, result);
        if (last) break;
        ++result.lines;  // an existing line feed starts a new line
        from = to + 1;
    }
    return result;
}

bool GLB_point_on_link(const TLinkRegister& links, QPoint point, int limit) {
    return std::any_of(links.links().begin(), links.links().end(), [&](const auto& link) {
        return link.baseline + 1 <= limit && link.cell.contains(point);
    });
}
