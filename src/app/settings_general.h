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

inline constexpr bool kJustInstalledDefault = false;
inline constexpr bool kStoreSettingsBetweenSessionsDefault = false;
inline constexpr bool kBeepsDefault = true;
inline constexpr int kWindowsDefault = 1;

}  // namespace settings::general
