#pragma once

#include "listview/formatted_text.h"
#include "listview/list_fonts.h"
#include "listview/show_strings_model.h"

#include <algorithm>

class Tsubspecies;

// Makes the lines of one block and appends them after an insertion point.
class TShowStringsModel::Builder {
  public:
    using Line = TRecordShowStringData;

    Builder(TShowStringsModel& model, Line* after)
        : m_(model), at_(after), canvas_(), lh_(model.line_height()) {}

    Line* last() const { return at_; }
    int added_height() const { return added_; }

    Line* add(int kind, int advance) {
        auto line = std::make_unique<Line>(kind, advance);
        added_ += advance;
        at_ = m_.insert_after(at_, std::move(line));
        return at_;
    }
    Line* add_text(int kind, int advance, int style, int step, int colour, const QString& text) {
        Line* line = add(kind, advance);
        line->font = &m_.fonts_.font(style, step, colour);
        line->text = text;
        return line;
    }
    // A line whose text is broken to the width left of its indent, or of
    // where the pen already stands on its row when that lies further right.
    Line* add_wrapped(int kind, int style, int step, const QString& text, bool continuesRow,
                      int extraShift = 0, int penX = 0) {
        Line* line = add_text(kind, 0, style, step, list_font::kNormal, text);
        const TListGeometry& g = m_.geometry_;
        canvas_.select_font(*line->font);
        const int available = g.client_width - g.vertical_scroll_bar_width -
                              std::max(line_kind::indent(kind) + extraShift, penX);
        // Most texts are short: when even the widest letters would fit,
        // there is nothing to break and nothing to measure.
        const bool surelyFits = !line->text.contains(QChar(text_code::kLineFeed)) &&
                                line->text.size() * canvas_.metrics().maxWidth() < available - 4;
        const int lines = surelyFits ? 1 : GLB_wrap_text(canvas_, available, line->text).lines;
        set_advance(line, continuesRow ? (lines - 1) * lh_ : lines * lh_);
        line->indent += extraShift;
        return line;
    }
    // Changes the advance of a line already in the chain.
    void set_advance(Line* line, int advance) {
        added_ += advance - line->advance;
        m_.total_height_ += advance - line->advance;
        line->advance = advance;
        m_.forget_y_anchor();
    }
    void belong_to(Line* line, const Tfamily* family, int familyIndex) {
        line->family = family;
        line->family_index = familyIndex;
    }

    void class_rows();
    void family_rows(int animalClass);
    void species_rows(const Tfamily& family, int familyIndex);
    void species_block(Line* toggle);
    void recording_details(Line* toggle);
    void row_names(Line* head);

  private:
    void names(const QString& scientific, const QString& otherLanguage, int scientificKind,
               int otherKind);
    void species_row(const Tspecies& species, int speciesIndex);
    void stamp(Line* line, const Tspecies* species, int speciesIndex, const Tcupaitem* recording);

    // The steps of a species block, in the order their lines follow each other.
    struct SpeciesBlock;
    void thumbnail_and_notes(SpeciesBlock& block);
    void recordings(SpeciesBlock& block);
    void recording_row(SpeciesBlock& block, const Tcupaitem& item, int n, bool headedHere,
                       int sourceMark);
    int pen_after_text(int penX, const Line& line);
    void subspecies_heading(SpeciesBlock& block, const Tsubspecies* subspecies);
    void pictured_subspecies_headings(SpeciesBlock& block);
    void unrecorded_subspecies(const SpeciesBlock& block);
    void next_row_below_thumbnail(const SpeciesBlock& block);

    TShowStringsModel& m_;
    Line* at_;
    TTextCanvas canvas_;
    int lh_;
    int added_ = 0;
    const Tfamily* family_ = nullptr;
    int family_index_ = 0;
};
