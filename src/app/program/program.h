#pragma once

#include <QString>

#include <chrono>
#include <memory>

class QWidget;

// The whole program as one object: it installs the services every window
// finds, runs the start in its fixed order and ends it. `main` makes one;
// the journey tests make the same one on the demo edition, so that what the
// tests reach is what the user meets.
class TProgram {
  public:
    using Clock = std::chrono::steady_clock;

    // Installs the services (a QApplication and the dialog service must
    // exist). The time is when the process started, for the first-paint report.
    explicit TProgram(Clock::time_point started = Clock::now());
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // Texts, edition, species database and base directory. A missing texts
    // file or an inconsistent database ends the program here.
    void initialise(const QString& startupDirectory, const QString& programDirectory);
    // Help file, single instance, icon and the windows: the main list
    // window shown and returned; null when the user chose not to start a
    // second copy.
    QWidget* open_main_window();
    // The event loop until the main window closes, then the end; the exit code.
    int run();
    // The sound engine's module has loaded and what waited for it (the
    // no-sound box, the volume window) has run.
    bool sound_engine_ready() const;
    // The main window closed (its state written), the settings written and
    // the database freed. The destructor does it when not done before.
    void shut_down();

  private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};
