#include "sound/windows/sonogram_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace {

constexpr int kLeftMargin = 38;    // kHz labels
constexpr int kBottomMargin = 16;  // seconds labels
constexpr int kTopMargin = 8;  // room for the top label
constexpr int kRightMargin = 6;
constexpr double kShortestView = 0.2;  // seconds
constexpr double kLowestTop = 1000;    // Hz
constexpr int kDragThreshold = 4;

// A round step (1, 2 or 5 times a power of ten) of at least `minimum`.
double niceStep(double minimum) {
    const double power = std::pow(10.0, std::floor(std::log10(std::max(minimum, 1e-9))));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= minimum) return m * power;
    return 10 * power;
}

QString label(double value, double step) {
    const int decimals = step >= 1 ? 0 : step >= 0.1 ? 1 : 2;
    return QString::number(value, 'f', decimals);
}

}  // namespace

TSonogramView::TSonogramView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setMinimumHeight(80);
    setAttribute(Qt::WA_OpaquePaintEvent);
    frame_timer_.setTimerType(Qt::PreciseTimer);
    frame_timer_.setInterval(16);  // the display's frame rate
    connect(&frame_timer_, &QTimer::timeout, this, &TSonogramView::frame);
}

void TSonogramView::set_sonogram(std::shared_ptr<sonogram::Sonogram> sonogram, double seconds) {
    const bool same = sonogram == sonogram_;
    sonogram_ = std::move(sonogram);
    seconds_ = seconds;
    if (!same) {
        selection_.reset();
        from_ = 0;
        to_ = std::max(kShortestView, std::min(seconds > 0 ? seconds : 10.0, 20.0));
        clamp_view();
    }
    base_valid_ = false;
    frame_timer_.start();
    update();
}

void TSonogramView::set_settings(const sonogram::Settings& settings) {
    const bool topChanged = settings.max_frequency_hz != settings_.max_frequency_hz;
    settings_ = settings;
    if (topChanged) top_hz_ = settings.max_frequency_hz;
    clamp_view();
    base_valid_ = false;
    update();
}

void TSonogramView::set_note(const QString& text) {
    if (text == note_) return;
    note_ = text;
    base_valid_ = false;
    update();
}

QString TSonogramView::shown_message() const {
    if (!note_.isEmpty()) return note_;
    if (!sonogram_) return {};
    return sonogram_->state() == sonogram::Sonogram::Decoding ? QString() : sonogram_->message();
}

double TSonogramView::duration() const {
    if (sonogram_ && sonogram_->state() != sonogram::Sonogram::Decoding && sonogram_->seconds() > 0)
        return sonogram_->seconds();
    return seconds_ > 0 ? seconds_ : 10.0;
}

double TSonogramView::nyquist() const {
    if (sonogram_ && sonogram_->state() != sonogram::Sonogram::Decoding && sonogram_->rate() > 0)
        return sonogram_->rate() / 2.0;
    return 24000.0;
}

void TSonogramView::clamp_view() {
    const double length = std::max(duration(), limit_seconds_);
    double width = std::clamp(to_ - from_, std::min(kShortestView, length), std::max(length, kShortestView));
    from_ = std::clamp(from_, 0.0, std::max(0.0, length - width));
    to_ = from_ + width;
    top_hz_ = std::clamp(top_hz_, kLowestTop, std::max(nyquist(), limit_hz_));
}

void TSonogramView::set_scale_limits(double seconds, double hz) {
    limit_seconds_ = std::max(0.0, seconds);
    limit_hz_ = std::max(0.0, hz);
    clamp_view();
    base_valid_ = false;
    update();
}

void TSonogramView::set_view(double from, double to) {
    const double oldFrom = from_, oldTo = to_;
    from_ = from;
    to_ = to;
    clamp_view();
    // Near the end the playhead cannot be paged on: nothing to draw anew.
    if (from_ == oldFrom && to_ == oldTo) return;
    base_valid_ = false;
    update();
}

void TSonogramView::zoom_time(double factor, double around) {
    const double width = (to_ - from_) * factor;
    const double share = (to_ - from_) > 0 ? (around - from_) / (to_ - from_) : 0.5;
    set_view(around - width * share, around - width * share + width);
}

