#include "pictures_maps/windows/big_picture_form.h"

#include "app/base_directory.h"
#include "app/globals.h"
#include "app/messages.h"
#include "app/settings.h"
#include "app/settings_general.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "formats/textfile.h"
#include "info_windows/windows/small_information_form.h"
#include "listview/list_actions.h"
#include "pictures_maps/jpeg_files.h"
#include "pictures_maps/windows/picture_info_form.h"
#include "pictures_maps/picture_paths.h"
#include "pictures_maps/picture_resources.h"
#include "platform/dialog_service.h"

#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDate>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <cmath>

using namespace big_picture;

// --- Texts and glyphs ------------------------------------------------------------

QString GLB_picture_text(int entry) {
    static const QStringList texts = [] {
        QStringList lines;
        for (int n = 1; n <= 10; ++n) lines << GLB_texts().line(QStringLiteral("BS_PICTURES"), n);
        return lines;
    }();
    return entry >= 0 && entry < texts.size() ? texts[entry] : QString();
}

namespace {

void draw_glyph(QPainter& p, const QString& name) {
    // Drawn on a 16 × 16 grid; the painter is scaled for 2×.
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink(32, 32, 96);
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    if (name == u"PREVIOUS_PICTURE_BUTTON" || name == u"NEXT_PICTURE_BUTTON") {
        const bool next = name == u"NEXT_PICTURE_BUTTON";
        QPainterPath arrow;
        const double tip = next ? 13.5 : 2.5;
        const double back = next ? 5.5 : 10.5;
        arrow.moveTo(tip, 8);
        arrow.lineTo(back, 2.5);
        arrow.lineTo(back, 13.5);
        arrow.closeSubpath();
        p.drawPath(arrow);
        p.drawRect(QRectF(next ? 2.5 : 10.5, 6.5, 3, 3));
    } else if (name == u"SHRINK_BUTTON" || name == u"ENLARGE_BUTTON") {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 1.6));
        p.drawEllipse(QRectF(1.5, 1.5, 9.5, 9.5));
        p.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
        p.setPen(QPen(ink, 1.4));
        p.drawLine(QPointF(3.8, 6.25), QPointF(8.7, 6.25));
        if (name == u"ENLARGE_BUTTON") p.drawLine(QPointF(6.25, 3.8), QPointF(6.25, 8.7));
    } else if (name == u"INFORMATION_BUTTON") {
        p.setBrush(QColor(40, 90, 200));
        p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(6.9, 3, 2.2, 2.2));
        p.drawRect(QRectF(7, 6.5, 2, 6.5));
    } else if (name == u"COPYRIGHT_BUTTON") {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 1.3));
        p.drawEllipse(QRectF(1, 1, 14, 14));
        p.drawArc(QRectF(4.5, 4.5, 7, 7), 45 * 16, 270 * 16);
    }
}

