#include "sound/sonogram_summary.h"

#include "sound/sonogram.h"

#include <array>
#include <cmath>
#include <vector>

namespace sonogram {

std::optional<Band> strongest_band(const Sonogram& s) {
    if (s.state() != Sonogram::Done || s.columns() <= 0) return std::nullopt;
    // The levels span the dB scale linearly; 7 decades is a middle range,
    // near enough to rank the rows by power.
    static const std::array<double, 256> power = [] {
        std::array<double, 256> p{};
        for (int level = 0; level < 256; ++level) p[std::size_t(level)] = std::pow(10.0, level / 255.0 * 7.0) - 1.0;
        return p;
    }();
    const int rows = s.rows();
    std::vector<double> energy(std::size_t(rows), 0.0);
    for (int c = 0; c < s.columns(); ++c) {
        const std::uint8_t* column = s.column(c);
        if (!column) continue;
        // Row 0 is the steady offset of the sound, not a mark.
        for (int r = 1; r < rows; ++r) energy[std::size_t(r)] += power[column[r]];
    }
    double total = 0;
    int peak = 1;
    for (int r = 1; r < rows; ++r) {
        total += energy[std::size_t(r)];
        if (energy[std::size_t(r)] > energy[std::size_t(peak)]) peak = r;
    }
    if (total <= 0) return std::nullopt;
    int low = peak, high = peak;
    double held = energy[std::size_t(peak)];
    while (held < total / 2) {
        const double below = low > 1 ? energy[std::size_t(low - 1)] : -1;
        const double above = high < rows - 1 ? energy[std::size_t(high + 1)] : -1;
        if (below < 0 && above < 0) break;
        if (below >= above) held += energy[std::size_t(--low)];
        else held += energy[std::size_t(++high)];
    }
    return Band{s.bin_hz(std::max(0.0, low - 0.5)), s.bin_hz(high + 0.5)};
}

}  // namespace sonogram
