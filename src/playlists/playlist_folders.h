#pragma once

// Where playlists go: the user-files folder "My Quillmarsh Files" in the
// user's documents folder, and the question before a missing folder is made.
// The user-files folder and the question are the ones the MP3 copies use.

#include <QString>
#include <optional>

class TPlayListFolders {
  public:
    // The documents folder without a trailing separator; the home folder
    // when the system names none that exists.
    static QString documents_folder();
    // Documents folder + "My Quillmarsh Files" + the sub-path ("\" between
    // its parts).
    static QString user_files_folder(const QString& subPath);
    // "Playlists\" + the edition's short title under the user-files folder.
    static QString default_play_list_folder();
    // The deepest existing folder on the way to the folder.
    static QString deepest_existing_folder(const QString& folder);
    // The folder when it exists. Otherwise asks (Yes/No/Cancel) whether to
    // make it: Yes makes it with its parents; No, or a failed creation,
    // gives the documents folder; Cancel gives nothing.
    static std::optional<QString> ensure_folder(const QString& folder, const QString& question);
};
