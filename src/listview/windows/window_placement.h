#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

// The work area (the screen less its panels) of the screen that shows most
// of the rectangle; the primary screen's when the rectangle is on none.
QRect GLB_work_area_for(const QRect& rect);

// The widths of a window's frame around its client area: its own once the
// window manager framed it, else those of the reference window (a shown
// window of the program), else none.
QMargins GLB_frame_margins(const QWidget* window, const QWidget* reference = nullptr);

// A client rectangle moved (and shrunk when needed) so that the window with
// its frame lies inside the work area of its screen.
QRect GLB_fitted_client_rect(const QRect& client, const QMargins& frame);

// A dialog's client size bounded so that, framed, it fits the work area of
// the screen its owner is on (a double scale or a large font can make its
// natural size larger than the screen). The frame's widths are the
// dialog's own once shown, else its owner's.
QSize GLB_size_within_screen(const QWidget* dialog, const QSize& size);

// Moves a shown window whose frame reaches past the work area of its screen
// back inside it (its own frame's widths known only now); called from its
// showEvent.
void GLB_move_onto_screen(QWidget* window);

// Makes a tool window (Qt::Tool) one the owner's window owns, for windows
// that cannot have the owner as their Qt parent because they outlive it:
// the window manager keeps it above its owner, and dialogs, owned as well,
// come above it, without it staying above other programs' windows. Called
// when the window is about to show; false while either has no native window.
bool GLB_make_window_owned_by(QWidget* window, const QWidget* owner);
