#include "utilities/windows/copy_to_hard_disk_ui.h"

#include "listview/list_fonts.h"
#include "utilities/copy_files_thread.h"
#include "utilities/windows/message_while_copying_form.h"
#include "utilities/windows/message_while_executing_form.h"
#include "utilities/needed_disk_space.h"
#include "utilities/windows/select_copy_directory_dialog.h"

#include <QGuiApplication>
#include <QScreen>

bool TCopyToHardDiskWindows::measure(TClassCalculateNeededDiskSpace& calculator,
                                     const QString& message, const QString& cancelCaption) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QPoint bottomRight = screen ? screen->availableGeometry().bottomRight() : QPoint(640, 480);
    const QFont font = GLB_list_fonts().standard().font;
    const bool cancelled = RunWhileShowingMessage(
        message,
        [&calculator](const std::atomic<bool>& cancelled, const auto&, const auto&) {
            calculator.calculate(cancelled);
        },
        false, &font, false, bottomRight, cancelCaption);
    return !cancelled;
}

std::optional<QString> TCopyToHardDiskWindows::choose_target(const QStringList& texts,
                                                             const QString& defaultDirectory,
                                                             qint64 neededMegabytes) {
    return TSelectCopyDirectoryDialog::choose(texts, defaultDirectory, neededMegabytes);
}

TCopyResult TCopyToHardDiskWindows::run_copy(TCopyFilesToHardDiskThread& thread, int fileCount) {
    TMessageWhileCopyingForm form(thread, fileCount);
    form.exec();
    // After an abort the thread stops at its next block; its unfinished
    // file must be gone before anyone looks at the copy.
    thread.wait();
    if (form.succeeded()) return TCopyResult::success;
    if (form.failed()) return TCopyResult::failure;
    return TCopyResult::aborted;
}

bool CopyToHardDisk() {
    TCopyToHardDiskWindows windows;
    return TCopyToHardDisk(windows).run();
}
