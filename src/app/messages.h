#pragma once

#include <QString>

// A message box with the program's caption; returns the button pressed.
int GLB_show_message(const QString& text, int style);
// The stop icon, then the end of the process with exit code 1.
[[noreturn]] void GLB_fatal_message(const QString& text);

// An inconsistency found while reading the program's files: the texts file,
// the editions and the data files. It carries the message the user is to
// see; start-up turns it into the fatal message, tests and the fuzzer
// catch it.
class TLoadError {
  public:
    explicit TLoadError(QString message) : message_(std::move(message)) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

// Runs the loading step; a load error in it becomes the fatal message.
template <typename Step>
void GLB_fatal_on_load_error(Step&& step) {
    try {
        step();
    } catch (const TLoadError& error) {
        GLB_fatal_message(error.message());
    }
}
