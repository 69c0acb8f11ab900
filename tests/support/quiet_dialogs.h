#pragma once

#include "platform/dialog_service.h"

namespace testing_support {

// Answers every box with its default, silently: for fuzz targets, which
// must never wait for anyone.
class QuietDialogs final : public platform::DialogBackend {
  public:
    int message(const platform::MessageRequest& request) override {
        return platform::defaultAnswer(request.style);
    }
    std::optional<QString> chooseDirectory(const QString&, const QString&) override { return {}; }
    std::optional<QString> openFileName(const platform::FileRequest&) override { return {}; }
    std::optional<QString> saveFileName(const platform::FileRequest&) override { return {}; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override {
        return {};
    }
};

}  // namespace testing_support
