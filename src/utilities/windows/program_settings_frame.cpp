#include "utilities/windows/program_settings_frame.h"

#include "app/editions.h"
#include "info_windows/page_opening.h"
#include "listview/list_fonts.h"
#include "sound/sound_editor.h"
#include "sound/windows/volume_control_form.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kSettingsSection = QStringLiteral("SETTINGS FRAME");
const QString kBrowserSection = QStringLiteral("BROWSER SETTINGS FRAME");
const QString kEditorSection = QStringLiteral("SOUND EDITOR PROGRAM FRAME");
const QString kVolumeSection = QStringLiteral("VOLUME CONTROL SETTINGS FRAME");
constexpr int kLabelToEdit = 15;
constexpr int kEditToButton = 2;
}  // namespace

// --- Text size -------------------------------------------------------------------------

TFrameTextSize::TFrameTextSize(QWidget* parent) : TOptionsFrame(parent) {
    Label_text_size = new QLabel(section_texts(kSettingsSection)[1], this);
    Edit_text_size = new QSpinBox(this);
    Edit_text_size->setRange(list_font::kMinTextSize, list_font::kMaxTextSize);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kLabelToEdit);
    row->addWidget(Label_text_size);
    row->addWidget(Edit_text_size);
    row->addStretch();
}

void TFrameTextSize::fill(const TOptionsContext&) {
    filled_ = GLB_list_fonts().base_height();
    Edit_text_size->setValue(filled_);
}

void TFrameTextSize::store(TOptionsContext& context) {
    const int size = Edit_text_size->value();
    if (size == filled_) return;
    GLB_list_fonts().set_base_height(size);
    context.text_size_changed = true;
    context.flags.changed = context.flags.rebuild = true;
}

// --- Web browser ------------------------------------------------------------------------

TFrameWebBrowserSettings::TFrameWebBrowserSettings(QWidget* parent) : TOptionsFrame(parent) {
    const QStringList texts = section_texts(kBrowserSection);
    GroupBox_browser = new QGroupBox(texts[0], this);
    CheckBox_use_integrated_browser = new QCheckBox(texts[1], GroupBox_browser);
    CheckBox_use_only_one_window = new QCheckBox(texts[2], GroupBox_browser);
    auto* boxes = new QVBoxLayout(GroupBox_browser);
    boxes->addWidget(CheckBox_use_integrated_browser);
    boxes->addWidget(CheckBox_use_only_one_window);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(GroupBox_browser);
    connect(CheckBox_use_integrated_browser, &QCheckBox::toggled, CheckBox_use_only_one_window,
            &QCheckBox::setEnabled);
}

void TFrameWebBrowserSettings::fill(const TOptionsContext&) {
    const TWebBrowserSettings settings = GLB_read_web_browser_settings();
    CheckBox_use_integrated_browser->setChecked(settings.use_integrated_browser);
    CheckBox_use_only_one_window->setChecked(settings.use_only_one_window);
    CheckBox_use_only_one_window->setEnabled(settings.use_integrated_browser);
}

void TFrameWebBrowserSettings::store(TOptionsContext&) {
    GLB_write_web_browser_settings({.use_integrated_browser = CheckBox_use_integrated_browser->isChecked(),
                                    .use_only_one_window = CheckBox_use_only_one_window->isChecked()});
}

// --- Sound-editing program ------------------------------------------------------------

TFrameSelectSoundEditorProgram::TFrameSelectSoundEditorProgram(QWidget* parent)
    : TOptionsFrame(parent) {
    GroupBox_editor = new QGroupBox(section_texts(kEditorSection)[0], this);
    Edit_program = new QLineEdit(GroupBox_editor);
    Button_select_file = new QToolButton(GroupBox_editor);
    Button_select_file->setText(QStringLiteral("..."));
    Button_select_file->setFixedHeight(Edit_program->sizeHint().height());
    auto* row = new QHBoxLayout(GroupBox_editor);
    row->setSpacing(kEditToButton);
    row->addWidget(Edit_program, 1);
    row->addWidget(Button_select_file);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(GroupBox_editor);
    connect(Button_select_file, &QToolButton::clicked, this,
            &TFrameSelectSoundEditorProgram::choose_program);
    setVisible(GLB_edition().rules.offers_sound_editor);
}

void TFrameSelectSoundEditorProgram::choose_program() {
    if (GLB_choose_sound_editor(GroupBox_editor->title()))
        Edit_program->setText(GLB_sound_editor().program);
}

void TFrameSelectSoundEditorProgram::fill(const TOptionsContext&) {
    filled_ = GLB_sound_editor().program;
    Edit_program->setText(filled_);
}

void TFrameSelectSoundEditorProgram::store(TOptionsContext&) {
    if (isHidden()) return;
    const QString path = Edit_program->text().trimmed();
    if (path != GLB_sound_editor().program) GLB_store_sound_editor_program(path);
}

void TFrameSelectSoundEditorProgram::restore() {
    if (GLB_sound_editor().program != filled_) GLB_store_sound_editor_program(filled_);
    Edit_program->setText(filled_);
}

// --- Volume control ---------------------------------------------------------------------

TFrameShowVolumeControl::TFrameShowVolumeControl(QWidget* parent)
    : TOptionsFrame(parent),
      CheckBox_show_volume_control(new QCheckBox(section_texts(kVolumeSection)[0], this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(CheckBox_show_volume_control);
}

void TFrameShowVolumeControl::fill(const TOptionsContext&) {
    const TVolume_control_form* form = TVolume_control_form::instance();
    filled_ = form && form->isVisible();
    CheckBox_show_volume_control->setChecked(filled_);
    CheckBox_show_volume_control->setEnabled(form != nullptr);
}

void TFrameShowVolumeControl::store(TOptionsContext&) {
    TVolume_control_form* form = TVolume_control_form::instance();
    const bool shown = CheckBox_show_volume_control->isChecked();
    if (!form || shown == filled_) return;
    if (shown)
        form->show_checked();
    else
        form->hide();
}
