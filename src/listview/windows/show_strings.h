#pragma once

#include "listview/formatted_text.h"
#include "listview/show_strings_model.h"

#include <QPoint>
#include <QRect>
#include <memory>
#include <optional>
#include <vector>

class QPainter;
class QWidget;
class TListActions;
struct TListWindowServices;

// What a click or key did to the list.
struct TListChange {
    bool changed = false;  // lines were added or removed
    bool selection_changed = false;
    int scroll_by = 0;     // suggested scroll down, 0 for none
    int invalid_from = 0;  // list y from which the view must be repainted
};

struct TSelectionMove {
    bool end_reached = false;      // nothing to move to; the caller beeps
    std::optional<int> scroll_to;  // a new scroll position, when the selection left the view
};

// The recording buttons a list creates when their lines are first painted.
// Until the players exist, no button is made and the line paints nothing.
class TRecordingButtonFactory {
  public:
    virtual ~TRecordingButtonFactory() = default;
    // Makes the button for the block, a child of the host at the point (view
    // coordinates); none when buttons are not available.
    virtual std::unique_ptr<TRecordingButton> create(QWidget* host, TRecordingButtonBlock& block,
                                                     QPoint viewPoint) {
        (void)host, (void)block, (void)viewPoint;
        return nullptr;
    }
    // The width the pen moves past a button.
    virtual int total_width() const { return 0; }
    // The width the pen will move past the block's button, before it is made.
    virtual int width_for(const TRecordingButtonBlock& block) const {
        (void)block;
        return total_width();
    }
};

// The species list of one window: the chain of lines with the painting,
// hit testing, clicking, selection and keyboard rules that turn it into a
// list the user works with. Coordinates are list coordinates (0 at the top
// of the first line) unless they say otherwise.
class TShowStrings : public TRecordingButtonList {
  public:
    // The list opens its windows, makes its recording buttons and takes its
    // small pictures through the services, which must outlive it.
    TShowStrings(const TListWindowServices& services, const SHST_TClassShowStringsData& settings,
                 const TListGeometry& geometry);
    // A copy of another window's list (New Window).
    TShowStrings(const TShowStrings& other);
    ~TShowStrings() override;

    TShowStringsModel& model() { return *model_; }
    const TShowStringsModel& model() const { return *model_; }
    void set_host(QWidget* host) { host_ = host; }

    // --- Painting ----------------------------------------------------------
    // Paints the lines that meet the rectangle; the painter draws in list
    // coordinates. `scroll` turns list into view coordinates for buttons.
    void paint(QPainter& painter, const QRect& listRect, bool highlightSelection, QPoint scroll);
    // The scroll range: all advances but the last line's, plus 100.
    int scroll_range() const;
    // The bitmap table entry a line draws (0 for none).
    int bitmap_index(const TRecordShowStringData& line) const;
    // Whether the last paint drew a thumbnail.
    bool picture_drawn() const { return picture_drawn_; }
    // The right end of the widest line painted so far, in list pixels: the
    // sideways scroll reaches it (a long name at a large text size).
    int widest_drawn() const { return widest_drawn_; }

    // --- Mouse -------------------------------------------------------------
    bool over_clickable(QPoint point) const;
    TListChange click(QPoint point, const TViewBand& view);
    // Closes the small information windows this list opened; done first on
    // every click and key.
    void close_information_windows();

    // --- Keyboard and selection --------------------------------------------
    // Folds or unfolds the selected row (only opening or only closing when
    // asked); nothing when the selection is outside the view band.
    TListChange key_toggle(bool openOnly, bool closeOnly, const TViewBand& view);
    TSelectionMove move_selection(bool forward, const TViewBand& view, int quarterHeight);
    void select_first_row_head();
    void select_last_row_head();
    void select_line(TRecordShowStringData* line);
    TRecordShowStringData* selected() const { return model_->selected(); }
    bool in_view_band(const TRecordShowStringData& line, const TViewBand& view) const;

    // --- Whole-list operations ---------------------------------------------
    void fold_all();
    void change_name_settings(const SHST_TClassShowStringsData& settings);
    TFoldSnapshot take_snapshot(const TViewBand& view) const;
    void apply_snapshot(const TFoldSnapshot& snapshot);
    // The chain was changed from outside (a find that unfolded rows).
    void chain_changed();
    // A number that changes with every change of the chain (a fold, a
    // rebuild, another list): views of the lines, such as the one screen
    // readers read, know from it when to look at them again.
    int lines_version() const { return lines_version_; }

    // --- Commands on the selection (false: the caller beeps) ----------------
    bool show_map_of_selection();
    bool show_picture_of_selection();
    bool show_literature_of_selection(QPoint scroll);

    // The current family's first name, and ", " and the current species'
    // first name when a species is current.
    QString caption_text() const;

    // Top (before its advance) and reference y (after it) of a line.
    int top_of(const TRecordShowStringData& line) const;
    int reference_y_of(const TRecordShowStringData& line) const;
    // The first name line of a row head (the class title is its own).
    static TRecordShowStringData* first_name_line(TRecordShowStringData* rowHead);

    // --- The window's recording buttons --------------------------------------
    void shift_buttons(int baseId, int dy) override;
    void remove_button(int id) override;
    int button_width(const TRecordingButtonBlock& block) const override {
        return button_factory_.width_for(block);
    }

  private:
    struct LineAt {
        TRecordShowStringData* line = nullptr;
        int reference_y = 0;
    };
    // The first line whose reference y lies below `y`, found from the
    // cached top line; the cache moves to it.
    LineAt line_near(int y) const;
    void reset_cache();
    void paint_line(QPainter& painter, TTextCanvas& canvas, TRecordShowStringData& line, int& penX,
                    int& penY, bool highlightSelection, QPoint scroll);
    QRect bitmap_rect(const TRecordShowStringData& line, int referenceY) const;
    bool text_hit(const TRecordShowStringData& line, int referenceY, QPoint point) const;
    TRecordShowStringData* row_toggle(TRecordShowStringData* line) const;
    TRecordShowStringData* row_head_before(TRecordShowStringData* line) const;
    void find_current_rows_above(TRecordShowStringData* from);
    struct ClickWalk;
    void make_row_current(TRecordShowStringData& line, ClickWalk& walk);
    bool click_bitmap(TRecordShowStringData& line, int reference, ClickWalk& walk);
    bool click_thumbnail(const TRecordShowStringData& line, int reference, ClickWalk& walk);
    void click_link(const TRecordShowStringData& line, ClickWalk& walk);
    void toggle_from_click(TRecordShowStringData* toggle, int toggleY, ClickWalk& walk);
    void select_clicked_row(ClickWalk& walk);
    // The toggle's y (as y_of gives it) when the caller has just walked to
    // it; otherwise it is found from the top.
    TListChange apply_toggle(TRecordShowStringData* toggle, const TViewBand& view,
                             std::optional<int> toggleY = std::nullopt);
    const Tspecies* selection_species() const;
    bool selection_is_species_or_recording() const;

    std::unique_ptr<TShowStringsModel> model_;
    TListActions& actions_;
    TRecordingButtonFactory& button_factory_;
    QWidget* host_ = nullptr;
    mutable TRecordShowStringData* cached_top_ = nullptr;
    mutable int cached_top_reference_y_ = 0;
    bool picture_drawn_ = false;
    int widest_drawn_ = 0;
    TLinkRegister links_;
    std::vector<std::pair<int, TRecordingButton*>> buttons_;
    int lines_version_ = 0;
};
