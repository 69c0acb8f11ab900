#pragma once

#include "playlists/recording_tag_texts.h"

#include <QString>
#include <functional>

class Tcupaitem;

// The folder the MP3 copies of this run go to; empty until the first copy
// chose it.
QString& GLB_mp3_folder_of_run();

// The title, " #" and the recording's place (from 1) among its species'
// recordings.
QString GLB_recording_label(const Tcupaitem& recording, const QString& title);

// The source file of a recording; tests give their own.
using TRecordingFileLocator = std::function<QString(const Tcupaitem&)>;
TRecordingFileLocator GLB_default_recording_file_locator();

// The MP3 copy of one recording (the recording button's command and each
// step of "Make mp3s"): chooses the folder with its question, writes
// "<label>.mp3" there. Empty on success or when the user cancelled the
// folder question (then *cancelled is set, so that a caller copying many
// recordings can stop); the label when the recording cannot be copied or
// the file was not written.
QString GLB_make_mp3_copy(const Tcupaitem& recording, const TTagTextProvider& texts,
                          const TRecordingFileLocator& locator = GLB_default_recording_file_locator(),
                          bool* cancelled = nullptr);
