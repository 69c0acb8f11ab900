#include "playlists/show_settings.h"

#include "app/settings.h"

namespace {
const QString kSection = QStringLiteral("SLIDES AND SOUNDS SHOW");
}

TShowSettings TShowSettings::read_settings() {
    TShowSettings s;
    const QString type = GLB_read_string(kSection, QStringLiteral("Show Type"),
                                         QStringLiteral("Slides and Sounds"));
    s.slides = type != QStringLiteral("Sounds Only");
    s.sounds = type != QStringLiteral("Slides Only");
    s.slide_seconds = GLB_read_int(kSection, QStringLiteral("Slide Show Speed"), 10);
    s.options = TBetweenSoundsOptions::read_settings(kSection);
    return s;
}

void TShowSettings::write_settings() const {
    const QString type = slides && sounds ? QStringLiteral("Slides and Sounds")
                         : slides         ? QStringLiteral("Slides Only")
                                          : QStringLiteral("Sounds Only");
    GLB_write_string(kSection, QStringLiteral("Show Type"), type);
    GLB_write_int(kSection, QStringLiteral("Slide Show Speed"), slide_seconds);
    options.write_settings(kSection);
}
