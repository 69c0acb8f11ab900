#include "pictures_maps/windows/select_area_frame.h"

#include "formats/textfile.h"
#include "pictures_maps/area_seed_points.h"
#include "pictures_maps/contour_fill.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

namespace {

class TAreaImage : public QWidget {
  public:
    TAreaImage(TFrameSelectArea* frame, const QImage& image)
        : QWidget(frame), frame_(frame), image_(image) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(0, 0, image_);
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) frame_->click_at(event->position().toPoint());
    }

  private:
    TFrameSelectArea* frame_;
    const QImage& image_;
};

QString frameText(int entry) {
    return GLB_text(QStringLiteral("SELECT AREA"), entry + 1);
}

}  // namespace

TFrameSelectArea::TFrameSelectArea(QWidget* parent, int unitCount, const QString& bitmapResource,
                                   bool alternate)
    : QFrame(parent), items_(static_cast<size_t>(unitCount)), allows_alternate_(alternate) {
    setWindowTitle(frameText(0));
    if (!bitmapResource.isEmpty()) bitmap_ = GLB_contour_map(bitmapResource);
    image_ = bitmap_;
    image_widget_ = new TAreaImage(this, image_);
    Button_clear_all = new QPushButton(frameText(1), this);
    Button_select_all = new QPushButton(frameText(2), this);
    connect(Button_clear_all, &QPushButton::clicked, this, [this] { clear_all(); });
    connect(Button_select_all, &QPushButton::clicked, this, [this] { select_all(); });
}

TFrameSelectArea::~TFrameSelectArea() = default;

void TFrameSelectArea::finish_layout() {
    image_widget_->setGeometry(0, 0, image_.width(), image_.height());
    resize(image_.size());
    const int top = image_.height() - 50 - Button_clear_all->sizeHint().height();
    Button_clear_all->move(10, top);
    Button_select_all->move(10 + Button_clear_all->sizeHint().width() + 10, top);
    repaint_items();
}

bool TFrameSelectArea::item_selected(int index) const {
    return index >= 0 && index < item_count() && items_[static_cast<size_t>(index)].selected;
}

void TFrameSelectArea::set_item_selected(int index, bool selected) {
    if (index >= 0 && index < item_count()) items_[static_cast<size_t>(index)].selected = selected;
}

QRgb TFrameSelectArea::colour_of(const TAreaItemHandler& item) const {
    if (!item.offered) return unit_colour::kNotOffered;
    if (item.alternate_colours)
        return item.selected ? unit_colour::kAlternateSelected : unit_colour::kAlternateNotSelected;
    return item.selected ? unit_colour::kSelected : unit_colour::kNotSelected;
}

void TFrameSelectArea::paint_item(int index) {
    const TAreaItemHandler& item = items_[static_cast<size_t>(index)];
    for (const QPoint& seed : item.seed_points) GLB_flood_fill(image_, seed, colour_of(item));
}

void TFrameSelectArea::repaint_items() {
    image_ = bitmap_;
    for (int i = 0; i < item_count(); ++i) paint_item(i);
    image_widget_->update();
}

void TFrameSelectArea::set_all(bool selected) {
    for (int i = 0; i < item_count(); ++i) {
        TAreaItemHandler& item = items_[static_cast<size_t>(i)];
        if (!item.offered) continue;
        item.selected = selected;
        paint_item(i);
    }
    image_widget_->update();
    emit selection_changed();
}

void TFrameSelectArea::click_at(QPoint pixel) {
    if (!image_.rect().contains(pixel)) return;
    const QRgb here = image_.pixel(pixel) | 0xFF000000;
    QRgb to = 0;
    if (here == unit_colour::kNotSelected) to = unit_colour::kSelected;
    else if (here == unit_colour::kSelected) to = unit_colour::kNotSelected;
    else if (allows_alternate_ && here == unit_colour::kAlternateNotSelected) to = unit_colour::kAlternateSelected;
    else if (allows_alternate_ && here == unit_colour::kAlternateSelected) to = unit_colour::kAlternateNotSelected;
    else return;
    GLB_flood_fill(image_, pixel, to);
    // The click painted one piece; a unit whose pieces now disagree with
    // its flag changes as a whole.
    for (int i = 0; i < item_count(); ++i) {
        TAreaItemHandler& item = items_[static_cast<size_t>(i)];
        if (!item.offered) continue;
        const QRgb on = item.alternate_colours ? unit_colour::kAlternateSelected : unit_colour::kSelected;
        for (const QPoint& seed : item.seed_points) {
            if (!image_.rect().contains(seed)) continue;
            const bool shownSelected = (image_.pixel(seed) | 0xFF000000) == on;
            if (shownSelected != item.selected) {
                item.selected = shownSelected;
                paint_item(i);
                break;
            }
        }
    }
    image_widget_->update();
    emit selection_changed();
}

bool TFrameSelectArea::may_close() const {
    return std::any_of(items_.begin(), items_.end(), [](const TAreaItemHandler& i) { return i.selected; });
}

TFrameSelectBoliviaEtcArea::TFrameSelectBoliviaEtcArea(QWidget* parent)
    : TFrameSelectArea(parent, TBoliviaEtcArea::UnitCount, QStringLiteral("SOUTH_AMERICA_CONTOURS"), true) {
    Button_clear_all->hide();
    Button_select_all->hide();
    for (const TUnitSeedPoints& unit : GLB_bolivia_etc_seed_points())
        item_ref(unit.unit).seed_points = unit.points;
    item_ref(TBoliviaEtcArea::OT).alternate_colours = true;
    finish_layout();
}

bool TFrameSelectBoliviaEtcArea::may_close() const {
    using A = TBoliviaEtcArea;
    for (int unit : {A::PE, A::BO, A::PA, A::OT})
        if (item_selected(unit)) return true;
    return false;
}

TFrameSelectTropicalAsiaArea::TFrameSelectTropicalAsiaArea(QWidget* parent)
    : TFrameSelectArea(parent, TTropicalAsiaArea::UnitCount, QStringLiteral("TROPICAL_ASIA_MAP_BITMAP"), false) {
    for (const TUnitSeedPoints& unit : GLB_tropical_asia_seed_points()) {
        item_ref(unit.unit).seed_points = unit.points;
        item_ref(unit.unit).offered = !TTropicalAsiaArea::never_selectable(unit.unit);
    }
    finish_layout();
}

TFrameSelectCountryArea::TFrameSelectCountryArea(QWidget* parent)
    : TFrameSelectArea(parent, TCountryArea::UnitCount, QString(), false) {
    Button_clear_all->hide();
    Button_select_all->hide();
    resize(0, 0);
}

TFrameSelectArea* GLB_create_area_frame(TAreaFrameKind kind, QWidget* host, int left) {
    TFrameSelectArea* frame = nullptr;
    switch (kind) {
        case TAreaFrameKind::BoliviaEtc: frame = new TFrameSelectBoliviaEtcArea(host); break;
        case TAreaFrameKind::TropicalAsia: frame = new TFrameSelectTropicalAsiaArea(host); break;
        case TAreaFrameKind::Country: frame = new TFrameSelectCountryArea(host); break;
        case TAreaFrameKind::None: return nullptr;
    }
    if (host) {
        const int x = left != 0 ? left : std::max(0, (host->width() - frame->width()) / 2);
        const int y = std::max(0, (host->height() - frame->height()) / 2);
        frame->move(x, y);
    }
    return frame;
}
