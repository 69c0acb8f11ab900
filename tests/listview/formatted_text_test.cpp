// The font table and the formatted-text writer, wrapper and link test, on
// the real "Arial" face (Liberation Sans) drawn into an image.

#include "listview/formatted_text.h"
#include "app/globals.h"
#include "app/settings.h"
#include "listview/list_fonts.h"
#include "support/test_environment.h"

#include <gtest/gtest.h>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

namespace {

const QChar kItalic(text_code::kItalic);
const QChar kBold(text_code::kBold);
const QChar kLink(text_code::kUnderline);
const QChar kRedCode(text_code::kRed);
const QChar kGreenCode(text_code::kGreen);

QString codes(std::initializer_list<QString> parts) {
    QString text;
    for (const QString& p : parts) text += p;
    return text;
}

// An image to draw on with a canvas set to the table's standard font.
class Drawing : public ::testing::Test {
  protected:
    Drawing() : image(400, 200, QImage::Format_RGB32) {
        image.fill(Qt::white);
        painter.begin(&image);
        canvas.emplace(&painter, &links);
        canvas->select_font(fonts.standard());
    }
    ~Drawing() override {
        if (painter.isActive()) painter.end();
    }
    int width(const TListFont& font, const QString& text) const {
        return QFontMetrics(font.font, &image).horizontalAdvance(text);
    }
    // Pen x after drawing the text from x = 10 on baseline 50.
    int penAfter(const QString& text) {
        canvas->select_font(fonts.standard());
        canvas->underline = false;
        canvas->move_to(10, 50);
        GLB_draw_text(*canvas, fonts.line_height(), false, text);
        return canvas->pen.x();
    }
    QImage finished() {
        painter.end();
        return image;
    }

    TListFonts fonts{15};
    QImage image;
    QPainter painter;
    TLinkRegister links;
    std::optional<TTextCanvas> canvas;
};

bool isRed(QRgb c) {
    return qRed(c) > 200 && qGreen(c) < 80 && qBlue(c) < 80;
}
bool isDark(QRgb c) {
    return qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80;
}
bool isTextGreen(QRgb c) {
    return qRed(c) < 60 && qGreen(c) > 120 && qGreen(c) < 200 && qBlue(c) < 60;
}
int countPixels(const QImage& image, const QRect& area, bool (*test)(QRgb)) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (test(image.pixel(x, y))) ++n;
    return n;
}

}  // namespace

// --- The font table ----------------------------------------------------------

TEST(ListFonts, HeightsByStepStyleAndColour) {
    TListFonts fonts(15);
    const int expected[] = {13, 14, 15, 17, 19};
    for (int step = -2; step <= 2; ++step) {
        const TListFont& regular = fonts.font(list_font::kRegular, step, list_font::kNormal);
        EXPECT_EQ(regular.font.pixelSize(), expected[step + 2]) << step;
        EXPECT_EQ(regular.colour, QColor(Qt::black));
        const TListFont& italic = fonts.font(list_font::kItalic, step, list_font::kNormal);
        EXPECT_TRUE(italic.font.italic());
        EXPECT_EQ(italic.font.pixelSize(), regular.font.pixelSize());
        const TListFont& red = fonts.font(list_font::kBold, step, list_font::kRed);
        EXPECT_TRUE(red.font.bold());
        EXPECT_EQ(red.colour, QColor(255, 0, 0));
    }
    EXPECT_EQ(QFontInfo(fonts.standard().font).family(), QStringLiteral("Liberation Sans"));
    // Bold text is never smaller than 14 pixels.
    TListFonts small(10);
    EXPECT_EQ(small.font(list_font::kRegular, -2, 0).font.pixelSize(), 8);
    EXPECT_EQ(small.font(list_font::kBold, -2, 0).font.pixelSize(), 14);
    EXPECT_EQ(small.font(list_font::kBold, 2, 0).font.pixelSize(), 14);
}

