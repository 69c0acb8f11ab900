#include "app/editions.h"
#include "app/settings.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "listview/list_fonts.h"
#include "support/demo_edition.h"
#include "utilities/options_settings.h"

#include <gtest/gtest.h>
#include <stdexcept>

// --- Names ---------------------------------------------------------------------------

TEST(NameChoice, UncheckingBothBoxesIsImpossible) {
    TNameChoice choice(true, true, 2);
    choice.set_other_language(false);
    EXPECT_TRUE(choice.scientific());
    EXPECT_EQ(choice.main_item(), TNameChoice::kScientificMain) << "the shown name leads";
    // The second uncheck checks the other box again.
    choice.set_scientific(false);
    EXPECT_FALSE(choice.scientific());
    EXPECT_TRUE(choice.other_language());
    EXPECT_EQ(choice.main_item(), TNameChoice::kOtherLanguageMain);

    // The same the other way round.
    TNameChoice reverse(true, true, 1);
    reverse.set_scientific(false);
    reverse.set_other_language(false);
    EXPECT_TRUE(reverse.scientific());
    EXPECT_FALSE(reverse.other_language());
    EXPECT_EQ(reverse.main_item(), TNameChoice::kScientificMain);
}

TEST(NameChoice, ChoosingTheLeadingNameShowsIt) {
    TNameChoice choice(true, false, 1);
    choice.select_main(TNameChoice::kOtherLanguageMain);
    EXPECT_TRUE(choice.other_language());
    EXPECT_TRUE(choice.scientific()) << "the scientific box is left as it was";

    TNameChoice other(false, true, 2);
    other.select_main(TNameChoice::kScientificMain);
    EXPECT_TRUE(other.scientific());
    EXPECT_EQ(other.main_name(), 1);
    // Checking a box again changes nothing else.
    other.set_other_language(true);
    EXPECT_EQ(other.main_item(), TNameChoice::kScientificMain);
}

TEST(NameChoice, PackedValueHoldsEachPartInItsByte) {
    EXPECT_EQ(TNameChoice(true, true, 2).packed(), 0x020101u);
    EXPECT_EQ(TNameChoice(true, true, 1).packed(), 0x010101u);
    EXPECT_EQ(TNameChoice(true, false, 1).packed(), 0x010001u);
    EXPECT_EQ(TNameChoice(false, true, 2).packed(), 0x020100u);
    for (const std::uint32_t value : {0x020101u, 0x010001u, 0x020100u, 0x010101u})
        EXPECT_EQ(TNameChoice::from_packed(value).packed(), value);
}

TEST(NameChoice, SettingsThatShowNothingOrLeadWithAHiddenNameArePutRight) {
    const TNameChoice none(false, false, 2);
    EXPECT_TRUE(none.scientific() || none.other_language());
    EXPECT_EQ(TNameChoice(false, true, 1).main_name(), 2) << "the hidden scientific name cannot lead";
    EXPECT_EQ(TNameChoice(true, false, 2).main_name(), 1);
}

// --- Choices on the demo database ---------------------------------------------------

class OptionsOnDemo : public ::testing::Test {
  protected:
    void SetUp() override { testing_support::installDemoEdition(dir); }
    void TearDown() override { testing_support::removeDemoEdition(); }

    const TaudioCD& cd(int sequence) const { return *GLB_data().audio_cd_by_sequence(sequence); }
    const TaudioCD& carriedCd() const {
        for (const TaudioCD* c : GLB_data().audio_cds())
            if (c->carried_on_disc) return *c;
        throw std::logic_error("the demo carries an audio CD");
    }
    const TaudioCD& driveCd() const {
        for (const TaudioCD* c : GLB_data().audio_cds())
            if (!c->carried_on_disc) return *c;
        throw std::logic_error("the demo has an audio CD it does not carry");
    }

    testing_support::ProgramDirectory dir;
};

TEST_F(OptionsOnDemo, SoundsAndPhotosItemsSetExactlyOneFlag) {
    TClassVisibleSpeciesAndRecordings filter(GLB_data());
    for (int item : {sounds_photos::kWithSoundsOrPhotos, sounds_photos::kWithSounds,
                     sounds_photos::kWithPhotos, sounds_photos::kAll}) {
        sounds_photos::apply_item(item, filter);
        const int flagsSet = int(filter.only_with_sounds_or_photos) + int(filter.only_with_sounds) +
                             int(filter.only_with_photos);
        EXPECT_EQ(flagsSet, item == sounds_photos::kAll ? 0 : 1) << item;
        EXPECT_EQ(sounds_photos::item_of(filter), item);
    }
}

