#pragma once

// The slide-show window. Until the big picture window is part of the
// program, it shows the species' names and the picture's number; the show's
// timing, choices and recording button are the slide show's own.

#include "playlists/show_recordings.h"
#include "playlists/slide_show.h"

#include <QTimer>
#include <QWidget>
#include <memory>

class QPushButton;

class TBigPictureDemoForm : public QWidget, public TSlidePresenter {
    Q_OBJECT
  public:
    TBigPictureDemoForm(const TSlideShow::TSetup& setup,
                        const TClassVisibleSpeciesAndRecordings& visibleSet,
                        TRecordingsAndOrPicturesList* recent, bool showNames, QWidget* parent);
    // Shows the first picture and starts the timer; false when no picture
    // could be shown.
    bool start();

    bool info_windows_showing() const override { return false; }
    bool show_picture(const Tspecies& species, int pictureNumber) override;
    TShowRecording* make_recording_button(const Tcupaitem& item, int recordingNumber) override;
    void free_recording_button() override;

    QTimer Timer_demo;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void tick();
    void place_button();

    TWaitingSpokenNames names_;
    std::unique_ptr<TSlideShow> show_;
    bool show_names_;
    const Tspecies* species_ = nullptr;
    int picture_number_ = 0;
    std::unique_ptr<TSilentShowRecording> recording_;
    QPushButton* button_ = nullptr;
};
