#include "learning/windows/my_list_dialog.h"

#include "data/taxa.h"
#include "platform/dialog_service.h"
#include "playlists/user_files_folder.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

// One sighting's row: the check box, then its date and place, off while
// the box is clear.
void sightingRow(QFormLayout& form, QCheckBox* box, QDateEdit* date, QLineEdit* place, bool marked,
                 const QDate& when, const QString& where) {
    date->setCalendarPopup(true);
    date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date->setDate(when.isValid() ? when : QDate::currentDate());
    place->setText(where);
    place->setPlaceholderText(QStringLiteral("Place"));
    box->setChecked(marked);
    auto* row = new QHBoxLayout;
    row->addWidget(date);
    row->addWidget(place, 1);
    form.addRow(box, row);
    const auto follow = [date, place](bool on) {
        date->setEnabled(on);
        place->setEnabled(on);
    };
    follow(marked);
    QObject::connect(box, &QCheckBox::toggled, date, follow);
}

QString nameOf(const Tspecies& species) {
    return species.common_name.isEmpty()
               ? species.scientific_name
               : species.common_name + QStringLiteral(" (") + species.scientific_name + u')';
}

}  // namespace

TMyListDialog::TMyListDialog(const QString& speciesName, const TMyListEntry& entry, QWidget* parent)
    : QDialog(parent),
      heard_(new QCheckBox(QStringLiteral("&Heard"), this)),
      heard_date_(new QDateEdit(this)),
      heard_place_(new QLineEdit(this)),
      seen_(new QCheckBox(QStringLiteral("&Seen"), this)),
      seen_date_(new QDateEdit(this)),
      seen_place_(new QLineEdit(this)),
      note_(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("my_list_dialog"));
    setWindowTitle(QStringLiteral("My list"));
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel(speciesName, this);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    layout->addWidget(title);
    auto* form = new QFormLayout;
    sightingRow(*form, heard_, heard_date_, heard_place_, entry.heard, entry.heard_date, entry.heard_place);
    sightingRow(*form, seen_, seen_date_, seen_place_, entry.seen, entry.seen_date, entry.seen_place);
    note_->setPlainText(entry.note);
    note_->setTabChangesFocus(true);
    note_->setFixedHeight(note_->fontMetrics().lineSpacing() * 4 + 12);
    form->addRow(QStringLiteral("&Note"), note_);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(440, sizeHint().height());
}

TMyListEntry TMyListDialog::entry() const {
    TMyListEntry e;
    e.heard = heard_->isChecked();
    if (e.heard) {
        e.heard_date = heard_date_->date();
        e.heard_place = heard_place_->text().trimmed();
    }
    e.seen = seen_->isChecked();
    if (e.seen) {
        e.seen_date = seen_date_->date();
        e.seen_place = seen_place_->text().trimmed();
    }
    e.note = note_->toPlainText().trimmed();
    return e;
}

void GLB_open_my_list_dialog(TMyList& list, const Tspecies& species, QWidget* parent,
                             std::function<void()> changed) {
    auto* dialog = new TMyListDialog(nameOf(species), list.entry(species), parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::accepted, dialog,
                     [&list, &species, dialog, changed = std::move(changed)] {
                         if (dialog->entry() == list.entry(species)) return;
                         list.set(species, dialog->entry());
                         if (changed) changed();
                     });
    dialog->open();
}

void GLB_export_my_list(const TMyList& list, const Tdata& data) {
    const std::optional<QString> file = platform::DialogService::saveFileName(
        {QStringLiteral("Export my list"),
         QDir::toNativeSeparators(GLB_user_files_folder(QStringLiteral("My list.csv"))),
         QStringLiteral("CSV files (*.csv)")});
    if (!file || file->isEmpty()) return;
    QString path = *file;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    list.export_csv(data, path);
}
