#pragma once

#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace testing_support {

// A private program directory for one test: the process values point at it,
// and files are written into it by name.
class ProgramDirectory {
  public:
    ProgramDirectory();
    ~ProgramDirectory();

    QString path() const;  // ends in "/"
    QString file(const QString& name) const;
    void write(const QString& name, const QByteArray& contents) const;
    QByteArray read(const QString& name) const;
    // Points the process values at this directory as the program directory.
    void makeCurrentProgramDirectory() const;

  private:
    QTemporaryDir dir_;
};

// The source tree (for the demo edition's files).
QString sourceTree();

}  // namespace testing_support
