#include "sound/windows/volume_control_form.h"

#include "app/messages.h"
#include "app/settings.h"
#include "app/settings_general.h"
#include "formats/textfile.h"
#include "listview/windows/window_placement.h"
#include "listview/window_state.h"
#include "platform/audio/media_control.h"
#include "platform/dialog_service.h"
#include "sound/volume.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace {
using settings::general::kSection;
using settings::general::kShowVolumeControl;
using settings::general::kVolumeControlCoordinates;
TVolume_control_form* theForm = nullptr;
}  // namespace

TVolume_control_form* TVolume_control_form::instance() {
    return theForm;
}

TVolume_control_form::TVolume_control_form(QWidget* mainWindow, bool restoreVisibility)
    // Owned by the main window (see event()) rather than staying on top:
    // it floats above the list windows, and dialogs come above it. The main
    // window is not its parent because the window outlives it.
    : QWidget(nullptr, Qt::Tool | Qt::MSWindowsFixedSizeDialogHint),
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
    connect(trackbar_, &QSlider::valueChanged, this, [](int position) { GLB_move_volume_to(position); });

    place();

    // The program's end closes every window, this one too, before it is
    // destroyed: what the user left is whether it was open when the last
    // main window closed.
    connect(qGuiApp, &QGuiApplication::lastWindowClosed, this,
            [this] { open_at_end_ = isVisible(); });

    if (restoreVisibility) restore_visibility();
}

void TVolume_control_form::restore_visibility() {
    restored_ = true;
    if (GLB_read_flag(kSection, kShowVolumeControl, true) && check_device()) {
        // It comes back once the sound engine is ready, after the main window:
        // by then the user may be at work in another window, which keeps
        // the keyboard.
        setAttribute(Qt::WA_ShowWithoutActivating, true);
        show();
        setAttribute(Qt::WA_ShowWithoutActivating, false);
    }
    if (!isVisible()) GLB_write_flag(kSection, kShowVolumeControl, false);
}

void TVolume_control_form::place() {
    const QString stored = GLB_read_string(kSection, kVolumeControlCoordinates, QString());
    const QMargins frame = GLB_frame_margins(this, main_window_);
    placed_without_frame_ = frame.isNull();
    const QSize outer = size().grownBy(frame);
    const qsizetype comma = stored.indexOf(u',');
    bool xOk = false, yOk = false;
    const int x = stored.left(comma).trimmed().toInt(&xOk);
    const int y = comma < 0 ? 0 : stored.mid(comma + 1).trimmed().toInt(&yOk);
    if (!xOk || !yOk) {
        // Aside, where neither the menu bars nor the dialogs open.
        const QRect area = GLB_work_area_for(main_window_ ? main_window_->frameGeometry() : QRect());
        placed_at_ = GLB_floating_window_place(outer, area, TFloatingPlace::BottomRight);
    } else {
        const QRect wanted(QPoint(x, y), outer);
        placed_at_ = GLB_fit_into_work_area(wanted, GLB_work_area_for(wanted), outer).topLeft();
        // A place on a screen that is not there today stays the user's
        // unless the window is moved.
        if (placed_at_ != QPoint(x, y)) kept_coordinates_ = stored;
    }
    // Until the window manager framed it, a made window is moved by its
    // client area, a window not made yet by its frame.
    const bool unframedButMade = testAttribute(Qt::WA_WState_Created) && GLB_frame_margins(this).isNull();
    move(unframedButMade ? placed_at_ + QPoint(frame.left(), frame.top()) : placed_at_);
}

TVolume_control_form::~TVolume_control_form() {
    // A window never restored was never the user's to close: the stored
    // choice stands.
    if (restored_) GLB_write_flag(kSection, kShowVolumeControl, open_at_end_.value_or(isVisible()));
    if (!kept_coordinates_.isEmpty() && pos() == placed_at_)
        GLB_write_string(kSection, kVolumeControlCoordinates, kept_coordinates_);
    else
        GLB_write_string(kSection, kVolumeControlCoordinates,
                         QString::number(x()) + u',' + QString::number(y()));
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
    if (event->type() == QEvent::Show) {
        GLB_make_window_owned_by(this, main_window_);
        // Placed before the main window had its frame: again, now that the
        // frames' widths are known.
        if (placed_without_frame_ && pos() == placed_at_ && !GLB_frame_margins(main_window_).isNull())
            place();
    }
    if (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show) {
        const QSignalBlocker blocker(trackbar_);
        trackbar_->setValue(GLB_volume_position());
    }
    return QWidget::event(event);
}
