#pragma once

// Puts the playlist window and the shows behind the list windows' commands
// ("Show!", "What was that?", "Play Lists") and the main window's close.

class QWidget;

// Makes the playlist window and installs the commands; call once at start
// after the main list window exists.
void GLB_install_playlists_and_shows(QWidget* mainWindow);
// Frees the playlist window at the end.
void GLB_free_playlists_and_shows();