QPixmap glyph_pixmap(const QString& name, qreal ratio) {
    QPixmap pixmap(QSize(16, 16) * ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.scale(ratio, ratio);
    draw_glyph(painter, name);
    painter.end();
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

bool gColoursWarningDone = false;

}  // namespace

QIcon GLB_picture_button_glyph(const QString& resourceName) {
    QIcon icon;
    icon.addPixmap(glyph_pixmap(resourceName, 1.0));
    icon.addPixmap(glyph_pixmap(resourceName, 2.0));
    return icon;
}

TBitBtn_picture::TBitBtn_picture(const QString& glyphResource, QWidget* parent)
    : QToolButton(parent) {
    setFocusPolicy(Qt::NoFocus);
    setIcon(GLB_picture_button_glyph(glyphResource));
    setIconSize(QSize(16, 16));
    setFixedSize(kButtonSide, kButtonSide);
    setAutoRaise(false);
}

// --- The window ------------------------------------------------------------------

TBigPictureForm::TBigPictureForm(QWidget* refocus, TListActions* actions)
    : QWidget(nullptr), refocus_(refocus), actions_(actions) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    static const char* const glyphs[] = {"PREVIOUS_PICTURE_BUTTON", "NEXT_PICTURE_BUTTON",
                                         "SHRINK_BUTTON",           "ENLARGE_BUTTON",
                                         "INFORMATION_BUTTON",      "COPYRIGHT_BUTTON"};
    for (int i = 0; i < 6; ++i) {
        auto* button = new TBitBtn_picture(QString::fromLatin1(glyphs[i]), this);
        controls_[i] = button;
    }
    controls_[Previous]->setToolTip(GLB_picture_text(2));
    controls_[Next]->setToolTip(GLB_picture_text(3));
    controls_[Shrink]->setToolTip(GLB_picture_text(4));
    controls_[Enlarge]->setToolTip(GLB_picture_text(5));
    controls_[Information]->setToolTip(GLB_picture_text(6) + QStringLiteral("   Ctrl+I"));
    controls_[Credit]->setToolTip(GLB_picture_text(7) + QStringLiteral("   Ctrl+C"));
    connect(static_cast<QToolButton*>(controls_[Previous]), &QToolButton::clicked, this,
            [this] { go(false); });
    connect(static_cast<QToolButton*>(controls_[Next]), &QToolButton::clicked, this,
            [this] { go(true); });
    connect(static_cast<QToolButton*>(controls_[Shrink]), &QToolButton::clicked, this,
            [this] { zoom_by(kShrink); });
    connect(static_cast<QToolButton*>(controls_[Enlarge]), &QToolButton::clicked, this,
            [this] { zoom_by(kEnlarge); });
    connect(static_cast<QToolButton*>(controls_[Information]), &QToolButton::clicked, this,
            [this] { show_information(); });
    connect(static_cast<QToolButton*>(controls_[Credit]), &QToolButton::clicked, this,
            [this] { show_credit(); });

    background_color_button_ = new QPushButton(GLB_picture_text(8), this);
    background_color_button_->setFocusPolicy(Qt::NoFocus);
    background_color_button_->setToolTip(GLB_picture_text(9));
    background_color_button_->adjustSize();
    connect(background_color_button_, &QPushButton::clicked, this,
            [this] { choose_background_colour(); });
    controls_[ColourButton] = background_color_button_;

    label_resize_factor_ = new QLabel(this);
    label_resize_factor_->setAutoFillBackground(true);
    controls_[FactorLabel] = label_resize_factor_;

    horizontal_ = new QScrollBar(Qt::Horizontal, this);
    vertical_ = new QScrollBar(Qt::Vertical, this);
    for (QScrollBar* bar : {horizontal_, vertical_}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setSingleStep(20);
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            const QPoint p = scroll_position();
            info().horizontal = p.x();
            info().vertical = p.y();
            update();
        });
    }

    info_form_ = new TPictureInfoForm(this);
    info_form_->hide();
    connect(info_form_, &TPictureInfoForm::link_clicked, this, [this] {
        if (actions_ && current_ && current_->locality && current_->species)
            actions_->open_distribution_map(*current_->species, current_->locality);
    });

    for (QWidget* c : controls_) c->hide();
    timer_show_controls_.setInterval(500);
    connect(&timer_show_controls_, &QTimer::timeout, this, [this] { on_timer(); });
}

TBigPictureForm::~TBigPictureForm() = default;

QString TBigPictureForm::path_of(const Tbig_picture& picture) const {
    return GLB_big_picture_path(picture);
}

bool TBigPictureForm::prepare(const TPictureTaxon& taxon, const Tbig_picture* picture,
                              TPictureCaptionCallback callback, quintptr context) {
    callback_ = std::move(callback);
    context_ = context;
    taxon_ = taxon;
    current_ = picture ? picture : taxon.first();
    if (!current_) return false;
    while (!QFileInfo(path_of(*current_)).isFile())
        if (!GLB_ask_for_base_directory()) return false;
    return true;
}

void TBigPictureForm::show_picture() {
    showMaximized();
    maximised_ = true;
    load_picture();
    set_caption();
    show_controls(false);
    set_allowed_controls();
    lay_out_controls();
    show_controls(true);
    timer_show_controls_.start();
}

