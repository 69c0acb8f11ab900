#pragma once

#include <QString>

// The keys of a list window's section, "WINDOW " + its number, and their
// defaults: the window's place, its fold state, its display settings, its
// filter and its area.
namespace settings::window {

inline QString section(int n) {
    return QStringLiteral("WINDOW ") + QString::number(n);
}

inline const QString kCoord = QStringLiteral("Coord");
inline const QString kMaximized = QStringLiteral("Maximized");
inline const QString kVisible = QStringLiteral("Visible");  // the fold state

inline const QString kScientific = QStringLiteral("Scientific");
inline const QString kOtherLanguage = QStringLiteral("Other Language");
inline const QString kMain = QStringLiteral("Main");
// The values of kMain: which name kind leads a line.
inline const QString kMainScientific = QStringLiteral("Scientific");
inline const QString kMainOtherLanguage = QStringLiteral("Other Language");
inline const QString kSystematicOrder = QStringLiteral("Systematic Order");
inline const QString kShowDepartment =
    QStringLiteral("Show department on first line of recording data");
inline const QString kShowCountry = QStringLiteral("Show country on first line of recording data");
inline const QString kShowThreatened = QStringLiteral("Show Threatened Bird Indications");

inline const QString kVisibleAudioCds = QStringLiteral("Visible Audio CDs");
inline const QString kPlayableAudioCds = QStringLiteral("Playable Audio CDs");
inline const QString kAudioCdsOnHd = QStringLiteral("Audio CDs on HD");
inline const QString kShowNativeRecordings = QStringLiteral("Show Native Recordings");
inline const QString kOnlyWithSoundsOrPhotos =
    QStringLiteral("Show Only Specs With Sounds Or Photos");
inline const QString kOnlyWithSounds = QStringLiteral("Show Only Specs With Sounds");
inline const QString kOnlyWithPhotos = QStringLiteral("Show Only Specs With Photos");
inline const QString kSelectedArea = QStringLiteral("Selected Area");
// Species on the user's own list are hidden.
inline const QString kNotYetOnMyList = QStringLiteral("Not Yet On My List");
// Whether the window shows the sonogram panel.
inline const QString kSonogram = QStringLiteral("Sonogram");
// How the window's recordings are heard: speed, loop and band (listening_choice.h).
inline const QString kListening = QStringLiteral("Listening");

inline constexpr bool kMaximizedDefault = true;
inline constexpr bool kNameKindShownDefault = true;
inline constexpr bool kRecordingDataLineDefault = true;
inline constexpr bool kShowNativeRecordingsDefault = true;
inline constexpr bool kOnlyWithDefault = false;
inline constexpr bool kSonogramDefault = false;

}  // namespace settings::window
