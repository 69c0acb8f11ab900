#include "utilities/windows/audio_cds_settings_frame.h"

#include "app/editions.h"
#include "app/globals.h"
#include "app/settings.h"
#include "app/settings_general.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "info_windows/windows/help_window.h"
#include "platform/dialog_service.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QString kPlayerSection = QStringLiteral("AUDIO CD PLAYER FRAME");
const QString kPageSection = QStringLiteral("AUDIO CDS FRAME");
const QString kCdsSection = QStringLiteral("MY AUDIO CDS FRAME");
constexpr int kDriveColumns = 4;
constexpr int kPageMargin = 5;
constexpr int kAudioCdsHelpContext = 103;

// Lines of "MY AUDIO CDS FRAME".
constexpr int kMessageBefore = 0;
constexpr int kMessageAfter = 1;
constexpr int kHeaderCd = 2;
constexpr int kFirstChoice = 3;  // the five choices follow in their order
constexpr int kFolderCaption = 8;

// Lines of "AUDIO CDS FRAME".
constexpr int kHelpLine = 1;
constexpr int kNativeLabel = 2;
constexpr int kNativeShown = 3;
constexpr int kNativeHidden = 4;

QStringList driveCaptions(int driveCount) {
    const QString word = TOptionsFrame::section_texts(kPlayerSection)[1];
    QStringList captions;
    for (int drive = 1; drive <= driveCount; ++drive)
        captions << QString::number(drive) + u' ' + word;
    return captions;
}
}  // namespace

// --- The drive ----------------------------------------------------------------------------

TFrameChooseAudioCDPlayer::TFrameChooseAudioCDPlayer(int driveCount, QWidget* parent)
    : TRadioGroupFrame(parent, section_texts(kPlayerSection)[0], driveCaptions(driveCount),
                       kDriveColumns),
      drive_count_(driveCount) {
    setVisible(driveCount > 1);
}

int TFrameChooseAudioCDPlayer::stored_drive(int driveCount) {
    return options_values::audio_cd_drive(
        GLB_read_int(GLB().default_section, settings::general::kAudioCdDrive,
                     settings::general::kAudioCdDriveDefault),
        driveCount);
}

void TFrameChooseAudioCDPlayer::fill(const TOptionsContext&) {
    filled_ = stored_drive(drive_count_);
    set_item_index(filled_ - 1);
}

void TFrameChooseAudioCDPlayer::store(TOptionsContext&) {
    if (drive_count_ <= 1) return;
    const int drive = item_index() + 1;
    if (drive >= 1 && drive != filled_)
        GLB_write_int(GLB().default_section, settings::general::kAudioCdDrive, drive);
}

// --- The audio CDs ------------------------------------------------------------------------

TFrameSelectAudioCDs::TFrameSelectAudioCDs(const Tdata& data, QWidget* parent)
    : TOptionsFrame(parent), texts_(section_texts(kCdsSection)) {
    // The rows scroll (also with the wheel) when there are many CDs.
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* table = new QWidget(scroll);
    auto* grid = new QGridLayout(table);
    grid->addWidget(new QLabel(QStringLiteral("<b>%1</b>").arg(texts_[kHeaderCd].toHtmlEscaped()), table), 0, 0);
    for (int c = 0; c < 5; ++c) {
        auto* header = new QLabel(texts_[kFirstChoice + c], table);
        header->setWordWrap(true);
        header->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        grid->addWidget(header, 0, c + 1);
    }
    int line = 1;
    for (TaudioCD* cd : data.audio_cds()) {
        auto* name = new QLabel(cd->name, table);
        name->setToolTip(cd->full_title);
        grid->addWidget(name, line, 0);
        auto* choices = new QButtonGroup(this);
        for (int c = 1; c <= 5; ++c) {
            const auto choice = static_cast<TAudioCdChoice>(c);
            auto* button = new QRadioButton(table);
            button->setEnabled(GLB_audio_cd_choice_offered(choice, *cd));
            choices->addButton(button, c);
            grid->addWidget(button, line, c, Qt::AlignHCenter);
        }
        if (!cd->carried_on_disc) {
            auto* folder = new QToolButton(table);
            folder->setText(QStringLiteral("..."));
            folder->setToolTip(texts_[kFolderCaption]);
            const int row = static_cast<int>(rows_.size());
            connect(folder, &QToolButton::clicked, this, [this, row] { choose_hard_disk_folder(row); });
            grid->addWidget(folder, line, 6);
        }
        rows_.push_back({cd, choices, QString()});
        ++line;
    }
    if (GLB_edition().offers_native_recordings_choice) {
        const QStringList page = section_texts(kPageSection);
        grid->addWidget(new QLabel(page[kNativeLabel], table), line, 0);
        native_ = new QButtonGroup(this);
        auto* shown = new QRadioButton(page[kNativeShown], table);
        auto* hidden = new QRadioButton(page[kNativeHidden], table);
        native_->addButton(shown, 1);
        native_->addButton(hidden, 0);
        grid->addWidget(shown, line, 1, 1, 2);
        grid->addWidget(hidden, line, 3, 1, 2);
        ++line;
    }
    grid->setRowStretch(line, 1);
    grid->setColumnStretch(0, 1);
    scroll->setWidget(table);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
}

