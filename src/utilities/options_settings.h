#pragma once

// The rules of the options dialog that need no window: how the name choices
// keep one another consistent, how the filter and audio-CD choices map to a
// list's settings, what counts as a change, and which stored values are
// sound enough to use.

#include "data/visibility_filter.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class Tdata;
class TaudioCD;

// What OK found changed. A rebuild builds the list's lines anew; a refresh
// only repaints them (the same rows, other players or carriers).
struct TOptionsFlags {
    bool changed = false;
    bool rebuild = false;
    bool refresh = false;

    bool list_must_change() const { return rebuild || refresh; }
};

// The names a list shows: the two check boxes and the main-name radio group
// (item 0: the other-language name leads, item 1: the scientific name).
class TNameChoice {
  public:
    static constexpr int kOtherLanguageMain = 0;
    static constexpr int kScientificMain = 1;

    TNameChoice() = default;
    // From a list's settings; mainName 1 is scientific, 2 other language.
    TNameChoice(bool showScientific, bool showOtherLanguage, int mainName);

    bool scientific() const { return scientific_; }
    bool other_language() const { return other_language_; }
    int main_item() const { return main_item_; }
    // 1 scientific, 2 other language, as the list's settings keep it.
    int main_name() const { return main_item_ == kScientificMain ? 1 : 2; }

    // Each keeps at least one kind of name shown and the main name among
    // the shown ones.
    void set_other_language(bool checked);
    void set_scientific(bool checked);
    void select_main(int item);

    // Bits 0-7: scientific shown; bits 8-15: other language shown; bits
    // 16-23: the main name (1 scientific, 2 other language).
    std::uint32_t packed() const;
    static TNameChoice from_packed(std::uint32_t value);

    bool operator==(const TNameChoice&) const = default;

  private:
    bool scientific_ = true;
    bool other_language_ = true;
    int main_item_ = kOtherLanguageMain;
};

// The four choices of the sounds-and-photos filter.
namespace sounds_photos {
inline constexpr int kAll = 0;
inline constexpr int kWithSoundsOrPhotos = 1;
inline constexpr int kWithSounds = 2;
inline constexpr int kWithPhotos = 3;

// The item the filter's flags stand for (the first flag set wins).
int item_of(const TClassVisibleSpeciesAndRecordings& filter);
// Sets exactly the flag of the item (none for kAll).
void apply_item(int item, TClassVisibleSpeciesAndRecordings& filter);
}  // namespace sounds_photos

// Where one audio CD's recordings come from, as its row of the audio-CD
// frame offers it.
enum class TAudioCdChoice {
    Hidden = 1,
    ShownNotPlayable = 2,
    PlayableFromDrive = 3,
    PlayableFromHardDisk = 4,
    PlayableFromDiscCopy = 5,
};

TAudioCdChoice GLB_audio_cd_choice(const TClassSoundCarriersUseSpecification& carriers,
                                   const TaudioCD& cd);
// Sets the CD's bits in the three sets as the choice says.
void GLB_apply_audio_cd_choice(TAudioCdChoice choice, const TaudioCD& cd,
                               TClassSoundCarriersUseSpecification& carriers);
// Whether the choice can be made for the CD: the disc's own copy only for
// CDs the disc carries, and those are never played from elsewhere.
bool GLB_audio_cd_choice_offered(TAudioCdChoice choice, const TaudioCD& cd);

// The flags a change of the carriers raises: a different visible set or
// native flag changes the rows (rebuild), a change of only the playable or
// hard-disk sets changes how they play (refresh).
TOptionsFlags GLB_carriers_change(const TClassSoundCarriersUseSpecification& before,
                                  const TClassSoundCarriersUseSpecification& after);

// The first audio CD chosen to play from the hard disk without a folder
// there; none when every such choice has one.
const TaudioCD* GLB_cd_without_hard_disk_folder(
    const std::vector<std::pair<const TaudioCD*, TAudioCdChoice>>& rows);
// The refusal of OK for that CD: the frame's two texts around its name.
QString GLB_hard_disk_folder_missing_message(const QString& before, const QString& cdName,
                                             const QString& after);

// The systematic orders a list can choose from: the orders the database
// offers, at most three; the frame shows only when there are several.
struct TSystematicOrderChoice {
    std::vector<int> orders;
    bool offered() const { return orders.size() > 1; }
    // The item of the order; 0 when it is not among them.
    int item_of(int order) const;
    // The order of the item; the fallback when there is no such item.
    int order_at(int item, int fallback) const;
};
TSystematicOrderChoice GLB_systematic_order_choice(const Tdata& data);

// The dialog's pages besides the settings page, which always shows: the
// area in editions with an area map (when the list has an area), the audio
// CDs when the database has any.
struct TOptionsPages {
    bool area = false;
    bool audio_cds = false;
};
TOptionsPages GLB_options_pages(bool editionHasAreaPage, bool listHasArea, int audioCdCount);

// Stored values out of their range give the sound ones.
namespace options_values {
// The tab page to open on: 0 unless the stored index names a shown page.
int tab_page(int stored, int pageCount);
// A drive (from 1) among the drives found; 1 otherwise.
int audio_cd_drive(int stored, int driveCount);
}  // namespace options_values
