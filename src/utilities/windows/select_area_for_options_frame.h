#pragma once

#include "utilities/windows/options_frame.h"

#include <memory>

class QLabel;
class TArea;
class TFrameSelectArea;

// The area page: the selection map of the list's area class, centred, or
// (in editions that explain it) near the left with the note beside it.
class TFrameSelectAreaForOptions : public TOptionsFrame {
    Q_OBJECT
  public:
    explicit TFrameSelectAreaForOptions(QWidget* parent = nullptr);
    ~TFrameSelectAreaForOptions() override;
    QString caption() const { return caption_; }

    // Makes the map for the list's area and loads its selection.
    void fill(const TOptionsContext& context) override;
    // The new selection into the list's area; a change rebuilds the list.
    void store(TOptionsContext& context) override;
    // The map says why when its selection cannot be taken.
    bool valid() const;

    TFrameSelectArea* area_frame() const { return area_frame_; }
    QLabel* explanation() const { return explanation_; }
    // The size the page needs to show the map and the note whole.
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override { return minimumSizeHint(); }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void place();

    QString caption_;
    TFrameSelectArea* area_frame_ = nullptr;
    QLabel* explanation_ = nullptr;
};
