#include "playlists/windows/make_all_mp3_files_form.h"

#include "app/messages.h"
#include "data/visibility_filter.h"
#include "listview/formatted_text.h"
#include "playlists/mp3_copy.h"
#include "platform/dialog_service.h"

#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>

namespace {

constexpr int kLeft = 25;
constexpr int kLineHeight = 15;

}  // namespace

TMakeAllMP3FilesForm::TMakeAllMP3FilesForm(const Tdata& data, int order,
                                           const TClassVisibleSpeciesAndRecordings& visible,
                                           std::unique_ptr<TTagTextProvider> texts,
                                           QWidget* parent, TMakeAllMP3sJob::Copier copier)
    : QWidget(parent, Qt::Dialog),
      texts_(std::move(texts)),
      visible_(std::make_unique<TClassVisibleSpeciesAndRecordings>(visible)),
      job_(data, order, *visible_,
           copier ? std::move(copier)
                  : TMakeAllMP3sJob::Copier([this](const Tcupaitem& recording) {
                        bool cancelled = false;
                        const QString label = GLB_make_mp3_copy(
                            recording, *texts_, GLB_default_recording_file_locator(), &cancelled);
                        if (cancelled) job_.cancel_current();
                        return label;
                    })),
      cancel_button_(new QPushButton(this)) {
    setWindowTitle(GLB_make_all_mp3s_text(1));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(480, 200);
    setAutoFillBackground(true);
    cancel_button_->setText(QStringLiteral("Cancel"));
    connect(cancel_button_, &QPushButton::clicked, this, &QWidget::close);
    timer.setInterval(10);
    connect(&timer, &QTimer::timeout, this, &TMakeAllMP3FilesForm::on_timer);
}

TMakeAllMP3FilesForm::~TMakeAllMP3FilesForm() = default;

void TMakeAllMP3FilesForm::start() {
    job_.start();
    if (job_.running()) timer.start();
    update();
}

void TMakeAllMP3FilesForm::on_timer() {
    if (job_.paused) return;
    if (!job_.tick()) timer.stop();
    update();
}

QString TMakeAllMP3FilesForm::laid_out_text() {
    QString text = job_.display_text(QDir::toNativeSeparators(GLB_mp3_folder_of_run()));
    TTextCanvas canvas;
    canvas.set_font(font());
    const TWrapResult wrap = GLB_wrap_text(canvas, std::max(1, width() - 40), text);
    const int textBottom = kLineHeight * (wrap.lines + 1);
    cancel_button_->move((width() - cancel_button_->width()) / 2, textBottom + 30);
    const int needed = cancel_button_->geometry().bottom() + 10;
    if (height() < needed) resize(width(), needed);
    return text;
}

void TMakeAllMP3FilesForm::paintEvent(QPaintEvent*) {
    const QString text = laid_out_text();
    QPainter painter(this);
    TTextCanvas canvas(&painter);
    canvas.set_font(font());
    canvas.colour = palette().color(QPalette::WindowText);
    canvas.window_colour = palette().color(QPalette::Window);
    // Lines are drawn upwards from the pen: start on the last one's baseline.
    const int lines = static_cast<int>(text.count(u'\n')) + 1;
    canvas.move_to(kLeft, kLineHeight * lines);
    GLB_draw_text(canvas, kLineHeight, false, text);
}

void TMakeAllMP3FilesForm::closeEvent(QCloseEvent* event) {
    if (!job_.running()) {
        event->accept();
        return;
    }
    job_.paused = true;
    const bool close = GLB_show_message(GLB_make_all_mp3s_text(4), platform::box::QuestionYesNo) ==
                       platform::answer::Yes;
    job_.paused = false;
    if (close) {
        timer.stop();
        event->accept();
    } else {
        event->ignore();
    }
}

void TMakeAllMP3FilesForm::keyPressEvent(QKeyEvent* event) {
    // Escape is the cancel button, as in every dialog: it closes the finished
    // window and asks first while the job runs.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void GLB_open_make_all_mp3_files_form(const Tdata& data, int order,
                                      const TClassVisibleSpeciesAndRecordings& visible,
                                      std::unique_ptr<TTagTextProvider> texts, QWidget* parent) {
    auto* form = new TMakeAllMP3FilesForm(data, order, visible, std::move(texts), parent);
    form->show();
    form->start();
}
