#pragma once

#include "platform/dialog_service.h"

#include <deque>
#include <vector>

namespace testing_support {

// A dialog backend that answers from a script and records every request, so
// tests can check what the user would have been asked without a modal box.
class ScriptedDialogs final : public platform::DialogBackend {
  public:
    struct Log {
        std::vector<platform::MessageRequest> messages;
        std::vector<QString> directoryCaptions;
    };

    explicit ScriptedDialogs(Log& log) : log_(log) {}

    // Answers are used in order; when they run out, a box gives its default.
    std::deque<int> messageAnswers;
    std::deque<std::optional<QString>> directoryAnswers;
    std::deque<std::optional<QString>> fileAnswers;
    std::deque<std::optional<QString>> textAnswers;

    int message(const platform::MessageRequest& request) override;
    std::optional<QString> chooseDirectory(const QString& caption,
                                           const QString& startDirectory) override;
    std::optional<QString> openFileName(const platform::FileRequest& request) override;
    std::optional<QString> saveFileName(const platform::FileRequest& request) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial) override;

  private:
    Log& log_;
};

// Installs a scripted backend and a fatal hook that throws FatalStop, and
// puts the previous ones back when it goes out of scope.
class DialogScript {
  public:
    DialogScript();
    ~DialogScript();
    DialogScript(const DialogScript&) = delete;
    DialogScript& operator=(const DialogScript&) = delete;

    ScriptedDialogs& dialogs() { return *dialogs_; }
    const std::vector<platform::MessageRequest>& messages() const { return log_.messages; }
    const std::vector<QString>& directoryCaptions() const { return log_.directoryCaptions; }
    QString lastMessage() const {
        return log_.messages.empty() ? QString() : log_.messages.back().text;
    }

  private:
    ScriptedDialogs::Log log_;
    ScriptedDialogs* dialogs_;
    std::unique_ptr<platform::DialogBackend> previous_;
    platform::DialogService::ExitHook previousHook_;
};

}  // namespace testing_support
