#include "listview/windows/find_dialog.h"

#include "formats/textfile.h"
#include "listview/list_fonts.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TFindInShowStringsDialog::TFindInShowStringsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(GLB_text(QStringLiteral("FIND_DB"), 1));
    setFont(GLB_list_fonts().standard().font);
    Edit_control = new QLineEdit(this);
    CheckBox_search_from_top = new QCheckBox(GLB_text(QStringLiteral("FIND_DB"), 2), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    OKBtn = buttons->button(QDialogButtonBox::Ok);
    CancelBtn = buttons->button(QDialogButtonBox::Cancel);
    OKBtn->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Edit_control);
    layout->addWidget(CheckBox_search_from_top);
    layout->addStretch();
    layout->addWidget(buttons);
    resize(313, 147);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFindInShowStringsDialog::load(const QString& text, bool fromTop) {
    Edit_control->setText(text);
    Edit_control->selectAll();
    Edit_control->setFocus();
    CheckBox_search_from_top->setChecked(fromTop);
}

void TFindInShowStringsDialog::store(QString& text, bool& fromTop) const {
    text = Edit_control->text();
    fromTop = CheckBox_search_from_top->isChecked();
}

bool TFindInShowStringsDialog::run(QString& text, bool& fromTop) {
    load(text, fromTop);
    if (exec() != QDialog::Accepted) return false;
    store(text, fromTop);
    return true;
}
