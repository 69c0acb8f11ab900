#include "sound/volume_control_form.h"

#include "app/messages.h"
#include "app/settings.h"
#include "formats/textfile.h"
#include "platform/audio/media_control.h"
#include "platform/dialog_service.h"
#include "sound/volume.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace {
const QString kSection = QStringLiteral("GENERAL");
const QString kShowKey = QStringLiteral("Show Volume Control");
const QString kCoordinatesKey = QStringLiteral("Volume Control Coordinates");
TVolume_control_form* theForm = nullptr;
}  // namespace

TVolume_control_form* TVolume_control_form::instance() {
    return theForm;
}

TVolume_control_form::TVolume_control_form(QWidget* mainWindow, bool restoreVisibility)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      trackbar_(new QSlider(Qt::Vertical, this)), main_window_(mainWindow) {
    theForm = this;
    setObjectName(QStringLiteral("Volume_control_form"));
    setWindowTitle(GLB_text(QStringLiteral("VOLUME CONTROL"), 1));
    trackbar_->setRange(0, 100);
    trackbar_->setTickPosition(QSlider::TicksBothSides);
    trackbar_->setTickInterval(10);
    trackbar_->setSingleStep(1);
    trackbar_->setGeometry(0, 0, 41, 153);
    setFixedSize(41, 153);
    // The slider's top is full volume, as on a mixer: position 0 is the top.
    trackbar_->setInvertedAppearance(true);
    trackbar_->setInvertedControls(true);
    trackbar_->setValue(GLB_volume_position());
    connect(trackbar_, &QSlider::valueChanged, this, [](int position) { GLB_set_volume_position(position); });

    const QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry()
                                                          : QRect(0, 0, 1024, 768);
    const QString stored = GLB_read_string(
        kSection, kCoordinatesKey,
        QString::number(screen.width() / 2) + u',' + QString::number(screen.height() / 2));
    const qsizetype comma = stored.indexOf(u',');
    const int x = stored.left(comma).trimmed().toInt();
    const int y = comma < 0 ? 0 : stored.mid(comma + 1).trimmed().toInt();
    move(std::min(screen.width() - width(), x), std::min(screen.height() - height(), y));

    // The program's end closes every window, this one too, before it is
    // destroyed: what the user left is whether it was open when the last
    // main window closed.
    connect(qGuiApp, &QGuiApplication::lastWindowClosed, this,
            [this] { open_at_end_ = isVisible(); });

    if (restoreVisibility) restore_visibility();
}

void TVolume_control_form::restore_visibility() {
    restored_ = true;
    if (GLB_read_flag(kSection, kShowKey, true) && check_device()) show();
    if (!isVisible()) GLB_write_flag(kSection, kShowKey, false);
}

TVolume_control_form::~TVolume_control_form() {
    // A window never restored was never the user's to close: the stored
    // choice stands.
    if (restored_) GLB_write_flag(kSection, kShowKey, open_at_end_.value_or(isVisible()));
    GLB_write_string(kSection, kCoordinatesKey, QString::number(x()) + u',' + QString::number(y()));
    if (theForm == this) theForm = nullptr;
}

bool TVolume_control_form::check_device() {
    if (platform::audio::mediaControl().waveOutputDevices() > 0) return true;
    GLB_show_message(GLB_text(QStringLiteral("VOLUME CONTROL"), 3), platform::box::IconStop);
    return false;
}

void TVolume_control_form::show_checked() {
    if (check_device()) show();
}

void TVolume_control_form::step(int n, bool up) {
    trackbar_->setValue(trackbar_->value() + (up ? -n : n) * trackbar_->singleStep());
}

void TVolume_control_form::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (main_window_) main_window_->activateWindow();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TVolume_control_form::event(QEvent* event) {
    // The volume may have moved by keys in a list window meanwhile.
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) {
        const QSignalBlocker blocker(trackbar_);
        trackbar_->setValue(GLB_volume_position());
    }
    return QWidget::event(event);
}
