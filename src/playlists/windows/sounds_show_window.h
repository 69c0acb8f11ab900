#pragma once

// The show windows: list windows without menu that play a sounds-only show
// or the playlist, stepped by their timer, and the lists' recent lists.

#include "playlists/show_recordings.h"
#include "playlists/sounds_show.h"
#include "listview/show_string_record.h"

#include <QObject>
#include <QTimer>
#include <memory>

class TChildForm;
class SHST_TClassShowStringsData;
class TShowForm;
struct TListWindowServices;


// Gives the show the recording button of a recording line of a show
// window's list. The program's source plays the list's own buttons; tests
// give buttons of their own.
class TShowRecordingSource {
  public:
    virtual ~TShowRecordingSource() = default;
    // The button of the line, or of the recording when the list does not
    // show it (block without a line); none when it has none.
    virtual std::unique_ptr<TShowRecording> recording_for(TRecordingButtonBlock& block,
                                                          TShowForm& list) = 0;
};
// The recording buttons of the lists: the line's button when the list has
// painted it, else a hidden one of the show's own on the list.
class TSoundBarShowRecordingSource : public TShowRecordingSource {
  public:
    std::unique_ptr<TShowRecording> recording_for(TRecordingButtonBlock& block,
                                                  TShowForm& list) override;
};

// The show window's list: lists the species, unfolds it and selects its
// recording in the middle of the view.
class TListWindowShowList : public TShowList {
  public:
    TListWindowShowList(TChildForm& window, TShowRecordingSource& recordings)
        : window_(window), recordings_(recordings) {}
    TShowRecording* present(const Tspecies& species, int recordingNumber) override;

  private:
    TChildForm& window_;
    TShowRecordingSource& recordings_;
    std::unique_ptr<TRecordingButtonBlock> unlisted_;  // a recording the list could not show
    std::unique_ptr<TShowRecording> current_;
};

// Runs a show in a show window with `Timer_play_sounds`.
class TSoundsShowDriver : public QObject {
    Q_OBJECT
  public:
    TSoundsShowDriver(TChildForm& window, TShowRecordingSource& recordings,
                      const Tsounds_demo_and_play_lists_handler::TSetup& setup,
                      TPlayListSource* playList, TRecordingsAndOrPicturesList* recent);
    void start();
    void stop() { Timer_play_sounds.stop(); }

  private:
    void tick();

    TChildForm& window_;
    TListWindowShowList list_;
    TWaitingSpokenNames names_;
    std::unique_ptr<Tsounds_demo_and_play_lists_handler> handler_;
    QTimer Timer_play_sounds;
};

// Opens a show window over a copy of the list settings and starts it. The
// window is a list window with the services of the list it was started
// from; the show plays the recordings `recordings` gives for its lines.
TChildForm* GLB_open_show_window(const TListWindowServices& services,
                                 TShowRecordingSource& recordings, QWidget* owner,
                                 const SHST_TClassShowStringsData& settings,
                                 const Tsounds_demo_and_play_lists_handler::TSetup& setup,
                                 TPlayListSource* playList, TRecordingsAndOrPicturesList* recent);
