#pragma once

// The shows play through the same recording buttons the lists show: the
// button on the selected line of a show window, or one the show makes for
// itself (a recording the list does not show, the slide show's button).

#include "listview/show_string_record.h"
#include "playlists/show_steps.h"

#include <QPointer>
#include <memory>

class QWidget;
class Tsound_bar;
class TClassSoundCarriersUseSpecification;

// A recording button as a show drives it. The button may go while the show
// waits for it (its line scrolled away, its window closed): then it counts
// as ended.
class TSoundBarShowRecording : public TShowRecording {
  public:
    explicit TSoundBarShowRecording(Tsound_bar* bar) : bar_(bar) {}
    // The button no longer shows that the show plays it.
    ~TSoundBarShowRecording() override;
    void start() override;
    bool is_opened() const override;
    bool reached_end() const override;
    Tsound_bar* bar() const { return bar_; }

  protected:
    QPointer<Tsound_bar> bar_;
};

// A recording button of the show's own on a host widget; it goes with this
// object (or earlier with its host).
class TOwnSoundBarShowRecording : public TSoundBarShowRecording {
  public:
    TOwnSoundBarShowRecording(QWidget& host, const Tcupaitem& item, int recordingNumber,
                              const TClassSoundCarriersUseSpecification& carriers,
                              bool rewindAtEnd);
    ~TOwnSoundBarShowRecording() override;

  private:
    // The button keeps its position in its block when freed: the block
    // must outlive it.
    std::unique_ptr<TRecordingButtonBlock> block_;
};
