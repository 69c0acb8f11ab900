#include "utilities/windows/list_settings_frame.h"

#include "app/editions.h"
#include "data/species_database.h"
#include "utilities/windows/name_settings_frame.h"
#include "utilities/windows/program_settings_frame.h"
#include "utilities/windows/sonogram_settings_frame.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const QString kSettingsSection = QStringLiteral("SETTINGS FRAME");
const QString kOrdersSection = QStringLiteral("SYSTEMATIC ORDERS FRAME");
const QString kSoundsPhotosSection = QStringLiteral("WITH OR WITHOUT SOUNDS PHOTOS FRAME");
const QString kDepartmentSection = QStringLiteral("SHOW DEPARTMENT AND OR COUNTRY FRAME");

QVBoxLayout* bareLayout(QWidget* frame) {
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}
}  // namespace

// --- Radio groups ----------------------------------------------------------------------

TRadioGroupFrame::TRadioGroupFrame(QWidget* parent, const QString& caption,
                                   const QStringList& items, int columns)
    : TOptionsFrame(parent), group_(new QGroupBox(caption, this)), buttons_(new QButtonGroup(this)) {
    auto* grid = new QGridLayout(group_);
    const int rows = (static_cast<int>(items.size()) + columns - 1) / columns;
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], group_);
        buttons_->addButton(button, i);
        grid->addWidget(button, i % rows, i / rows);
    }
    bareLayout(this)->addWidget(group_);
}

int TRadioGroupFrame::item_index() const {
    return buttons_->checkedId();
}
void TRadioGroupFrame::set_item_index(int item) {
    if (QAbstractButton* button = buttons_->button(item)) button->setChecked(true);
}
int TRadioGroupFrame::item_count() const {
    return static_cast<int>(buttons_->buttons().size());
}
QRadioButton* TRadioGroupFrame::item(int index) const {
    return qobject_cast<QRadioButton*>(buttons_->button(index));
}

// --- Systematic order ---------------------------------------------------------------

namespace {
QStringList orderCaptions(const TSystematicOrderChoice& choice) {
    const QStringList texts = TOptionsFrame::section_texts(kOrdersSection);
    QStringList captions;
    // Line 1 is the caption; the order with code k is named on line k + 1.
    for (int order : choice.orders) captions << texts.value(order);
    return captions;
}
}  // namespace

TFrameSelectSystematicOrder::TFrameSelectSystematicOrder(const Tdata& data, QWidget* parent)
    : TFrameSelectSystematicOrder(GLB_systematic_order_choice(data), parent) {}

TFrameSelectSystematicOrder::TFrameSelectSystematicOrder(const TSystematicOrderChoice& choice,
                                                         QWidget* parent)
    : TRadioGroupFrame(parent, section_texts(kOrdersSection)[0], orderCaptions(choice)),
      choice_(choice) {
    setVisible(choice_.offered());
}

void TFrameSelectSystematicOrder::fill(const TOptionsContext& context) {
    filled_order_ = context.settings.systematic_order;
    set_item_index(choice_.item_of(filled_order_));
}

void TFrameSelectSystematicOrder::store(TOptionsContext& context) {
    const int order = choice_.offered() ? choice_.order_at(item_index(), filled_order_) : filled_order_;
    context.settings.systematic_order = static_cast<std::uint8_t>(order);
    if (order != filled_order_) context.flags.changed = context.flags.rebuild = true;
}

// --- Sounds and photos ------------------------------------------------------------------

TFrameOnlyWithSoundsAndOrPhotos::TFrameOnlyWithSoundsAndOrPhotos(QWidget* parent)
    : TRadioGroupFrame(parent, section_texts(kSoundsPhotosSection)[0],
                       section_texts(kSoundsPhotosSection).mid(1, 4)) {
    setVisible(GLB_edition().offers_sounds_photos_filter);
}

void TFrameOnlyWithSoundsAndOrPhotos::fill(const TOptionsContext& context) {
    filled_item_ = sounds_photos::item_of(context.settings.visible_set);
    set_item_index(filled_item_);
}

void TFrameOnlyWithSoundsAndOrPhotos::store(TOptionsContext& context) {
    if (isHidden()) return;
    const int item = item_index() < 0 ? sounds_photos::kAll : item_index();
    sounds_photos::apply_item(item, context.settings.visible_set);
    if (item != filled_item_) context.flags.changed = context.flags.rebuild = true;
}

