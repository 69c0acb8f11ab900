#pragma once

#include <QString>

// Where the program's own files are. A build keeps them beside the program;
// an installed program has them in share/korvelan/ beside its bin/ folder.
struct TProgramLocation {
    QString program_directory;  // ends in "/"
    bool installed = false;
};

TProgramLocation GLB_locate_program_directory(const QString& executableDirectory);

// Marks the settings as the user's own: they then live in the user's
// configuration folder whatever the program directory allows.
void GLB_keep_settings_in_user_folder(bool keep);

// The settings file for a program directory: beside the program when the
// folder is writable and the settings are not kept in the user's folder;
// otherwise in the user's configuration folder (given), first copied there
// from the program directory's file when there is one.
QString GLB_settings_file_location(const QString& programDirectory, const QString& fileName,
                                   const QString& userConfigFolder);
// The same with the system's configuration folder for this program.
QString GLB_settings_file_location(const QString& programDirectory, const QString& fileName);
