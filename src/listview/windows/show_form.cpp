#include "listview/windows/show_form.h"

#include "listview/windows/list_window_services.h"
#include "listview/windows/show_strings_accessible.h"
#include "listview/windows/show_strings.h"
#include "platform/system.h"

#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace {
constexpr int kLineIncrement = 15;
constexpr int kWheelLines = 3;
// The list is laid out for at least this width; narrower windows scroll sideways.
constexpr int kMinimumListWidth = 600;
// Room right of the widest line: an italic letter leans past its advance.
constexpr int kRightMargin = 10;
}  // namespace

TShowForm::TShowForm(const TListWindowServices& services, QWidget* parent)
    : QAbstractScrollArea(parent), services_(services) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(true);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, Qt::white);
    // The list keeps its black on white under any desktop palette; the
    // recording buttons' numbers on it take this ink.
    palette.setColor(QPalette::WindowText, Qt::black);
    viewport()->setPalette(palette);
    verticalScrollBar()->setSingleStep(kLineIncrement);
    verticalScrollBar()->setTracking(true);
    horizontalScrollBar()->setSingleStep(kLineIncrement);
    list_accessibility::install();
}

TShowForm::~TShowForm() = default;

namespace {

TListGeometry geometryFor(const QAbstractScrollArea& area) {
    TListGeometry geometry;
    geometry.vertical_scroll_bar_width = area.verticalScrollBar()->sizeHint().width();
    geometry.horizontal_scroll_bar_height = area.horizontalScrollBar()->sizeHint().height();
    geometry.client_width =
        std::max(area.viewport()->width() + geometry.vertical_scroll_bar_width, kMinimumListWidth);
    return geometry;
}

}  // namespace

void TShowForm::set_up_as_copy(const TShowStrings& other) {
    strings_ = std::make_unique<TShowStrings>(other);
    strings_->set_host(viewport());
    update_scroll_range();
    update_status();
    list_accessibility::lines_changed(*this);
}

void TShowForm::set_up(const SHST_TClassShowStringsData& settings, const TFoldSnapshot& snapshot) {
    strings_ = std::make_unique<TShowStrings>(services_, settings, geometryFor(*this));
    strings_->set_host(viewport());
    strings_->apply_snapshot(snapshot);
    update_scroll_range();
    const auto top = strings_->model().find_row(snapshot.top_family, snapshot.top_species);
    initial_scroll_ = top.head ? top.height_above : 0;
    initial_scroll_pending_ = true;
    // A list built anew in a window already on screen scrolls at once.
    if (isVisible()) {
        initial_scroll_pending_ = false;
        scroll_to(initial_scroll_);
        viewport()->update();
    }
    update_status();
    list_accessibility::lines_changed(*this);
}

void TShowForm::apply_geometry() {
    if (strings_) strings_->model().set_geometry(geometryFor(*this));
}

QPoint TShowForm::scroll_offset() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

int TShowForm::scroll_position() const {
    return verticalScrollBar()->value();
}

TViewBand TShowForm::view_band() const {
    const int top = verticalScrollBar()->value();
    return {top, top + viewport()->height(), horizontalScrollBar()->value()};
}

void TShowForm::update_scroll_range() {
    if (!strings_) return;
    const int range = strings_->scroll_range();
    verticalScrollBar()->setRange(0, std::max(0, range - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    // Lines that are not broken (names) may be wider than the layout's width
    // at a large text size: the range follows the widest one drawn.
    const int width = std::max(kMinimumListWidth, strings_->widest_drawn() + kRightMargin);
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
}

void TShowForm::scroll_to(int listY) {
    verticalScrollBar()->setValue(listY);
}

void TShowForm::update_status() {
    if (strings_) emit caption_changed(strings_->caption_text());
}

void TShowForm::list_changed() {
    if (!strings_) return;
    strings_->chain_changed();
    update_scroll_range();
    viewport()->update();
    update_status();
    list_accessibility::lines_changed(*this);
}

void TShowForm::after_change(const TListChange& change) {
    if (change.changed) {
        update_scroll_range();
        if (change.scroll_by > 0) scroll_to(scroll_position() + change.scroll_by);
    }
    if (change.changed || change.selection_changed) viewport()->update();
    update_status();
    if (change.changed) list_accessibility::lines_changed(*this);
    if (change.selection_changed) list_accessibility::selection_moved(*this);
}

void TShowForm::fold_all() {
    if (!strings_) return;
    strings_->fold_all();
    update_scroll_range();
    scroll_to(0);
    viewport()->update();
    update_status();
    list_accessibility::lines_changed(*this);
    list_accessibility::selection_moved(*this);
}

void TShowForm::change_names(const SHST_TClassShowStringsData& settings) {
    if (!strings_) return;
    strings_->change_name_settings(settings);
    if (!strings_->selected()) strings_->select_first_row_head();
    update_scroll_range();
    viewport()->update();
    update_status();
    list_accessibility::lines_changed(*this);
}

TFoldSnapshot TShowForm::take_snapshot() const {
    return strings_ ? strings_->take_snapshot(view_band()) : TFoldSnapshot::initial();
}

void TShowForm::paintEvent(QPaintEvent* event) {
    if (!strings_) return;
    QPainter painter(viewport());
    const QPoint scroll = scroll_offset();
    painter.translate(-scroll);
    const QRect listRect = event->rect().translated(scroll);
    strings_->paint(painter, listRect, hasFocus(), scroll);
    // A wider line came into view: the range grows once this paint is over
    // (a scroll bar shown now would resize the view while it paints).
    const int drawnRange = strings_->widest_drawn() + kRightMargin - viewport()->width();
    if (drawnRange > horizontalScrollBar()->maximum() && !range_update_queued_) {
        range_update_queued_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                range_update_queued_ = false;
                update_scroll_range();
            },
            Qt::QueuedConnection);
    }
}

