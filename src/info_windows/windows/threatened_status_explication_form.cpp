#include "info_windows/windows/threatened_status_explication_form.h"

#include "formats/textfile.h"
#include "info_windows/info_layout.h"

TThreatenedStatusExplicationForm::TThreatenedStatusExplicationForm(QWidget* host)
    : TLinkedTextForm(host) {}

void TThreatenedStatusExplicationForm::show_statuses(const QStringList& labels, QPoint at) {
    QStringList section;
    GLB_texts().lines(QStringLiteral("THREATENEDBIRDS"), section, 7);
    show_text(GLB_threatened_status_layout(labels, section, GLB_list_font_measurer(), line_height()),
              GLB_threat_source().address, at);
}
