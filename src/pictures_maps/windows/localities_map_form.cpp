#include "pictures_maps/windows/localities_map_form.h"

#include "app/editions.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "formats/textfile.h"
#include "listview/list_fonts.h"
#include "listview/windows/tooltip_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

QString siteText(int entry) {
    return GLB_text(QStringLiteral("SITE DESCRIPTIONS"), entry + 1);
}

QFont tooltipFont() {
    return GLB_map_text_font();
}

}  // namespace

TLocalitiesMapForm::TLocalitiesMapForm(QWidget* opener) : TMapForm(opener) {
    setWindowTitle(siteText(0));
}

TLocalitiesMapForm::~TLocalitiesMapForm() {
    release_tooltip();
}

int TLocalitiesMapForm::choose_row(const Tspecies*, const Tlocality*) const {
    return ChooseBaseMap(GLB_edition().edition_code, QStringLiteral("Bolivia"), 0, std::nullopt);
}

void TLocalitiesMapForm::ShowLocalitiesMap(const Tspecies* species, const Tlocality* locality,
                                           bool releaseOnClose, const QString& caption,
                                           TLocalityFilter filter) {
    // Each list opens the map with its own filter, so the dots are laid out
    // again for every opening.
    filter_ = std::move(filter);
    built_ = false;
    release_tooltip();
    hovered_ = -1;
    keyboard_dot_ = -1;
    ShowMap(species, locality, releaseOnClose, caption);
}

void TLocalitiesMapForm::after_build() {
    if (built_) return;
    built_ = true;
    localities_.clear();
    if (const Tdata* data = GLB_data_or_null())
        for (const Tlocality* l : data->localities())
            if (!filter_ || filter_(*l)) localities_.push_back(l);
    dots_.build(layout(), localities_);
}

void TLocalitiesMapForm::paint_over(QPainter& painter) {
    // The dots go onto a copy of the visible map so that the ring rule
    // (white where not red) sees the map's own pixels.
    const QPoint origin = map_origin();
    const QPoint margins(std::max(0, layout().main.left_margin), std::max(0, layout().main.top_margin));
    QImage dotted = picture();
    for (const Txy& xy : dots_.positions())
        if (xy.on_main || xy.on_inset)
            GLB_draw_locality_dot(dotted, TLocalitiesLayout::dot_position(xy) - margins, true);
    painter.drawImage(origin, dotted);
    // The keyboard's dot wears a ring that shows on any map colour.
    if (keyboard_dot_ >= 0) {
        const QPoint dot = canvas_point_of(keyboard_dot_);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 3));
        painter.drawEllipse(dot, 7, 7);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawEllipse(dot, 7, 7);
    }
}

QPoint TLocalitiesMapForm::canvas_point_of(int index) const {
    const QPoint margins(std::max(0, layout().main.left_margin), std::max(0, layout().main.top_margin));
    return TLocalitiesLayout::dot_position(dots_.positions()[static_cast<size_t>(index)]) - margins +
           map_origin();
}

void TLocalitiesMapForm::walk_to(int index) {
    if (index < 0) {
        QApplication::beep();
        return;
    }
    keyboard_dot_ = index;
    const QPoint dot = canvas_point_of(index);
    ensure_visible(dot);
    release_tooltip();
    hovered_ = index;
    show_tooltip(index, dot, true);
    // Screen readers read the map by the place the keyboard is on.
    const Tlocality& place = *localities_[static_cast<size_t>(index)];
    canvas()->setAccessibleName(GLB_without_codes(place.display_text(true)));
    canvas()->setAccessibleDescription(
        GLB_without_codes(tooltip_text(place, 1 << 20, tooltipFont())).replace(u'\n', u' '));
    canvas()->update();
}

void TLocalitiesMapForm::keyPressEvent(QKeyEvent* event) {
    QPoint direction;
    switch (event->key()) {
        case Qt::Key_Left: direction = {-1, 0}; break;
        case Qt::Key_Right: direction = {1, 0}; break;
        case Qt::Key_Up: direction = {0, -1}; break;
        case Qt::Key_Down: direction = {0, 1}; break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (keyboard_dot_ >= 0) {
                release_tooltip();
                hovered_ = -1;
                OpenSiteDescription(*localities_[static_cast<size_t>(keyboard_dot_)]);
                activateWindow();
                return;
            }
            break;
        default:
            break;
    }
    if (direction.isNull()) {
        TMapForm::keyPressEvent(event);
        return;
    }
    if (keyboard_dot_ < 0) {
        // The first arrow takes the keyboard to the dot nearest the middle of the view.
        const QPoint margins(std::max(0, layout().main.left_margin), std::max(0, layout().main.top_margin));
        const QWidget* view = canvas()->parentWidget();
        const QPoint middle = view ? canvas()->mapFrom(view, view->rect().center()) : canvas()->rect().center();
        walk_to(dots_.nearest_to(middle - map_origin() + margins));
        return;
    }
    walk_to(dots_.next_in_direction(keyboard_dot_, direction));
}