TPictureDisplayInfoClass& TBigPictureForm::info() {
    if (!current_) return no_info_;
    return display_infos_[path_of(*current_)];
}

const TPictureDisplayInfoClass& TBigPictureForm::info() const {
    if (!current_) return no_info_;
    const auto it = display_infos_.constFind(path_of(*current_));
    return it == display_infos_.cend() ? no_info_ : *it;
}

bool TBigPictureForm::load_picture() {
    if (!current_) return false;
    const QString path = path_of(*current_);
    QImage image = GLB_load_jpeg_file(path);
    if (image.isNull()) return false;
    image_ = std::move(image);
    aspect_ = double(image_.height()) / image_.width();
    const QScreen* screen = this->screen();
    fits_ = big_picture::fits(image_.size(), screen ? screen->size() : QSize(1024, 768));
    if (!display_infos_.contains(path)) {
        TPictureDisplayInfoClass& fresh = display_infos_[path];
        if (maximised_) fresh.factor = fitting_factor(image_.size(), available_size());
    }
    set_factor(info().factor);
    update_scroll_ranges();
    const TPictureDisplayInfoClass& shown = info();
    scroll_to(QPoint(std::max(shown.horizontal, 0), std::max(shown.vertical, 0)));
    return true;
}

void TBigPictureForm::set_caption() {
    if (!current_) return;
    QString text;
    map_caption_.clear();
    if (callback_) text = callback_(*current_, map_caption_, context_);
    setWindowTitle(caption(text, current_->photographer ? current_->photographer->name : QString()));
}

void TBigPictureForm::set_allowed_controls() {
    allowed_.fill(false);
    if (!current_) return;
    const auto neighbourShows = [this](bool forward) {
        if (only_this_picture_) return false;
        const Tbig_picture* n = taxon_.neighbour(*current_, forward);
        return n && QFileInfo(path_of(*n)).isFile();
    };
    allowed_[Previous] = neighbourShows(false);
    allowed_[Next] = neighbourShows(true);
    allowed_[Shrink] = allowed_[Enlarge] = true;
    allowed_[Information] = information_allowed_ && (current_->locality || current_->date >= 0 ||
                                                     !current_->text.isEmpty());
    allowed_[Credit] = current_->photographer != nullptr;
    allowed_[ColourButton] = true;
    allowed_[FactorLabel] = true;
}

void TBigPictureForm::lay_out_controls() {
    const QSize client = view_size();
    const bool hasInformation =
        current_ && (current_->locality || current_->date >= 0 || !current_->text.isEmpty());
    const std::array<QPoint, 6> places = button_places(client, hasInformation);
    for (int i = 0; i < 6; ++i) controls_[i]->move(places[i]);
    const QSize buttonSize = background_color_button_->sizeHint();
    background_color_button_->setGeometry(10, client.height() - 10 - buttonSize.height(),
                                          buttonSize.width(), buttonSize.height());
    label_resize_factor_->adjustSize();
    label_resize_factor_->move(background_color_button_->geometry().right() + 11,
                               background_color_button_->geometry().bottom() -
                                   label_resize_factor_->height() + 1);
}

void TBigPictureForm::show_controls(bool show) {
    for (int i = 0; i < kControlCount; ++i) {
        const bool visible = show && allowed_[i];
        // Shown, never raised: the information and photographer windows
        // stay above the controls.
        if (controls_[i]->isVisible() != visible) controls_[i]->setVisible(visible);
    }
}

QSize TBigPictureForm::information_room() {
    lay_out_controls();
    int top = view_size().height();
    for (const QWidget* c : controls_) top = std::min(top, c->geometry().top());
    return QSize(view_size().width(), top);
}

void TBigPictureForm::place_information_windows() {
    QSize room = information_room();
    if (info_form_->isVisible()) {
        info_form_->place(room);
        // The photographer's window goes above the information, not over it.
        room.setHeight(info_form_->y());
    }
    const auto others =
        findChildren<TSmallInformationForm*>(QString(), Qt::FindDirectChildrenOnly);
    for (TSmallInformationForm* window : others)
        if (window->isVisible())
            window->setGeometry(information_place(QPoint(width() - 75, height() - 40),
                                                  window->size(), room));
}

