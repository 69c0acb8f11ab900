#pragma once

// Starting other programs: one by name, or whatever the desktop opens a
// document or web address with.

#include <QString>
#include <QStringList>

void GLB_run_program(const QString& program, const QStringList& arguments, bool wait, bool& error);
void GLB_open_with_shell(const QString& documentOrAddress);
