#include "platform/dialog_service.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace platform {
namespace {

std::unique_ptr<DialogBackend>& backend() {
    static std::unique_ptr<DialogBackend> instance;
    return instance;
}

DialogService::ExitHook& exitHook() {
    static DialogService::ExitHook hook;
    return hook;
}

struct QueuedMessages {
    std::mutex mutex;
    std::vector<MessageRequest> requests;
};

QueuedMessages& queued() {
    static QueuedMessages instance;
    return instance;
}

bool offInterfaceThread() {
    const QCoreApplication* application = QCoreApplication::instance();
    return application && QThread::currentThread() != application->thread();
}

void printToStderr(const QString& caption, const QString& text) {
    const QByteArray line = (caption.isEmpty() ? text : caption + ": " + text).toLocal8Bit();
    std::fprintf(stderr, "%s\n", line.constData());
    std::fflush(stderr);
}

}  // namespace

int defaultAnswer(int style) {
    const int buttons = style & box::ButtonsMask;
    const int defaultIndex = (style & box::DefaultMask) >> 8;  // 0 first, 1 second, 2 third
    switch (buttons) {
        case box::OkCancel:
            return defaultIndex == 0 ? answer::Ok : answer::Cancel;
        case box::YesNoCancel:
            return defaultIndex == 0 ? answer::Yes
                                     : (defaultIndex == 1 ? answer::No : answer::Cancel);
        case box::YesNo:
            return defaultIndex == 0 ? answer::Yes : answer::No;
        default:
            return answer::Ok;
    }
}

int DialogService::message(const QString& text, const QString& caption, int style) {
    if (offInterfaceThread()) {
        const std::lock_guard lock(queued().mutex);
        queued().requests.push_back({text, caption, style});
        return defaultAnswer(style);
    }
    if (!backend()) {
        printToStderr(caption, text);
        return defaultAnswer(style);
    }
    return backend()->message({text, caption, style});
}

std::optional<QString> DialogService::chooseDirectory(const QString& caption,
                                                      const QString& startDirectory) {
    if (!backend()) return std::nullopt;
    return backend()->chooseDirectory(caption, startDirectory);
}

std::optional<QString> DialogService::openFileName(const FileRequest& request) {
    if (!backend()) return std::nullopt;
    return backend()->openFileName(request);
}

std::optional<QString> DialogService::saveFileName(const FileRequest& request) {
    if (!backend()) return std::nullopt;
    return backend()->saveFileName(request);
}

std::optional<QString> DialogService::inputText(const QString& caption, const QString& prompt,
                                                const QString& initial) {
    if (!backend()) return std::nullopt;
    return backend()->inputText(caption, prompt, initial);
}

void DialogService::showQueuedMessages() {
    std::vector<MessageRequest> requests;
    {
        const std::lock_guard lock(queued().mutex);
        requests.swap(queued().requests);
    }
    for (const MessageRequest& request : requests)
        message(request.text, request.caption, request.style);
}

void DialogService::beep() {
    if (backend()) backend()->beep();
}

void DialogService::fatal(const QString& text, const QString& caption) {
    // stderr first: the box may never be seen when there is no display.
    printToStderr(caption, text);
    if (backend()) backend()->message({text, caption, box::IconStop});
    if (exitHook()) exitHook()(text, 1);
    std::exit(1);
}

std::unique_ptr<DialogBackend> DialogService::setBackend(std::unique_ptr<DialogBackend> b) {
    std::swap(backend(), b);
    return b;
}

DialogService::ExitHook DialogService::setExitHook(ExitHook hook) {
    std::swap(exitHook(), hook);
    return hook;
}

}  // namespace platform
