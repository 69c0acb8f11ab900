#pragma once

// The playlist window and the shows behind the list windows' commands
// ("Show!", "What was that?", "Play Lists") and the main window's close.
// The program makes one and hands its commands to the list windows.

#include "listview/show_commands.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <memory>

class TAudioCDFileWriter;
class TChildForm;
class TPlayListForm;
class TShowRecordingSource;

class TPlaylistsAndShows {
  public:
    // `writer` makes the MP3 files of the playlist window's audio-CD
    // preparation; it must outlive this object.
    explicit TPlaylistsAndShows(TAudioCDFileWriter& writer);
    // Frees the playlist window if its owner has not.
    ~TPlaylistsAndShows();
    TPlaylistsAndShows(const TPlaylistsAndShows&) = delete;
    TPlaylistsAndShows& operator=(const TPlaylistsAndShows&) = delete;

    // The list windows' commands, bound to this object: the windows that
    // hold them must go before it.
    TListWindowShowCommands list_window_commands();
    // The playlist window; none until it was first asked for (or after its
    // owner freed it).
    TPlayListForm* play_list_form() const;

  private:
    // What the shows keep of each list window.
    struct TWindowShows;

    TWindowShows& shows_of(TChildForm& window);
    void show(TChildForm& window);
    void what_was_that(TChildForm& window);
    void open_play_lists();
    // The playlist window, made with the main window as its owner the
    // first time it is asked for; none without a main window.
    TPlayListForm* made_play_list_form();
    bool may_close_main_window();
    void write_state();
    void show_window_closed(TChildForm& window);
    void main_window_shown();

    TAudioCDFileWriter& writer_;
    std::unique_ptr<TShowRecordingSource> recordings_;
    QPointer<TPlayListForm> play_list_form_;
    std::map<const TChildForm*, std::unique_ptr<TWindowShows>> window_shows_;
    // Context of the connections to the list windows: they end with this
    // object.
    QObject connections_;
};
