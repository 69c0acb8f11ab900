#pragma once

// The frames in which the user chooses the countries the lists show, by
// clicking units on and off on a contour map.

#include "data/areas.h"

#include <QFrame>
#include <QImage>
#include <QPoint>
#include <vector>

class QPushButton;

// One unit of the frame: its flags and the points of its pieces.
struct TAreaItemHandler {
    bool selected = false;
    bool alternate_colours = false;
    bool offered = true;
    std::vector<QPoint> seed_points;
};

class TFrameSelectArea : public QFrame, public TAreaSelectionFrame {
    Q_OBJECT
  public:
    ~TFrameSelectArea() override;

    int item_count() const override { return static_cast<int>(items_.size()); }
    bool item_selected(int index) const override;
    void set_item_selected(int index, bool selected) override;
    void repaint_items() override;

    const TAreaItemHandler& item(int index) const { return items_[static_cast<size_t>(index)]; }
    const QImage& map_image() const { return image_; }
    QWidget* image() const { return image_widget_; }
    QPushButton* Button_clear_all = nullptr;
    QPushButton* Button_select_all = nullptr;

    // A click on the map at a pixel of the bitmap.
    void click_at(QPoint pixel);
    void clear_all() { set_all(false); }
    void select_all() { set_all(true); }
    // Whether the frame may close with its choice.
    virtual bool may_close() const;

  signals:
    void selection_changed();

  protected:
    TFrameSelectArea(QWidget* parent, int unitCount, const QString& bitmapResource, bool alternate);
    TAreaItemHandler& item_ref(int index) { return items_[static_cast<size_t>(index)]; }
    // Lays the image and the buttons out for the loaded bitmap.
    void finish_layout();

  private:
    void set_all(bool selected);
    void paint_item(int index);
    QRgb colour_of(const TAreaItemHandler& item) const;

    std::vector<TAreaItemHandler> items_;
    QImage bitmap_;  // the contour map as loaded
    QImage image_;   // as painted
    QWidget* image_widget_ = nullptr;
    bool allows_alternate_ = false;
};

class TFrameSelectBoliviaEtcArea : public TFrameSelectArea {
    Q_OBJECT
  public:
    explicit TFrameSelectBoliviaEtcArea(QWidget* parent = nullptr);
    bool may_close() const override;
};

class TFrameSelectTropicalAsiaArea : public TFrameSelectArea {
    Q_OBJECT
  public:
    explicit TFrameSelectTropicalAsiaArea(QWidget* parent = nullptr);
};

class TFrameSelectCountryArea : public TFrameSelectArea {
    Q_OBJECT
  public:
    explicit TFrameSelectCountryArea(QWidget* parent = nullptr);
};

// Creates the frame of an area kind (an area's frame_kind()) in the host at
// left (0: centred); none for TAreaFrameKind::None.
TFrameSelectArea* GLB_create_area_frame(TAreaFrameKind kind, QWidget* host, int left);
