#include "app/external_programs.h"

#include "platform/desktop.h"
#include "platform/dialog_service.h"
#include "platform/system.h"

using platform::box::IconStop;

void GLB_run_program(const QString& program, const QStringList& arguments, bool wait, bool& error) {
    const platform::RunResult result = platform::runProgram(program, arguments, wait);
    const QString commandLine = arguments.isEmpty() ? QString() : u' ' + arguments.join(u' ');
    if (!result.started) {
        platform::DialogService::message("Could not execute \"" + program + commandLine +
                                             "\".\nError code is " +
                                             QString::number(result.systemError),
                                         QString(), IconStop);
        error = true;
        return;
    }
    if (result.waitFailed) {
        platform::DialogService::message("Something went wrong when waiting for the process \"" +
                                             program + commandLine + "\" to return!",
                                         QString(), IconStop);
        error = true;
    }
}

void GLB_open_with_shell(const QString& documentOrAddress) {
    platform::openWithAssociatedProgram(documentOrAddress);
}
