#include "utilities/windows/message_while_copying_form.h"

#include "app/editions.h"
#include "app/globals.h"
#include "app/messages.h"
#include "listview/list_fonts.h"
#include "platform/dialog_service.h"
#include "utilities/copy_files_thread.h"
#include "utilities/copy_to_hard_disk.h"
#include "utilities/path_shortening.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace {
constexpr int kClientWidth = 450;
constexpr int kEdge = 20;
constexpr int kLabel2Height = 80;
constexpr int kBarHeight = 17;
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 27;
constexpr int kExplanationLine = 11;
constexpr int kCopyingPrefixLine = 12;

// One of the program's own messages, in the interface language.
QString abortQuestion() {
    switch (GLB_edition().language) {
        case TLanguage::Spanish:
            return QStringLiteral("El programa no ha terminado de copiar los archivos. "
                                  "\u00BFSeguro que quiere interrumpir la copia?");
        case TLanguage::Dutch:
            return QStringLiteral("Het programma is nog niet klaar met het kopi\u00EBren van de "
                                  "bestanden. Weet u zeker dat u het kopi\u00EBren wilt afbreken?");
        case TLanguage::Portuguese:
            return QStringLiteral("O programa ainda n\u00E3o terminou de copiar os arquivos. "
                                  "Tem certeza de que deseja interromper a c\u00F3pia?");
        default:
            return QStringLiteral("The program has not finished copying files. Are you certain "
                                  "you want to abort prematurely?");
    }
}
}  // namespace

TMessageWhileCopyingForm::TMessageWhileCopyingForm(TCopyFilesToHardDiskThread& thread,
                                                   int fileCount, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint),
      thread_(thread),
      copying_prefix_(GLB_copy_text(kCopyingPrefixLine)) {
    setWindowTitle(GLB().message_box_caption);
    setModal(true);
    setFont(GLB_list_fonts().standard().font);
    const int labelWidth = kClientWidth - 60;

    label_1_ = new QLabel(GLB_copy_text(kExplanationLine), this);
    label_1_->setWordWrap(true);
    label_1_->setFixedWidth(labelWidth);
    label_1_->move(kEdge, kEdge);
    label_1_->adjustSize();

    label_2_ = new QLabel(this);
    label_2_->setWordWrap(true);
    label_2_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label_2_->setFixedSize(labelWidth, kLabel2Height);
    label_2_->move(kEdge, label_1_->height() + 28);

    progress_bar_ = new QProgressBar(this);
    progress_bar_->setRange(0, std::max(fileCount, 1));
    progress_bar_->setValue(0);
    progress_bar_->setTextVisible(false);
    progress_bar_->setFixedSize(labelWidth, kBarHeight);
    progress_bar_->move(kEdge, label_2_->y() + kLabel2Height + 5);

    const int clientHeight = label_1_->height() + kLabel2Height + 83 + kBarHeight;
    cancel_button_ = new QPushButton(GLB_copy_text(10), this);
    cancel_button_->setFixedSize(kButtonWidth, kButtonHeight);
    cancel_button_->move((kClientWidth - kButtonWidth) / 2, clientHeight - 35);
    connect(cancel_button_, &QPushButton::clicked, this, &TMessageWhileCopyingForm::reject);
    setFixedSize(kClientWidth, clientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    // Queued: the thread reports from its own thread, never into a widget.
    // The window asks for the file at hand on its own timer instead of being
    // told of each one: thousands of small files would otherwise wake this
    // thread thousands of times, taking a core from the copy.
    connect(&thread_, &TCopyFilesToHardDiskThread::copy_ended, this,
            &TMessageWhileCopyingForm::copy_ended, Qt::QueuedConnection);
    refresh_timer_.setInterval(kRefreshMilliseconds);
    connect(&refresh_timer_, &QTimer::timeout, this, &TMessageWhileCopyingForm::refresh);
}

void TMessageWhileCopyingForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        thread_.start();
        refresh_timer_.start();
    }
}

QString TMessageWhileCopyingForm::file_text_for(const QString& path) const {
    const QFontMetrics metrics(label_2_->font());
    const int limit = 4 * label_2_->width();
    return copying_prefix_ + u' ' + GLB_shorten_path(path, [&](const QString& candidate) {
               return metrics.horizontalAdvance(copying_prefix_ + u' ' + candidate) <= limit;
           });
}

void TMessageWhileCopyingForm::refresh() {
    const int started = thread_.files_started();
    if (started == files_reported_) return;
    files_reported_ = started;
    current_file_ = thread_.current_file_name();
    label_2_->setText(file_text_for(current_file_));
    progress_bar_->setValue(std::min(files_reported_, progress_bar_->maximum()));
}

void TMessageWhileCopyingForm::copy_ended(bool success, const QString& errorMessage) {
    refresh_timer_.stop();
    refresh();
    if (!errorMessage.isEmpty()) GLB_show_message(errorMessage, platform::box::IconStop);
    success_ = success;
    failure_ = !success;
    finished_ = true;
    close();
}

void TMessageWhileCopyingForm::reject() {
    close();
}

void TMessageWhileCopyingForm::closeEvent(QCloseEvent* event) {
    if (finished_) {
        event->accept();
        done(QDialog::Accepted);
        return;
    }
    thread_.pause();
    const int answer = platform::DialogService::message(abortQuestion(), GLB().message_box_caption,
                                                        platform::box::QuestionYesNo);
    // The copy may have ended while the question was open.
    if (answer == platform::answer::Yes && !finished_) {
        thread_.set_abort();
        thread_.resume();
        event->accept();
        done(QDialog::Rejected);
        return;
    }
    thread_.resume();
    if (finished_) {
        event->accept();
        done(QDialog::Accepted);
        return;
    }
    event->ignore();
}
