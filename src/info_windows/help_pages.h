#pragma once

// The user's guide: HTML pages in the folder "help" beside the program, one
// subfolder per interface language ("en", "es"). Help needs nothing from the
// base directory, so it opens even when the disc is missing.

#include <QString>
#include <QStringList>

enum class TLanguage;

namespace help_context {
inline constexpr int kContents = 0;
inline constexpr int kSpeciesList = 1;
inline constexpr int kWebBrowser = 2;
inline constexpr int kAudioCDs = 103;
inline constexpr int kPlaylists = 104;
}  // namespace help_context

// The page (file name and anchor) a help context opens; the contents for an
// unknown context.
QString GLB_help_page(int context);
// Every context the program asks for.
QList<int> GLB_help_contexts();
// The folder of the guide in the language, falling back to English when the
// language has none; ends in "/".
QString GLB_help_folder(const QString& programDirectory, TLanguage language);
// The full path of a context's page, with its anchor after "#"; empty when
// the page is missing.
QString GLB_help_address(const QString& programDirectory, TLanguage language, int context);
