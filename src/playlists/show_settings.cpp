#include "playlists/show_settings.h"

#include "app/settings.h"
#include "app/settings_show.h"

using namespace settings::show;

TShowSettings TShowSettings::read_settings() {
    TShowSettings s;
    const QString type = GLB_read_string(kSection, kShowType, kSlidesAndSounds);
    s.slides = type != kSoundsOnly;
    s.sounds = type != kSlidesOnly;
    s.slide_seconds = GLB_read_int(kSection, kSlideShowSpeed, 10);
    s.options = TBetweenSoundsOptions::read_settings(kSection);
    return s;
}

void TShowSettings::write_settings() const {
    const QString type = slides && sounds ? kSlidesAndSounds : slides ? kSlidesOnly : kSoundsOnly;
    GLB_write_string(kSection, kShowType, type);
    GLB_write_int(kSection, kSlideShowSpeed, slide_seconds);
    options.write_settings(kSection);
}