// --- Threatened statuses -------------------------------------------------------------

TFrameShowThreatenedStatuses::TFrameShowThreatenedStatuses(QWidget* parent)
    : TOptionsFrame(parent),
      CheckBox_show_threatened(new QCheckBox(section_texts(kSettingsSection)[2], this)) {
    bareLayout(this)->addWidget(CheckBox_show_threatened);
}

void TFrameShowThreatenedStatuses::fill(const TOptionsContext& context) {
    filled_ = context.settings.show_threatened;
    CheckBox_show_threatened->setChecked(filled_);
}

void TFrameShowThreatenedStatuses::store(TOptionsContext& context) {
    const bool shown = CheckBox_show_threatened->isChecked();
    context.settings.show_threatened = shown;
    if (shown != filled_) context.flags.changed = context.flags.rebuild = true;
}

// --- Department and country -------------------------------------------------------

TFrameShowDepartmentCountryForRecordings::TFrameShowDepartmentCountryForRecordings(QWidget* parent)
    : TOptionsFrame(parent) {
    const QStringList texts = section_texts(kDepartmentSection);
    GroupBox_recording_data = new QGroupBox(texts[0], this);
    CheckBox_department = new QCheckBox(texts[1], GroupBox_recording_data);
    CheckBox_country = new QCheckBox(texts[2], GroupBox_recording_data);
    auto* boxes = new QVBoxLayout(GroupBox_recording_data);
    boxes->addWidget(CheckBox_department);
    boxes->addWidget(CheckBox_country);
    // Without the country the group closes up under the department.
    CheckBox_country->setVisible(GLB_edition().several_countries);
    bareLayout(this)->addWidget(GroupBox_recording_data);
}

void TFrameShowDepartmentCountryForRecordings::fill(const TOptionsContext& context) {
    filled_department_ = context.settings.show_department;
    filled_country_ = context.settings.show_country;
    CheckBox_department->setChecked(filled_department_);
    CheckBox_country->setChecked(filled_country_);
}

void TFrameShowDepartmentCountryForRecordings::store(TOptionsContext& context) {
    const bool department = CheckBox_department->isChecked();
    const bool country = GLB_edition().several_countries && CheckBox_country->isChecked();
    context.settings.show_department = department;
    context.settings.show_country = country;
    if (department != filled_department_ || country != filled_country_)
        context.flags.changed = context.flags.rebuild = true;
}

// --- The page ------------------------------------------------------------------------------

TFrameSettings::TFrameSettings(const Tdata& data, QWidget* parent)
    : TOptionsFrame(parent), caption_(section_texts(kSettingsSection)[0]) {
    names = new TFrameNameSettings(this);
    systematic_order = new TFrameSelectSystematicOrder(data, this);
    sounds_photos = new TFrameOnlyWithSoundsAndOrPhotos(this);
    threatened = new TFrameShowThreatenedStatuses(this);
    department_country = new TFrameShowDepartmentCountryForRecordings(this);
    text_size = new TFrameTextSize(this);
    web_browser = new TFrameWebBrowserSettings(this);
    sound_editor = new TFrameSelectSoundEditorProgram(this);
    volume_control = new TFrameShowVolumeControl(this);
    sonograms = new TFrameSonogramSettings(this);
    frames_ = {names,     systematic_order, sounds_photos, threatened,    department_country,
               text_size, web_browser,      sound_editor,  volume_control, sonograms};

    // Two columns so that the page fits a small screen: the list's own
    // settings on the left, the program's on the right.
    auto* columns = new QHBoxLayout(this);
    auto* listColumn = new QVBoxLayout;
    auto* programColumn = new QVBoxLayout;
    for (TOptionsFrame* frame : frames_)
        (frame == text_size || frame == web_browser || frame == sound_editor ||
                 frame == volume_control || frame == sonograms
             ? programColumn
             : listColumn)
            ->addWidget(frame);
    listColumn->addStretch();
    programColumn->addStretch();
    columns->addLayout(listColumn, 1);
    columns->addLayout(programColumn, 1);
}

void TFrameSettings::fill(const TOptionsContext& context) {
    for (TOptionsFrame* frame : frames_) frame->fill(context);
}

void TFrameSettings::store(TOptionsContext& context) {
    for (TOptionsFrame* frame : frames_) frame->store(context);
}

void TFrameSettings::restore() {
    for (TOptionsFrame* frame : frames_) frame->restore();
}
