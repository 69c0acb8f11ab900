#include "utilities/windows/name_settings_frame.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const QString kSection = QStringLiteral("NAMES FRAME");
}

TFrameNameSettings::TFrameNameSettings(QWidget* parent) : TOptionsFrame(parent) {
    const QStringList texts = section_texts(kSection);
    GroupBox_names = new QGroupBox(texts[0], this);
    OtherLanguageCheckbox = new QCheckBox(texts[1], GroupBox_names);
    ScientificCheckbox = new QCheckBox(texts[2], GroupBox_names);
    rg_main_language = new QGroupBox(texts[3], GroupBox_names);
    main_other_language = new QRadioButton(texts[4], rg_main_language);
    main_scientific = new QRadioButton(texts[5], rg_main_language);
    main_group_ = new QButtonGroup(this);
    main_group_->addButton(main_other_language, TNameChoice::kOtherLanguageMain);
    main_group_->addButton(main_scientific, TNameChoice::kScientificMain);

    auto* boxes = new QVBoxLayout;
    boxes->addWidget(OtherLanguageCheckbox);
    boxes->addWidget(ScientificCheckbox);
    boxes->addStretch();
    auto* radios = new QVBoxLayout(rg_main_language);
    radios->addWidget(main_other_language);
    radios->addWidget(main_scientific);
    auto* group = new QHBoxLayout(GroupBox_names);
    group->addLayout(boxes, 1);
    group->addWidget(rg_main_language, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(GroupBox_names);

    // Clicks only: the frame's own setting of the controls must not count.
    connect(OtherLanguageCheckbox, &QCheckBox::toggled, this, [this](bool checked) {
        if (setting_controls_) return;
        choice_.set_other_language(checked);
        changed();
    });
    connect(ScientificCheckbox, &QCheckBox::toggled, this, [this](bool checked) {
        if (setting_controls_) return;
        choice_.set_scientific(checked);
        changed();
    });
    connect(main_group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (setting_controls_ || !checked) return;
        choice_.select_main(id);
        changed();
    });
}

void TFrameNameSettings::set_preview(std::function<void(const TNameChoice&)> preview) {
    preview_ = std::move(preview);
}

void TFrameNameSettings::show_choice() {
    setting_controls_ = true;
    OtherLanguageCheckbox->setChecked(choice_.other_language());
    ScientificCheckbox->setChecked(choice_.scientific());
    main_group_->button(choice_.main_item())->setChecked(true);
    setting_controls_ = false;
}

void TFrameNameSettings::changed() {
    show_choice();
    if (preview_ && choice_ != previewed_) {
        previewed_ = choice_;
        preview_(choice_);
    }
}

void TFrameNameSettings::fill(const TOptionsContext& context) {
    const SHST_TClassShowStringsData& settings = context.settings;
    choice_ = TNameChoice(settings.show_scientific, settings.show_other_language, settings.main_name);
    filled_ = choice_;
    previewed_ = choice_;
    show_choice();
}

void TFrameNameSettings::store(TOptionsContext& context) {
    SHST_TClassShowStringsData& settings = context.settings;
    settings.show_scientific = choice_.scientific();
    settings.show_other_language = choice_.other_language();
    settings.main_name = static_cast<std::uint8_t>(choice_.main_name());
    // The list already shows the names; nothing is to be rebuilt for them.
    if (choice_ != filled_) context.flags.changed = true;
}

void TFrameNameSettings::restore() {
    if (previewed_ == filled_) return;
    choice_ = filled_;
    previewed_ = filled_;
    show_choice();
    if (preview_) preview_(filled_);
}
