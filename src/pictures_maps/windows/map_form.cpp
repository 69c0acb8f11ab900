#include "pictures_maps/windows/map_form.h"
#include "pictures_maps/picture_paths.h"

#include "app/editions.h"
#include "app/globals.h"
#include "data/people_places.h"
#include "data/taxa.h"
#include "platform/paths.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

class TMapCanvas : public QWidget {
  public:
    explicit TMapCanvas(TMapForm* form) : QWidget(nullptr), form_(form) {
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        form_->paint_canvas(painter);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        form_->canvas_mouse_move(event->position().toPoint());
    }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) form_->canvas_mouse_press(event->position().toPoint());
    }

  private:
    TMapForm* form_;
};

namespace {

int margin(int value) {
    return std::max(0, value);
}

std::optional<TGeoPoint> placeOf(const Tlocality* locality) {
    if (!locality || !locality->has_coordinates()) return std::nullopt;
    return TGeoPoint{GLB_coordinate_degrees(locality->longitude),
                     GLB_coordinate_degrees(locality->latitude)};
}

// The path of a taxon's distribution bitmap file (1 or 2).
QString distributionBitmapPath(const Tspecies& species, int number) {
    return GLB_distribution_map_path(species, number);
}

TRangeBitmap rangeBitmap(const Tspecies& species, int number, const Tmap_data* map) {
    TRangeBitmap range;
    range.bitmap = GLB_load_distribution_bitmap(distributionBitmapPath(species, number));
    if (map) {
        range.bounds = {map->bounds[0], map->bounds[1], map->bounds[2], map->bounds[3]};
        range.georeferenced = std::any_of(map->bounds.begin(), map->bounds.end(),
                                          [](double b) { return b != 0; });
    }
    return range;
}

constexpr int kLinkSearchDepth = 100;

}  // namespace

TMapForm::TMapForm(QWidget* opener) : QWidget(nullptr, Qt::Dialog), opener_(opener) {
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setFocusPolicy(Qt::NoFocus);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    canvas_ = new TMapCanvas(this);
    scroll_->setWidget(canvas_);
    ok_ = new QPushButton(GLB_map_window_text(6).trimmed(), this);
    ok_->setFocusPolicy(Qt::NoFocus);
    connect(ok_, &QPushButton::clicked, this, &QWidget::close);
    setFocusPolicy(Qt::StrongFocus);
    scroll_to_bottom_.setSingleShot(true);
    scroll_to_bottom_.setInterval(100);
    connect(&scroll_to_bottom_, &QTimer::timeout, this, [this] {
        scroll_->verticalScrollBar()->setValue(scroll_->verticalScrollBar()->maximum());
    });
}

TMapForm::~TMapForm() = default;

QWidget* TMapForm::canvas() const {
    return canvas_;
}

int TMapForm::choose_row(const Tspecies* species, const Tlocality* locality) const {
    int mapType = 0;
    if (species && species->map_reference_count > 0 && species->map_references[0].map)
        mapType = species->map_references[0].map->number;
    return ChooseBaseMap(GLB_edition().edition_code, locality ? locality->country : QString(),
                         mapType, placeOf(locality));
}

void TMapForm::ShowMap(const Tspecies* species, const Tlocality* locality, bool releaseOnClose,
                       const QString& caption) {
    setAttribute(Qt::WA_DeleteOnClose, releaseOnClose);
    locality_ = locality;
    point_ = placeOf(locality);
    layout_ = TMapLayout::make(GLB_edition().edition_code, choose_row(species, locality), point_);
    build_picture(species);
    texts_ = GLB_map_texts(species, locality);
    after_build();
    QString title = species && species->has_distribution_map() ? caption : QString();
    if (locality) title += (title.isEmpty() ? QString() : QStringLiteral(", ")) + locality->name;
    if (!title.isEmpty()) setWindowTitle(title);
    lay_out(caption);
}

void TMapForm::build_picture(const Tspecies* species) {
    const QImage inset =
        layout_.has_inset() ? GLB_base_map_picture(layout_.inset_row) : QImage();
    picture_ = GLB_compose_base(layout_, GLB_base_map_picture(layout_.main_row), inset);
    if (species && species->has_distribution_map() && species->map_reference_count > 0) {
        TDistribution d;
        d.main = rangeBitmap(*species, 1, species->map_references[0].map);
        if (species->map_reference_count > 1)
            d.inset = rangeBitmap(*species, 2, species->map_references[1].map);
        GLB_draw_distribution(picture_, layout_, d);
    } else if (species && species->has_map) {
        TDistribution d;
        d.main = rangeBitmap(*species, 1, nullptr);
        GLB_draw_distribution(picture_, layout_, d);
    }
    place_ = point_ ? GLB_project_place(layout_, *point_) : TPlaceOnMap{};
    GLB_draw_place(picture_, place_);
    draw_legend();
}

