#pragma once

// The commands of a list window that open the playlist window and the
// shows. Those windows live in a later library; the program hands them to
// the list windows, and a window without them keeps the commands off.

#include <functional>

class TChildForm;

struct TListWindowShowCommands {
    std::function<void(TChildForm&)> show;            // "Show!"
    std::function<void(TChildForm&)> what_was_that;   // the window's recent list
    std::function<void(TChildForm&)> play_lists;      // the playlist window
    // Asked when the main window closes: false keeps it open.
    std::function<bool()> may_close_main_window;
    // Written with the windows' state at the main window's close.
    std::function<void()> write_state;
    // A show window goes: its show stops with it.
    std::function<void(TChildForm&)> show_window_closed;
    // The main window showed for the first time (the playlist window opens
    // when it was open at the last close).
    std::function<void()> main_window_shown;
};
