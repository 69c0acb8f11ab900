#include "app/program/recording_button_commands.h"

#include "data/media_records.h"
#include "listview/windows/child_form.h"
#include "listview/list_tag_texts.h"
#include "listview/windows/show_form.h"
#include "listview/windows/show_strings.h"
#include "listview/top_forms.h"
#include "playlists/mp3_copy.h"
#include "playlists/mp3_writer.h"
#include "playlists/windows/playlist_form.h"
#include "playlists/windows/playlists_and_shows.h"
#include "playlists/sound_bar_drag.h"
#include "sound/recording_paths.h"

#include <QApplication>
#include <QDrag>

bool TProgramSoundBarCommands::can_add_to_playlist() const {
    const TPlayListForm* playlist = playlists_.play_list_form();
    return playlist && playlist->isVisible();
}

void TProgramSoundBarCommands::add_to_playlist(const Tcupaitem& recording, int recordingNumber) {
    if (!can_add_to_playlist()) return;
    playlists_.play_list_form()->add_entry(TSoundBarDragObject(recording, recordingNumber).entry());
}

bool TProgramSoundBarCommands::can_copy_mp3(const Tcupaitem& recording) const {
    return recording.cut_part && GLB_can_copy_as_mp3(GLB_recording_file(*recording.cut_part));
}

void TProgramSoundBarCommands::copy_mp3(QWidget* source, const Tcupaitem& recording) {
    // The list the button sits in, not whichever window happens to be
    // active (the volume window, a map): a copy asked for is never dropped.
    auto* window = qobject_cast<TChildForm*>(source->window());
    if (!window) window = dynamic_cast<TChildForm*>(Ttop_forms::instance().main_child_form());
    if (!window || !window->list_form()) return;
    GLB_make_mp3_copy(recording, TListTagTexts(window->list_form()->strings().model().settings()));
}

void TProgramSoundBarCommands::start_drag(QWidget* source, const Tcupaitem& recording,
                                          int recordingNumber) {
    auto* drag = new QDrag(source);
    drag->setMimeData(new TSoundBarDragObject(recording, recordingNumber));
    drag->setDragCursor(GLB_drag_cursor().pixmap(), Qt::IgnoreAction);
    drag->exec(Qt::CopyAction);
}
