#pragma once

#include <QObject>
#include <QPointer>
#include <chrono>
#include <functional>

class QWidget;

// Runs a task once the window's first paint pass is done (the window and
// every child it paints in that pass), back in the event loop.
class TAfterFirstPaint : public QObject {
  public:
    TAfterFirstPaint(QWidget* window, std::function<void()> task);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> window_;
    std::function<void()> task_;
    bool painted_ = false;
};

// Measures how long a program takes to show its window: from a moment taken
// at the start of main to the end of the first paint of the window (the
// window and every child it paints in that pass). Prints "first paint after
// N ms" on standard output and ends the process at once.
// The start-up benchmark reads that line; the program uses it only when
// asked to (KORVELAN_REPORT_FIRST_PAINT).
class TFirstPaintReport : public TAfterFirstPaint {
  public:
    using Clock = std::chrono::steady_clock;

    TFirstPaintReport(Clock::time_point mainStarted, QWidget* window);

    // Whether the environment asks for the report.
    static bool wanted();

  private:
    static void report(Clock::time_point mainStarted);
};
