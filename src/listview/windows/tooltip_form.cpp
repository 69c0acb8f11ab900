#include "listview/windows/tooltip_form.h"

#include <QCursor>
#include <QFontMetrics>
#include <QPainter>

TTooltipForm::TTooltipForm(QPoint screenPoint, const QFont& font, int clientWidth, int lineCount,
                           DrawRoutine draw, const QString& text, QRect screenArea, QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      draw_(std::move(draw)),
      text_(text),
      area_(screenArea),
      lineCount_(std::max(lineCount, 1)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setFont(font);
    lineHeight_ = QFontMetrics(font).boundingRect(QStringLiteral("abcdefghj")).height() + 2;
    setFixedSize(clientWidth, lineCount_ * lineHeight_ + 2);
    move(screenPoint);
    timer_.setInterval(100);
    connect(&timer_, &QTimer::timeout, this, [this] { check_cursor(QCursor::pos()); });
}

bool TTooltipForm::check_cursor(QPoint cursorPosition) {
    if (area_.isEmpty() || area_.contains(cursorPosition)) return false;
    timer_.stop();
    close();
    return true;
}

void TTooltipForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!area_.isEmpty()) timer_.start();
}

void TTooltipForm::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(QColor(0, 128, 0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.setFont(font());
    // Text is drawn bottom-aligned on the pen, lines counted from the top.
    if (draw_) draw_(painter, QPoint(5, (lineCount_ - 1) * lineHeight_ + 2), text_);
}