void TMapForm::draw_legend() {
    const int edition = GLB_edition().edition_code;
    if (edition != 111 && edition != 112) return;
    const QPoint anchor = edition == 111 ? QPoint(511, 349) : QPoint(640, 26);
    QPainter painter(&picture_);
    if (!locality_) painter.fillRect(QRect(anchor.x() - 36, anchor.y() - 16, 85, 22), Qt::white);
    if (GLB_edition().language != TLanguage::Spanish) return;
    painter.setPen(Qt::black);
    painter.setFont(QApplication::font());
    if (locality_) painter.drawText(anchor, QStringLiteral("Localidad"));
    painter.drawText(anchor + QPoint(0, 25), QStringLiteral("Todo el a\u00f1o"));
    painter.drawText(anchor + QPoint(0, 53), QStringLiteral("Migr. (N)       "));
    painter.drawText(anchor + QPoint(0, 81), QStringLiteral("Migr. (S)       "));
    if (edition == 112) {
        painter.fillRect(QRect(545, 40, 40, 35), Qt::white);
        painter.drawText(QPoint(506, 101), QStringLiteral("R\u00edo     "));
        painter.drawText(QPoint(506, 113), QStringLiteral("R\u00edo + frontera  "));
    }
}

QPoint TMapForm::map_origin() const {
    const int left = margin(layout_.main.left_margin);
    const int top = margin(layout_.main.top_margin);
    if (isMaximized())
        return QPoint(std::max(0, (canvas_->width() - picture_.width()) / 2), top);
    return QPoint(left, top);
}

// The texts take, below the map: a gap, the distribution, the rule, the
// locality's lines and a bottom edge; painting walks the same steps.
namespace {
constexpr int kGapAboveTexts = 5, kGapAboveRule = 3, kGapBelowRule = 4, kBottomEdge = 6;
}

int TMapForm::text_block_height(int width) const {
    if (!texts_.has_any()) return 0;
    TTextCanvas measure;
    measure.set_font(GLB_map_text_font());
    const int lineHeight = measure.metrics().height();
    int lines = 0;
    auto count = [&](QString text) { lines += GLB_wrap_text(measure, width, text).lines; };
    if (!texts_.distribution.isEmpty()) count(texts_.distribution);
    for (const QString& p : texts_.locality) count(p);
    return kGapAboveTexts + lines * lineHeight + kGapAboveRule + 1 + kGapBelowRule + kBottomEdge +
           (texts_.distribution.isEmpty() || texts_.locality.isEmpty() ? 0 : 7);
}

void TMapForm::lay_out(const QString&) {
    const QScreen* screen = QApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    const QRect full = screen ? screen->geometry() : work;
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth) * 2;
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int contentWidth =
        margin(layout_.main.left_margin) + layout_.content_width() + margin(layout_.main.right_margin);
    const int clientWidth = std::min(contentWidth, full.width() - 2 * frame);
    const int textHeight = text_block_height(clientWidth - 20);
    const int contentHeight = margin(layout_.main.top_margin) + layout_.main.height +
                              margin(layout_.main.bottom_margin) - 1 + textHeight;
    scroll_->setHorizontalScrollBarPolicy(contentWidth > clientWidth ? Qt::ScrollBarAsNeeded
                                                                      : Qt::ScrollBarAlwaysOff);
    const int clientHeight = std::min(contentHeight, full.height() - 2 * frame);
    const bool scrollsVertically = contentHeight > clientHeight;
    canvas_->resize(contentWidth, contentHeight);
    text_top_ = margin(layout_.main.top_margin) + layout_.main.height +
                margin(layout_.main.bottom_margin) + kGapAboveTexts;
    const int width = clientWidth + (scrollsVertically ? scrollBar : 0);
    resize(std::min(width, full.width() - 2 * frame), clientHeight);
    scroll_->setGeometry(rect());
    const int buttonWidth = ok_->sizeHint().width();
    const int buttonHeight = ok_->sizeHint().height();
    if (GLB_edition().rules.map_button_below_legend)
        ok_->setGeometry(this->width() - 10 - buttonWidth, height() - buttonHeight * 5 / 2,
                         buttonWidth, buttonHeight);
    else
        ok_->setGeometry(this->width() - 10 - buttonWidth - (scrollsVertically ? scrollBar : 0), 0,
                         buttonWidth, buttonHeight);
    move(work.center() - rect().center());
    if (clientHeight >= work.height() * 95 / 100)
        showMaximized();
    else
        show();
    ok_->raise();
    activateWindow();
    setFocus();
    if (scrollsVertically) scroll_to_bottom_.start();
}

