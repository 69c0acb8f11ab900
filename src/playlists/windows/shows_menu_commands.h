#pragma once

// Puts the playlist window and the shows behind the list windows' commands
// ("Show!", "What was that?", "Play Lists") and the main window's close.

// Installs the commands; call once at start before the list windows are
// made (their menus look for the commands). The playlist window is made
// when first asked for.
void GLB_install_playlists_and_shows();
// Frees the playlist window at the end.
void GLB_free_playlists_and_shows();
