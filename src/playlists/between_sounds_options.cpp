#include "playlists/between_sounds_options.h"

#include "app/editions.h"
#include "app/globals.h"
#include "app/settings.h"
#include "playlists/ini_snapshot.h"

namespace {

const QString kSecondsBetween = QStringLiteral("Seconds between Sounds");
const QString kTellNames = QStringLiteral("Tell Species Names");
const QString kAfterwards = QStringLiteral("Tell names Afterwards");
const QString kSecondsAfterNames = QStringLiteral("Seconds after Spoken Names");

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
    o.seconds_between_sounds = file.integer(section, kSecondsBetween, 1);
    o.tell_species_names = spoken && file.flag(section, kTellNames, true);
    o.tell_names_afterwards = spoken && file.flag(section, kAfterwards, false);
    o.seconds_after_spoken_names = file.integer(section, kSecondsAfterNames, 1);
    return o;
}

TBetweenSoundsOptions TBetweenSoundsOptions::read_settings(const QString& section,
                                                           const QString& file) {
    return read(TIniSnapshot::from_file(file.isEmpty() ? GLB().settings_file_path : file),
                section);
}

void TBetweenSoundsOptions::write_settings(const QString& section, const QString& file) const {
    GLB_write_int(section, kSecondsBetween, seconds_between_sounds, file);
    GLB_write_flag(section, kTellNames, tell_species_names, file);
    GLB_write_flag(section, kAfterwards, tell_names_afterwards, file);
    GLB_write_int(section, kSecondsAfterNames, seconds_after_spoken_names, file);
}

void TBetweenSoundsOptions::compose(TIniComposer& out, const QString& section) const {
    out.add(section, kSecondsBetween, QString::number(seconds_between_sounds));
    out.add(section, kTellNames, yesNo(tell_species_names));
    out.add(section, kAfterwards, yesNo(tell_names_afterwards));
    out.add(section, kSecondsAfterNames, QString::number(seconds_after_spoken_names));
}
