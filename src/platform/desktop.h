#pragma once

#include <QString>

// What needs the desktop session (Qt Gui) rather than Qt Core alone.
namespace platform {

// Opens a document or web address with the program the desktop associates.
bool openWithAssociatedProgram(const QString& documentOrAddress);

// Whether a modifier key (Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt) is down.
bool isKeyDown(int qtKey);

}  // namespace platform
