#pragma once

#include <QString>
#include <QStringList>

namespace platform {

QString documentsFolder();

struct RunResult {
    bool started = false;
    int exitCode = 0;
    int systemError = 0;  // errno-style number when the program could not start
    bool waitFailed = false;
};

// Starts a program with an argument list (never through a shell); waits
// without a time limit until it ends when asked.
RunResult runProgram(const QString& program, const QStringList& arguments, bool wait);

// The alert sound, through the dialog service's backend.
void beep();

}  // namespace platform
