#pragma once

#include "listview/windows/sound_bar.h"

class TPlaylistsAndShows;

// What a recording button's menu and drag reach beyond the list: the
// playlist window and the MP3 copy.
class TProgramSoundBarCommands : public TSoundBarCommands {
  public:
    explicit TProgramSoundBarCommands(TPlaylistsAndShows& playlists) : playlists_(playlists) {}
    bool can_add_to_playlist() const override;
    void add_to_playlist(const Tcupaitem& recording, int recordingNumber) override;
    bool can_copy_mp3(const Tcupaitem& recording) const override;
    void copy_mp3(QWidget* source, const Tcupaitem& recording) override;
    void start_drag(QWidget* source, const Tcupaitem& recording, int recordingNumber) override;

  private:
    TPlaylistsAndShows& playlists_;
};
