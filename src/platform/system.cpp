#include "platform/system.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <cerrno>

namespace platform {

QString documentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

namespace {

int startErrorOf(const QString& program) {
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty()) {
        const QFileInfo info(program);
        if (!info.exists()) return ENOENT;
        if (!info.isExecutable()) return EACCES;
        return ENOEXEC;
    }
    return ENOEXEC;
}

}  // namespace

RunResult runProgram(const QString& program, const QStringList& arguments, bool wait) {
    RunResult result;
    if (!wait) {
        result.started = QProcess::startDetached(program, arguments);
        if (!result.started) result.systemError = startErrorOf(program);
        return result;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    if (!process.waitForStarted(-1)) {
        result.systemError = startErrorOf(program);
        return result;
    }
    result.started = true;
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit) {
        result.waitFailed = process.state() != QProcess::NotRunning;
    }
    result.exitCode = process.exitCode();
    return result;
}

bool openWithAssociatedProgram(const QString& documentOrAddress) {
    const QUrl url = QFileInfo::exists(documentOrAddress)
                         ? QUrl::fromLocalFile(QFileInfo(documentOrAddress).absoluteFilePath())
                         : QUrl::fromUserInput(documentOrAddress);
    return QDesktopServices::openUrl(url);
}

void beep() {
    QApplication::beep();
}

bool isKeyDown(int qtKey) {
    const Qt::KeyboardModifiers mods = QApplication::queryKeyboardModifiers();
    switch (qtKey) {
        case Qt::Key_Shift:
            return mods.testFlag(Qt::ShiftModifier);
        case Qt::Key_Control:
            return mods.testFlag(Qt::ControlModifier);
        case Qt::Key_Alt:
            return mods.testFlag(Qt::AltModifier);
        default:
            return false;
    }
}

}  // namespace platform
