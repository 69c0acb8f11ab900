#pragma once

#include "info_windows/windows/small_information_form.h"

class TaudioCD;

// An audio CD's full title, with a link to its web page when it has one.
class TAboutAudioCDForm : public TLinkedTextForm {
    Q_OBJECT
  public:
    explicit TAboutAudioCDForm(QWidget* host);
    void show_audio_cd(const TaudioCD& cd, QPoint at);
};
