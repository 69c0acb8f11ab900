#pragma once

// The audio-CD page: the drive audio CDs are played in, and for each audio
// CD of the database whether its recordings are shown and where they play.

#include "utilities/windows/list_settings_frame.h"

#include <vector>

class QButtonGroup;
class QGridLayout;
class QPushButton;
class QScrollArea;
class TaudioCD;

// One radio item per CD drive found, shown only when there are several.
class TFrameChooseAudioCDPlayer : public TRadioGroupFrame {
    Q_OBJECT
  public:
    TFrameChooseAudioCDPlayer(int driveCount, QWidget* parent = nullptr);
    void fill(const TOptionsContext& context) override;
    // Stores "CD-ROM drive used for audio CDs" when it changed.
    void store(TOptionsContext& context) override;

    // The drive from 1 that the settings name, within the drives found.
    static int stored_drive(int driveCount);

  private:
    int drive_count_;
    int filled_ = 1;
};

class TFrameSelectAudioCDs : public TOptionsFrame {
    Q_OBJECT
  public:
    explicit TFrameSelectAudioCDs(const Tdata& data, QWidget* parent = nullptr);

    void fill(const TOptionsContext& context) override;
    // Sets the CDs' bits back; a change of the visible set rebuilds the
    // list, one of only the playable or hard-disk sets refreshes it.
    void store(TOptionsContext& context) override;
    // False, after saying why, while a CD is to play from a hard-disk copy
    // without a folder.
    bool valid() const;

    int row_count() const { return static_cast<int>(rows_.size()); }
    TAudioCdChoice row_choice(int row) const;
    void set_row_choice(int row, TAudioCdChoice choice);
    // The folder of a CD's copy on the hard disk, chosen with the row's
    // button: it counts for the validity test at once and becomes the CD's
    // folder on OK.
    void choose_hard_disk_folder(int row);
    QString chosen_folder(int row) const;
    bool native_pair_shown() const;
    bool native_recordings_shown() const;
    void set_native_recordings_shown(bool shown);

  private:
    struct TRow {
        TaudioCD* cd;
        QButtonGroup* choices;
        QString chosen_folder;
    };
    std::vector<TRow> rows_;
    QButtonGroup* native_ = nullptr;
    TClassSoundCarriersUseSpecification filled_;
    QStringList texts_;
};

// The page: the drive above the CDs, which reach to 5 pixels from the
// page's left, right and bottom edges.
class TFrameAudioCDsSettings : public TOptionsFrame {
    Q_OBJECT
  public:
    TFrameAudioCDsSettings(const Tdata& data, int driveCount, QWidget* parent = nullptr);
    QString caption() const { return caption_; }

    void fill(const TOptionsContext& context) override;
    void store(TOptionsContext& context) override;
    bool valid() const { return my_audio_cds->valid(); }

    TFrameChooseAudioCDPlayer* player;
    TFrameSelectAudioCDs* my_audio_cds;
    QPushButton* Button_help;

  private:
    QString caption_;
};
