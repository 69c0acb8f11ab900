#include "utilities/windows/message_while_executing_form.h"

#include "app/globals.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {
constexpr int kClientWidth = 300;
constexpr int kMargin = 20;
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 27;
}  // namespace

TMessageWhileExecutingForm::TMessageWhileExecutingForm(const QString& message, bool counterMode,
                                                       const QFont* font, bool detailLabel,
                                                       const QString& cancelCaption,
                                                       QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setWindowTitle(GLB().message_box_caption);
    setModal(true);
    if (font) setFont(*font);

    message_label_ = new QLabel(message, this);
    message_label_->setWordWrap(true);
    message_label_->setFixedWidth(kClientWidth - 2 * kMargin);
    message_label_->move(kMargin, kMargin);
    message_label_->adjustSize();
    int labelsBottom = kMargin + message_label_->height();
    int extra = 0;
    if (detailLabel) {
        detail_label_ = new QLabel(this);
        detail_label_->setFixedWidth(kClientWidth - 2 * kMargin);
        detail_label_->move(kMargin, labelsBottom + 15);
        detail_label_->setFixedHeight(fontMetrics().height());
        extra = 20;
    }

    progress_bar_ = new QProgressBar(this);
    progress_bar_->setTextVisible(false);
    progress_bar_->setRange(0, counterMode ? 100 : 10);
    progress_bar_->setValue(0);
    const int barWidth = counterMode ? 200 : 100;
    const int barHeight = 17;
    progress_bar_->setFixedSize(barWidth, barHeight);
    progress_bar_->move((kClientWidth - barWidth) / 2, labelsBottom + 15 + (detailLabel ? 25 : 0));

    const int clientHeight = message_label_->height() + 83 + extra + barHeight;
    cancel_button_ = new QPushButton(cancelCaption, this);
    cancel_button_->setFixedSize(kButtonWidth, kButtonHeight);
    cancel_button_->move((kClientWidth - kButtonWidth) / 2, clientHeight - 35);
    cancel_button_->setDefault(true);
    connect(cancel_button_, &QPushButton::clicked, this, [this] {
        emit cancel_pressed();
        reject();
    });
    setFixedSize(kClientWidth, clientHeight);
}

void TMessageWhileExecutingForm::place_bottom_right_at(QPoint point) {
    const QRect frame = frameGeometry();
    const QPoint offset = pos() - frame.topLeft();
    move(point.x() - frame.width() + 1 + offset.x(), point.y() - frame.height() + 1 + offset.y());
}

void TMessageWhileExecutingForm::post_position(int position) {
    QMetaObject::invokeMethod(
        this, [this, position] { progress_bar_->setValue(position); }, Qt::QueuedConnection);
}

void TMessageWhileExecutingForm::post_detail_text(const QString& text) {
    QMetaObject::invokeMethod(
        this,
        [this, text] {
            if (detail_label_) detail_label_->setText(text);
        },
        Qt::QueuedConnection);
}

void TMessageWhileExecutingForm::post_procedure_done() {
    QMetaObject::invokeMethod(
        this, [this] { done(QDialog::Accepted); }, Qt::QueuedConnection);
}

bool RunWhileShowingMessage(const QString& message,
                            TGlobalShowMessageWhileExecutingObject::TProcedure procedure,
                            bool counterMode, const QFont* font, bool detailLabel,
                            QPoint bottomRight, const QString& cancelCaption) {
    TMessageWhileExecutingForm form(message, counterMode, font, detailLabel, cancelCaption);
    TGlobalShowMessageWhileExecutingObject worker(std::move(procedure), counterMode, detailLabel);
    QObject::connect(&form, &TMessageWhileExecutingForm::cancel_pressed, &form,
                     [&worker] { worker.cancel(); });
    // Escape and the window's close box cancel as the button does.
    QObject::connect(&form, &QDialog::rejected, &form, [&worker] { worker.cancel(); });
    form.place_bottom_right_at(bottomRight);
    worker.start(form);
    form.setCursor(Qt::WaitCursor);
    form.cancel_button()->setCursor(Qt::ArrowCursor);
    form.exec();
    worker.finish();
    return worker.cancelled();
}
