#include "info_windows/windows/literature_references_form.h"

#include "data/markup.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "info_windows/info_layout.h"

#include <QMouseEvent>

TLiteratureReferencesForm::TLiteratureReferencesForm(QWidget* host)
    : TSmallInformationForm(host) {}

void TLiteratureReferencesForm::show_literature(const Tspecies& species, QPoint at) {
    // The references keep the data's tags; the window draws them as styles.
    const TTextWindowLayout layout = GLB_literature_layout(
        GLB_marked_up_text(GLB_data().literature_text(species)),
        GLB_list_font_measurer(), line_height());
    text_ = layout.text;
    show_at(at, layout.size, true);
}

void TLiteratureReferencesForm::paint_text(TTextCanvas& canvas) {
    draw_text(canvas, text_, line_height() / 3 + canvas.metrics().ascent());
}

void TLiteratureReferencesForm::mousePressEvent(QMouseEvent* event) {
    event->accept();
    hide();
}
