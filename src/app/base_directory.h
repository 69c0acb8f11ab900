#pragma once

#include <QString>
#include <functional>

// At start-up, after the database: the base directory from the settings, with the
// "Just Installed" rule that narrows an installer's path to its drive.
void GLB_read_base_directory();

// The drive part that "Just Installed" keeps: "E:" for a drive-letter path,
// the mount point for any other path.
QString GLB_drive_of(const QString& path, const QString& mountTable);

bool GLB_base_directory_on_cdrom();

// Asks the user for the base directory. A confirmed new choice is stored,
// and every registered listener runs (pictures are looked for again, the
// list windows refreshed). True when the user confirmed.
bool GLB_ask_for_base_directory();

// Called after the base directory changed through the dialog.
void GLB_on_base_directory_changed(std::function<void()> listener);
void GLB_clear_base_directory_listeners();
