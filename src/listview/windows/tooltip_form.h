#pragma once

#include <QFont>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>

// A small borderless window with a few lines of text, shown at a point and
// gone as soon as the mouse leaves the area it explains. Without an area it
// explains what the keyboard is on and stays until its owner releases it.
class TTooltipForm : public QWidget {
    Q_OBJECT
  public:
    // The routine draws the text with the pen at the given start point.
    using DrawRoutine = std::function<void(QPainter&, QPoint pen, const QString& text)>;

    TTooltipForm(QPoint screenPoint, const QFont& font, int clientWidth, int lineCount,
                 DrawRoutine draw, const QString& text, QRect screenArea,
                 QWidget* parent = nullptr);

    int line_height() const { return lineHeight_; }
    // Releases the window when the cursor is outside the area; returns true
    // when it did.
    bool check_cursor(QPoint cursorPosition);

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    DrawRoutine draw_;
    QString text_;
    QRect area_;
    int lineCount_;
    int lineHeight_ = 0;
    QTimer timer_;
};
