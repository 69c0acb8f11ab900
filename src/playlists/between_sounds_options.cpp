#include "playlists/between_sounds_options.h"

#include "app/editions.h"
#include "app/globals.h"
#include "app/settings.h"
#include "app/settings_between_sounds.h"
#include "playlists/ini_snapshot.h"

namespace {

using settings::between_sounds::kSecondsAfterSpokenNames;
using settings::between_sounds::kSecondsBetweenSounds;
using settings::between_sounds::kTellNamesAfterwards;
using settings::between_sounds::kTellSpeciesNames;

QString yesNo(bool flag) {
    return flag ? QStringLiteral("Yes") : QStringLiteral("No");
}

}  // namespace

bool GLB_edition_has_spoken_names() {
    return GLB_edition().has_spoken_names;
}

TBetweenSoundsOptions TBetweenSoundsOptions::read(const TIniSnapshot& file,
                                                  const QString& section) {
    const bool spoken = GLB_edition_has_spoken_names();
    TBetweenSoundsOptions o;
    o.seconds_between_sounds = file.integer(section, kSecondsBetweenSounds, 1);
    o.tell_species_names = spoken && file.flag(section, kTellSpeciesNames, true);
    o.tell_names_afterwards = spoken && file.flag(section, kTellNamesAfterwards, false);
    o.seconds_after_spoken_names = file.integer(section, kSecondsAfterSpokenNames, 1);
    return o;
}

TBetweenSoundsOptions TBetweenSoundsOptions::read_settings(const QString& section,
                                                           const QString& file) {
    return read(TIniSnapshot::from_file(file.isEmpty() ? GLB().settings_file_path : file),
                section);
}

void TBetweenSoundsOptions::write_settings(const QString& section, const QString& file) const {
    GLB_write_int(section, kSecondsBetweenSounds, seconds_between_sounds, file);
    GLB_write_flag(section, kTellSpeciesNames, tell_species_names, file);
    GLB_write_flag(section, kTellNamesAfterwards, tell_names_afterwards, file);
    GLB_write_int(section, kSecondsAfterSpokenNames, seconds_after_spoken_names, file);
}

void TBetweenSoundsOptions::compose(TIniComposer& out, const QString& section) const {
    out.add(section, kSecondsBetweenSounds, QString::number(seconds_between_sounds));
    out.add(section, kTellSpeciesNames, yesNo(tell_species_names));
    out.add(section, kTellNamesAfterwards, yesNo(tell_names_afterwards));
    out.add(section, kSecondsAfterSpokenNames, QString::number(seconds_after_spoken_names));
}
