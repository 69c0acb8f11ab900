#include "info_windows/windows/about_form.h"

#include "app/editions.h"
#include "data/species_database.h"
#include "formats/textfile.h"
#include "info_windows/about_texts.h"
#include "listview/windows/window_placement.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(GLB_text(QStringLiteral("ABOUT"), 1) + u' ' + GLB_edition().title);
    resize(560, 520);
    auto* layout = new QVBoxLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/PROGRAM_ICON_2")));
    layout->addWidget(icon, 0, Qt::AlignHCenter);
    page_ = new QTextBrowser(this);
    page_->setOpenLinks(false);
    page_->setHtml(GLB_about_html(GLB_edition(), GLB_data_or_null(), GLB_about_words()));
    layout->addWidget(page_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    const QString ok = GLB_text(QStringLiteral("ABOUT"), 7);
    if (!ok.isEmpty()) buttons->button(QDialogButtonBox::Ok)->setText(ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    // Its OK button stays on the screen; the text scrolls instead.
    resize(GLB_size_within_screen(this, size()));
}

void TAboutForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    GLB_move_onto_screen(this);
}

QString TAboutForm::text() const {
    return page_->toPlainText();
}
