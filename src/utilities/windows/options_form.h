#pragma once

#include "utilities/windows/options_frame.h"

#include <QDialog>
#include <memory>

class QDialogButtonBox;
class QTabWidget;
class QPushButton;
class TChildForm;
class TFrameSettings;
class TFrameAudioCDsSettings;
class TFrameSelectAreaForOptions;

// The options of one list window and of the program, on up to three pages:
// the settings, the area (in editions with an area map) and the audio CDs
// (when the database has any). OK applies them to the window's list.
class TOptionsForm : public QDialog {
    Q_OBJECT
  public:
    // driveCount: the CD drives found, for the choice of the audio-CD drive.
    TOptionsForm(TChildForm& window, int driveCount, QWidget* parent = nullptr);
    // Remembers the page the user last looked at.
    ~TOptionsForm() override;

    // Closes with OK only when the audio CDs and the area may be taken.
    void accept() override;
    // Puts back what was shown at once (names, the editor's path).
    void reject() override;

    const TOptionsContext& context() const { return context_; }

    QTabWidget* PageControl;
    // The tabs' pages: each frame in the area that scrolls it.
    QWidget* TabSheet_settings;
    QWidget* TabSheet_select_area = nullptr;
    QWidget* TabSheet_audio_CDs = nullptr;
    TFrameSettings* settings_frame;
    TFrameSelectAreaForOptions* area_frame = nullptr;
    TFrameAudioCDsSettings* audio_cds_frame = nullptr;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void apply_to_lists();

    TChildForm& window_;
    TOptionsContext context_;
};

// The Options command of a list window: the dialog, modal; true after OK.
bool GLB_show_options_dialog(TChildForm& window);
