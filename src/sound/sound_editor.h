#pragma once

#include <QString>

// The user's sound-editing program, from section "GENERAL".
struct TSoundEditorSettings {
    QString program;
    bool maximize = false;
};
TSoundEditorSettings& GLB_sound_editor();
// Reads "Sound Editing Program" and "Maximize Sound Editing Program"; without
// a stored path the first sound editor found on the PATH.
void GLB_read_sound_editor_settings();
// The first of the known editors found on the PATH, or empty.
QString GLB_default_sound_editor();
// A file dialog for the program (only executable files are taken); the choice
// is stored at once. False when the user cancelled.
bool GLB_choose_sound_editor(const QString& title);
// Makes the path the program's editor and stores it.
void GLB_store_sound_editor_program(const QString& path);
// Starts the editor on the file without waiting; false when it cannot start.
bool GLB_start_sound_editor(const QString& soundFile);