TEST(ListFonts, MetricsFollowTheBaseHeightAndEntriesStayPut) {
    TListFonts fonts(15);
    EXPECT_EQ(fonts.line_height(), QFontMetrics(fonts.standard().font).height());
    EXPECT_EQ(fonts.small_font_height(),
              QFontMetrics(fonts.font(list_font::kRegular, -1, 0).font).height());
    EXPECT_GT(fonts.average_char_width(), 3);
    const TListFont* standard = &fonts.standard();
    const int before = fonts.line_height();
    fonts.set_base_height(24);
    EXPECT_EQ(&fonts.standard(), standard);
    EXPECT_EQ(standard->font.pixelSize(), 24);
    EXPECT_GT(fonts.line_height(), before);
    EXPECT_EQ(fonts.line_height(), QFontMetrics(standard->font).height());
}

TEST(ListFonts, TextSizeSettingIsReadAndWrittenBack) {
    testing_support::ProgramDirectory dir;
    dir.makeCurrentProgramDirectory();
    EXPECT_EQ(GLB_read_text_size(), 15);
    dir.write("Korvelan.ini", "[GENERAL]\nText Size=18\n");
    EXPECT_EQ(GLB_read_text_size(), 18);
    GLB_list_fonts().set_base_height(21);
    GLB_write_text_size();
    EXPECT_EQ(GLB_read_int(QStringLiteral("GENERAL"), QStringLiteral("Text Size"), 0), 21);
    GLB_list_fonts().set_base_height(15);
}

// --- Drawing ----------------------------------------------------------------

TEST_F(Drawing, PenAdvancesAlongPlainText) {
    EXPECT_EQ(penAfter(QStringLiteral("Tinamou")), 10 + width(fonts.standard(), "Tinamou"));
    EXPECT_EQ(canvas->pen.y(), 50);
}

TEST_F(Drawing, ItalicSegmentsStepTwoRightAndOneBackWhenItalicEnds) {
    const TListFont& italic = fonts.font(list_font::kItalic, 0, 0);
    const int plain = penAfter(QStringLiteral("abc"));
    const int openItalic = penAfter(codes({"a", kItalic, "b"}));
    EXPECT_EQ(openItalic, 10 + width(fonts.standard(), "a") + width(italic, "b") + 2);
    const int closed = penAfter(codes({"a", kItalic, "b", kItalic}));
    EXPECT_EQ(closed, openItalic - 1);
    const int whole = penAfter(codes({"a", kItalic, "b", kItalic, "c"}));
    EXPECT_EQ(whole - plain, width(italic, "b") - width(fonts.standard(), "b") + 1);
    // Liberation Sans slants its letters without widening them.
    EXPECT_EQ(width(italic, "b"), width(fonts.standard(), "b"));
    EXPECT_EQ(openItalic - penAfter(QStringLiteral("ab")), 2);
}

TEST_F(Drawing, BoldAndSizeCodesChangeTheFontForTheRestOfTheText) {
    const TListFont& bold = fonts.font(list_font::kBold, 0, 0);
    EXPECT_EQ(penAfter(codes({"x", kBold, "WWW"})),
              10 + width(fonts.standard(), "x") + width(bold, "WWW"));
    EXPECT_TRUE(canvas->font().bold());
    TListFont larger = fonts.standard();
    larger.font.setPixelSize(17);
    EXPECT_EQ(penAfter(codes({QString(2, QChar(text_code::kLarger)), "WWW"})),
              10 + width(larger, "WWW"));
    EXPECT_EQ(canvas->font().pixelSize(), 17);
    penAfter(codes({QString(3, QChar(text_code::kSmaller))}));
    EXPECT_EQ(canvas->font().pixelSize(), 12);
}

TEST_F(Drawing, SeveralLinesEndOnTheStartingBaseline) {
    const int lh = fonts.line_height();
    canvas->move_to(20, 150);
    GLB_draw_text(*canvas, lh, false, QStringLiteral("one\ntwo\nthree"));
    EXPECT_EQ(canvas->pen, QPoint(20 + width(fonts.standard(), "three"), 150));
    const QImage drawn = finished();
    const QFontMetrics fm(fonts.standard().font, &image);
    // The first line lies two line heights above the baseline.
    const QRect firstRow(20, 150 - 2 * lh - fm.ascent(), 60, fm.ascent());
    EXPECT_GT(countPixels(drawn, firstRow, isDark), 10);
    // Nothing lies above it.
    EXPECT_EQ(countPixels(drawn, QRect(0, 0, 400, firstRow.top() - 1), isDark), 0);
}

