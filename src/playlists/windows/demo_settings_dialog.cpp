#include "playlists/windows/demo_settings_dialog.h"

#include "formats/textfile.h"
#include "playlists/windows/play_sound_options_frame.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QString dialogText(int line) {
    return GLB_text(QStringLiteral("SHOW_SETTINGS_DB"), line);
}

QButtonGroup* radioGroup(QGroupBox* box, const QStringList& items) {
    auto* group = new QButtonGroup(box);
    auto* layout = new QVBoxLayout(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], box);
        group->addButton(button, i);
        layout->addWidget(button);
    }
    return group;
}

}  // namespace

TDemoSettingsDialog::TDemoSettingsDialog(const TShowSettings& settings, int visibleSpecies,
                                         QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(dialogText(1));
    RadioGroup_slides_or_and_sounds = new QGroupBox(dialogText(2), this);
    kinds_ = radioGroup(RadioGroup_slides_or_and_sounds, {dialogText(3), dialogText(4), dialogText(5)});

    GroupBox_slides = new QGroupBox(dialogText(6), this);
    Label_every_X_seconds_1 = new QLabel(dialogText(7), GroupBox_slides);
    MaskEdit_every_X_seconds = new QLineEdit(GroupBox_slides);
    MaskEdit_every_X_seconds->setMaxLength(3);
    MaskEdit_every_X_seconds->setValidator(new QIntValidator(0, 999, MaskEdit_every_X_seconds));
    MaskEdit_every_X_seconds->setFixedWidth(50);
    Label_every_X_seconds_2 = new QLabel(dialogText(8), GroupBox_slides);
    CheckBox_show_species_names = new QCheckBox(dialogText(9), GroupBox_slides);
    auto* slides = new QVBoxLayout(GroupBox_slides);
    auto* every = new QHBoxLayout;
    every->addWidget(Label_every_X_seconds_1);
    every->addWidget(MaskEdit_every_X_seconds);
    every->addWidget(Label_every_X_seconds_2);
    every->addStretch();
    slides->addLayout(every);
    slides->addWidget(CheckBox_show_species_names);

    GroupBox_sounds = new QGroupBox(dialogText(10), this);
    frame = new TPlaySoundOptionsFrame(GroupBox_sounds);
    RadioGroup_sounds_quality = new QGroupBox(dialogText(11), GroupBox_sounds);
    qualities_ = radioGroup(RadioGroup_sounds_quality, {dialogText(12), dialogText(13), dialogText(14)});
    auto* sounds = new QVBoxLayout(GroupBox_sounds);
    sounds->addWidget(frame);
    sounds->addWidget(RadioGroup_sounds_quality);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* OKBtn = buttons->addButton(dialogText(15), QDialogButtonBox::AcceptRole);
    QPushButton* CancelBtn = buttons->addButton(dialogText(16), QDialogButtonBox::RejectRole);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RadioGroup_slides_or_and_sounds);
    layout->addWidget(GroupBox_slides);
    layout->addWidget(GroupBox_sounds);
    layout->addWidget(buttons);

    if (visibleSpecies < 3) {
        settings_.slides = false;
        settings_.sounds = true;
        RadioGroup_slides_or_and_sounds->setEnabled(false);
    }
    MaskEdit_every_X_seconds->setText(QString::number(settings_.slide_seconds));
    CheckBox_show_species_names->setChecked(settings_.show_species_names);
    frame->set_options(settings_.options);
    qualities_->button(settings_.quality_class == 2 ? 1 : settings_.quality_class == 3 ? 2 : 0)
        ->setChecked(true);
    set_show_kind(settings_.slides && settings_.sounds ? 2 : settings_.sounds ? 1 : 0);
    connect(kinds_, &QButtonGroup::idClicked, this, &TDemoSettingsDialog::kind_changed);
}

int TDemoSettingsDialog::show_kind() const {
    return std::max(0, kinds_->checkedId());
}

void TDemoSettingsDialog::set_show_kind(int kind) {
    kinds_->button(kind)->setChecked(true);
    kind_changed();
}

void TDemoSettingsDialog::kind_changed() {
    const int kind = show_kind();
    const bool slides = kind != 1;
    const bool sounds = kind != 0;
    GroupBox_slides->setEnabled(slides);
    GroupBox_sounds->setEnabled(sounds);
    RadioGroup_sounds_quality->setEnabled(sounds);
    frame->set_controls_enabled(sounds);
    // With sounds the slides follow the recordings, not a clock.
    for (QWidget* w : {static_cast<QWidget*>(Label_every_X_seconds_1),
                       static_cast<QWidget*>(MaskEdit_every_X_seconds),
                       static_cast<QWidget*>(Label_every_X_seconds_2)})
        w->setEnabled(slides && !sounds);
    CheckBox_show_species_names->setEnabled(slides);
}

TShowSettings TDemoSettingsDialog::settings() const {
    TShowSettings s = settings_;
    const int kind = show_kind();
    s.slides = kind != 1;
    s.sounds = kind != 0;
    bool ok = false;
    const int seconds = MaskEdit_every_X_seconds->text().trimmed().toInt(&ok);
    s.slide_seconds = ok ? seconds : 25;
    s.show_species_names = CheckBox_show_species_names->isChecked();
    s.quality_class = std::max(0, qualities_->checkedId()) + 1;
    s.options = frame->options();
    return s;
}
