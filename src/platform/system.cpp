#include "platform/system.h"

#include "platform/dialog_service.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
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

void beep() {
    DialogService::beep();
}

}  // namespace platform