TEST_F(Drawing, RedAndGreenCodesToggleAgainstTheCurrentColour) {
    canvas->move_to(10, 40);
    GLB_draw_text(*canvas, fonts.line_height(), false, codes({kRedCode, "MMM"}));
    // Code 16 on a red font turns black.
    canvas->select_font(fonts.font(list_font::kRegular, 0, list_font::kRed));
    canvas->move_to(10, 90);
    GLB_draw_text(*canvas, fonts.line_height(), false, codes({kRedCode, "MMM"}));
    canvas->select_font(fonts.standard());
    canvas->move_to(10, 140);
    GLB_draw_text(*canvas, fonts.line_height(), false, codes({kGreenCode, "MMM", kGreenCode}));
    EXPECT_EQ(canvas->colour, QColor(Qt::black));
    const QImage drawn = finished();
    const QRect first(10, 25, 60, 16), second(10, 75, 60, 16), third(10, 125, 60, 16);
    EXPECT_GT(countPixels(drawn, first, isRed), 20);
    EXPECT_EQ(countPixels(drawn, first, isDark), 0);
    EXPECT_GT(countPixels(drawn, second, isDark), 20);
    EXPECT_EQ(countPixels(drawn, second, isRed), 0);
    EXPECT_GT(countPixels(drawn, third, isTextGreen), 20);
}

TEST_F(Drawing, HighlightFillsTheTextCellCyan) {
    const QFontMetrics fm(fonts.standard().font, &image);
    canvas->move_to(10, 40);
    GLB_draw_text(*canvas, fonts.line_height(), true, QStringLiteral("__"));
    canvas->move_to(10, 100);
    GLB_draw_text(*canvas, fonts.line_height(), false, QStringLiteral("__"));
    const QImage drawn = finished();
    EXPECT_EQ(drawn.pixel(11, 40 - fm.ascent() + 1), QColor(0, 255, 255).rgb());
    EXPECT_EQ(drawn.pixel(11, 100 - fm.ascent() + 1), QColor(Qt::white).rgb());
    // Outside the cell nothing is filled.
    EXPECT_EQ(drawn.pixel(11, 40 + fm.descent() + 2), QColor(Qt::white).rgb());
}

// --- Links --------------------------------------------------------------------

TEST_F(Drawing, UnderlinedTextGetsAGreenStrokeAndCountsAsALink) {
    canvas->move_to(30, 60);
    GLB_draw_text(*canvas, fonts.line_height(), false,
                  codes({"see ", kLink, "Ana Recordista", kLink, " here"}));
    const int start = 30 + width(fonts.standard(), "see ");
    const int end = start + width(fonts.standard(), "Ana Recordista");
    ASSERT_EQ(links.links().size(), 1u);
    EXPECT_EQ(links.links()[0].cell.left(), start);
    EXPECT_EQ(links.links()[0].cell.right(), end - 1);
    const QImage drawn = finished();
    int green = 0;
    for (int x = start; x < end; ++x)
        if (drawn.pixel(x, 61) == QColor(0, 255, 0).rgb()) ++green;
    EXPECT_GT(green, (end - start) * 3 / 4);
    EXPECT_NE(drawn.pixel(start - 3, 61), QColor(0, 255, 0).rgb());

    const QFontMetrics fm(fonts.standard().font, &image);
    const int limit = 60 + 20;
    const int middle = (start + end) / 2;
    EXPECT_TRUE(GLB_point_on_link(links, {middle, 60}, limit));  // on the baseline
    EXPECT_TRUE(GLB_point_on_link(links, {middle, 60 + fm.descent() - 1}, limit));  // row bottom
    EXPECT_TRUE(GLB_point_on_link(links, {start, 55}, limit));       // on the letters
    EXPECT_FALSE(GLB_point_on_link(links, {start - 2, 60}, limit));  // "see "
    EXPECT_FALSE(GLB_point_on_link(links, {end + 2, 60}, limit));    // " here"
    EXPECT_FALSE(GLB_point_on_link(links, {middle, 60 + fm.descent() + 1}, limit));  // below
    // A link whose stroke lies below the caller's limit belongs to a row
    // further down.
    EXPECT_FALSE(GLB_point_on_link(links, {middle, 60}, 60));
    links.forget(QRect(0, 50, 400, 5));
    EXPECT_FALSE(GLB_point_on_link(links, {middle, 60}, limit));
}

