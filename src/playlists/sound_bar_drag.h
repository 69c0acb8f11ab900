#pragma once

// What a recording button's position bar carries when it is dragged onto
// the playlist window: the recording item and the number the list shows it
// under. The drag stays inside the program, so the data is the object itself.

#include "playlists/playlist_file.h"

#include <QCursor>
#include <QMimeData>

class TSoundBarDragObject : public QMimeData {
    Q_OBJECT
  public:
    static constexpr const char* kMimeType = "application/x-korvelan-recording";

    TSoundBarDragObject(const Tcupaitem& item, int recordingNumber);

    // The dragged recording when the data comes from a recording button.
    static const TSoundBarDragObject* from(const QMimeData* data);
    // A new entry, repeat count 1.
    TPlayListInfo entry() const { return {item_, recording_number_, 1}; }

  private:
    const Tcupaitem* item_;
    int recording_number_;
};

// "DRAG_CURSOR": a note over a sheet, shown while a recording is dragged
// where it cannot be dropped; drawn for 1x and 2x screens.
QCursor GLB_drag_cursor();
// The cursor's picture at a device pixel ratio (1 or 2).
QPixmap GLB_drag_cursor_pixmap(int scale);
