#include "app/windows/first_paint_report.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

TAfterFirstPaint::TAfterFirstPaint(QWidget* window, std::function<void()> task)
    : QObject(window), window_(window), task_(std::move(task)) {
    // Children paint in the same pass as the window and receive their own
    // paint events, so every widget's events are watched.
    QCoreApplication::instance()->installEventFilter(this);
}

bool TAfterFirstPaint::eventFilter(QObject* watched, QEvent* event) {
    if (!painted_ && event->type() == QEvent::Paint && watched->isWidgetType() && window_ &&
        static_cast<QWidget*>(watched)->window() == window_) {
        painted_ = true;
        // The pass paints the window's children after this event: the task
        // waits until the event loop is back, when the whole pass is done.
        QMetaObject::invokeMethod(
            this,
            [this] {
                QCoreApplication::instance()->removeEventFilter(this);
                task_();
            },
            Qt::QueuedConnection);
    }
    return false;
}

TFirstPaintReport::TFirstPaintReport(Clock::time_point mainStarted, QWidget* window)
    : TAfterFirstPaint(window, [mainStarted] { report(mainStarted); }) {}

bool TFirstPaintReport::wanted() {
    return qEnvironmentVariableIsSet("KORVELAN_REPORT_FIRST_PAINT");
}

void TFirstPaintReport::report(Clock::time_point mainStarted) {
    const double ms =
        std::chrono::duration<double, std::milli>(Clock::now() - mainStarted).count();
    std::printf("first paint after %.1f ms\n", ms);
    // The caller may say when it launched the program, on the same clock.
    bool launchKnown = false;
    const qint64 launchedAt = qgetenv("KORVELAN_LAUNCHED_AT").toLongLong(&launchKnown);
    if (launchKnown && launchedAt > 0) {
        const auto launched = Clock::time_point(std::chrono::nanoseconds(launchedAt));
        std::printf("first paint after launch %.1f ms\n",
                    std::chrono::duration<double, std::milli>(Clock::now() - launched).count());
    }
    std::fflush(stdout);
    // The measurement is all the run was for: the program ends here, before
    // closing the window could write settings or ask anything.
    std::_Exit(0);
}
