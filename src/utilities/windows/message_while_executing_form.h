#pragma once

#include "utilities/show_message_while_executing.h"

#include <QDialog>
#include <QPoint>

class QFont;
class QLabel;
class QProgressBar;
class QPushButton;

// The modal wait window: a message, an optional detail line, a progress bar
// and a cancel button, while a procedure runs on a worker thread.
class TMessageWhileExecutingForm : public QDialog, public TMessageWhileExecutingSink {
    Q_OBJECT
  public:
    TMessageWhileExecutingForm(const QString& message, bool counterMode, const QFont* font,
                               bool detailLabel, const QString& cancelCaption,
                               QWidget* parent = nullptr);

    void place_bottom_right_at(QPoint point);

    QLabel* message_label() const { return message_label_; }
    QLabel* detail_label() const { return detail_label_; }
    QProgressBar* progress_bar() const { return progress_bar_; }
    QPushButton* cancel_button() const { return cancel_button_; }

    // TMessageWhileExecutingSink: posted to this window's thread.
    void post_position(int position) override;
    void post_detail_text(const QString& text) override;
    void post_procedure_done() override;

  signals:
    void cancel_pressed();

  private:
    QLabel* message_label_ = nullptr;
    QLabel* detail_label_ = nullptr;
    QProgressBar* progress_bar_ = nullptr;
    QPushButton* cancel_button_ = nullptr;
};

// Shows the wait window modally while the procedure runs; returns the
// cancelled flag. A null font means the window's default.
bool RunWhileShowingMessage(const QString& message,
                            TGlobalShowMessageWhileExecutingObject::TProcedure procedure,
                            bool counterMode, const QFont* font, bool detailLabel,
                            QPoint bottomRight, const QString& cancelCaption);
