#pragma once

#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Where the two threads report to: the waiting window. Called from worker
// threads, so an implementation only posts to its own thread.
class TMessageWhileExecutingSink {
  public:
    virtual ~TMessageWhileExecutingSink() = default;
    virtual void post_position(int position) = 0;
    virtual void post_detail_text(const QString& text) = 0;
    // The procedure ended without being cancelled.
    virtual void post_procedure_done() = 0;
};

// Runs a procedure on a worker thread while a second thread animates a
// progress bar: in counter mode with the counter the procedure sets (woken
// by the "counter or text changed" event), otherwise filling the bar about
// once a second and starting again.
class TGlobalShowMessageWhileExecutingObject {
  public:
    using TSetText = std::function<void(const QString&)>;
    using TSetCounter = std::function<void(int)>;
    // The procedure polls `cancelled` and reports through the callbacks.
    using TProcedure = std::function<void(const std::atomic<bool>& cancelled,
                                          const TSetText& setText,
                                          const TSetCounter& setCounter)>;

    TGlobalShowMessageWhileExecutingObject(TProcedure procedure, bool counterMode,
                                           bool detailLabel);
    ~TGlobalShowMessageWhileExecutingObject();
    TGlobalShowMessageWhileExecutingObject(const TGlobalShowMessageWhileExecutingObject&) = delete;
    TGlobalShowMessageWhileExecutingObject& operator=(
        const TGlobalShowMessageWhileExecutingObject&) = delete;

    // The progress bar's maximum: 100 in counter mode, 10 otherwise.
    int maximum() const { return counter_mode_ ? 100 : 10; }

    // Starts the progress thread, then the procedure thread.
    void start(TMessageWhileExecutingSink& sink);
    // Main thread: the cancel button.
    void cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_.load(); }
    // Ends the progress thread and waits for both.
    void finish();

    int counter() const;
    QString detail_text() const;

  private:
    void set_text(const QString& text);
    void set_counter(int value);
    void signal_event();
    void run_progress(TMessageWhileExecutingSink& sink);

    TProcedure procedure_;
    const bool counter_mode_;
    const bool detail_label_;
    std::atomic<bool> cancelled_{false};

    mutable std::mutex mutex_;
    std::condition_variable event_;
    bool event_set_ = false;  // auto-reset: a wait that sees it clears it
    bool terminated_ = false;
    int counter_ = 0;
    QString detail_text_;
    std::chrono::steady_clock::time_point started_;

    std::thread progress_thread_;
    std::thread procedure_thread_;
};
