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

// Opens a document or web address with the program the desktop associates.
bool openWithAssociatedProgram(const QString& documentOrAddress);

void beep();

// Whether a modifier key (Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt) is down.
bool isKeyDown(int qtKey);

}  // namespace platform
