#include "listview/windows/window_placement.h"

#include "listview/window_state.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

QRect GLB_work_area_for(const QRect& rect) {
    QScreen* best = nullptr;
    qint64 bestArea = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->geometry().intersected(rect);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > bestArea) {
            best = screen;
            bestArea = area;
        }
    }
    if (!best) best = QGuiApplication::primaryScreen();
    return best ? best->availableGeometry() : QRect(0, 0, 1024, 768);
}

QMargins GLB_frame_margins(const QWidget* window, const QWidget* reference) {
    for (const QWidget* w : {window, reference}) {
        if (!w || !w->isVisible()) continue;
        const QRect frame = w->frameGeometry();
        const QRect client = w->geometry();
        const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                               frame.right() - client.right(), frame.bottom() - client.bottom());
        if (!margins.isNull()) return margins;
    }
    return {};
}

QRect GLB_fitted_client_rect(const QRect& client, const QMargins& frame) {
    const QRect outer = client.marginsAdded(frame);
    return GLB_fit_into_work_area(outer, GLB_work_area_for(outer)).marginsRemoved(frame);
}

QSize GLB_size_within_screen(const QWidget* dialog, const QSize& size) {
    const QWidget* owner = dialog->parentWidget() ? dialog->parentWidget()->window() : nullptr;
    const QWidget* placed = dialog->isVisible() || !owner ? dialog : owner;
    const QRect area = GLB_work_area_for(placed->frameGeometry());
    const QSize room = area.size().shrunkBy(GLB_frame_margins(dialog, owner));
    return size.boundedTo(room.expandedTo(QSize(100, 100)));
}

void GLB_move_onto_screen(QWidget* window) {
    const QRect outer = window->frameGeometry();
    const QRect fitted = GLB_fit_into_work_area(outer, GLB_work_area_for(outer), outer.size());
    if (fitted.topLeft() != outer.topLeft()) window->move(fitted.topLeft());
}

bool GLB_make_window_owned_by(QWidget* window, const QWidget* owner) {
    if (!window || !owner) return false;
    QWindow* handle = window->windowHandle();
    QWindow* ownerHandle = owner->window()->windowHandle();
    if (!handle || !ownerHandle) return false;
    handle->setTransientParent(ownerHandle);
    return true;
}
