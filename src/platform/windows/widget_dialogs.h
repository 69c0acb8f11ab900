#pragma once

#include "platform/dialog_service.h"

namespace platform {

// The backend that shows real modal dialogs with Qt Widgets.
class WidgetDialogs final : public DialogBackend {
  public:
    int message(const MessageRequest& request) override;
    std::optional<QString> chooseDirectory(const QString& caption,
                                           const QString& startDirectory) override;
    std::optional<QString> openFileName(const FileRequest& request) override;
    std::optional<QString> saveFileName(const FileRequest& request) override;
    std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                     const QString& initial) override;
    void beep() override;
};

}  // namespace platform
