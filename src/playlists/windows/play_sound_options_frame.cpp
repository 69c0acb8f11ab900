#include "playlists/windows/play_sound_options_frame.h"

#include "formats/textfile.h"

#include <QCheckBox>
#include <QEvent>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>

namespace {

QString text(int line) {
    return GLB_text(QStringLiteral("PLAY_SOUND_OPTIONS_FRAME"), line);
}

int wholeNumber(const QLineEdit* edit, int otherwise) {
    bool ok = false;
    const int n = edit->text().trimmed().toInt(&ok);
    return ok ? n : otherwise;
}

}  // namespace

TPlaySoundOptionsFrame::TPlaySoundOptionsFrame(QWidget* parent) : QFrame(parent) {
    const bool spoken = GLB_edition_has_spoken_names();
    Label_pause_before_spoken_names = new QLabel(text(spoken ? 1 : 5), this);
    MaskEdit_pause_before_spoken_names = new QLineEdit(this);
    CheckBox_tell_species_names = new QCheckBox(text(2), this);
    Label_pause_after_spoken_names = new QLabel(text(3), this);
    MaskEdit_pause_after_spoken_names = new QLineEdit(this);
    CheckBox_tell_names_afterwards = new QCheckBox(text(4), this);
    for (QLineEdit* edit : {MaskEdit_pause_before_spoken_names, MaskEdit_pause_after_spoken_names}) {
        edit->setValidator(new QIntValidator(0, 999, edit));
        edit->setMaxLength(3);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             CheckBox_tell_species_names, Label_pause_after_spoken_names,
             MaskEdit_pause_after_spoken_names, CheckBox_tell_names_afterwards})
        w->setVisible(spoken);
    lay_out();
}

void TPlaySoundOptionsFrame::lay_out() {
    const int editHeight = static_cast<int>(fontMetrics().height() * 1.3 + 0.5);
    const int editWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 8;
    auto row = [&](QLabel* label, QLineEdit* edit, int y) {
        label->adjustSize();
        label->move(0, y + (editHeight - label->height()) / 2);
        edit->setGeometry(label->width() + 6, y, editWidth, editHeight);
    };
    row(Label_pause_before_spoken_names, MaskEdit_pause_before_spoken_names, 0);
    int bottom = editHeight;
    if (CheckBox_tell_species_names->isVisibleTo(this)) {
        CheckBox_tell_species_names->adjustSize();
        CheckBox_tell_species_names->move(0, bottom + 4);
        bottom = CheckBox_tell_species_names->geometry().bottom() + 4;
        row(Label_pause_after_spoken_names, MaskEdit_pause_after_spoken_names, bottom);
        bottom += editHeight + 4;
        CheckBox_tell_names_afterwards->adjustSize();
        CheckBox_tell_names_afterwards->move(0, bottom);
        bottom = CheckBox_tell_names_afterwards->geometry().bottom() + 1;
    }
    int right = 0;
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (w->isVisibleTo(this)) right = std::max(right, w->geometry().right());
    setFixedSize(right + 10, bottom);
}

void TPlaySoundOptionsFrame::changeEvent(QEvent* event) {
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange) lay_out();
}

TBetweenSoundsOptions TPlaySoundOptionsFrame::options() const {
    TBetweenSoundsOptions o;
    o.seconds_between_sounds = wholeNumber(MaskEdit_pause_before_spoken_names, 3);
    o.seconds_after_spoken_names = wholeNumber(MaskEdit_pause_after_spoken_names, 1);
    // Hidden check boxes say nothing: without spoken names both flags are off.
    const bool spoken = GLB_edition_has_spoken_names();
    o.tell_species_names = spoken && CheckBox_tell_species_names->isChecked();
    o.tell_names_afterwards = spoken && CheckBox_tell_names_afterwards->isChecked();
    return o;
}

void TPlaySoundOptionsFrame::set_options(const TBetweenSoundsOptions& o) {
    MaskEdit_pause_before_spoken_names->setText(QString::number(o.seconds_between_sounds));
    MaskEdit_pause_after_spoken_names->setText(QString::number(o.seconds_after_spoken_names));
    CheckBox_tell_species_names->setChecked(o.tell_species_names);
    CheckBox_tell_names_afterwards->setChecked(o.tell_names_afterwards);
}

void TPlaySoundOptionsFrame::set_controls_enabled(bool enabled) {
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) w->setEnabled(enabled);
}