void TBigPictureForm::on_timer() {
    const bool busy = maximised_ && (QWidget::mouseGrabber() != nullptr ||
                                     QGuiApplication::mouseButtons() != Qt::NoButton || arrow_held_);
    show_controls(!busy);
}

bool TBigPictureForm::maximised_view() const {
    if (maximised_) return true;
    const QScreen* s = screen();
    return s && width() >= s->size().width() && height() >= s->size().height();
}

QSize TBigPictureForm::available_size() const {
    return size();
}

QSize TBigPictureForm::view_size() const {
    return QSize(width() - (vertical_->isVisible() ? vertical_->width() : 0),
                 height() - (horizontal_->isVisible() ? horizontal_->height() : 0));
}

QPoint TBigPictureForm::scroll_position() const {
    return {horizontal_->isVisible() ? horizontal_->value() : 0,
            vertical_->isVisible() ? vertical_->value() : 0};
}

void TBigPictureForm::scroll_to(QPoint position) {
    horizontal_->setValue(position.x());
    vertical_->setValue(position.y());
}

void TBigPictureForm::update_scroll_ranges() {
    const double f = info().factor;
    if (!maximised_view() || f <= 0 || image_.isNull()) {
        horizontal_->hide();
        vertical_->hide();
        return;
    }
    const QSize drawn = zoomed_rect(image_.size(), f, size()).size();
    const int barW = vertical_->sizeHint().width();
    const int barH = horizontal_->sizeHint().height();
    bool needV = drawn.height() > height() + 10;
    const bool needH = drawn.width() > width() - (needV ? barW : 0) + 10;
    needV = drawn.height() > height() - (needH ? barH : 0) + 10;
    const QSize view(width() - (needV ? barW : 0), height() - (needH ? barH : 0));
    horizontal_->setGeometry(0, height() - barH, view.width(), barH);
    vertical_->setGeometry(width() - barW, 0, barW, view.height());
    horizontal_->setRange(0, std::max(0, drawn.width() - view.width()));
    horizontal_->setPageStep(view.width());
    vertical_->setRange(0, std::max(0, drawn.height() - view.height()));
    vertical_->setPageStep(view.height());
    horizontal_->setVisible(needH);
    vertical_->setVisible(needV);
}

void TBigPictureForm::set_factor(double factor) {
    if (current_) info().factor = factor;
    label_resize_factor_->setText(factor > 0 ? factor_text(factor) : QString());
    label_resize_factor_->adjustSize();
}

void TBigPictureForm::paintEvent(QPaintEvent*) {
    lay_out_controls();
    QPainter painter(this);
    painter.fillRect(rect(), GLB_picture_settings().background);
    if (image_.isNull()) return;
    const QSize view = view_size();
    QRect target;
    if (maximised_view()) {
        if (info().factor <= 0) {
            set_factor(fitting_factor(image_.size(), available_size()));
            update_scroll_ranges();
        }
        target = zoomed_rect(image_.size(), info().factor, view);
        target.translate(-scroll_position());
    } else {
        target = fill_rect(size(), aspect_);
        // The window's own size sets the factor; maximised, the factor is kept
        // as it is, so repeated paints never let it creep.
        set_factor(double(target.width()) / image_.width());
    }
    const int freeWidth = view.width() - target.width();
    const int freeHeight = view.height() - target.height();
    const QSize colourButton = background_color_button_->size();
    allowed_[ColourButton] =
        colourButton.width() < freeWidth / 3 || colourButton.height() < freeHeight / 4;
    if (controls_[FactorLabel]->isVisible() &&
        background_color_button_->isVisible() != allowed_[ColourButton])
        background_color_button_->setVisible(allowed_[ColourButton]);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    drawn_ = QRect(target.left() - 1, target.top() - 1, target.width() + 1, target.height() + 1);
    painter.drawImage(drawn_, image_);
}

void TBigPictureForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    update_scroll_ranges();
    place_information_windows();
}

void TBigPictureForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    const bool nowMaximised = isMaximized();
    if (nowMaximised && !maximised_) {
        for (TPictureDisplayInfoClass& each : display_infos_) each.reset();
        maximised_ = true;
    } else if (!nowMaximised && maximised_) {
        maximised_ = false;
        if (!image_.isNull()) {
            const QScreen* s = screen();
            const QSize screenSize = s ? s->size() : QSize(1024, 768);
            resize(normal_client_size(image_.size(), fits_, screenSize));
            move(inside_work_area(pos(), frameGeometry().size(), GLB_work_area().rect()));
        }
    }
    update_scroll_ranges();
    update();
}

bool TBigPictureForm::go(bool forward) {
    if (!current_) return false;
    const Tbig_picture* next = taxon_.neighbour(*current_, forward);
    return next && change_to(taxon_, *next);
}

bool TBigPictureForm::change_to(const TPictureTaxon& taxon, const Tbig_picture& picture) {
    const TPictureTaxon oldTaxon = taxon_;
    const Tbig_picture* old = current_;
    QImage oldImage = image_;
    taxon_ = taxon;
    current_ = &picture;
    if (!load_picture()) {
        taxon_ = oldTaxon;
        current_ = old;
        image_ = std::move(oldImage);
        return false;
    }
    set_caption();
    hide_information_windows();
    set_allowed_controls();
    lay_out_controls();
    show_controls(false);
    update();
    return true;
}

bool TBigPictureForm::information_windows_showing() const {
    return info_form_->isVisible() || person_shown_;
}

void TBigPictureForm::zoom_by(double step) {
    if (image_.isNull()) return;
    double old = info().factor;
    if (old <= 0) old = fitting_factor(image_.size(), available_size());
    const double factor = zoom(old, step);
    if (maximised_view()) {
        const QSize view = view_size();
        const QSize before = zoomed_rect(image_.size(), old, size()).size();
        const QPoint position = scroll_position();
        const auto relative = [](int pos, int half, int range) {
            return range < 100 ? 0.5 : double(pos + half) / range;
        };
        const double rx = relative(position.x(), view.width() / 2, before.width());
        const double ry = relative(position.y(), view.height() / 2, before.height());
        set_factor(factor);
        update_scroll_ranges();
        const QSize after = zoomed_rect(image_.size(), factor, size()).size();
        const QSize newView = view_size();
        scroll_to(QPoint(static_cast<int>(std::lround(rx * after.width() - newView.width() / 2.0)),
                         static_cast<int>(std::lround(ry * after.height() - newView.height() / 2.0))));
        show_controls(false);
        update();
        return;
    }
    const QScreen* s = screen();
    const QSize desktop = s ? s->size() : QSize(1024, 768);
    if (step > 1 && width() >= desktop.width() && height() >= desktop.height()) {
        showMaximized();
        return;
    }
    const QSize largest = s ? s->virtualSize() + QSize(12, 12) : QSize(4096, 4096);
    const QSize client(
        std::clamp(static_cast<int>(std::lround(image_.width() * factor)), 230, largest.width()),
        std::clamp(static_cast<int>(std::lround(image_.height() * factor)), 150, largest.height()));
    const QPoint centre = geometry().center();
    QRect placed(QPoint(0, 0), client);
    placed.moveCenter(centre);
    placed.moveTopLeft(QPoint(std::max(0, placed.left()), std::max(0, placed.top())));
    setGeometry(placed);
    set_factor(factor);
    update();
}

void TBigPictureForm::hide_information_windows() {
    info_form_->hide();
    if (person_shown_ && actions_) actions_->close_information_windows(this);
    person_shown_ = false;
}

void TBigPictureForm::show_information() {
    if (!current_ || !allowed_[Information]) return;
    info_form_->set_picture(*current_);
    info_form_->show();
    place_information_windows();
    info_form_->raise();
}

void TBigPictureForm::show_credit() {
    if (!current_ || !current_->photographer) return;
    person_shown_ = true;
    // The credit window belongs to this window, at its bottom right.
    if (actions_) actions_->open_person(this, *current_->photographer,
                                   QPoint(width() - 75, height() - 40));
    place_information_windows();
}

