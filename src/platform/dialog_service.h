#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace platform {

// Message-box styles and answers, numbered as the settings and texts files
// and every caller know them.
namespace box {
inline constexpr int Plain = 0;
inline constexpr int OkCancel = 1;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int IconStop = 16;
inline constexpr int IconQuestion = 32;
inline constexpr int IconWarning = 48;
inline constexpr int IconInformation = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int QuestionYesNo = IconQuestion | YesNo;               // 36
inline constexpr int OkCancelDefaultCancel = OkCancel | DefaultButton2;  // 257
inline constexpr int QuestionYesNoCancelDefault2 =
    IconQuestion | YesNoCancel | DefaultButton2;  // 291

inline constexpr int ButtonsMask = 0x0F;
inline constexpr int IconMask = 0xF0;
inline constexpr int DefaultMask = 0xF00;
}  // namespace box

namespace answer {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace answer

// The answer a box gives when nobody is there to press a button: the
// default button of its style.
int defaultAnswer(int style);

struct MessageRequest {
    QString text;
    QString caption;
    int style = box::Plain;
};

struct FileRequest {
    QString caption;
    QString directory;
    QString filter;
};

// What actually puts dialogs on screen. The program installs the widget
// backend; tests install a scripted one, so nothing ever blocks on a modal box.
class DialogBackend {
  public:
    virtual ~DialogBackend() = default;
    virtual int message(const MessageRequest& request) = 0;
    virtual std::optional<QString> chooseDirectory(const QString& caption,
                                                   const QString& startDirectory) = 0;
    virtual std::optional<QString> openFileName(const FileRequest& request) = 0;
    virtual std::optional<QString> saveFileName(const FileRequest& request) = 0;
    virtual std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                             const QString& initial) = 0;
    // The alert sound of a failed key or click; silent unless the backend has one.
    virtual void beep() {}
};

// Thrown by the fatal-exit hook that in-process tests install, so that a
// fatal stop can be observed without ending the test process.
struct FatalStop {
    QString message;
    int exitCode = 1;
};

class DialogService {
  public:
    static int message(const QString& text, const QString& caption, int style);
    static std::optional<QString> chooseDirectory(const QString& caption,
                                                  const QString& startDirectory = {});
    static std::optional<QString> openFileName(const FileRequest& request);
    static std::optional<QString> saveFileName(const FileRequest& request);
    static std::optional<QString> inputText(const QString& caption, const QString& prompt,
                                            const QString& initial = {});
    static void beep();
    // A box asked for off the interface thread (the database loads on a
    // worker) cannot be shown there: it waits, takes its default answer, and
    // shows when the interface thread calls this, in the order asked.
    static void showQueuedMessages();

    // Shows the text with the stop icon, writes it to stderr, and ends the
    // process with exit code 1 (or hands over to the installed exit hook).
    [[noreturn]] static void fatal(const QString& text, const QString& caption);

    // Installs a backend; returns the previous one. Without any backend,
    // messages go to stderr and take the default answer.
    static std::unique_ptr<DialogBackend> setBackend(std::unique_ptr<DialogBackend> backend);
    using ExitHook = std::function<void(const QString& message, int exitCode)>;
    static ExitHook setExitHook(ExitHook hook);
};

}  // namespace platform
