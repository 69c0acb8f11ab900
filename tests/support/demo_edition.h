#pragma once

#include "support/test_environment.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace testing_support {

// The demo edition's file of that name, from the source tree.
QByteArray demoEditionFile(const QString& name);
// The names of its ten data files.
const QStringList& demoDataFiles();

// Copies the demo edition's program-directory files into the directory,
// makes it the program directory, and takes the start's steps on it: reads
// its texts and edition, and loads its species database.
void installDemoEdition(const ProgramDirectory& dir);
// The program's end: frees the database and texts and forgets the edition,
// so that a next start (or install) may set them again.
void removeDemoEdition();

}  // namespace testing_support
