#pragma once

#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class TEditionOverride;
class TTextsOverride;

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

// A test's own program directory, made the current directory too (so that
// no stray data file is found), with its texts and edition; the previous
// ones come back when it goes.
class IsolatedProgram {
  public:
    IsolatedProgram(const QString& texts, int productNumber);
    ~IsolatedProgram();
    IsolatedProgram(const IsolatedProgram&) = delete;
    IsolatedProgram& operator=(const IsolatedProgram&) = delete;

    ProgramDirectory dir;

  private:
    QString previousDirectory_;
    std::unique_ptr<TTextsOverride> texts_;
    std::unique_ptr<TEditionOverride> edition_;
};

// The source tree (for the demo edition's files).
QString sourceTree();

}  // namespace testing_support
