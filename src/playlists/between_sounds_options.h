#pragma once

// What a show does between two recordings: the pause, and whether the
// species' name is said before or after each recording. Kept under four
// keys of a section, in the settings file or in a playlist file.

#include <QString>

class TIniSnapshot;
class TIniComposer;

struct TBetweenSoundsOptions {
    int seconds_between_sounds = 1;
    bool tell_species_names = true;
    bool tell_names_afterwards = false;
    int seconds_after_spoken_names = 1;

    // Reads the four keys (defaults 1, Yes, No, 1). Without spoken names
    // both flags are false whatever the file says.
    static TBetweenSoundsOptions read(const TIniSnapshot& file, const QString& section);
    // An empty file is the program's settings file.
    static TBetweenSoundsOptions read_settings(const QString& section, const QString& file = {});
    void write_settings(const QString& section, const QString& file = {}) const;
    void compose(TIniComposer& out, const QString& section) const;

    bool operator==(const TBetweenSoundsOptions&) const = default;
};

// Spoken species names come only with the edition that carries them.
bool GLB_edition_has_spoken_names();
