#pragma once

#include "listview/fold_snapshot.h"
#include "listview/show_string_record.h"
#include "listview/show_strings_data.h"

#include <memory>
#include <optional>
#include <vector>

class TListFonts;
class TListWords;
class Tfamily;

// What the layout of lines needs of the window that shows them.
struct TListGeometry {
    int client_width = 684;
    int vertical_scroll_bar_width = 16;
    int horizontal_scroll_bar_height = 16;
    // Thumbnails are shown on displays large enough for them.
    bool thumbnails_enabled = true;
};

// The part of the list in view, in list coordinates (0 is the top of the
// first line).
struct TViewBand {
    int top = 0;
    int bottom = 0;
    int left = 0;  // the horizontal scroll position
};

struct TToggleResult {
    bool changed = false;
    int height_change = 0;     // of the total height, below the toggle
    int suggested_scroll = 0;  // pixels to scroll down; 0 for none
};

// The folded species list as a chain of lines: built from the display
// settings, unfolded and folded item by item, with the selection and the
// current family and species rows that folding has to keep valid.
class TShowStringsModel {
  public:
    // The small pictures come from `pictures` (none without it); it must
    // outlive the list.
    explicit TShowStringsModel(const SHST_TClassShowStringsData& settings,
                               const TListGeometry& geometry = {},
                               TSmallPictureSource* pictures = nullptr);
    // A copy of another list: every line (buttons are made again when
    // painted), the settings and the geometry; nothing is selected.
    TShowStringsModel(const TShowStringsModel& other);
    TShowStringsModel& operator=(const TShowStringsModel&) = delete;
    ~TShowStringsModel();

    // The window's recording buttons; none until the view sets it.
    void set_button_list(TRecordingButtonList* buttons) { buttons_ = buttons; }
    void set_geometry(const TListGeometry& geometry) { geometry_ = geometry; }
    const TListGeometry& geometry() const { return geometry_; }
    TSmallPictureSource& pictures() const { return *pictures_; }
    const SHST_TClassShowStringsData& settings() const { return settings_; }

    // The class rows or family rows of everything visible, all folded; the
    // first row head is selected.
    void build();

    // --- The chain ----------------------------------------------------------
    TRecordShowStringData* first_line() const { return first_; }
    TRecordShowStringData* last_line() const { return last_; }
    int line_count() const { return line_count_; }
    // The sum of all advances.
    int total_height() const { return total_height_; }
    // The y the pen reaches at the line (the sum of the advances up to and
    // including it).
    int y_of(const TRecordShowStringData* line) const;
    // The family row (species index 0) or species row with the given
    // indices and the height above its toggle; none when it is not in the
    // chain.
    struct TFoundRow {
        TRecordShowStringData* head = nullptr;
        int height_above = 0;
    };
    TFoundRow find_row(int familyIndex, int speciesIndex) const;

    // --- Folding -----------------------------------------------------------
    // Opens or closes the block of a toggle line (kinds 1, 3, 7, 24).
    TToggleResult toggle(TRecordShowStringData* toggleLine, const TViewBand& view);
    // The same for a toggle whose y (as y_of gives it) the caller knows, as
    // the view does for the lines it has just walked; saves the walk from
    // the top of a long list.
    TToggleResult toggle(TRecordShowStringData* toggleLine, const TViewBand& view, int toggleY);
    // Folds every class and family; selects the first row head.
    void fold_all();
    // Rebuilds the name lines of every row under the new settings.
    void change_name_settings(const SHST_TClassShowStringsData& settings);
    // Makes every line anew under the settings, with every class, family,
    // species and recording that was open opened again and the selection on
    // its line where that line is made again. The names reach further than
    // the name lines (other names, subspecies headings, the other species of
    // a recording), so a change of them ends here. Returns the list y that
    // shows the row at viewTop as it was shown.
    int refresh_lines(const SHST_TClassShowStringsData& settings, int viewTop);

    TFoldSnapshot take_snapshot(const TViewBand& view) const;
    // Opens the snapshot's classes and families and selects its row.
    void apply_snapshot(const TFoldSnapshot& snapshot);

    // --- Selection and the current rows ------------------------------------
    TRecordShowStringData* selected() const { return selected_; }
    void select(TRecordShowStringData* line) { selected_ = line; }
    // The first class title, or the first family's first name line.
    TRecordShowStringData* first_row_head_selection() const;
    void select_first_row_head() { selected_ = first_row_head_selection(); }
    TRecordShowStringData* current_family() const { return current_family_; }
    TRecordShowStringData* current_species() const { return current_species_; }
    void set_current_family(TRecordShowStringData* marker) { current_family_ = marker; }
    void set_current_species(TRecordShowStringData* number) { current_species_ = number; }

    // --- Layout values ------------------------------------------------------
    int line_height() const;
    int spacer_height() const;  // S
    // The text the painter draws for the line (numbers, titles, percentages
    // and the ". " after a name that another follows).
    QString display_text(const TRecordShowStringData& line) const;

  private:
    class Builder;
    friend class Builder;

    TRecordShowStringData* insert_after(TRecordShowStringData* after,
                                        std::unique_ptr<TRecordShowStringData> line);
    // Frees the lines after `after` up to (not including) `stop`; the
    // removed height.
    int remove_between(TRecordShowStringData* after, TRecordShowStringData* stop);
    void free_line(TRecordShowStringData* line);
    void clear();

    TToggleResult unfold(TRecordShowStringData* toggleLine, const TViewBand& view,
                         std::optional<int> toggleY);
    TToggleResult fold(TRecordShowStringData* toggleLine);
    void shift_buttons(int baseId, int dy);
    int base_button_id(const TRecordShowStringData* toggleLine) const;

    const std::vector<const Tfamily*>& visible_families() const;
    const TListWords& words() const;

    SHST_TClassShowStringsData settings_;
    TListGeometry geometry_;
    TSmallPictureSource* pictures_;
    TListFonts& fonts_;
    TRecordingButtonList* buttons_ = nullptr;

    TRecordShowStringData* first_ = nullptr;
    TRecordShowStringData* last_ = nullptr;
    int line_count_ = 0;
    int total_height_ = 0;

    TRecordShowStringData* selected_ = nullptr;
    TRecordShowStringData* current_family_ = nullptr;
    TRecordShowStringData* current_species_ = nullptr;

    // The line y_of last answered for and its y: the next question is
    // nearly always about a neighbour (a key moves the selection by a row),
    // which is then a few steps away instead of a walk from the top. Every
    // change of the chain or of an advance forgets it.
    mutable const TRecordShowStringData* y_anchor_ = nullptr;
    mutable int y_anchor_y_ = 0;
    void forget_y_anchor() { y_anchor_ = nullptr; }
    int y_of_from_top(const TRecordShowStringData* target) const;

    mutable std::vector<const Tfamily*> visible_families_;
    mutable bool visible_families_known_ = false;
    mutable std::unique_ptr<TListWords> words_;
};

// The button id of recording n of species j in family i.
inline int GLB_recording_button_id(int familyIndex, int speciesIndex, int n) {
    return (familyIndex * 400 + speciesIndex) * 500 + n;
}
