#pragma once

#include <QString>
#include <functional>
#include <memory>

class QWidget;
namespace platform {
class SingleInstanceMarker;
}

// The program's start and end, in their fixed order. The subsystems that
// come later plug into their steps through the seams.
class TStartup {
  public:
    struct Seams {
        // After texts and edition. It may call `threads_met` once the
        // loading threads have met and one core is left at work.
        std::function<void(const std::function<void()>& threads_met)> load_species_database;
        std::function<QWidget*()> create_windows;     // the main window
        std::function<void()> free_species_database;  // shut-down
        // Set-up of the windows that needs no database. When given, it runs
        // on this thread while the database loads on a worker, from when
        // the loading threads have met (or the load is over).
        std::function<void()> prepare_windows = {};
    };

    explicit TStartup(Seams seams);
    ~TStartup();

    // Constants, process values, texts, edition, database (beside the
    // windows' preparation), base directory, in this order. A missing texts
    // file or an inconsistent database ends the program here.
    void initialise(const QString& startupDirectory, const QString& programDirectory);
    // False when another copy runs and the user chose not to go on.
    bool claim_single_instance();
    // The mutex name of the running edition.
    static QString mutex_name();

    // Help file, single instance, icon and the windows; the main window
    // shown, or null when the user chose not to start a second copy.
    QWidget* open_main_window();
    // The above, the event loop and the shut-down; returns the exit code.
    int run_main_program();
    void shut_down();

  private:
    void load_species_database();
    // The program's icon for every window, set once.
    void set_program_icon();

    Seams seams_;
    std::unique_ptr<platform::SingleInstanceMarker> marker_;
    bool initialised_ = false;
    bool shut_down_ = false;
    bool icon_set_ = false;
};
