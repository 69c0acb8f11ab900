#include "listview/list_fonts.h"

#include "app/font_helpers.h"
#include "app/globals.h"
#include "app/settings.h"
#include "app/settings_general.h"

#include <QCoreApplication>
#include <algorithm>
#include <memory>

namespace {
constexpr int kMinimumBoldHeight = 14;
}  // namespace

TListFonts::TListFonts(int baseHeight) : base_height_(baseHeight) {
    rebuild();
}

int TListFonts::index(int style, int step, int colour) {
    return (style * 5 + (step + 2)) * 2 + colour;
}

int TListFonts::height_for_step(int baseHeight, int step) {
    // The larger steps grow by two pixels each, the smaller ones by one.
    return step > 0 ? baseHeight + 2 * step : baseHeight + step;
}

const TListFont& TListFonts::font(int style, int step, int colour) const {
    style = std::clamp(style, 0, 2);
    step = std::clamp(step, -2, 2);
    colour = std::clamp(colour, 0, 1);
    return fonts_[static_cast<size_t>(index(style, step, colour))];
}

void TListFonts::set_base_height(int baseHeight) {
    base_height_ = baseHeight;
    rebuild();
}

void TListFonts::rebuild() {
    for (int style = 0; style < 3; ++style) {
        for (int step = -2; step <= 2; ++step) {
            QFont face(QStringLiteral("Arial"));
            int height = height_for_step(base_height_, step);
            if (style == list_font::kBold) height = std::max(height, kMinimumBoldHeight);
            face.setPixelSize(std::max(1, height));
            face.setItalic(style == list_font::kItalic);
            face.setBold(style == list_font::kBold);
            // Text is laid out in whole pixels, as the metrics are.
            face.setHintingPreference(QFont::PreferFullHinting);
            fonts_[static_cast<size_t>(index(style, step, list_font::kNormal))] = {face, Qt::black};
            fonts_[static_cast<size_t>(index(style, step, list_font::kRed))] = {face,
                                                                                QColor(255, 0, 0)};
        }
    }
    line_height_ = GLB_font_height(standard().font);
    average_width_ = GLB_average_char_width(standard().font);
    small_height_ = GLB_font_height(font(list_font::kRegular, -1, list_font::kNormal).font);
}

namespace {
std::unique_ptr<TListFonts>& theTable() {
    static std::unique_ptr<TListFonts> table;
    return table;
}
}  // namespace

TListFonts& GLB_list_fonts() {
    auto& table = theTable();
    if (!table) {
        table = std::make_unique<TListFonts>(GLB_read_text_size());
        // Fonts must go while the application that made them still exists.
        qAddPostRoutine([] { theTable().reset(); });
    }
    return *table;
}

int GLB_read_text_size() {
    const int size =
        GLB_read_int(GLB().default_section, settings::general::kTextSize, list_font::kDefaultTextSize);
    return size >= list_font::kMinTextSize && size <= list_font::kMaxTextSize
               ? size
               : list_font::kDefaultTextSize;
}

void GLB_write_text_size() {
    GLB_write_int(GLB().default_section, settings::general::kTextSize, GLB_list_fonts().base_height());
}
