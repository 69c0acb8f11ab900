#include "support/running_program.h"

#include "app/editions.h"
#include "app/program/program.h"
#include "info_windows/windows/intro_form.h"
#include "listview/windows/child_form.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <stdexcept>

namespace testing_support {

namespace {

void copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + u'/' + QDir(from).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(source, target);
    }
}

// The files the build places beside the program: the demo's own, then the
// edition's over them, as the build does for bin-es and bin-voices.
void placeEditionFiles(const ProgramDirectory& dir, const QString& editionFolder) {
    const QString editions = sourceTree() + QStringLiteral("/editions/");
    QStringList folders{QStringLiteral("demo")};
    if (editionFolder != QStringLiteral("demo")) folders << editionFolder;
    for (const QString& folder : folders) {
        const QDir source(editions + folder);
        for (const QFileInfo& file : source.entryInfoList({"*.txt", "*.TXT"}, QDir::Files)) {
            QFile in(file.filePath());
            if (!in.open(QIODevice::ReadOnly)) throw std::runtime_error("unreadable edition file");
            dir.write(file.fileName(), in.readAll());
        }
    }
    QFile settings(editions + (QFile::exists(editions + editionFolder + "/Korvelan.ini.in")
                                   ? editionFolder
                                   : QStringLiteral("demo")) +
                   QStringLiteral("/Korvelan.ini.in"));
    if (!settings.open(QIODevice::ReadOnly)) throw std::runtime_error("no starting settings");
    QByteArray text = settings.readAll();
    text.replace("@BASE_DIR@", RunningDemoProgram::demoBaseDirectory().toUtf8());
    dir.write(QStringLiteral("Korvelan.ini"), text);
    copyFolder(sourceTree() + QStringLiteral("/resources/help"), dir.file(QStringLiteral("help")));
}

}  // namespace

QString RunningDemoProgram::demoBaseDirectory() {
    return sourceTree() + QStringLiteral("/editions/demo/base/");
}

RunningDemoProgram::RunningDemoProgram(const QString& editionFolder)
    : RunningDemoProgram(Start{.edition = editionFolder, .remembered_settings = {}, .wait_for_sound_engine = true}) {}

RunningDemoProgram::RunningDemoProgram(const Start& start)
    : previousHome_(qgetenv("HOME")),
      previousRuntime_(qgetenv("XDG_RUNTIME_DIR")),
      previousDirectory_(QDir::currentPath()) {
    qputenv("HOME", home_.path().toUtf8());
    QFile::setPermissions(runtime_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toUtf8());
    placeEditionFiles(dir_, start.edition);
    if (!start.remembered_settings.isEmpty())
        dir_.write(QStringLiteral("Korvelan.ini"),
                   dir_.read(QStringLiteral("Korvelan.ini")) + '\n' + start.remembered_settings);
    // The program looks in the directory it was started from first: started
    // from its own directory, as the launcher does, no stray file is found.
    QDir::setCurrent(dir_.path());
    // The introduction is modal; a user clicks it away.
    QObject::connect(&introductionCloser_, &QTimer::timeout, [this] {
        if (auto* intro = qobject_cast<TIntroForm*>(QApplication::activeModalWidget())) {
            intro->reject();
            ++introductions_;
            if (start_over_) ++introductions_after_start_;
        }
    });
    introductionCloser_.start(20);

    program_ = std::make_unique<TProgram>();
    program_->initialise(dir_.path(), dir_.path());
    main_ = qobject_cast<TChildForm*>(program_->open_main_window());
    if (!main_) throw std::runtime_error("the program showed no main window");
    if (!start.wait_for_sound_engine) return;
    // The start is over for a user once the sound engine is ready, the
    // volume window is back and the introduction has come and been clicked
    // away: a test drives the program from there, so that a window showing
    // late does not take a menu's or a window's activation mid-test. The
    // introduction comes on its own timer after the main window's first
    // show; a sound engine already loaded by an earlier start in the same
    // process is ready well before it.
    const bool introductionComes = GLB_edition().rules.shows_introduction;
    QElapsedTimer clock;
    clock.start();
    while ((!program_->sound_engine_ready() || (introductionComes && introductions_ == 0)) &&
           clock.elapsed() < 20000)
        QTest::qWait(10);
    start_over_ = true;
    // Closed, the introduction hands the activation back to nobody on the
    // offscreen platform (a desktop's window manager gives it to the main
    // window): the user's click on the main window.
    main_->activateWindow();
    QCoreApplication::processEvents();
}

bool RunningDemoProgram::soundEngineReady() const {
    return program_->sound_engine_ready();
}

RunningDemoProgram::~RunningDemoProgram() {
    program_.reset();
    introductionCloser_.stop();
    QDir::setCurrent(previousDirectory_);
    qputenv("HOME", previousHome_);
    qputenv("XDG_RUNTIME_DIR", previousRuntime_);
}

}  // namespace testing_support
