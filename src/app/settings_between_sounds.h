#pragma once

#include <QString>

// The keys of what happens between two sounds: the pause and the spoken
// species names. They are not a section of their own: sections "PLAYLISTS"
// and "SLIDES AND SOUNDS SHOW" each hold them, and so does a playlist file.
namespace settings::between_sounds {

inline const QString kSecondsBetweenSounds = QStringLiteral("Seconds between Sounds");
inline const QString kTellSpeciesNames = QStringLiteral("Tell Species Names");
inline const QString kTellNamesAfterwards = QStringLiteral("Tell names Afterwards");
inline const QString kSecondsAfterSpokenNames = QStringLiteral("Seconds after Spoken Names");

}  // namespace settings::between_sounds
