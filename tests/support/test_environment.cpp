#include "support/test_environment.h"

#include "app/editions.h"
#include "app/globals.h"
#include "formats/textfile.h"

#include <QDir>
#include <QFile>

namespace testing_support {

ProgramDirectory::ProgramDirectory() = default;
ProgramDirectory::~ProgramDirectory() = default;

QString ProgramDirectory::path() const {
    return dir_.path() + u'/';
}

QString ProgramDirectory::file(const QString& name) const {
    return path() + name;
}

void ProgramDirectory::write(const QString& name, const QByteArray& contents) const {
    QFile f(file(name));
    QDir().mkpath(QFileInfo(f).absolutePath());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write test file");
    f.write(contents);
}

QByteArray ProgramDirectory::read(const QString& name) const {
    QFile f(file(name));
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void ProgramDirectory::makeCurrentProgramDirectory() const {
    TGlobalValues& g = GLB();
    g.program_directory = path();
    g.startup_directory = path();
    g.settings_file_path = path() + g.settings_file_name;
    g.settings_file_on_cdrom = false;
}

IsolatedProgram::IsolatedProgram(const QString& texts, int productNumber)
    : previousDirectory_(QDir::currentPath()) {
    dir.makeCurrentProgramDirectory();
    QDir::setCurrent(dir.path());
    texts_ = std::make_unique<TTextsOverride>(Ttextfile_handler::fromText(texts));
    edition_ = std::make_unique<TEditionOverride>(GLB_edition_for_product(productNumber));
}

IsolatedProgram::~IsolatedProgram() {
    edition_.reset();
    texts_.reset();
    QDir::setCurrent(previousDirectory_);
}

QString sourceTree() {
    const QByteArray fromEnv = qgetenv("KORVELAN_TEST_DATA");
    return fromEnv.isEmpty() ? QStringLiteral(KORVELAN_SOURCE_DIR)
                             : QString::fromLocal8Bit(fromEnv);
}

}  // namespace testing_support
