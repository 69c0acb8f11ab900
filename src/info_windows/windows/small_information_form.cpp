#include "info_windows/windows/small_information_form.h"

#include "info_windows/info_layout.h"
#include "info_windows/windows/web_browser_form.h"
#include "listview/list_fonts.h"

#include <QMouseEvent>
#include <QPainter>

TSmallInformationForm::TSmallInformationForm(QWidget* host) : QWidget(host) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

int TSmallInformationForm::line_height() const {
    return GLB_list_fonts().line_height();
}

void TSmallInformationForm::show_at(QPoint at, QSize size, bool keepFromLeftTop) {
    const QSize parentSize = parentWidget() ? parentWidget()->size() : size;
    setGeometry(GLB_place_information_window(at, size, parentSize, keepFromLeftTop));
    links_.clear();
    show();
    raise();
    update();
}

void TSmallInformationForm::draw_text(TTextCanvas& canvas, const QString& text, int firstBaseline) {
    const int lines = static_cast<int>(text.count(QChar(text_code::kLineFeed))) + 1;
    canvas.move_to(kInformationTextLeft, firstBaseline + (lines - 1) * line_height());
    GLB_draw_text(canvas, line_height(), false, text);
}

int TSmallInformationForm::centred_first_baseline(const TTextCanvas& canvas) const {
    return line_height() / 2 + canvas.metrics().ascent();
}

void TSmallInformationForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    links_.clear();
    TTextCanvas canvas(&painter, &links_);
    canvas.select_font(GLB_list_fonts().standard());
    paint_text(canvas);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool TFormWithUnderlinedItems::over_link(QPoint point) const {
    return GLB_point_on_link(links_, point, 10000);
}

void TFormWithUnderlinedItems::set_link(const QString& address) {
    link_flag_ = !address.isEmpty();
    link_address_ = address;
}

void TFormWithUnderlinedItems::press(QPoint point) {
    if (link_flag_ && over_link(point)) GLB_open_web_page(link_address_);
}

void TFormWithUnderlinedItems::mouseMoveEvent(QMouseEvent* event) {
    const Qt::CursorShape wanted =
        over_link(event->position().toPoint()) ? Qt::PointingHandCursor : Qt::ArrowCursor;
    if (wanted != cursor_) {
        cursor_ = wanted;
        setCursor(wanted);
    }
}

void TFormWithUnderlinedItems::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    press(event->position().toPoint());
}

void TFormWithUnderlinedItems::showEvent(QShowEvent* event) {
    TSmallInformationForm::showEvent(event);
    cursor_ = Qt::ArrowCursor;
    setMouseTracking(true);
}

void TFormWithUnderlinedItems::hideEvent(QHideEvent* event) {
    TSmallInformationForm::hideEvent(event);
    unsetCursor();
    cursor_ = Qt::ArrowCursor;
}

void TLinkedTextForm::show_text(const TTextWindowLayout& layout, const QString& linkAddress,
                                QPoint at) {
    text_ = layout.text;
    set_link(linkAddress);
    show_at(at, layout.size);
}

void TLinkedTextForm::paint_text(TTextCanvas& canvas) {
    draw_text(canvas, text_, centred_first_baseline(canvas));
}

TTextMeasurer GLB_list_font_measurer() {
    auto canvas = std::make_shared<TTextCanvas>();
    canvas->select_font(GLB_list_fonts().standard());
    auto boldCanvas = std::make_shared<TTextCanvas>();
    boldCanvas->select_font(GLB_list_fonts().font(list_font::kBold, 0, list_font::kNormal));
    return {
        [canvas](const QString& text) { return GLB_plain_text_width(*canvas, text); },
        [boldCanvas](const QString& text) { return GLB_plain_text_width(*boldCanvas, text); },
        [canvas](int width, QString& text) { return GLB_wrap_text(*canvas, width, text).lines; },
    };
}