QString TLocalitiesMapForm::tooltip_text(const Tlocality& locality, int wrapWidth, const QFont& font) {
    TTextCanvas measure;
    measure.set_font(font);
    QString text = GLB_without_codes(locality.display_text(true));
    QString description = locality.text;
    if (!description.isEmpty()) {
        GLB_wrap_text(measure, wrapWidth, description);
        text += u'\n' + description;
    }
    if (!locality.site_description.isEmpty())
        text += u'\n' + QChar(text_code::kSmaller) + siteText(1).trimmed() + u' ' +
                GLB_site_description_path(locality);
    return text;
}

void TLocalitiesMapForm::canvas_mouse_move(QPoint canvasPoint) {
    const QPoint origin = map_origin();
    const QPoint margins(std::max(0, layout().main.left_margin), std::max(0, layout().main.top_margin));
    const int index = dots_.hit_test(canvasPoint - origin + margins);
    if (index == hovered_) return;
    release_tooltip();
    hovered_ = index;
    if (index < 0) return;
    show_tooltip(index, TLocalitiesLayout::dot_position(dots_.positions()[static_cast<size_t>(index)]) -
                            margins + origin);
}

void TLocalitiesMapForm::show_tooltip(int index, QPoint dot, bool for_keyboard) {
    const Tlocality& l = *localities_[static_cast<size_t>(index)];
    const QPoint screenDot = canvas()->mapToGlobal(dot);
    const QScreen* screen = QGuiApplication::screenAt(screenDot);
    if (!screen) screen = this->screen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    const QFont font = tooltipFont();
    const QString text = tooltip_text(l, work.width() / 2, font);
    TTextCanvas measure;
    measure.set_font(font);
    int widest = 0;
    for (const QString& line : text.split(u'\n')) widest = std::max(widest, GLB_plain_text_width(measure, line));
    // The mouse's tooltip goes when the mouse leaves the dot; the keyboard's
    // stays while the keyboard is on it, wherever the mouse rests.
    const QRect sensitive = for_keyboard ? QRect() : QRect(screenDot - QPoint(3, 3), QSize(7, 7));
    tooltip_ = new TTooltipForm(
        screenDot + QPoint(15, -3), font, widest + 10, static_cast<int>(text.count(u'\n')) + 1,
        [](QPainter& painter, QPoint pen, const QString& t) {
            TTextCanvas canvas(&painter);
            canvas.set_font(GLB_map_text_font());
            canvas.colour = Qt::black;
            canvas.window_colour = QColor(255, 255, 225);
            // The routine's pen is the top of the last line; the writer's is
            // its baseline.
            canvas.pen = pen + QPoint(0, canvas.metrics().ascent());
            GLB_draw_text(canvas, canvas.metrics().height(), false, t);
        },
        text, sensitive, this);
    tooltip_->setAccessibleName(GLB_without_codes(text).replace(u'\n', u' '));
    tooltip_->move(GLB_locality_tooltip_place(screenDot, tooltip_->size(), work));
    tooltip_->show();
    activateWindow();
}

bool TLocalitiesMapForm::canvas_mouse_press(QPoint canvasPoint) {
    const QPoint margins(std::max(0, layout().main.left_margin), std::max(0, layout().main.top_margin));
    const int index = dots_.hit_test(canvasPoint - map_origin() + margins);
    if (index < 0) return TMapForm::canvas_mouse_press(canvasPoint);
    release_tooltip();
    hovered_ = -1;
    OpenSiteDescription(*localities_[static_cast<size_t>(index)]);
    activateWindow();
    return true;
}

void TLocalitiesMapForm::release_tooltip() {
    if (tooltip_) tooltip_->deleteLater();
    tooltip_ = nullptr;
}

void TLocalitiesMapForm::closeEvent(QCloseEvent* event) {
    TMapForm::closeEvent(event);
    release_tooltip();
    hovered_ = -1;
    keyboard_dot_ = -1;
}

TLocalitiesMapForm& GLB_localities_map() {
    static QPointer<TLocalitiesMapForm> form;
    if (!form) form = new TLocalitiesMapForm();
    return *form;
}
