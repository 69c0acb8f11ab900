#pragma once

#include "support/scripted_dialogs.h"
#include "support/test_environment.h"

#include <QTemporaryDir>
#include <QTimer>

#include <memory>

class TChildForm;
class TProgram;

namespace testing_support {

// The program exactly as main makes it, on a private copy of a demo edition's
// program directory (its settings pointing at the demo's base directory),
// with its own home and runtime folders (user files, single-instance marker),
// dialogs answered by script and the introduction clicked away. The start
// runs up to the shown main list window; the event loop is the test's.
class RunningDemoProgram {
  public:
    // "demo", "demo-es" (the Spanish edition over the demo's data) or
    // "demo-voices" (the edition with spoken names).
    explicit RunningDemoProgram(const QString& editionFolder = QStringLiteral("demo"));
    // A start as a test sets it up: what the settings file holds besides the
    // edition's own (as a previous session left it), and whether the start
    // goes on until the sound engine is ready or ends with the main window
    // shown, before its first paint.
    struct Start {
        QString edition = QStringLiteral("demo");
        QByteArray remembered_settings;
        bool wait_for_sound_engine = true;
    };
    explicit RunningDemoProgram(const Start& start);
    // The program's end: the main window closed, settings written, the
    // database freed.
    ~RunningDemoProgram();
    RunningDemoProgram(const RunningDemoProgram&) = delete;
    RunningDemoProgram& operator=(const RunningDemoProgram&) = delete;

    TChildForm& mainWindow() { return *main_; }
    bool soundEngineReady() const;
    // Introductions that came up (and were clicked away) after the start was
    // over: each one took the activation from whatever window the test was
    // working in.
    int introductionsAfterStart() const { return introductions_after_start_; }
    DialogScript& script() { return script_; }
    ProgramDirectory& programDirectory() { return dir_; }
    // The user's home folder of this run (documents, configuration).
    QString home() const { return home_.path(); }
    // The demo's base directory in the source tree.
    static QString demoBaseDirectory();

  private:
    DialogScript script_;
    QTemporaryDir home_;
    QTemporaryDir runtime_;
    QByteArray previousHome_;
    QByteArray previousRuntime_;
    QString previousDirectory_;
    ProgramDirectory dir_;
    QTimer introductionCloser_;
    int introductions_ = 0;
    int introductions_after_start_ = 0;
    bool start_over_ = false;
    std::unique_ptr<TProgram> program_;
    TChildForm* main_ = nullptr;
};

}  // namespace testing_support
