#include "pictures_maps/windows/picture_info_form.h"

#include "data/media_records.h"
#include "data/people_places.h"
#include "listview/line_texts.h"
#include "listview/list_fonts.h"
#include "pictures_maps/big_picture_model.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
// Joins with a blank, except after an empty text or one ending in a line feed.
void append_piece(QString& text, const QString& piece) {
    if (piece.isEmpty()) return;
    if (!text.isEmpty() && !text.endsWith(QChar(text_code::kLineFeed))) text += u' ';
    text += piece;
}
}  // namespace

QString GLB_picture_information_text(const Tbig_picture& picture) {
    QString text;
    if (picture.subspecies && !(picture.species && picture.species->flag_n)) {
        QString subspecies;
        picture.subspecies->append_line(subspecies, true);
        append_piece(text, subspecies);
    }
    append_piece(text, picture.text);
    if (picture.locality) {
        const QString place = picture.locality->display_text(true);
        if (!place.isEmpty())
            append_piece(text, QChar(text_code::kUnderline) + place + QChar(text_code::kUnderline));
    }
    if (picture.date >= 0) append_piece(text, line_texts::date_text(picture.date) + u'.');
    return text;
}

TPictureInfoForm::TPictureInfoForm(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
}

void TPictureInfoForm::set_picture(const Tbig_picture& picture) {
    text_ = GLB_picture_information_text(picture);
    const TListFonts& fonts = GLB_list_fonts();
    TTextCanvas canvas;
    canvas.select_font(fonts.standard());
    int width = text_.size() > 149 ? 400 : 300;
    const TWrapResult wrapped = GLB_wrap_text(canvas, width - 10, text_);
    lines_ = wrapped.lines;
    if (lines_ == 1) width = GLB_plain_text_width(canvas, text_) + 20;
    resize(width, (lines_ + 1) * fonts.line_height());
    update();
}

void TPictureInfoForm::place(QSize room) {
    QWidget* owner = parentWidget();
    if (!owner) return;
    setGeometry(big_picture::information_place(QPoint(owner->width() - 80, owner->height() - 25),
                                               size(), room));
}

void TPictureInfoForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor window = palette().color(QPalette::Window);
    painter.fillRect(rect(), window);
    links_.clear();
    TTextCanvas canvas(&painter, &links_);
    canvas.window_colour = window;
    canvas.colour = palette().color(QPalette::WindowText);
    const TListFonts& fonts = GLB_list_fonts();
    canvas.select_font(fonts.standard());
    canvas.move_to(10, lines_ * fonts.line_height() + fonts.line_height() / 4);
    GLB_draw_text(canvas, fonts.line_height(), false, text_);
    painter.setPen(canvas.colour);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TPictureInfoForm::mousePressEvent(QMouseEvent* event) {
    if (GLB_point_on_link(links_, event->position().toPoint(), height() + 100)) emit link_clicked();
}

void TPictureInfoForm::keyPressEvent(QKeyEvent* event) {
    if (parentWidget()) QApplication::sendEvent(parentWidget(), event);
}
