#pragma once

#include <QObject>
#include <QPointer>
#include <chrono>

class QWidget;

// Measures how long a program takes to show its window: from a moment taken
// at the start of main to the end of the first paint of the window (the
// window and every child it paints in that pass). Prints "first paint after
// N ms" on standard output and ends the process at once.
// The start-up benchmark reads that line; the program uses it only when
// asked to (KORVELAN_REPORT_FIRST_PAINT).
class TFirstPaintReport : public QObject {
  public:
    using Clock = std::chrono::steady_clock;

    TFirstPaintReport(Clock::time_point mainStarted, QWidget* window);

    // Whether the environment asks for the report.
    static bool wanted();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void report();

    Clock::time_point main_started_;
    QPointer<QWidget> window_;
    bool painted_ = false;
};
