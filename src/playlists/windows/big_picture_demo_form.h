#pragma once

// The slide-show window: a big picture window that changes its picture on
// its own timer and, with sounds, shows the recording button of the
// picture's species centred near its bottom edge.

#include "pictures_maps/windows/big_picture_form.h"
#include "playlists/show_recordings.h"
#include "playlists/slide_show.h"

#include <QTimer>
#include <functional>
#include <memory>

class Tsound_bar;
class TListActions;
class TOwnSoundBarShowRecording;

class TBigPictureDemoForm : public TBigPictureForm, public TSlidePresenter {
    Q_OBJECT
  public:
    // The caption names the species with taxonText; an empty one leaves
    // the names out.
    using TTaxonText = std::function<QString(const Tspecies&)>;
    TBigPictureDemoForm(const TSlideShow::TSetup& setup,
                        const TClassVisibleSpeciesAndRecordings& visibleSet,
                        TRecordingsAndOrPicturesList* recent, TTaxonText taxonText,
                        QWidget* owner, TListActions* actions = nullptr);
    ~TBigPictureDemoForm() override;

    // Shows the window maximised on the first picture and starts the timer;
    // false when no picture could be shown (the caller frees the window).
    bool start();

    bool info_windows_showing() const override { return information_windows_showing(); }
    bool show_picture(const Tspecies& species, int pictureNumber) override;
    TShowRecording* make_recording_button(const Tcupaitem& item, int recordingNumber) override;
    void free_recording_button() override;

    Tsound_bar* recording_button() const;
    // Where the recording button goes in a window of that size.
    static QPoint recording_button_place(QSize window, QSize button);

    QTimer Timer_demo;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void tick();
    void place_recording_button();

    const TClassVisibleSpeciesAndRecordings& visible_set_;
    TTaxonText taxon_text_;
    TWaitingSpokenNames names_;
    std::unique_ptr<TSlideShow> show_;
    bool prepared_ = false;
    std::unique_ptr<TOwnSoundBarShowRecording> recording_;
};
