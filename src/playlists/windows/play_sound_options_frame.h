#pragma once

// The between-sounds options as the user sets them, in the playlist window
// and the show settings dialog. Without spoken names only the pause between
// sounds shows.

#include "playlists/between_sounds_options.h"

#include <QFrame>

class QCheckBox;
class QLabel;
class QLineEdit;

class TPlaySoundOptionsFrame : public QFrame {
    Q_OBJECT
  public:
    explicit TPlaySoundOptionsFrame(QWidget* parent = nullptr);

    // The edits read as whole numbers: 3 and 1 when they hold none.
    TBetweenSoundsOptions options() const;
    void set_options(const TBetweenSoundsOptions& options);
    void set_controls_enabled(bool enabled);

    QLabel* Label_pause_before_spoken_names;
    QLineEdit* MaskEdit_pause_before_spoken_names;
    QCheckBox* CheckBox_tell_species_names;
    QLabel* Label_pause_after_spoken_names;
    QLineEdit* MaskEdit_pause_after_spoken_names;
    QCheckBox* CheckBox_tell_names_afterwards;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void lay_out();
};
