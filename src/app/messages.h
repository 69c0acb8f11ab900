#pragma once

#include <QString>

// A message box with the program's caption; returns the button pressed.
int GLB_show_message(const QString& text, int style);
// The stop icon, then the end of the process with exit code 1.
[[noreturn]] void GLB_fatal_message(const QString& text);
