#include "support/scripted_dialogs.h"

namespace testing_support {

namespace {
std::optional<QString> take(std::deque<std::optional<QString>>& answers) {
    if (answers.empty()) return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}
}  // namespace

int ScriptedDialogs::message(const platform::MessageRequest& request) {
    log_.messages.push_back(request);
    if (messageAnswers.empty()) return platform::defaultAnswer(request.style);
    const int answer = messageAnswers.front();
    messageAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedDialogs::chooseDirectory(const QString& caption, const QString&) {
    log_.directoryCaptions.push_back(caption);
    return take(directoryAnswers);
}

std::optional<QString> ScriptedDialogs::openFileName(const platform::FileRequest&) {
    return take(fileAnswers);
}

std::optional<QString> ScriptedDialogs::saveFileName(const platform::FileRequest&) {
    return take(fileAnswers);
}

std::optional<QString> ScriptedDialogs::inputText(const QString&, const QString&, const QString&) {
    return take(textAnswers);
}

DialogScript::DialogScript() {
    auto dialogs = std::make_unique<ScriptedDialogs>(log_);
    dialogs_ = dialogs.get();
    previous_ = platform::DialogService::setBackend(std::move(dialogs));
    previousHook_ = platform::DialogService::setExitHook([](const QString& message, int code) {
        throw platform::FatalStop{message, code};
    });
}

DialogScript::~DialogScript() {
    platform::DialogService::setBackend(std::move(previous_));
    platform::DialogService::setExitHook(std::move(previousHook_));
}

}  // namespace testing_support
