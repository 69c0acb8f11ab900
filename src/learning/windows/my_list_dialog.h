#pragma once

#include "learning/my_list.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class Tdata;

// Marks one species heard and/or seen, with the date and place of each, and
// a note.
class TMyListDialog : public QDialog {
    Q_OBJECT
  public:
    TMyListDialog(const QString& speciesName, const TMyListEntry& entry, QWidget* parent);
    TMyListEntry entry() const;

    QCheckBox& heard() { return *heard_; }
    QCheckBox& seen() { return *seen_; }
    QDateEdit& heard_date() { return *heard_date_; }
    QLineEdit& heard_place() { return *heard_place_; }
    QLineEdit& seen_place() { return *seen_place_; }
    QPlainTextEdit& note() { return *note_; }

  private:
    QCheckBox* heard_;
    QDateEdit* heard_date_;
    QLineEdit* heard_place_;
    QCheckBox* seen_;
    QDateEdit* seen_date_;
    QLineEdit* seen_place_;
    QPlainTextEdit* note_;
};

// Opens the dialog for the species (window-modal, without blocking); OK
// saves the entry and runs `changed`.
void GLB_open_my_list_dialog(TMyList& list, const Tspecies& species, QWidget* parent,
                             std::function<void()> changed);
// "Export my list...": asks where (through the dialog service) and writes the CSV.
void GLB_export_my_list(const TMyList& list, const Tdata& data);
