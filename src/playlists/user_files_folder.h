#pragma once

#include <QString>
#include <optional>

// "My Quillmarsh Files" in the user's documents folder, with the sub-path
// ("\" between its parts) appended.
QString GLB_user_files_folder(const QString& subPath);

// The folder when it exists. Otherwise asks (Yes, No, Cancel) whether to
// create it: Yes creates it with its parents; No or a failed creation falls
// back to the documents folder; Cancel gives none.
std::optional<QString> GLB_ensure_folder(const QString& folder, const QString& question);