void TBigPictureForm::choose_background_colour() {
    QColorDialog::setCustomColor(0, QColor(0xFF, 0xFF, 0xEE));  // "ColorA=EEFFFF" (BGR)
    QColorDialog::setCustomColor(1, QColor(0xEE, 0xFF, 0xFF));  // "ColorB=FFFFEE"
    const QColor chosen = QColorDialog::getColor(GLB_picture_settings().background, this);
    if (!chosen.isValid()) return;
    GLB_picture_settings().background = chosen;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TBigPictureForm*>(w)) w->update();
}

void TBigPictureForm::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const QPoint p = scroll_position();
    const QSize view = view_size();
    const int step = vertical_->singleStep();
    switch (event->key()) {
        case Qt::Key_Escape:
            if (info_form_->isVisible() || person_shown_)
                hide_information_windows();
            else
                close();
            return;
        case Qt::Key_PageUp:
            scroll_to(ctrl ? p - QPoint(view.width(), 0) : p - QPoint(0, view.height()));
            return;
        case Qt::Key_PageDown:
            scroll_to(ctrl ? p + QPoint(view.width(), 0) : p + QPoint(0, view.height()));
            return;
        case Qt::Key_Up:
        case Qt::Key_Down:
            arrow_held_ = event->isAutoRepeat();
            scroll_to(p + QPoint(0, event->key() == Qt::Key_Up ? -step : step));
            return;
        case Qt::Key_Left:
        case Qt::Key_Right: {
            const bool forward = event->key() == Qt::Key_Right;
            if (shift) {
                if (allowed_[forward ? Next : Previous]) go(forward);
                return;
            }
            arrow_held_ = event->isAutoRepeat();
            scroll_to(p + QPoint(forward ? step : -step, 0));
            return;
        }
        case Qt::Key_C:
            if (ctrl) show_credit();
            return;
        case Qt::Key_I:
            if (ctrl) show_information();
            return;
        case Qt::Key_M:
            if (ctrl && info_form_->isVisible()) emit info_form_->link_clicked();
            return;
        default:
            break;
    }
    if (event->text() == u"+" || (event->key() == Qt::Key_Plus)) {
        zoom_by(kEnlarge);
        return;
    }
    if (event->text() == u"-" || event->key() == Qt::Key_Minus) {
        zoom_by(kShrink);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TBigPictureForm::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat()) arrow_held_ = false;
    QWidget::keyReleaseEvent(event);
}

void TBigPictureForm::mousePressEvent(QMouseEvent* event) {
    hide_information_windows();
    QWidget::mousePressEvent(event);
}

void TBigPictureForm::closeEvent(QCloseEvent* event) {
    timer_show_controls_.stop();
    hide_information_windows();
    if (refocus_) {
        refocus_->activateWindow();
        refocus_->setFocus();
    }
    QWidget::closeEvent(event);
}

// --- Opening ---------------------------------------------------------------------

TBigPictureForm* OpenBigPictureWindow(const TPictureTaxon& taxon, QWidget* refocus,
                                      TListActions* actions, TPictureCaptionCallback callback,
                                      quintptr context) {
    if (!gColoursWarningDone) {
        gColoursWarningDone = true;
        const int month = QDate::currentDate().month();
        const int stored = GLB_read_int(settings::general::kSection,
                                        settings::general::kNextMonthForColorsWarning, 0);
        if (colours_warning_due(GLB().screen_colours, month, stored)) {
            GLB_show_message(GLB_picture_text(0) + u' ' + QString::number(GLB().screen_colours) +
                                 u' ' + GLB_picture_text(1),
                             platform::box::IconInformation);
            GLB_write_int(settings::general::kSection,
                          settings::general::kNextMonthForColorsWarning, next_month(month));
        }
    }
    auto* form = new TBigPictureForm(refocus, actions);
    if (!form->prepare(taxon, nullptr, std::move(callback), context)) {
        delete form;
        return nullptr;
    }
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->show_picture();
    return form;
}
