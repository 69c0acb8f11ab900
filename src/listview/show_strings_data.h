#pragma once

#include "data/visibility_filter.h"

#include <QString>
#include <cstdint>

class Tdata;

// The kinds of name a taxon row shows in its two name positions.
namespace name_kind {
inline constexpr int kNone = 0;
inline constexpr int kScientific = 1;
inline constexpr int kOtherLanguage = 2;
}  // namespace name_kind

// The display settings of one list: which names it shows and in which
// order, the systematic order, the extra lines and its visibility filter.
// Each list has its own copy.
class SHST_TClassShowStringsData {
  public:
    // The defaults on the given database.
    explicit SHST_TClassShowStringsData(const Tdata& data);
    // The defaults, then the keys of the settings section.
    SHST_TClassShowStringsData(const Tdata& data, const QString& section);
    SHST_TClassShowStringsData(const SHST_TClassShowStringsData& other) = default;
    SHST_TClassShowStringsData& operator=(const SHST_TClassShowStringsData& other);

    void read_settings(const QString& section);
    // The same keys, "Main" as a word, the visible set last.
    void write_settings(const QString& section) const;

    // The kind of name shown in position 1 or 2 of a taxon row.
    int name_kind_at(int position) const;

    const Tdata& data() const { return visible_set.data(); }

    bool show_scientific = true;
    bool show_other_language = true;
    std::uint8_t main_name = 2;  // 1 scientific first, 2 other language first
    std::uint8_t systematic_order = 1;
    TClassVisibleSpeciesAndRecordings visible_set;
    bool show_department = true;
    bool show_country = true;
    bool show_threatened = true;
};
