#pragma once

// A sonogram in words, for those who cannot see it: the frequency band
// that holds most of its marks' energy.

#include <optional>

namespace sonogram {

class Sonogram;

struct Band {
    double low_hz = 0;
    double high_hz = 0;
};

// The narrowest band of rows around the strongest row that holds half of
// the sound's energy (the levels taken back to power, the background
// counting nothing); none until every column is computed, or for silence.
std::optional<Band> strongest_band(const Sonogram& sonogram);

}  // namespace sonogram