TAudioCdChoice TFrameSelectAudioCDs::row_choice(int row) const {
    const int id = rows_.at(static_cast<size_t>(row)).choices->checkedId();
    return id >= 1 && id <= 5 ? static_cast<TAudioCdChoice>(id) : TAudioCdChoice::Hidden;
}

void TFrameSelectAudioCDs::set_row_choice(int row, TAudioCdChoice choice) {
    if (QAbstractButton* button =
            rows_.at(static_cast<size_t>(row)).choices->button(static_cast<int>(choice)))
        button->setChecked(true);
}

void TFrameSelectAudioCDs::choose_hard_disk_folder(int row) {
    TRow& entry = rows_.at(static_cast<size_t>(row));
    const QString current =
        entry.chosen_folder.isEmpty() ? entry.cd->hard_disk_directory : entry.chosen_folder;
    const std::optional<QString> folder =
        platform::DialogService::chooseDirectory(texts_[kFolderCaption], current);
    if (!folder || folder->trimmed().isEmpty()) return;
    entry.chosen_folder = *folder;
    set_row_choice(row, TAudioCdChoice::PlayableFromHardDisk);
}

QString TFrameSelectAudioCDs::chosen_folder(int row) const {
    return rows_.at(static_cast<size_t>(row)).chosen_folder;
}

bool TFrameSelectAudioCDs::native_pair_shown() const {
    return native_ != nullptr;
}
bool TFrameSelectAudioCDs::native_recordings_shown() const {
    return native_ ? native_->checkedId() != 0 : filled_.show_native_recordings;
}
void TFrameSelectAudioCDs::set_native_recordings_shown(bool shown) {
    if (native_) native_->button(shown ? 1 : 0)->setChecked(true);
}

void TFrameSelectAudioCDs::fill(const TOptionsContext& context) {
    filled_ = context.settings.visible_set.carriers;
    for (int row = 0; row < row_count(); ++row)
        set_row_choice(row, GLB_audio_cd_choice(filled_, *rows_[static_cast<size_t>(row)].cd));
    set_native_recordings_shown(filled_.show_native_recordings);
}

void TFrameSelectAudioCDs::store(TOptionsContext& context) {
    TClassSoundCarriersUseSpecification carriers = filled_;
    for (int row = 0; row < row_count(); ++row)
        GLB_apply_audio_cd_choice(row_choice(row), *rows_[static_cast<size_t>(row)].cd, carriers);
    carriers.show_native_recordings = native_recordings_shown();
    // The folders chosen are the CDs' own, kept for every list and the
    // next run.
    for (TRow& row : rows_)
        if (!row.chosen_folder.isEmpty()) row.cd->hard_disk_directory = row.chosen_folder;
    const TOptionsFlags change = GLB_carriers_change(filled_, carriers);
    context.settings.visible_set.carriers = carriers;
    context.flags.changed |= change.changed;
    context.flags.rebuild |= change.rebuild;
    context.flags.refresh |= change.refresh;
}

bool TFrameSelectAudioCDs::valid() const {
    std::vector<std::pair<const TaudioCD*, TAudioCdChoice>> choices;
    for (int row = 0; row < row_count(); ++row)
        if (rows_[static_cast<size_t>(row)].chosen_folder.isEmpty())
            choices.emplace_back(rows_[static_cast<size_t>(row)].cd, row_choice(row));
    const TaudioCD* missing = GLB_cd_without_hard_disk_folder(choices);
    if (!missing) return true;
    platform::DialogService::message(
        GLB_hard_disk_folder_missing_message(texts_[kMessageBefore], missing->name,
                                             texts_[kMessageAfter]),
        GLB().message_box_caption, platform::box::IconStop);
    return false;
}

// --- The page ------------------------------------------------------------------------------

TFrameAudioCDsSettings::TFrameAudioCDsSettings(const Tdata& data, int driveCount, QWidget* parent)
    : TOptionsFrame(parent), caption_(section_texts(kPageSection)[0]) {
    player = new TFrameChooseAudioCDPlayer(driveCount, this);
    my_audio_cds = new TFrameSelectAudioCDs(data, this);
    Button_help = new QPushButton(section_texts(kPageSection)[kHelpLine], this);
    connect(Button_help, &QPushButton::clicked, this, [] { GLB_show_help(kAudioCdsHelpContext); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPageMargin, kPageMargin, kPageMargin, kPageMargin);
    layout->addWidget(player);
    layout->addWidget(my_audio_cds, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button_help);
    layout->addLayout(buttons);
}

void TFrameAudioCDsSettings::fill(const TOptionsContext& context) {
    player->fill(context);
    my_audio_cds->fill(context);
}

void TFrameAudioCDsSettings::store(TOptionsContext& context) {
    player->store(context);
    my_audio_cds->store(context);
}
