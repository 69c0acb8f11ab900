#include "utilities/options_settings.h"

#include "data/media_records.h"
#include "data/species_database.h"

#include <algorithm>

// --- Names ---------------------------------------------------------------------------

TNameChoice::TNameChoice(bool showScientific, bool showOtherLanguage, int mainName)
    : scientific_(showScientific),
      other_language_(showOtherLanguage),
      main_item_(mainName == 1 ? kScientificMain : kOtherLanguageMain) {
    // Settings that show nothing, or lead with a hidden name, are put right
    // the way the controls would.
    if (!other_language_) set_other_language(false);
    if (!scientific_) set_scientific(false);
}

void TNameChoice::set_other_language(bool checked) {
    other_language_ = checked;
    if (!checked) {
        scientific_ = true;
        main_item_ = kScientificMain;
    }
}

void TNameChoice::set_scientific(bool checked) {
    scientific_ = checked;
    if (!checked) {
        other_language_ = true;
        main_item_ = kOtherLanguageMain;
    }
}

void TNameChoice::select_main(int item) {
    main_item_ = item == kScientificMain ? kScientificMain : kOtherLanguageMain;
    if (main_item_ == kScientificMain)
        scientific_ = true;
    else
        other_language_ = true;
}

std::uint32_t TNameChoice::packed() const {
    return (scientific_ ? 1u : 0u) | ((other_language_ ? 1u : 0u) << 8) |
           (static_cast<std::uint32_t>(main_name()) << 16);
}

TNameChoice TNameChoice::from_packed(std::uint32_t value) {
    return TNameChoice((value & 0xFF) != 0, ((value >> 8) & 0xFF) != 0,
                       static_cast<int>((value >> 16) & 0xFF));
}

// --- Sounds and photos -------------------------------------------------------------

int sounds_photos::item_of(const TClassVisibleSpeciesAndRecordings& filter) {
    if (filter.only_with_sounds_or_photos) return kWithSoundsOrPhotos;
    if (filter.only_with_sounds) return kWithSounds;
    if (filter.only_with_photos) return kWithPhotos;
    return kAll;
}

void sounds_photos::apply_item(int item, TClassVisibleSpeciesAndRecordings& filter) {
    filter.only_with_sounds_or_photos = item == kWithSoundsOrPhotos;
    filter.only_with_sounds = item == kWithSounds;
    filter.only_with_photos = item == kWithPhotos;
}

// --- Audio CDs -----------------------------------------------------------------------

namespace {

bool memberOf(const TSmallNumberSet& set, const TaudioCD& cd) {
    return cd.sequence_number >= 1 && cd.sequence_number <= 255 &&
           set.test(static_cast<size_t>(cd.sequence_number));
}

}  // namespace

TAudioCdChoice GLB_audio_cd_choice(const TClassSoundCarriersUseSpecification& carriers,
                                   const TaudioCD& cd) {
    if (!memberOf(carriers.visible_audio_cds, cd)) return TAudioCdChoice::Hidden;
    if (!memberOf(carriers.playable_audio_cds, cd)) return TAudioCdChoice::ShownNotPlayable;
    if (cd.carried_on_disc) return TAudioCdChoice::PlayableFromDiscCopy;
    if (memberOf(carriers.audio_cds_on_hard_disk, cd)) return TAudioCdChoice::PlayableFromHardDisk;
    return TAudioCdChoice::PlayableFromDrive;
}

void GLB_apply_audio_cd_choice(TAudioCdChoice choice, const TaudioCD& cd,
                               TClassSoundCarriersUseSpecification& carriers) {
    if (cd.sequence_number < 1 || cd.sequence_number > 255) return;
    const auto n = static_cast<size_t>(cd.sequence_number);
    carriers.visible_audio_cds.set(n, choice != TAudioCdChoice::Hidden);
    carriers.playable_audio_cds.set(
        n, choice != TAudioCdChoice::Hidden && choice != TAudioCdChoice::ShownNotPlayable);
    carriers.audio_cds_on_hard_disk.set(n, choice == TAudioCdChoice::PlayableFromHardDisk);
}

bool GLB_audio_cd_choice_offered(TAudioCdChoice choice, const TaudioCD& cd) {
    switch (choice) {
        case TAudioCdChoice::PlayableFromDiscCopy:
            return cd.carried_on_disc;
        case TAudioCdChoice::PlayableFromDrive:
        case TAudioCdChoice::PlayableFromHardDisk:
            return !cd.carried_on_disc;
        default:
            return true;
    }
}

TOptionsFlags GLB_carriers_change(const TClassSoundCarriersUseSpecification& before,
                                  const TClassSoundCarriersUseSpecification& after) {
    TOptionsFlags flags;
    if (before.visible_audio_cds != after.visible_audio_cds ||
        before.show_native_recordings != after.show_native_recordings)
        flags.rebuild = true;
    else if (before.playable_audio_cds != after.playable_audio_cds ||
             before.audio_cds_on_hard_disk != after.audio_cds_on_hard_disk)
        flags.refresh = true;
    flags.changed = flags.rebuild || flags.refresh;
    return flags;
}

const TaudioCD* GLB_cd_without_hard_disk_folder(
    const std::vector<std::pair<const TaudioCD*, TAudioCdChoice>>& rows) {
    for (const auto& [cd, choice] : rows)
        if (cd && choice == TAudioCdChoice::PlayableFromHardDisk &&
            cd->hard_disk_directory.trimmed().isEmpty())
            return cd;
    return nullptr;
}

QString GLB_hard_disk_folder_missing_message(const QString& before, const QString& cdName,
                                             const QString& after) {
    return before + QStringLiteral(" \"") + cdName + QStringLiteral("\" ") + after;
}

// --- Systematic orders -------------------------------------------------------------

namespace {
constexpr size_t kMostOrdersOffered = 3;
}

int TSystematicOrderChoice::item_of(int order) const {
    const auto found = std::find(orders.begin(), orders.end(), order);
    return found == orders.end() ? 0 : static_cast<int>(found - orders.begin());
}

int TSystematicOrderChoice::order_at(int item, int fallback) const {
    if (item < 0 || static_cast<size_t>(item) >= orders.size()) return fallback;
    return orders[static_cast<size_t>(item)];
}

TSystematicOrderChoice GLB_systematic_order_choice(const Tdata& data) {
    TSystematicOrderChoice choice;
    choice.orders = data.offered_orders();
    if (choice.orders.size() > kMostOrdersOffered) choice.orders.resize(kMostOrdersOffered);
    return choice;
}

// --- Pages -------------------------------------------------------------------------------

TOptionsPages GLB_options_pages(bool editionHasAreaPage, bool listHasArea, int audioCdCount) {
    return {.area = editionHasAreaPage && listHasArea, .audio_cds = audioCdCount > 0};
}

// --- Stored values -------------------------------------------------------------------

int options_values::tab_page(int stored, int pageCount) {
    return stored >= 0 && stored < pageCount ? stored : 0;
}

int options_values::audio_cd_drive(int stored, int driveCount) {
    return stored >= 1 && stored <= driveCount ? stored : 1;
}
