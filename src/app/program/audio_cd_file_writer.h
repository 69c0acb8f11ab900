#pragma once

#include "playlists/audio_cd_preparation.h"

// The MP3 writer as the playlist window's audio-CD preparation uses it; the
// tags name the taxa as the main list window names them.
class TProgramAudioCDFileWriter : public TAudioCDFileWriter {
  public:
    bool can_copy_as_mp3(const Tcutpart& cutPart) const override;
    QString recording_file_path(const Tcupaitem& item) const override;
    bool write_mp3(const Tcupaitem& item, int repetitions, const QString& path) override;
};