void TSonogramView::zoom_frequency(double factor) {
    top_hz_ *= factor;
    clamp_view();
    base_valid_ = false;
    update();
}

QRect TSonogramView::plot_rect() const {
    return QRect(kLeftMargin, kTopMargin, std::max(1, width() - kLeftMargin - kRightMargin),
                 std::max(1, height() - kTopMargin - kBottomMargin));
}

void TSonogramView::set_selection(std::optional<std::pair<double, double>> range) {
    if (range == selection_) return;
    selection_ = range;
    update();
}

void TSonogramView::set_band(std::optional<std::pair<double, double>> band) {
    if (band == band_) return;
    band_ = band;
    update();
}

double TSonogramView::hz_at(int y) const {
    const QRect plot = plot_rect();
    return std::clamp(top_hz_ * (plot.bottom() - y) / plot.height(), 0.0, top_hz_);
}

int TSonogramView::y_of(double hz) const {
    const QRect plot = plot_rect();
    return plot.bottom() - static_cast<int>(std::lround(hz / top_hz_ * plot.height()));
}

double TSonogramView::seconds_at(int x) const {
    const QRect plot = plot_rect();
    return from_ + (to_ - from_) * (x - plot.left()) / plot.width();
}

int TSonogramView::x_of(double seconds) const {
    const QRect plot = plot_rect();
    return plot.left() + static_cast<int>(std::lround((seconds - from_) / (to_ - from_) * plot.width()));
}

void TSonogramView::set_playhead(double seconds, bool playing) {
    const double before = playhead_;
    playhead_ = seconds;
    playing_ = playing;
    if (playing) {
        // Started only when resting: a restart on every call would keep it
        // from ever firing while the owner's own timer calls here.
        if (!frame_timer_.isActive()) frame_timer_.start();
        // Page on when the playhead nears the right edge (or lies outside):
        // it comes back in at a tenth of the width.
        const double width = to_ - from_;
        if (seconds < from_ || seconds > to_ - width * 0.02) set_view(seconds - width * 0.1, seconds + width * 0.9);
    }
    if (before != seconds) {
        const int a = x_of(before), b = x_of(seconds);
        update(QRect(std::min(a, b) - 2, 0, std::abs(a - b) + 5, height()));
    }
}

void TSonogramView::frame() {
    // New tiles from the worker: draw them. Nothing left to wait for and not
    // playing: the timer rests.
    if (sonogram_) {
        const int ready = sonogram_->state() == sonogram::Sonogram::Decoding ? -1 : sonogram_->ready_tiles();
        if (ready != base_ready_tiles_ || (sonogram_->state() >= sonogram::Sonogram::Done && !base_complete_)) {
            if (sonogram_->state() != sonogram::Sonogram::Decoding && seconds_ <= 0) clamp_view();
            base_valid_ = false;
            update();
        }
        if (sonogram_->state() != sonogram::Sonogram::Decoding && sonogram_->state() != sonogram::Sonogram::Failed)
            sonogram_->set_focus_column(static_cast<int>(from_ * sonogram_->rate() / std::max(1, sonogram_->hop())));
    }
    const bool waiting = sonogram_ && sonogram_->state() < sonogram::Sonogram::Done;
    // While tiles come in they are looked for more often than frames are
    // drawn: a finished screenful shows without waiting for the next frame.
    frame_timer_.setInterval(waiting ? 4 : 16);
    if (!waiting && !playing_ && base_valid_) frame_timer_.stop();
}

