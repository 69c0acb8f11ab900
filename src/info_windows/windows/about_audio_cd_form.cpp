#include "info_windows/windows/about_audio_cd_form.h"

#include "data/media_records.h"
#include "formats/textfile.h"
#include "info_windows/info_layout.h"

TAboutAudioCDForm::TAboutAudioCDForm(QWidget* host) : TLinkedTextForm(host) {}

void TAboutAudioCDForm::show_audio_cd(const TaudioCD& cd, QPoint at) {
    QStringList section;
    GLB_texts().lines(QStringLiteral("AUDIO_CD_3"), section, 2);
    setWindowTitle(cd.name);
    show_text(GLB_audio_cd_layout(cd, section, GLB_list_font_measurer(), line_height()),
              cd.web_address, at);
}
