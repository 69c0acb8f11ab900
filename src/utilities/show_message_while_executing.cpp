#include "utilities/show_message_while_executing.h"

#include <cmath>

TGlobalShowMessageWhileExecutingObject::TGlobalShowMessageWhileExecutingObject(
    TProcedure procedure, bool counterMode, bool detailLabel)
    : procedure_(std::move(procedure)), counter_mode_(counterMode), detail_label_(detailLabel) {}

TGlobalShowMessageWhileExecutingObject::~TGlobalShowMessageWhileExecutingObject() {
    cancel();
    finish();
}

void TGlobalShowMessageWhileExecutingObject::start(TMessageWhileExecutingSink& sink) {
    started_ = std::chrono::steady_clock::now();
    progress_thread_ = std::thread([this, &sink] { run_progress(sink); });
    procedure_thread_ = std::thread([this, &sink] {
        procedure_(
            cancelled_, [this](const QString& text) { set_text(text); },
            [this](int value) { set_counter(value); });
        if (!cancelled_) sink.post_procedure_done();
    });
}

void TGlobalShowMessageWhileExecutingObject::finish() {
    {
        std::lock_guard lock(mutex_);
        terminated_ = true;
    }
    event_.notify_all();
    if (progress_thread_.joinable()) progress_thread_.join();
    if (procedure_thread_.joinable()) procedure_thread_.join();
}

int TGlobalShowMessageWhileExecutingObject::counter() const {
    std::lock_guard lock(mutex_);
    return counter_;
}

QString TGlobalShowMessageWhileExecutingObject::detail_text() const {
    std::lock_guard lock(mutex_);
    return detail_text_;
}

void TGlobalShowMessageWhileExecutingObject::signal_event() {
    event_set_ = true;
    event_.notify_all();
}

void TGlobalShowMessageWhileExecutingObject::set_text(const QString& text) {
    std::lock_guard lock(mutex_);
    if (text == detail_text_) return;
    detail_text_ = text;
    signal_event();
}

void TGlobalShowMessageWhileExecutingObject::set_counter(int value) {
    std::lock_guard lock(mutex_);
    if (value == counter_) return;
    counter_ = value;
    signal_event();
}

void TGlobalShowMessageWhileExecutingObject::run_progress(TMessageWhileExecutingSink& sink) {
    using namespace std::chrono;
    const int max = maximum();
    std::unique_lock lock(mutex_);
    QString shownText;
    while (!terminated_) {
        int value = 0;
        if (counter_mode_) {
            event_.wait_for(lock, milliseconds(500), [this] { return event_set_ || terminated_; });
            event_set_ = false;
            value = counter_;
        } else {
            event_.wait_for(lock, milliseconds(100), [this] { return terminated_; });
            const double seconds = duration<double>(steady_clock::now() - started_).count();
            value = static_cast<int>(std::lround(max * seconds));
        }
        if (terminated_) break;
        const int position = ((value % (max + 1)) + max + 1) % (max + 1);
        const QString text = detail_text_;
        lock.unlock();
        sink.post_position(position);
        if (detail_label_ && !text.isEmpty() && text != shownText) {
            sink.post_detail_text(text);
            shownText = text;
        }
        lock.lock();
    }
}
