#include "app/first_paint_report.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

TFirstPaintReport::TFirstPaintReport(Clock::time_point mainStarted, QWidget* window)
    : QObject(window), main_started_(mainStarted), window_(window) {
    // Children paint in the same pass as the window and receive their own
    // paint events, so every widget's events are watched.
    QCoreApplication::instance()->installEventFilter(this);
}

bool TFirstPaintReport::wanted() {
    return qEnvironmentVariableIsSet("KORVELAN_REPORT_FIRST_PAINT");
}

bool TFirstPaintReport::eventFilter(QObject* watched, QEvent* event) {
    if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType() && window_ &&
        static_cast<QWidget*>(watched)->window() == window_) {
        painted_ = true;
        // The pass paints the window's children after this event: the report
        // waits until the event loop is back, when the whole pass is done.
        QMetaObject::invokeMethod(this, [this] { report(); }, Qt::QueuedConnection);
    }
    return false;
}

void TFirstPaintReport::report() {
    const double ms =
        std::chrono::duration<double, std::milli>(Clock::now() - main_started_).count();
    std::printf("first paint after %.1f ms\n", ms);
    std::fflush(stdout);
    // The measurement is all the run was for: the program ends here, before
    // closing the window could write settings or ask anything.
    std::_Exit(0);
}
