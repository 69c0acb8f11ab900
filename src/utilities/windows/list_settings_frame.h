#pragma once

// The frames of the settings page that edit the list window's own display
// settings: its systematic order, the species it shows and the extra lines
// of its recordings.

#include "utilities/windows/options_frame.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QRadioButton;

// Radio items in a group box, one per choice.
class TRadioGroupFrame : public TOptionsFrame {
    Q_OBJECT
  public:
    int item_index() const;
    void set_item_index(int item);
    int item_count() const;
    QRadioButton* item(int index) const;
    QGroupBox* group() const { return group_; }

  protected:
    TRadioGroupFrame(QWidget* parent, const QString& caption, const QStringList& items,
                     int columns = 1);

  private:
    QGroupBox* group_;
    QButtonGroup* buttons_;
};

// Shown only while the database offers several orders.
class TFrameSelectSystematicOrder : public TRadioGroupFrame {
    Q_OBJECT
  public:
    explicit TFrameSelectSystematicOrder(const Tdata& data, QWidget* parent = nullptr);
    explicit TFrameSelectSystematicOrder(const TSystematicOrderChoice& choice,
                                         QWidget* parent = nullptr);
    bool offered() const { return choice_.offered(); }
    void fill(const TOptionsContext& context) override;
    void store(TOptionsContext& context) override;

  private:
    TSystematicOrderChoice choice_;
    int filled_order_ = 1;
};

// All species, or only those with sounds and/or photos; shown only in
// editions that offer the filter.
class TFrameOnlyWithSoundsAndOrPhotos : public TRadioGroupFrame {
    Q_OBJECT
  public:
    explicit TFrameOnlyWithSoundsAndOrPhotos(QWidget* parent = nullptr);
    void fill(const TOptionsContext& context) override;
    void store(TOptionsContext& context) override;

  private:
    int filled_item_ = sounds_photos::kAll;
};

class TFrameShowThreatenedStatuses : public TOptionsFrame {
    Q_OBJECT
  public:
    explicit TFrameShowThreatenedStatuses(QWidget* parent = nullptr);
    void fill(const TOptionsContext& context) override;
    void store(TOptionsContext& context) override;

    QCheckBox* CheckBox_show_threatened;

  private:
    bool filled_ = false;
};

// The department and the country on a recording's first data line; the
// country only in editions of several countries.
class TFrameShowDepartmentCountryForRecordings : public TOptionsFrame {
    Q_OBJECT
  public:
    explicit TFrameShowDepartmentCountryForRecordings(QWidget* parent = nullptr);
    void fill(const TOptionsContext& context) override;
    void store(TOptionsContext& context) override;

    QGroupBox* GroupBox_recording_data;
    QCheckBox* CheckBox_department;
    QCheckBox* CheckBox_country;

  private:
    bool filled_department_ = false;
    bool filled_country_ = false;
};

class TFrameNameSettings;
class TFrameTextSize;
class TFrameWebBrowserSettings;
class TFrameSelectSoundEditorProgram;
class TFrameShowVolumeControl;
class TFrameSonogramSettings;

// The first page: every frame stacked top to bottom, each under the
// previous one that shows.
class TFrameSettings : public TOptionsFrame {
    Q_OBJECT
  public:
    explicit TFrameSettings(const Tdata& data, QWidget* parent = nullptr);
    QString caption() const { return caption_; }

    void fill(const TOptionsContext& context) override;
    void store(TOptionsContext& context) override;
    void restore() override;

    TFrameNameSettings* names;
    TFrameSelectSystematicOrder* systematic_order;
    TFrameOnlyWithSoundsAndOrPhotos* sounds_photos;
    TFrameShowThreatenedStatuses* threatened;
    TFrameShowDepartmentCountryForRecordings* department_country;
    TFrameTextSize* text_size;
    TFrameWebBrowserSettings* web_browser;
    TFrameSelectSoundEditorProgram* sound_editor;
    TFrameShowVolumeControl* volume_control;
    TFrameSonogramSettings* sonograms;

  private:
    QList<TOptionsFrame*> frames_;
    QString caption_;
};
