#include "app/program/audio_cd_file_writer.h"

#include "data/media_records.h"
#include "listview/windows/child_form.h"
#include "listview/list_tag_texts.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/top_forms.h"
#include "playlists/mp3_writer.h"
#include "sound/recording_paths.h"

#include <QFileInfo>

bool TProgramAudioCDFileWriter::can_copy_as_mp3(const Tcutpart& cutPart) const {
    return GLB_can_copy_as_mp3(GLB_recording_file(cutPart));
}

QString TProgramAudioCDFileWriter::recording_file_path(const Tcupaitem& item) const {
    return item.cut_part ? GLB_recording_file(*item.cut_part) : QString();
}

bool TProgramAudioCDFileWriter::write_mp3(const Tcupaitem& item, int repetitions,
                                          const QString& path) {
    auto* main = dynamic_cast<TChildForm*>(Ttop_forms::instance().main_child_form());
    if (!main || !main->list_form()) return false;
    const QFileInfo target(path);
    const TMP3FileJob job{&item, recording_file_path(item), repetitions, target.path(),
                          target.fileName()};
    return GLB_write_mp3_file(job, TListTagTexts(main->list_form()->strings().model().settings()));
}
