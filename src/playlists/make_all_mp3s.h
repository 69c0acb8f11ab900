#pragma once

#include <QString>
#include <functional>

class Tdata;
class Tcupaitem;
class Tspecies;
class Tfamily;
class TClassVisibleSpeciesAndRecordings;

// "Make mp3s" without its window: walks the visible species and their
// playable recordings in one systematic order and copies one recording per
// tick, collecting the failures.
class TMakeAllMP3sJob {
  public:
    // Copies one recording; empty on success, the label on failure.
    using Copier = std::function<QString(const Tcupaitem&)>;

    TMakeAllMP3sJob(const Tdata& data, int order, const TClassVisibleSpeciesAndRecordings& visible,
                    Copier copier);

    // Counts the recordings, then starts from the first one.
    void start();
    // Copies the current recording and moves on; false once the job ended.
    bool tick();
    // Called by the copier when the user cancelled its copy: the recording
    // does not count and the job ends.
    void cancel_current() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

    bool running() const { return running_; }
    bool paused = false;
    int done() const { return done_; }
    int total() const { return total_; }
    int failure_count() const { return failure_count_; }
    const QString& progress_text() const { return progress_text_; }
    const QString& failures_text() const { return failures_text_; }
    // What the window shows: progress, the folder and the failures.
    QString display_text(const QString& folder) const;

    // The walk, exposed for its own sake.
    const Tcupaitem* first() const;
    const Tcupaitem* next(const Tcupaitem& item) const;

  private:
    const Tcupaitem* first_of(const Tspecies* species) const;
    const Tcupaitem* next_of_species(const Tcupaitem* item) const;
    const Tcupaitem* from(const Tfamily* family, const Tspecies* species) const;
    bool wanted(const Tcupaitem& item) const;
    void record_failure(const QString& label);
    void finish();

    const Tdata& data_;
    int order_;
    const TClassVisibleSpeciesAndRecordings& visible_;
    Copier copier_;
    const Tcupaitem* current_ = nullptr;
    bool running_ = false;
    bool stop_requested_ = false;
    bool cancelled_ = false;
    int done_ = 0;
    int total_ = 0;
    int failure_count_ = 0;
    QString progress_text_;
    QString failures_text_;
};

// The window's texts, section "MAKE ALL MP3s".
QString GLB_make_all_mp3s_text(int line);