TEST_F(OptionsOnDemo, AudioCdRowsComeFromTheThreeSetsAndTheCarriedFlag) {
    const TaudioCD& drive = driveCd();
    const TaudioCD& carried = carriedCd();
    const auto bit = [](const TaudioCD& c) { return static_cast<size_t>(c.sequence_number); };
    TClassSoundCarriersUseSpecification carriers;
    carriers.visible_audio_cds.reset();
    carriers.playable_audio_cds.reset();
    carriers.audio_cds_on_hard_disk.reset();
    EXPECT_EQ(GLB_audio_cd_choice(carriers, drive), TAudioCdChoice::Hidden);

    carriers.visible_audio_cds.set(bit(drive));
    carriers.audio_cds_on_hard_disk.set(bit(drive));  // not playable still wins
    EXPECT_EQ(GLB_audio_cd_choice(carriers, drive), TAudioCdChoice::ShownNotPlayable);
    carriers.playable_audio_cds.set(bit(drive));
    EXPECT_EQ(GLB_audio_cd_choice(carriers, drive), TAudioCdChoice::PlayableFromHardDisk);
    carriers.audio_cds_on_hard_disk.reset(bit(drive));
    EXPECT_EQ(GLB_audio_cd_choice(carriers, drive), TAudioCdChoice::PlayableFromDrive);

    carriers.visible_audio_cds.set(bit(carried));
    carriers.playable_audio_cds.set(bit(carried));
    carriers.audio_cds_on_hard_disk.set(bit(carried));
    EXPECT_EQ(GLB_audio_cd_choice(carriers, carried), TAudioCdChoice::PlayableFromDiscCopy);
}

TEST_F(OptionsOnDemo, EveryOfferedChoiceReadsBackFromTheSetsItWrites) {
    for (const TaudioCD* c : GLB_data().audio_cds()) {
        for (int n = 1; n <= 5; ++n) {
            const auto choice = static_cast<TAudioCdChoice>(n);
            if (!GLB_audio_cd_choice_offered(choice, *c)) continue;
            TClassSoundCarriersUseSpecification carriers;
            GLB_apply_audio_cd_choice(choice, *c, carriers);
            EXPECT_EQ(GLB_audio_cd_choice(carriers, *c), choice) << c->name.toStdString() << n;
        }
    }
    EXPECT_TRUE(GLB_audio_cd_choice_offered(TAudioCdChoice::PlayableFromDiscCopy, carriedCd()));
    EXPECT_FALSE(GLB_audio_cd_choice_offered(TAudioCdChoice::PlayableFromDiscCopy, driveCd()));
    EXPECT_FALSE(GLB_audio_cd_choice_offered(TAudioCdChoice::PlayableFromDrive, carriedCd()));
}

TEST_F(OptionsOnDemo, ApplyingAChoiceTouchesOnlyThatCdsBits) {
    TClassSoundCarriersUseSpecification carriers;
    carriers.visible_audio_cds.set(200);
    carriers.playable_audio_cds.set(200);
    carriers.audio_cds_on_hard_disk.set(200);
    GLB_apply_audio_cd_choice(TAudioCdChoice::Hidden, driveCd(), carriers);
    EXPECT_TRUE(carriers.visible_audio_cds.test(200));
    EXPECT_TRUE(carriers.playable_audio_cds.test(200));
    EXPECT_TRUE(carriers.audio_cds_on_hard_disk.test(200));
}

TEST_F(OptionsOnDemo, VisibleChangesRebuildPlayableOrHardDiskChangesRefresh) {
    TClassSoundCarriersUseSpecification before;
    GLB_apply_audio_cd_choice(TAudioCdChoice::PlayableFromDrive, driveCd(), before);

    TOptionsFlags same = GLB_carriers_change(before, before);
    EXPECT_FALSE(same.changed || same.rebuild || same.refresh);

    TClassSoundCarriersUseSpecification hidden = before;
    GLB_apply_audio_cd_choice(TAudioCdChoice::Hidden, driveCd(), hidden);
    const TOptionsFlags rebuild = GLB_carriers_change(before, hidden);
    EXPECT_TRUE(rebuild.rebuild);
    EXPECT_TRUE(rebuild.changed);

    TClassSoundCarriersUseSpecification notPlayable = before;
    GLB_apply_audio_cd_choice(TAudioCdChoice::ShownNotPlayable, driveCd(), notPlayable);
    const TOptionsFlags refresh = GLB_carriers_change(before, notPlayable);
    EXPECT_FALSE(refresh.rebuild);
    EXPECT_TRUE(refresh.refresh);

    TClassSoundCarriersUseSpecification onHardDisk = before;
    GLB_apply_audio_cd_choice(TAudioCdChoice::PlayableFromHardDisk, driveCd(), onHardDisk);
    EXPECT_TRUE(GLB_carriers_change(before, onHardDisk).refresh);
    EXPECT_FALSE(GLB_carriers_change(before, onHardDisk).rebuild);

    TClassSoundCarriersUseSpecification native = before;
    native.show_native_recordings = !before.show_native_recordings;
    EXPECT_TRUE(GLB_carriers_change(before, native).rebuild) << "native recordings are rows";
}

