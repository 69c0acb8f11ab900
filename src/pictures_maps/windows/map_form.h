#pragma once

// The distribution map window: a taxon's range on its base map, the dot of
// a place, and the texts about both below the map.

#include "listview/formatted_text.h"
#include "pictures_maps/map_picture.h"
#include "pictures_maps/windows/map_texts.h"

#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <optional>

class QPushButton;
class QScrollArea;
class Tspecies;
class Tlocality;
class TMapCanvas;

class TMapForm : public QWidget {
    Q_OBJECT
  public:
    explicit TMapForm(QWidget* opener = nullptr);
    ~TMapForm() override;

    // Builds the picture and texts, lays the window out and shows it.
    void ShowMap(const Tspecies* species, const Tlocality* locality, bool releaseOnClose,
                 const QString& caption);

    const TMapLayout& layout() const { return layout_; }
    const QImage& picture() const { return picture_; }
    // Where the map is drawn in the canvas (the margins, or centred when
    // maximised).
    QPoint map_origin() const;
    QWidget* canvas() const;
    const Tlocality* locality() const { return locality_; }

  protected:
    // The base map row for the window (the localities map chooses its own).
    virtual int choose_row(const Tspecies* species, const Tlocality* locality) const;
    // Drawing over the map, after the window's own.
    virtual void paint_over(QPainter& painter) { (void)painter; }
    virtual void canvas_mouse_move(QPoint canvasPoint) { (void)canvasPoint; }
    virtual bool canvas_mouse_press(QPoint canvasPoint);
    virtual void after_build() {}
    // Scrolls the map so that the canvas point is in sight with a margin.
    void ensure_visible(QPoint canvasPoint);

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    friend class TMapCanvas;
    void build_picture(const Tspecies* species);
    void lay_out(const QString& caption);
    void paint_canvas(QPainter& painter);
    int text_block_height(int width) const;
    void draw_legend();
    void open_site_description();
    void scroll_by(int dx, int dy);

    QPointer<QWidget> opener_;
    const Tlocality* locality_ = nullptr;
    std::optional<TGeoPoint> point_;
    TMapLayout layout_;
    QImage picture_;
    TPlaceOnMap place_;
    TMapTexts texts_;
    QScrollArea* scroll_ = nullptr;
    TMapCanvas* canvas_ = nullptr;
    QPushButton* ok_ = nullptr;
    TLinkRegister links_;
    int text_top_ = 0;
    int locality_text_bottom_ = 0;
    QTimer scroll_to_bottom_;
};
