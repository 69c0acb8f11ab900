#pragma once

#include "listview/windows/sound_bar.h"

#include <functional>

class TPlaylistsAndShows;

// What a recording button's menu and drag reach beyond the list: the
// playlist window and the MP3 copy.
class TProgramSoundBarCommands : public TSoundBarCommands {
  public:
    using AddToComparison = std::function<void(QWidget* source, const Tcupaitem& recording)>;
    explicit TProgramSoundBarCommands(TPlaylistsAndShows& playlists, AddToComparison addToComparison = {})
        : playlists_(playlists), add_to_comparison_(std::move(addToComparison)) {}
    bool can_add_to_playlist() const override;
    void add_to_playlist(const Tcupaitem& recording, int recordingNumber) override;
    bool can_copy_mp3(const Tcupaitem& recording) const override;
    void copy_mp3(QWidget* source, const Tcupaitem& recording) override;
    void start_drag(QWidget* source, const Tcupaitem& recording, int recordingNumber) override;
    bool can_add_to_comparison() const override { return static_cast<bool>(add_to_comparison_); }
    void add_to_comparison(QWidget* source, const Tcupaitem& recording) override {
        if (add_to_comparison_) add_to_comparison_(source, recording);
    }

  private:
    TPlaylistsAndShows& playlists_;
    AddToComparison add_to_comparison_;
};
