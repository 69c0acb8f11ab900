#pragma once

// What "Show!" runs: slides, sounds or both, the slide interval, names under
// the pictures, the quality of the recordings and the between-sounds
// options; kept in section "SLIDES AND SOUNDS SHOW".

#include "playlists/between_sounds_options.h"

struct TShowSettings {
    bool slides = true;
    bool sounds = true;
    int slide_seconds = 10;
    bool show_species_names = true;
    int quality_class = 3;
    TBetweenSoundsOptions options;

    static TShowSettings read_settings();
    void write_settings() const;
};
