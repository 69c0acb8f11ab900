#pragma once

#include "listview/fold_snapshot.h"

#include <QAbstractScrollArea>
#include <functional>
#include <memory>

class TShowStrings;
class SHST_TClassShowStringsData;
struct TListWindowServices;

// The scrolling surface of a list window: paints its TShowStrings and turns
// mouse, wheel and keys into its operations.
class TShowForm : public QAbstractScrollArea {
    Q_OBJECT
  public:
    // The services must outlive the list (its window keeps them).
    explicit TShowForm(const TListWindowServices& services, QWidget* parent = nullptr);
    ~TShowForm() override;

    // A copy of another window's list, its first row head selected.
    void set_up_as_copy(const TShowStrings& other);
    // A list built from the settings with the snapshot's fold state; the
    // view starts at the snapshot's top row.
    void set_up(const SHST_TClassShowStringsData& settings, const TFoldSnapshot& snapshot);

    TShowStrings& strings() { return *strings_; }
    const TShowStrings& strings() const { return *strings_; }
    bool has_strings() const { return strings_ != nullptr; }

    void fold_all();
    void change_names(const SHST_TClassShowStringsData& settings);
    TFoldSnapshot take_snapshot() const;
    // After a change of the chain from outside (find): the range, then a
    // full repaint.
    void list_changed();
    void scroll_to(int listY);
    int scroll_position() const;
    int quarter_height() const { return quarter_height_; }

  signals:
    // The caption text (current family and species) for the status bar.
    void caption_changed(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    struct TViewBand view_band() const;
    QPoint scroll_offset() const;
    void update_scroll_range();
    void after_change(const struct TListChange& change);
    void update_status();
    void apply_geometry();
    void beep_if(bool failed);
    // Key handlers by group; each says whether the key was its own.
    bool fold_key(const QKeyEvent& event);
    bool navigation_key(const QKeyEvent& event);
    bool command_key(const QKeyEvent& event);
    void move_selection(bool forward);
    // Ctrl with numpad +/-, Page Up/Down and the arrows send volume steps
    // (louder when positive).
    void volume_keys(int steps);

    const TListWindowServices& services_;
    std::unique_ptr<TShowStrings> strings_;
    int quarter_height_ = 0;
    int initial_scroll_ = 0;
    bool initial_scroll_pending_ = false;
    bool range_update_queued_ = false;
};
