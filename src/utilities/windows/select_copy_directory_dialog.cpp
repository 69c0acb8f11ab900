#include "utilities/windows/select_copy_directory_dialog.h"

#include "app/globals.h"
#include "platform/dialog_service.h"
#include "utilities/copy_to_hard_disk.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr qint64 kMegabyte = 1'048'576;
}

TSelectCopyDirectoryDialog::TSelectCopyDirectoryDialog(const QStringList& texts,
                                                       const QString& defaultDirectory,
                                                       qint64 neededMegabytes, QWidget* parent)
    : QDialog(parent), free_bytes(&GLB_free_bytes_for), texts_(texts),
      needed_megabytes_(neededMegabytes) {
    setWindowTitle(text(kCaption).isEmpty() ? GLB().message_box_caption : text(kCaption));
    auto* layout = new QVBoxLayout(this);
    auto* explanation = new QLabel(text(kExplanation), this);
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    auto* form = new QFormLayout;
    auto* needed = new QLabel(QString::number(neededMegabytes) + u' ' + text(kMegabytes), this);
    form->addRow(text(kNeeded), needed);
    free_label_ = new QLabel(this);
    form->addRow(text(kFree), free_label_);
    auto* folderRow = new QHBoxLayout;
    folder_edit_ = new QLineEdit(defaultDirectory, this);
    folder_edit_->setMinimumWidth(360);
    browse_button_ = new QPushButton(text(kBrowse), this);
    folderRow->addWidget(folder_edit_, 1);
    folderRow->addWidget(browse_button_);
    form->addRow(text(kFolder), folderRow);
    layout->addLayout(form);

    warning_label_ = new QLabel(this);
    warning_label_->setWordWrap(true);
    warning_label_->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(warning_label_);

    auto* buttons = new QDialogButtonBox(this);
    ok_button_ = buttons->addButton(text(kOk), QDialogButtonBox::AcceptRole);
    buttons->addButton(text(kCancel), QDialogButtonBox::RejectRole);
    ok_button_->setDefault(true);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &TSelectCopyDirectoryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(browse_button_, &QPushButton::clicked, this, &TSelectCopyDirectoryDialog::browse);
    connect(folder_edit_, &QLineEdit::textChanged, this,
            &TSelectCopyDirectoryDialog::update_free_space);
    update_free_space();
}

QString TSelectCopyDirectoryDialog::text(Text which) const {
    return which < texts_.size() ? texts_[which] : QString();
}

QString TSelectCopyDirectoryDialog::directory() const {
    return folder_edit_->text().trimmed();
}

void TSelectCopyDirectoryDialog::set_directory(const QString& directory) {
    folder_edit_->setText(directory);
}

void TSelectCopyDirectoryDialog::update_free_space() {
    const QString folder = directory();
    const qint64 free = folder.isEmpty() ? -1 : free_bytes(folder);
    free_label_->setText(free < 0 ? QStringLiteral("?")
                                  : QString::number(free / kMegabyte) + u' ' + text(kMegabytes));
    const bool tooLittle = free >= 0 && free / kMegabyte < needed_megabytes_;
    warning_label_->setText(tooLittle ? text(kTooLittleRoom) : QString());
    warning_label_->setVisible(tooLittle);
}

void TSelectCopyDirectoryDialog::browse() {
    QString start = directory();
    while (!start.isEmpty() && !QFileInfo(start).isDir()) start = QFileInfo(start).path();
    if (const auto chosen = platform::DialogService::chooseDirectory(text(kBrowseCaption), start))
        set_directory(*chosen);
}

void TSelectCopyDirectoryDialog::accept() {
    if (directory().isEmpty()) {
        platform::DialogService::message(text(kNoFolder), windowTitle(), platform::box::IconWarning);
        return;
    }
    QDialog::accept();
}

std::optional<QString> TSelectCopyDirectoryDialog::choose(const QStringList& texts,
                                                          const QString& defaultDirectory,
                                                          qint64 neededMegabytes) {
    TSelectCopyDirectoryDialog dialog(texts, defaultDirectory, neededMegabytes);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.directory();
}
