#pragma once

#include <QString>

// The keys of the settings file's section "GENERAL" and their defaults.
namespace settings::general {

inline const QString kSection = QStringLiteral("GENERAL");

inline const QString kTextFile = QStringLiteral("Text File");
inline const QString kJustInstalled = QStringLiteral("Just Installed");
inline const QString kBaseDirectory = QStringLiteral("Base Directory");
inline const QString kStoreSettingsBetweenSessions =
    QStringLiteral("Store Settings between Sessions");
inline const QString kBeeps = QStringLiteral("Beeps");
inline const QString kTextSize = QStringLiteral("Text Size");
// The number of list windows open at the end of the last run.
inline const QString kWindows = QStringLiteral("Windows");
// The page of the options dialog open when it last closed.
inline const QString kLastOptionsTab = QStringLiteral("Last accessed tab page in options dialog");
// Which optical drive (counted from 1) plays the audio CDs.
inline const QString kAudioCdDrive = QStringLiteral("CD-ROM drive used for audio CDs");

// Sound: the volume (0 silence .. 100 full), the volume window and the
// user's sound-editing program.
inline const QString kVolume = QStringLiteral("Volume");
inline const QString kShowVolumeControl = QStringLiteral("Show Volume Control");
inline const QString kVolumeControlCoordinates = QStringLiteral("Volume Control Coordinates");
inline const QString kSoundEditingProgram = QStringLiteral("Sound Editing Program");
inline const QString kMaximizeSoundEditingProgram =
    QStringLiteral("Maximize Sound Editing Program");

// Web pages and the publisher's address written into MP3 tags.
inline const QString kUseIntegratedWebBrowser = QStringLiteral("Use Integrated Web Browser");
inline const QString kUseOnlyOneWebBrowserWindow =
    QStringLiteral("Use Only One Web Browser Window");
inline const QString kPublisherWebAddress = QStringLiteral("Publisher Web Address");

// Pictures: the background behind big pictures, and the month from which the
// warning about too few screen colours may be given again.
// The sonograms: "grey", "inferno" or "viridis"; the dB range (60..90) and
// floor; the highest frequency shown in Hz.
inline const QString kSonogramColours = QStringLiteral("Sonogram Colours");
inline const QString kSonogramRange = QStringLiteral("Sonogram dB Range");
inline const QString kSonogramFloor = QStringLiteral("Sonogram dB Floor");
inline const QString kSonogramTop = QStringLiteral("Sonogram Highest Frequency");

inline const QString kPicturesBackgroundColor = QStringLiteral("Pictures Background Color");
inline const QString kNextMonthForColorsWarning = QStringLiteral("Next Month for Colors Warning");

inline constexpr bool kJustInstalledDefault = false;
inline constexpr bool kStoreSettingsBetweenSessionsDefault = false;
inline constexpr bool kBeepsDefault = true;
inline constexpr int kWindowsDefault = 1;
inline constexpr int kAudioCdDriveDefault = 1;

}  // namespace settings::general
