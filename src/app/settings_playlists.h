#pragma once

#include <QString>

// The section of the playlist window: the list last opened or saved, the
// window's place, whether it opens with the program, and (see
// settings_between_sounds.h) what happens between two sounds.
namespace settings::playlists {

inline const QString kSection = QStringLiteral("PLAYLISTS");

inline const QString kCurrent = QStringLiteral("Current");
inline const QString kCoord = QStringLiteral("Coord");
inline const QString kOpenAtStartup = QStringLiteral("Open at Startup");

inline constexpr bool kOpenAtStartupDefault = false;

}  // namespace settings::playlists