void TMapForm::paint_canvas(QPainter& painter) {
    painter.fillRect(canvas_->rect(), palette().window());
    const QPoint origin = map_origin();
    painter.drawImage(origin, picture_);
    // Ticks outside the map point at the place from the margins.
    if (place_.main.on_map && layout_.main.width > 280 && layout_.main.height > 280) {
        painter.setPen(QColor(255, 0, 0));
        const QPoint dot = origin + place_.main.pixel;
        for (int i = 1; i <= 5; ++i) painter.drawPoint(dot.x(), origin.y() - i);
        for (int i = 2; i <= 4; ++i) painter.drawPoint(dot.x(), origin.y() + picture_.height() - 1 + i);
        for (int i = 1; i <= 5; ++i) painter.drawPoint(origin.x() - i, dot.y());
    }
    paint_over(painter);
    if (!texts_.has_any()) return;
    links_.clear();
    TTextCanvas canvas(&painter, &links_);
    canvas.set_font(GLB_map_text_font());
    // The texts stand on the window's own colour: they take its ink.
    canvas.colour = palette().windowText().color();
    canvas.window_colour = palette().window().color();
    const int lineHeight = canvas.metrics().height();
    const int width = std::max(50, std::min(canvas_->width(), this->width()) - 20);
    int y = text_top_;
    auto paragraph = [&](QString text) {
        const int lines = GLB_wrap_text(canvas, width, text).lines;
        canvas.move_to(10, y + lines * lineHeight - canvas.metrics().descent());
        GLB_draw_text(canvas, lineHeight, false, text);
        y += lines * lineHeight;
    };
    if (!texts_.distribution.isEmpty()) {
        paragraph(texts_.distribution);
        y += kGapAboveRule + (texts_.locality.isEmpty() ? 0 : 7);
    }
    painter.setPen(canvas.colour);
    painter.drawLine(10, y, width + 10, y);
    y += 1 + kGapBelowRule;
    locality_text_bottom_ = y;
    for (const QString& p : texts_.locality) paragraph(p);
    if (!texts_.locality.isEmpty()) locality_text_bottom_ = y;
}

bool TMapForm::canvas_mouse_press(QPoint canvasPoint) {
    if (!locality_ || locality_->site_description.isEmpty()) return false;
    if (GLB_point_on_link(links_, canvasPoint, locality_text_bottom_ + kLinkSearchDepth)) {
        open_site_description();
        return true;
    }
    return false;
}

void TMapForm::open_site_description() {
    if (!locality_) return;
    OpenSiteDescription(*locality_);
    activateWindow();
}

void TMapForm::scroll_by(int dx, int dy) {
    QScrollBar* h = scroll_->horizontalScrollBar();
    QScrollBar* v = scroll_->verticalScrollBar();
    if (dx && h->maximum() > 0) h->setValue(h->value() + dx * h->singleStep());
    if (dy && v->maximum() > 0) v->setValue(v->value() + dy * v->singleStep());
}

void TMapForm::ensure_visible(QPoint canvasPoint) {
    scroll_->ensureVisible(canvasPoint.x(), canvasPoint.y(), 40, 40);
}

void TMapForm::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape: close(); return;
        case Qt::Key_PageUp: scroll_by(0, -10); return;
        case Qt::Key_PageDown: scroll_by(0, 10); return;
        case Qt::Key_Up: scroll_by(0, -1); return;
        case Qt::Key_Down: scroll_by(0, 1); return;
        case Qt::Key_Left: scroll_by(-1, 0); return;
        case Qt::Key_Right: scroll_by(1, 0); return;
        case Qt::Key_H:
            if (event->modifiers() & Qt::ControlModifier) {
                open_site_description();
                return;
            }
            break;
        default: break;
    }
    QWidget::keyPressEvent(event);
}

void TMapForm::closeEvent(QCloseEvent* event) {
    scroll_to_bottom_.stop();
    if (opener_) opener_->activateWindow();
    event->accept();
}
