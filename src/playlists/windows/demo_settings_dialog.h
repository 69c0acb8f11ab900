#pragma once

// The show settings dialog of "Show!".

#include "playlists/show_settings.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class TPlaySoundOptionsFrame;

class TDemoSettingsDialog : public QDialog {
    Q_OBJECT
  public:
    // With fewer than 3 visible species only the sounds show is offered.
    TDemoSettingsDialog(const TShowSettings& settings, int visibleSpecies,
                        QWidget* parent = nullptr);

    // The settings as the dialog shows them now.
    TShowSettings settings() const;
    // The kind chosen: 0 slides, 1 sounds, 2 slides and sounds.
    int show_kind() const;
    void set_show_kind(int kind);

    QGroupBox* RadioGroup_slides_or_and_sounds;
    QGroupBox* GroupBox_slides;
    QLabel* Label_every_X_seconds_1;
    QLineEdit* MaskEdit_every_X_seconds;
    QLabel* Label_every_X_seconds_2;
    QCheckBox* CheckBox_show_species_names;
    QGroupBox* GroupBox_sounds;
    TPlaySoundOptionsFrame* frame;
    QGroupBox* RadioGroup_sounds_quality;

  private:
    void kind_changed();

    TShowSettings settings_;
    QButtonGroup* kinds_;
    QButtonGroup* qualities_;
};
