#pragma once

// The frames of the settings page that edit program-wide settings: the
// text size, web pages, the sound-editing program and the volume control.

#include "utilities/windows/options_frame.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QToolButton;

class TFrameTextSize : public TOptionsFrame {
    Q_OBJECT
  public:
    explicit TFrameTextSize(QWidget* parent = nullptr);
    void fill(const TOptionsContext& context) override;
    // A new size rebuilds the program's fonts at once.
    void store(TOptionsContext& context) override;

    QLabel* Label_text_size;
    QSpinBox* Edit_text_size;  // with its up-down arrows

  private:
    int filled_ = 0;
};

class TFrameWebBrowserSettings : public TOptionsFrame {
    Q_OBJECT
  public:
    explicit TFrameWebBrowserSettings(QWidget* parent = nullptr);
    void fill(const TOptionsContext& context) override;
    void store(TOptionsContext& context) override;

    QGroupBox* GroupBox_browser;
    QCheckBox* CheckBox_use_integrated_browser;
    QCheckBox* CheckBox_use_only_one_window;
};

// The path of the sound-editing program. A file chosen with "..." is the
// program's editor at once; Cancel of the dialog puts the old one back.
class TFrameSelectSoundEditorProgram : public TOptionsFrame {
    Q_OBJECT
  public:
    explicit TFrameSelectSoundEditorProgram(QWidget* parent = nullptr);
    void fill(const TOptionsContext& context) override;
    void store(TOptionsContext& context) override;
    void restore() override;
    void choose_program();

    QGroupBox* GroupBox_editor;
    QLineEdit* Edit_program;
    QToolButton* Button_select_file;

  private:
    QString filled_;
};

class TFrameShowVolumeControl : public TOptionsFrame {
    Q_OBJECT
  public:
    explicit TFrameShowVolumeControl(QWidget* parent = nullptr);
    void fill(const TOptionsContext& context) override;
    void store(TOptionsContext& context) override;

    QCheckBox* CheckBox_show_volume_control;

  private:
    bool filled_ = false;
};
