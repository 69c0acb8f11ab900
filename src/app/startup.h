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
        std::function<void()> load_species_database;  // step 5
        std::function<QWidget*()> create_windows;     // step 10: the main window
        std::function<void()> free_species_database;  // shut-down
    };

    explicit TStartup(Seams seams);
    ~TStartup();

    // Steps 1 to 6: constants, process values, texts, edition, database,
    // base directory. A missing texts file ends the program here.
    void initialise(const QString& startupDirectory, const QString& programDirectory);
    // Step 8: false when another copy runs and the user chose not to go on.
    bool claim_single_instance();
    // The mutex name of the running edition.
    static QString mutex_name();

    // Steps 7 to 11 and the shut-down; returns the exit code.
    int run_main_program();
    void shut_down();

  private:
    Seams seams_;
    std::unique_ptr<platform::SingleInstanceMarker> marker_;
    bool initialised_ = false;
    bool shut_down_ = false;
};
