#pragma once

#include <QString>

// The section of the slides and sounds show: what it runs, the seconds a
// slide stays, and (see settings_between_sounds.h) what happens between two
// sounds.
namespace settings::show {

inline const QString kSection = QStringLiteral("SLIDES AND SOUNDS SHOW");

inline const QString kShowType = QStringLiteral("Show Type");
inline const QString kSlideShowSpeed = QStringLiteral("Slide Show Speed");

// The values of kShowType.
inline const QString kSlidesAndSounds = QStringLiteral("Slides and Sounds");
inline const QString kSlidesOnly = QStringLiteral("Slides Only");
inline const QString kSoundsOnly = QStringLiteral("Sounds Only");

}  // namespace settings::show
