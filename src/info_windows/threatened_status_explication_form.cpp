#include "info_windows/threatened_status_explication_form.h"

#include "formats/textfile.h"
#include "info_windows/info_layout.h"

TThreatenedStatusExplicationForm::TThreatenedStatusExplicationForm(QWidget* host)
    : TFormWithUnderlinedItems(host) {}

void TThreatenedStatusExplicationForm::show_statuses(const QStringList& labels, QPoint at) {
    QStringList section;
    GLB_texts().lines(QStringLiteral("THREATENEDBIRDS"), section, 7);
    const TTextWindowLayout layout =
        GLB_threatened_status_layout(labels, section, GLB_list_font_measurer(), line_height());
    text_ = layout.text;
    set_link(GLB_threat_source().address);
    show_at(at, layout.size);
}

void TThreatenedStatusExplicationForm::paint_text(TTextCanvas& canvas) {
    draw_text(canvas, text_, centred_first_baseline(canvas));
}
