#include "listview/top_forms.h"

#include "app/editions.h"
#include "app/globals.h"
#include "app/settings.h"
#include "app/settings_general.h"

QString GLB_list_window_caption(const TEdition& edition, int k) {
    QString caption = edition.title;
    if (edition.version != QStringLiteral("1.0")) caption += ' ' + edition.version;
    if (k > 0) caption += QStringLiteral(" : ") + QString::number(k);
    caption.replace(QStringLiteral(" & "), QStringLiteral(" and "));
    return caption;
}

Ttop_forms& Ttop_forms::instance() {
    static Ttop_forms forms;
    return forms;
}

void Ttop_forms::add_form(TRegisteredListWindow* form) {
    forms_.append(form);
}

void Ttop_forms::delete_form(TRegisteredListWindow* form) {
    forms_.removeOne(form);
}

TRegisteredListWindow* Ttop_forms::main_child_form() const {
    return forms_.value(0);
}

int Ttop_forms::index_of(const TRegisteredListWindow* form) const {
    for (qsizetype i = 0; i < forms_.size(); ++i)
        if (forms_[i] == form) return static_cast<int>(i);
    return -1;
}

TRegisteredListWindow* Ttop_forms::next(const TRegisteredListWindow* form) const {
    if (forms_.isEmpty()) return nullptr;
    const int i = index_of(form);
    return forms_[(i + 1) % forms_.size()];
}

TRegisteredListWindow* Ttop_forms::previous(const TRegisteredListWindow* form) const {
    if (forms_.isEmpty()) return nullptr;
    const int i = index_of(form);
    return forms_[(i <= 0 ? forms_.size() : i) - 1];
}

void Ttop_forms::rewrite_captions() const {
    for (qsizetype k = 0; k < forms_.size(); ++k)
        forms_[k]->set_window_caption(GLB_list_window_caption(GLB_edition(), static_cast<int>(k)));
}

void Ttop_forms::refresh_all_forms() const {
    for (TRegisteredListWindow* form : forms_) form->refresh_list();
}

void Ttop_forms::set_soundbar_dragging_enabled(bool enabled) {
    soundbar_dragging_enabled_ = enabled;
    for (TRegisteredListWindow* form : forms_) form->set_soundbar_dragging_enabled(enabled);
}

void Ttop_forms::write_data_to_ini_file() const {
    GLB_write_int(GLB().default_section, settings::general::kWindows, count());
    for (qsizetype i = 0; i < forms_.size(); ++i)
        forms_[i]->write_window_state(static_cast<int>(i) + 1);
}