TEST_F(Drawing, UnderliningLastsAcrossLinesUntilToggledOff) {
    canvas->move_to(10, 100);
    GLB_draw_text(*canvas, fonts.line_height(), false,
                  codes({kLink, "first line\nsecond", kLink, " plain"}));
    ASSERT_EQ(links.links().size(), 2u);
    EXPECT_EQ(links.links()[0].baseline, 100 - fonts.line_height());
    EXPECT_EQ(links.links()[1].baseline, 100);
    EXPECT_EQ(links.links()[1].cell.left(), 10);
    // Underlined italic text takes no extra step.
    EXPECT_EQ(penAfter(codes({kLink, kItalic, "b", kItalic, kLink})),
              10 + width(fonts.font(list_font::kItalic, 0, 0), "b") - 1);
}

// --- Wrapping -------------------------------------------------------------------

class Wrapping : public ::testing::Test {
  protected:
    Wrapping() { canvas.select_font(fonts.standard()); }
    int width(const QString& text) const { return canvas.metrics().horizontalAdvance(text); }
    TListFonts fonts{15};
    TTextCanvas canvas;
};

TEST_F(Wrapping, FourPixelMarginDecidesTheBreak) {
    const int two = width("alpha beta");
    QString text = QStringLiteral("alpha beta gamma");
    TWrapResult r = GLB_wrap_text(canvas, two + 3, text);
    EXPECT_TRUE(text.startsWith(QStringLiteral("alpha\nbeta"))) << text.toStdString();
    text = QStringLiteral("alpha beta gamma");
    r = GLB_wrap_text(canvas, two + 5, text);
    EXPECT_EQ(text, QStringLiteral("alpha beta\ngamma"));
    EXPECT_EQ(r.lines, 2);
    EXPECT_EQ(r.widest, two);
    text = QStringLiteral("alpha beta gamma");
    r = GLB_wrap_text(canvas, 1000, text);
    EXPECT_EQ(text, QStringLiteral("alpha beta gamma"));
    EXPECT_EQ(r.lines, 1);
    EXPECT_EQ(r.widest, width("alpha beta gamma"));
}

TEST_F(Wrapping, CodesAreLeftOutOfTheMeasure) {
    const int two = width("alpha beta");
    QString text = codes({kItalic, "alpha", kItalic, " ", kBold, "beta", kBold, " gamma"});
    const TWrapResult r = GLB_wrap_text(canvas, two + 5, text);
    EXPECT_EQ(r.lines, 2);
    EXPECT_EQ(text.section(u'\n', 1), QStringLiteral("gamma"));
}

TEST_F(Wrapping, LongWordsStayAndLineFeedsCount) {
    QString text = QStringLiteral("Supercalifragilistic ox");
    TWrapResult r = GLB_wrap_text(canvas, 30, text);
    EXPECT_EQ(text, QStringLiteral("Supercalifragilistic\nox"));
    EXPECT_EQ(r.lines, 2);
    EXPECT_EQ(r.widest, width("ox"));

    text = QStringLiteral("one\ntwo three");
    r = GLB_wrap_text(canvas, 1000, text);
    EXPECT_EQ(r.lines, 2);
    EXPECT_EQ(text, QStringLiteral("one\ntwo three"));
    // The width of each line counts from its own start.
    text = QStringLiteral("a\nbbbb bbbb");
    r = GLB_wrap_text(canvas, width("bbbb bbbb") + 5, text);
    EXPECT_EQ(r.lines, 2);
}

TEST_F(Wrapping, AtMost501CharactersAreMeasured) {
    const QString many(600, u'i');
    EXPECT_EQ(GLB_plain_text_width(canvas, many), width(QString(501, u'i')));
    EXPECT_EQ(GLB_plain_text_width(canvas, codes({kBold, QString(600, u'i')})),
              width(QString(501, u'i')));
}
