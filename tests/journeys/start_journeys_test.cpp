// The start as a user meets it, in the program main makes: the main window
// comes up without waiting for the sound engine, and how the window's
// recordings were heard last time (slowed, a band) reaches the engine once
// it is there.
#include "journeys/journey.h"

#include "listview/windows/child_form.h"
#include "listview/windows/sonogram_panel.h"
#include "platform/audio/media_control.h"
#include "sound/listening_choice.h"

#include <cstdio>
#include <cstdlib>

namespace {

using testing_support::RunningDemoProgram;
using Speed = platform::audio::Listening::Speed;

[[noreturn]] void failed(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::fflush(stderr);
    std::_Exit(1);
}

// Runs in a process of its own: the engine's module, once loaded, stays
// loaded for the rest of a process, whichever test loaded it.
[[noreturn]] void startWithARememberedListeningChoice() {
    if (platform::audio::soundEngineLoaded()) failed("the sound engine was there before the program started");
    const QString remembered = QStringLiteral("half,band");
    const platform::audio::Listening heard = TListeningChoice::from_setting(remembered).listening(0, 0);
    if (heard.speed != Speed::KeptHalf) failed("the remembered choice does not slow the sound");
    {
        RunningDemoProgram program(RunningDemoProgram::Start{
            .edition = QStringLiteral("demo"),
            .remembered_settings = "[WINDOW 1]\nSonogram=No\nListening=" + remembered.toUtf8() + '\n',
            .wait_for_sound_engine = false});
        // The main window is shown and about to paint.
        if (platform::audio::soundEngineLoaded())
            failed("the sound engine's module was loaded before the main window's first paint");
        if (!(platform::audio::mediaControl().listening() == heard))
            failed("the window's remembered listening choice is not kept until the engine loads");
        if (!eventually([&] { return program.soundEngineReady(); }, 20000)) failed("the sound engine never came");
        if (!platform::audio::soundEngineLoaded()) failed("the engine is ready but its module was never looked for");
        if (!(platform::audio::mediaControl().listening() == heard))
            failed("the loaded engine does not hear the window's remembered listening choice");
        program.mainWindow().show_sonogram(true);
        TSonogramPanel* panel = program.mainWindow().sonogram_panel();
        if (!panel || panel->listening().setting() != remembered)
            failed("the sonogram panel does not show the remembered listening choice");
    }
    std::_Exit(0);
}

TEST(StartJourney, TheMainWindowPaintsBeforeTheSoundEngineLoadsAndItsRememberedListeningIsHeardOnceItHas) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(startWithARememberedListeningChoice(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