bool TSonogramView::draw_base(QImage& image, QSize size, qreal ratio) const {
    image = QImage(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(palette().color(QPalette::Window));
    const QRect plot(kLeftMargin, kTopMargin, std::max(1, size.width() - kLeftMargin - kRightMargin),
                     std::max(1, size.height() - kTopMargin - kBottomMargin));
    bool complete = true;
    {
        // The plot in device pixels, one computed pixel each: crisp at any ratio.
        QImage plotImage(plot.size() * ratio, QImage::Format_ARGB32);
        if (sonogram_) {
            complete = sonogram::render(*sonogram_, plotImage, from_, to_, 0.0, top_hz_, settings_.palette);
        } else {
            plotImage.fill(sonogram::colours(settings_.palette)[0]);
        }
        plotImage.setDevicePixelRatio(ratio);
        QPainter p(&image);
        p.drawImage(plot.topLeft(), plotImage);
    }
    QPainter p(&image);
    QFont font = this->font();
    font.setPointSizeF(std::max(6.0, font.pointSizeF() * 0.85));
    p.setFont(font);
    const QFontMetrics metrics(font);
    const QColor ink = palette().color(QPalette::WindowText);
    p.setPen(ink);
    p.drawRect(plot.adjusted(-1, -1, 0, 0));
    // Seconds below.
    const double secondsStep = niceStep((to_ - from_) * 70.0 / plot.width());
    for (double t = std::ceil(from_ / secondsStep) * secondsStep; t <= to_ + 1e-9; t += secondsStep) {
        const int x = plot.left() + static_cast<int>(std::lround((t - from_) / (to_ - from_) * plot.width()));
        p.drawLine(x, plot.bottom() + 1, x, plot.bottom() + 4);
        const QString text = label(t, secondsStep);
        const int w = metrics.horizontalAdvance(text);
        p.drawText(std::clamp(x - w / 2, plot.left(), size.width() - w), plot.bottom() + 4 + metrics.ascent(), text);
    }
    p.drawText(QRect(0, plot.bottom() + 2, kLeftMargin - 4, kBottomMargin), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("s"));
    // kHz at the left.
    const double khz = top_hz_ / 1000.0;
    const double khzStep = niceStep(khz * 28.0 / plot.height());
    for (double f = 0; f <= khz + 1e-9; f += khzStep) {
        const int y = plot.bottom() - static_cast<int>(std::lround(f / khz * plot.height()));
        p.drawLine(plot.left() - 4, y, plot.left() - 1, y);
        const QString text = label(f, khzStep);
        p.drawText(QRect(0, y - metrics.height() / 2, kLeftMargin - 6, metrics.height()),
                   Qt::AlignRight | Qt::AlignVCenter, text);
    }
    // The unit under the top label, clear of the numbers.
    p.drawText(QRect(0, plot.top() + metrics.height() / 2, kLeftMargin - 6, metrics.height()),
               Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("kHz"));
    // What cannot be shown, in the plot itself.
    const QString message = shown_message();
    if (!message.isEmpty()) {
        const QRect box = plot.adjusted(8, 6, -8, -6);
        const QRect needed = metrics.boundingRect(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, message);
        p.fillRect(needed.adjusted(-4, -2, 4, 2), QColor(255, 255, 224, 230));
        p.setPen(Qt::black);
        p.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, message);
    } else if (sonogram_ && sonogram_->state() == sonogram::Sonogram::Decoding) {
        complete = false;
    }
    return complete;
}

QImage TSonogramView::picture(qreal ratio, const QStringList& captionLines) const {
    QImage base;
    draw_base(base, size(), ratio);
    QFont font = this->font();
    const QFontMetrics metrics(font);
    const int captionHeight = static_cast<int>(captionLines.size()) * metrics.height() + 8;
    QImage out(QSize(width(), height() + captionHeight) * ratio, QImage::Format_ARGB32_Premultiplied);
    out.setDevicePixelRatio(ratio);
    out.fill(Qt::white);
    QPainter p(&out);
    p.drawImage(QPoint(0, 0), base);
    p.setFont(font);
    p.setPen(Qt::black);
    int y = height() + 4 + metrics.ascent();
    for (const QString& line : captionLines) {
        p.drawText(kLeftMargin, y, line);
        y += metrics.height();
    }
    return out;
}