TEST_F(OptionsOnDemo, AHardDiskChoiceNeedsTheCdsFolder) {
    TaudioCD withoutFolder = driveCd();
    withoutFolder.hard_disk_directory = QStringLiteral("  ");
    TaudioCD withFolder = driveCd();
    withFolder.hard_disk_directory = QStringLiteral("/home/user/Audio CDs/GranChaco");

    EXPECT_EQ(GLB_cd_without_hard_disk_folder({{&withoutFolder, TAudioCdChoice::PlayableFromDrive},
                                               {&withFolder, TAudioCdChoice::PlayableFromHardDisk}}),
              nullptr);
    EXPECT_EQ(GLB_cd_without_hard_disk_folder({{&withFolder, TAudioCdChoice::PlayableFromHardDisk},
                                               {&withoutFolder, TAudioCdChoice::PlayableFromHardDisk}}),
              &withoutFolder);
    EXPECT_EQ(GLB_hard_disk_folder_missing_message("No folder for", "Chaco", "Copy it first."),
              QStringLiteral("No folder for \"Chaco\" Copy it first."));
}

TEST_F(OptionsOnDemo, TheDemoOffersItsTwoOrders) {
    const TSystematicOrderChoice choice = GLB_systematic_order_choice(GLB_data());
    ASSERT_TRUE(choice.offered());
    EXPECT_EQ(choice.orders.front(), 1);
    EXPECT_EQ(choice.order_at(choice.item_of(choice.orders.back()), 1), choice.orders.back());
}

// --- Orders and stored values --------------------------------------------------------

TEST(SystematicOrderChoice, ASingleOrderIsNotOfferedAndKeepsTheCurrentOne) {
    const TSystematicOrderChoice single{{1}};
    EXPECT_FALSE(single.offered());
    EXPECT_EQ(single.item_of(1), 0);
    EXPECT_EQ(single.order_at(-1, 1), 1) << "no item chosen";

    const TSystematicOrderChoice three{{1, 2, 4}};
    EXPECT_TRUE(three.offered());
    EXPECT_EQ(three.item_of(4), 2);
    EXPECT_EQ(three.item_of(3), 0) << "an order not offered selects the first item";
    EXPECT_EQ(three.order_at(2, 1), 4);
    EXPECT_EQ(three.order_at(3, 2), 2) << "beyond the items: the fallback";
}

TEST(OptionsPages, AudioCdsNeedCdsAndTheAreaNeedsItsEditionAndAnArea) {
    const TOptionsPages noCds = GLB_options_pages(true, true, 0);
    EXPECT_FALSE(noCds.audio_cds);
    EXPECT_TRUE(noCds.area);
    EXPECT_TRUE(GLB_options_pages(false, false, 1).audio_cds);
    EXPECT_FALSE(GLB_options_pages(false, true, 2).area) << "editions without the page";
    EXPECT_FALSE(GLB_options_pages(true, false, 2).area) << "a list without an area";
}

TEST(OptionsPages, OnlyTheEditionsWithAnAreaMapOfferThePage) {
    for (const TEditionRow& row : GLB_edition_rows())
        EXPECT_EQ(row.rules.options_area_page,
                  row.edition_code == 101 || row.edition_code == 106)
            << row.edition_code;
}

TEST(OptionsValues, OutOfRangeTabPagesAndDrivesTakeTheFirst) {
    EXPECT_EQ(options_values::tab_page(2, 3), 2);
    EXPECT_EQ(options_values::tab_page(7, 3), 0);
    EXPECT_EQ(options_values::tab_page(1, 1), 0) << "a page that is hidden now";
    EXPECT_EQ(options_values::tab_page(-1, 3), 0);
    EXPECT_EQ(options_values::audio_cd_drive(2, 2), 2);
    EXPECT_EQ(options_values::audio_cd_drive(3, 2), 1);
    EXPECT_EQ(options_values::audio_cd_drive(0, 2), 1);
    EXPECT_EQ(options_values::audio_cd_drive(1, 0), 1) << "no drive found";
}

TEST(OptionsValues, TextSizesOutOfRangeGiveTheDefault) {
    testing_support::ProgramDirectory dir;
    dir.makeCurrentProgramDirectory();
    for (const int stored : {0, 500, -15}) {
        GLB_write_int(QStringLiteral("GENERAL"), QStringLiteral("Text Size"), stored);
        EXPECT_EQ(GLB_read_text_size(), list_font::kDefaultTextSize) << stored;
    }
    GLB_write_int(QStringLiteral("GENERAL"), QStringLiteral("Text Size"), 20);
    EXPECT_EQ(GLB_read_text_size(), 20);
}
