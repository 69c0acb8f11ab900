#include "info_windows/about_audio_cd_form.h"

#include "data/records.h"
#include "formats/textfile.h"
#include "info_windows/info_layout.h"

TAboutAudioCDForm::TAboutAudioCDForm(QWidget* host) : TFormWithUnderlinedItems(host) {}

void TAboutAudioCDForm::show_audio_cd(const TaudioCD& cd, QPoint at) {
    QStringList section;
    GLB_texts().lines(QStringLiteral("AUDIO_CD_3"), section, 2);
    const TTextWindowLayout layout =
        GLB_audio_cd_layout(cd, section, GLB_list_font_measurer(), line_height());
    text_ = layout.text;
    setWindowTitle(cd.name);
    set_link(cd.web_address);
    show_at(at, layout.size);
}

void TAboutAudioCDForm::paint_text(TTextCanvas& canvas) {
    draw_text(canvas, text_, centred_first_baseline(canvas));
}