void TSonogramView::paintEvent(QPaintEvent*) {
    const qreal ratio = devicePixelRatioF();
    if (!base_valid_ || base_.size() != size() * ratio || base_.devicePixelRatio() != ratio) {
        base_complete_ = draw_base(base_, size(), ratio);
        base_ready_tiles_ = sonogram_ && sonogram_->state() != sonogram::Sonogram::Decoding ? sonogram_->ready_tiles() : -1;
        base_valid_ = true;
    }
    QPainter p(this);
    p.drawImage(QPoint(0, 0), base_);
    const QRect plot = plot_rect();
    p.setClipRect(plot);
    if (selection_) {
        const int a = x_of(selection_->first), b = x_of(selection_->second);
        p.fillRect(QRect(std::min(a, b), plot.top(), std::abs(b - a) + 1, plot.height()), QColor(80, 140, 255, 70));
    }
    if (band_) {
        // The band heard alone: tinted, with its edges drawn.
        const int top = y_of(band_->second), bottom = y_of(band_->first);
        p.fillRect(QRect(plot.left(), top, plot.width(), bottom - top + 1), QColor(40, 170, 90, 60));
        p.setPen(QPen(QColor(20, 130, 60), 1, Qt::DashLine));
        p.drawLine(plot.left(), top, plot.right(), top);
        p.drawLine(plot.left(), bottom, plot.right(), bottom);
    }
    if (sonogram_) {
        const int x = x_of(playhead_);
        p.setPen(QPen(QColor(220, 30, 30), 1.5));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom() + 1));
    }
    if (hasFocus()) {
        p.setClipping(false);
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TSonogramView::resizeEvent(QResizeEvent* event) {
    base_valid_ = false;
    QWidget::resizeEvent(event);
}

void TSonogramView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton || !plot_rect().adjusted(0, 0, 0, kBottomMargin).contains(event->position().toPoint()))
        return;
    press_ = event->position().toPoint();
    dragging_ = false;
    band_drag_ = event->modifiers().testFlag(Qt::ShiftModifier);
}

void TSonogramView::mouseMoveEvent(QMouseEvent* event) {
    if (!press_) return;
    const QPoint at = event->position().toPoint();
    const int moved = band_drag_ ? std::abs(at.y() - press_->y()) : std::abs(at.x() - press_->x());
    if (!dragging_ && moved < kDragThreshold) return;
    dragging_ = true;
    if (band_drag_) {
        // Shift+drag: a band of frequencies, up or down.
        const double a = hz_at(press_->y()), b = hz_at(at.y());
        band_ = std::make_pair(std::min(a, b), std::max(a, b));
    } else {
        const double length = duration();
        const double a = std::clamp(seconds_at(press_->x()), 0.0, length), b = std::clamp(seconds_at(at.x()), 0.0, length);
        selection_ = std::make_pair(std::min(a, b), std::max(a, b));
    }
    update();
}

void TSonogramView::mouseReleaseEvent(QMouseEvent* event) {
    if (!press_ || event->button() != Qt::LeftButton) return;
    const int x = press_->x();
    press_.reset();
    if (dragging_) {
        dragging_ = false;
        if (band_drag_ && band_) emit band_selected(band_->first, band_->second);
        if (!band_drag_) emit selection_changed();
        return;
    }
    if (band_drag_) return;
    const bool hadSelection = selection_.has_value();
    selection_.reset();
    update();
    if (hadSelection) emit selection_changed();
    emit seek_requested(std::clamp(seconds_at(x), 0.0, duration()));
}

void TSonogramView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0) return;
    const double factor = std::pow(1.25, -notches);
    if (event->modifiers().testFlag(Qt::ControlModifier)) zoom_frequency(factor);
    else zoom_time(factor, seconds_at(static_cast<int>(event->position().x())));
    event->accept();
}

void TSonogramView::keyPressEvent(QKeyEvent* event) {
    const double width = to_ - from_;
    switch (event->key()) {
        case Qt::Key_Space: emit play_pause_requested(); return;
        case Qt::Key_Left: emit seek_requested(std::max(0.0, playhead_ - width / 20)); return;
        case Qt::Key_Right: emit seek_requested(std::min(duration(), playhead_ + width / 20)); return;
        case Qt::Key_Plus:
        case Qt::Key_Equal: zoom_time(1 / 1.5, std::clamp(playhead_, from_, to_)); return;
        case Qt::Key_Minus: zoom_time(1.5, std::clamp(playhead_, from_, to_)); return;
        case Qt::Key_Return:
        case Qt::Key_Enter: emit larger_view_requested(); return;
        case Qt::Key_BracketLeft: emit loop_start_requested(playhead_); return;
        case Qt::Key_BracketRight: emit loop_end_requested(playhead_); return;
        case Qt::Key_Escape: emit normal_listening_requested(); return;
        default: QWidget::keyPressEvent(event);
    }
}