void TShowForm::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    quarter_height_ = viewport()->height() / 4;
    apply_geometry();
    update_scroll_range();
}

void TShowForm::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    if (initial_scroll_pending_) {
        initial_scroll_pending_ = false;
        update_scroll_range();
        scroll_to(initial_scroll_);
    }
}

void TShowForm::mousePressEvent(QMouseEvent* event) {
    if (!strings_ || event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint() + scroll_offset();
    after_change(strings_->click(point, view_band()));
}

void TShowForm::mouseMoveEvent(QMouseEvent* event) {
    if (!strings_) return;
    const QPoint point = event->position().toPoint() + scroll_offset();
    viewport()->setCursor(strings_->over_clickable(point) ? Qt::PointingHandCursor
                                                          : Qt::ArrowCursor);
}

void TShowForm::wheelEvent(QWheelEvent* event) {
    QScrollBar* bar = verticalScrollBar();
    if (bar->maximum() <= 0) return;  // nothing to scroll: the whole list is in view
    const int notches = event->angleDelta().y() / 120;
    if (notches != 0) scroll_to(bar->value() - notches * kWheelLines * kLineIncrement);
    event->accept();
}

void TShowForm::beep_if(bool failed) {
    if (failed) platform::beep();
}

void TShowForm::volume_keys(int steps) {
    if (services_.volume_keys) services_.volume_keys(steps);
}

void TShowForm::keyPressEvent(QKeyEvent* event) {
    if (!strings_) return;
    strings_->close_information_windows();
    if (fold_key(*event) || navigation_key(*event) || command_key(*event)) return;
    event->ignore();
}

void TShowForm::move_selection(bool forward) {
    const TSelectionMove result = strings_->move_selection(forward, view_band(), quarter_height_);
    beep_if(result.end_reached);
    if (result.scroll_to) scroll_to(*result.scroll_to);
    viewport()->update();
    update_status();
    if (!result.end_reached) list_accessibility::selection_moved(*this);
}

// Return, Enter and Space fold or unfold the selected row; the keypad's
// plus only unfolds it, its minus only folds it.
bool TShowForm::fold_key(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool keypad = mods.testFlag(Qt::KeypadModifier);
    const bool plain = !(mods & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (!plain) return false;
            after_change(strings_->key_toggle(false, false, view_band()));
            return true;
        case Qt::Key_Plus:
            if (keypad && !ctrl) after_change(strings_->key_toggle(true, false, view_band()));
            if (keypad && ctrl) volume_keys(1);
            return keypad;
        case Qt::Key_Minus:
            if (keypad && !ctrl) after_change(strings_->key_toggle(false, true, view_band()));
            if (keypad && ctrl) volume_keys(-1);
            return keypad;
        default:
            return false;
    }
}

// Tab and the arrows move the selection; the page keys scroll; Ctrl+Home
// and Ctrl+End go to the first and last row. With Ctrl, the page keys and
// the arrows move the volume instead.
bool TShowForm::navigation_key(const QKeyEvent& event) {
    const Qt::KeyboardModifiers mods = event.modifiers();
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    switch (event.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            if (ctrl) return false;  // window switching belongs to the list window
            move_selection(event.key() == Qt::Key_Tab && !mods.testFlag(Qt::ShiftModifier));
            return true;
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            if (!ctrl) {
                const int step = viewport()->height();
                scroll_to(scroll_position() + (event.key() == Qt::Key_PageUp ? -step : step));
            } else {
                volume_keys(event.key() == Qt::Key_PageUp ? 5 : -5);
            }
            return true;
        case Qt::Key_Home:
        case Qt::Key_End:
            if (!ctrl) return true;
            if (event.key() == Qt::Key_Home) {
                strings_->select_first_row_head();
                scroll_to(0);
            } else {
                strings_->select_last_row_head();
                scroll_to(verticalScrollBar()->maximum());
            }
            viewport()->update();
            update_status();
            list_accessibility::selection_moved(*this);
            return true;
        case Qt::Key_Left:
        case Qt::Key_Up:
            if (!ctrl) move_selection(false);
            else volume_keys(2);
            return true;
        case Qt::Key_Right:
        case Qt::Key_Down:
            if (!ctrl) move_selection(true);
            else volume_keys(-2);
            return true;
        default:
            return false;
    }
}

// Ctrl+M, Ctrl+P and Ctrl+R open the selection's map, picture and
// literature; the beep says there is none.
bool TShowForm::command_key(const QKeyEvent& event) {
    if (!event.modifiers().testFlag(Qt::ControlModifier)) return false;
    switch (event.key()) {
        case Qt::Key_M:
            beep_if(!strings_->show_map_of_selection());
            return true;
        case Qt::Key_P:
            beep_if(!strings_->show_picture_of_selection());
            return true;
        case Qt::Key_R:
            beep_if(!strings_->show_literature_of_selection(scroll_offset()));
            return true;
        default:
            return false;
    }
}

void TShowForm::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    // The reader hears the list, then the row the keyboard is on.
    list_accessibility::selection_moved(*this);
}

void TShowForm::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

bool TShowForm::focusNextPrevChild(bool) {
    return false;  // Tab moves the selection inside the list
}

void TShowForm::scrollContentsBy(int dx, int dy) {
    // Only the strip that comes into view is painted anew.
    viewport()->scroll(dx, dy);
}
