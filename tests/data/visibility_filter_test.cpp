// The visibility filter: carriers, kinds, the species rule, settings, and
// the family and count queries built on it.

#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "data/areas.h"
#include "small_edition.h"

#include "app/settings.h"

using data_testing::SmallEdition;
using Filter = TClassVisibleSpeciesAndRecordings;

namespace {

class FilterTest : public data_testing::DataTest {
  protected:
    void SetUp() override {
        DataTest::SetUp();
        data = load(edition);
    }
    void reload() { data = load(edition); }
    Filter filterWithArea(const QString& selection) {
        GLB_write_string("F", "Selected Area", selection);
        return Filter(*data, "F");
    }
    const Tspecies& species(int id) const { return *data->species_by_unique_id(id); }
    const Tcutpart& cut(const char* key) const { return *data->cut_part_by_key(key); }

    SmallEdition edition;
    std::unique_ptr<Tdata> data;
};

TSmallNumberSet set(std::initializer_list<int> members) {
    TSmallNumberSet s;
    for (int m : members) s.set(static_cast<size_t>(m));
    return s;
}

}  // namespace

TEST_F(FilterTest, KindLettersPassByRequestType) {
    for (int type : {1, 2, 3}) {
        EXPECT_TRUE(Filter::kind_letter_passes(u'A', type));
        EXPECT_TRUE(Filter::kind_letter_passes(u'X', type));
        EXPECT_EQ(Filter::kind_letter_passes(u'B', type), type >= 2);
        EXPECT_EQ(Filter::kind_letter_passes(u'C', type), type == 3);
        EXPECT_EQ(Filter::kind_letter_passes(u' ', type), type == 3);
    }
}

TEST_F(FilterTest, CarriersDecideWhatIsShownPlayableAndAvailable) {
    Filter f = filterWithArea("PE-BO-PA");
    const Tcutpart& file = cut("1207B0003A");
    const Tcutpart& cd = cut("801A0001");
    EXPECT_TRUE(f.carrier_shown(file));
    EXPECT_TRUE(f.carrier_playable(file));
    EXPECT_TRUE(f.available_now(file));
    EXPECT_FALSE(f.carrier_shown(cd));

    f.carriers.visible_audio_cds = set({1});
    EXPECT_TRUE(f.carrier_shown(cd));  // a selected part: whatever the area
    EXPECT_FALSE(f.carrier_playable(cd));
    f.carriers.playable_audio_cds = set({1});
    EXPECT_TRUE(f.carrier_playable(cd));
    EXPECT_FALSE(f.available_now(cd));  // not on this disc, not copied
    f.carriers.audio_cds_on_hard_disk = set({1});
    EXPECT_TRUE(f.available_now(cd));

    f.carriers.show_native_recordings = false;
    EXPECT_FALSE(f.carrier_shown(file));
    EXPECT_FALSE(f.carrier_playable(file));
}

TEST_F(FilterTest, UnselectedAudioCdPartsNeedOtherCountries) {
    edition.replace("cutparts.txt", "selected 1", "selected 0");
    reload();
    const Tcutpart& cd = cut("801A0001");
    Filter main = filterWithArea("PE-BO-PA");
    main.carriers.visible_audio_cds = set({1});
    EXPECT_FALSE(main.carrier_shown(cd));
    Filter other = filterWithArea("PE-OT");
    other.carriers.visible_audio_cds = set({1});
    EXPECT_TRUE(other.carrier_shown(cd));
    // Without an area the CD's visibility alone decides.
    useEdition(1041);
    Filter noArea(*data, "F");
    ASSERT_EQ(noArea.selected_area(), nullptr);
    noArea.carriers.visible_audio_cds = set({1});
    EXPECT_TRUE(noArea.carrier_shown(cd));
}

TEST_F(FilterTest, VisibleRecordingsStopAtTheFirstItemNotPresent) {
    Filter f = filterWithArea("PE-BO-PA-OT");
    f.carriers.visible_audio_cds = set({1});
    const Tspecies& tao = species(20020);
    EXPECT_EQ(f.visible_recording_count(tao, Filter::kKindsAOnly), 1);
    EXPECT_EQ(f.visible_recording_count(tao, Filter::kKindsAB), 2);
    EXPECT_EQ(f.playable_recording_count(tao, Filter::kKindsAB), 1);
    EXPECT_EQ(f.nth_item(tao, 2, Filter::kAllKinds, false)->cut_part, &cut("801A0001"));
    EXPECT_EQ(f.nth_item(tao, 2, Filter::kAllKinds, true), nullptr);
    EXPECT_EQ(f.nth_item(tao, 3, Filter::kAllKinds, false), nullptr);

    // The hornero's only item is not present.
    EXPECT_EQ(f.visible_recording_count(species(30001), Filter::kAllKinds), 0);
    edition.replace("cupaitem.txt", "@#[1_1]\n10\nA\n64\nkleei\nSong.\nP\n",
                    "@#[1_1]\n10\nA\n64\nkleei\nSong.\n\n");
    reload();
    Filter g = filterWithArea("PE-BO-PA-OT");
    g.carriers.visible_audio_cds = set({1});
    // The second item is present and shown, but follows one that is not.
    EXPECT_EQ(g.visible_recording_count(species(20020), Filter::kAllKinds), 0);
    EXPECT_EQ(g.nth_item(species(20020), 1, Filter::kAllKinds, false), nullptr);
}

TEST_F(FilterTest, ItemPositionsCountShownCarriersOnly) {
    Filter f = filterWithArea("PE");
    const Tcupaitem& first = *species(20020).first_item;
    const Tcupaitem& onCd = *first.next_of_species;
    EXPECT_EQ(f.item_position(first), 1);
    EXPECT_EQ(f.item_position(onCd), 0);
    f.carriers.visible_audio_cds = set({1});
    EXPECT_EQ(f.item_position(onCd), 2);
}

TEST_F(FilterTest, GroupsStartAtTensAfterAGapOrAtTheFirstItem) {
    Filter f = filterWithArea("PE");
    const Tcupaitem* i10 = species(20020).first_item;
    const Tcupaitem* i11 = i10->next_of_species;
    const Tcupaitem* i20 = species(20123).first_item;
    const Tcupaitem* i30 = species(30001).first_item;
    EXPECT_TRUE(f.item_starts_new_group(*i10));   // nothing before it
    EXPECT_FALSE(f.item_starts_new_group(*i11));  // previous shown
    EXPECT_TRUE(f.item_starts_new_group(*i20));
    EXPECT_TRUE(f.item_starts_new_group(*i30));

    // 21 after a hidden 20 (on the CD): the question goes back to the 20.
    edition.replace("cupaitem.txt", "11\nB\n?", "20\nB\n?");
    edition.replace("cupaitem.txt", "@#[1_2]\n20\n", "@#[1_2]\n21\n");
    reload();
    Filter g = filterWithArea("PE");
    const Tcupaitem* i21 = species(20123).first_item;
    EXPECT_TRUE(g.item_starts_new_group(*i21));
    g.carriers.visible_audio_cds = set({1});
    EXPECT_FALSE(g.item_starts_new_group(*i21));
}

TEST_F(FilterTest, SpeciesRuleFollowsAreaAndMedia) {
    Filter f = filterWithArea("PE-BO-PA-OT");
    EXPECT_TRUE(f.species_visible(species(20020)));
    EXPECT_TRUE(f.species_visible(species(20123)));
    // Shares OT with the selection, but has no media and no main country.
    EXPECT_FALSE(f.species_visible(species(30001)));

    Filter peru = filterWithArea("PE");
    EXPECT_TRUE(peru.species_visible(species(20020)));
    EXPECT_FALSE(peru.species_visible(species(20123)));  // PA-AR

    Filter photos = filterWithArea("PE-BO-PA-OT");
    photos.only_with_photos = true;
    EXPECT_TRUE(photos.species_visible(species(20020)));
    EXPECT_FALSE(photos.species_visible(species(20123)));

    Filter sounds = filterWithArea("PE-BO-PA-OT");
    sounds.only_with_sounds = true;
    EXPECT_TRUE(sounds.species_visible(species(20123)));
    sounds.carriers.show_native_recordings = false;
    EXPECT_FALSE(sounds.species_visible(species(20123)));
    // The tinamou's other item lies on an audio CD that is not visible.
    EXPECT_FALSE(sounds.species_visible(species(20020)));

    Filter either = filterWithArea("PE-BO-PA-OT");
    either.only_with_sounds_or_photos = true;
    either.carriers.show_native_recordings = false;
    EXPECT_TRUE(either.species_visible(species(20020)));  // its picture
    EXPECT_FALSE(either.species_visible(species(20123)));
}

TEST_F(FilterTest, SpeciesWithoutMediaNeedAMainCountry) {
    // The hornero gets a main country; without media it then shows.
    edition.replace("names_sc.txt", "----Main)\nAR\n", "----Main)\nAR-PA\n");
    reload();
    EXPECT_TRUE(filterWithArea("PA").species_visible(species(30001)));
    EXPECT_FALSE(filterWithArea("OT").species_visible(species(30001)));  // no main country
    // Not with a species number from a million on.
    edition.replace("names_sc.txt", "900 30001", "1000000 30001");
    reload();
    EXPECT_FALSE(filterWithArea("PA").species_visible(species(30001)));
    // Two identifiers are never shown without media.
    edition.replace("names_sc.txt", "1000000 30001", "900 4328");
    edition.replace("syst_ord.txt", "1,30001", "1,4328");
    reload();
    EXPECT_FALSE(filterWithArea("PA").species_visible(species(4328)));
}

TEST_F(FilterTest, SettingsAreReadAndWrittenPerSection) {
    GLB_write_string("W", "Visible Audio CDs", "1-2-9");
    GLB_write_string("W", "Show Only Specs With Photos", "Yes");
    GLB_write_string("W", "Show Native Recordings", "No");
    Filter f(*data, "W");
    EXPECT_EQ(f.carriers.visible_audio_cds, set({1}));  // one CD in this edition
    EXPECT_TRUE(f.only_with_photos);
    EXPECT_FALSE(f.only_with_sounds);
    EXPECT_FALSE(f.carriers.show_native_recordings);
    EXPECT_EQ(f.selected_area()->selection_text(), "PE-BO-PA-OT");

    f.only_with_sounds = true;
    f.carriers.playable_audio_cds = set({1});
    f.selected_area()->clear_selection();
    f.selected_area()->set_selected(TBoliviaEtcArea::BO, true);
    f.save_to_settings("SAVED");
    EXPECT_EQ(GLB_read_string("SAVED", "Selected Area", ""), "BO");
    EXPECT_EQ(GLB_read_string("SAVED", "Playable Audio CDs", ""), "1");
    EXPECT_EQ(GLB_read_string("SAVED", "Audio CDs on HD", "absent"), "");
    EXPECT_EQ(GLB_read_string("SAVED", "Show Only Specs With Sounds", ""), "Yes");
    EXPECT_EQ(GLB_read_string("SAVED", "Show Native Recordings", ""), "No");
    Filter again(*data, "SAVED");
    EXPECT_TRUE(again.only_with_sounds);
    EXPECT_TRUE(again.only_with_photos);
    EXPECT_EQ(again.carriers, f.carriers);
    EXPECT_EQ(again.selected_area()->selection_text(), "BO");
}

TEST_F(FilterTest, EditionsWithoutTheMediaFilterKeepTheirDefaults) {
    useEdition(1041);
    GLB_write_string("E", "Show Only Specs With Photos", "Yes");
    Filter f(*data, "E");
    EXPECT_FALSE(f.only_with_photos);
    f.save_to_settings("E2");
    EXPECT_EQ(GLB_read_string("E2", "Show Only Specs With Photos", "absent"), "absent");
    EXPECT_EQ(GLB_read_string("E2", "Selected Area", "absent"), "absent");
    useEdition(1061);
    EXPECT_TRUE(Filter(*data).only_with_sounds_or_photos);
    useEdition(1051);
    const Filter dutch(*data);
    EXPECT_TRUE(dutch.only_with_sounds);
    EXPECT_FALSE(dutch.carriers.show_native_recordings);
}

TEST_F(FilterTest, EditionAreasAreForcedAfterReading) {
    useEdition(1111);
    GLB_write_string("C", "Selected Area", "OU");
    const Filter country(*data, "C");
    EXPECT_EQ(country.selected_area()->selection_text(), "IN");
    useEdition(1061);
    GLB_write_string("A", "Selected Area", "IN-LE-SW");
    const Filter asia(*data, "A");
    EXPECT_EQ(asia.selected_area()->selection_text(), "IN");
}

TEST_F(FilterTest, WithoutAudioCdsOnlySoundFilesAreShown) {
    edition.files["othermedia.txt"] = "";
    edition.replace("cutparts.txt",
                    "@#[]\n801A0001\nCD track 3 offset 12345 length 600 selected 1\n\n\n\nPE-MANU\n"
                    "\n\n\n\n",
                    "");
    edition.replace("cupaitem.txt", "11\nB\n?\n\nCall.\nP\n\n\n801A0001\n", "");
    reload();
    GLB_write_string("N", "Visible Audio CDs", "1-2");
    GLB_write_string("N", "Show Native Recordings", "No");
    Filter f(*data, "N");
    EXPECT_TRUE(f.carriers.visible_audio_cds.none());
    EXPECT_TRUE(f.carriers.show_native_recordings);
    EXPECT_EQ(f.visible_recording_count(species(20020), Filter::kAllKinds), 1);
    f.save_to_settings("N2");
    EXPECT_EQ(GLB_read_string("N2", "Show Native Recordings", "absent"), "absent");
    EXPECT_EQ(GLB_read_string("N2", "Visible Audio CDs", "absent"), "");
}

TEST_F(FilterTest, ResetAndCopy) {
    Filter f = filterWithArea("PE");
    f.carriers.show_native_recordings = false;
    f.carriers.visible_audio_cds = set({1});
    f.reset_carriers();
    // The one CD is neither on this disc nor on the hard disk.
    EXPECT_TRUE(f.carriers.visible_audio_cds.none());
    EXPECT_TRUE(f.carriers.show_native_recordings);
    f.carriers.audio_cds_on_hard_disk = set({1});
    f.reset_carriers();
    EXPECT_EQ(f.carriers.visible_audio_cds, set({1}));
    EXPECT_EQ(f.carriers.playable_audio_cds, set({1}));

    Filter g = filterWithArea("OT");
    g.copy_from(f);
    EXPECT_EQ(g.selected_area()->selection_text(), "PE");
    EXPECT_EQ(g.carriers, f.carriers);
    Filter h = g;
    g.selected_area()->set_selected(TBoliviaEtcArea::BO, true);
    EXPECT_EQ(h.selected_area()->selection_text(), "PE");
}

TEST_F(FilterTest, FamilyAndCountQueries) {
    Filter f = filterWithArea("PE-BO-PA-OT");
    const Tfamily* tinamous = data->first_family(1);
    const Tfamily* ovenbirds = tinamous->next;
    EXPECT_TRUE(data->family_has_visible_species(*tinamous, f));
    EXPECT_FALSE(data->family_has_visible_species(*ovenbirds, f));
    EXPECT_EQ(data->visible_species_count(*tinamous, f), 2);
    EXPECT_EQ(data->visible_species(*tinamous, 2, f)->unique_id, 20123);
    EXPECT_EQ(data->visible_species(*tinamous, 3, f), nullptr);
    EXPECT_EQ(data->visible_family_count(1, f), 1);
    EXPECT_EQ(data->visible_family(1, 1, f), tinamous);
    EXPECT_EQ(data->visible_family(1, 2, f), nullptr);
    EXPECT_EQ(data->visible_species_with_photographs_count(f), 1);
    EXPECT_EQ(data->visible_species_with_playable_recordings_count(f, Filter::kAllKinds, true), 2);
    EXPECT_EQ(data->visible_species_with_playable_recordings_count(f, Filter::kAllKinds, false), 1);
    EXPECT_EQ(data->visible_recording_count(1, f, Filter::kAllKinds), 2);
    EXPECT_EQ(data->visible_subspecies_count(1, f), 2);

    // Order 2 holds the ovenbirds first; with the hornero visible (an
    // amphibian by its flags) the classes differ.
    edition.replace("names_sc.txt", "----Main)\nAR\n", "----Main)\nAR-PA\n");
    reload();
    Filter g = filterWithArea("PE-BO-PA-OT");
    int first = -1;
    EXPECT_EQ(data->visible_family_count(2, g), 2);
    EXPECT_EQ(data->visible_family_count_of_class(2, animal_class::Birds, g, &first), 1);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(data->visible_family_count_of_class(2, animal_class::Amphibians, g, &first), 1);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(data->visible_family_count_of_class(2, animal_class::Mammals, g, &first), 0);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(data->visible_family_count_of_class(2, animal_class::Any, g, &first), 2);
    EXPECT_EQ(data->first_visible_family_of_class(2, animal_class::Birds, g)->scientific_name,
              "Tinamidae");
    EXPECT_EQ(data->first_visible_family_of_class(1, animal_class::Reptiles, g), nullptr);
    EXPECT_EQ(data->visible_species_total(2, g), 3);
    EXPECT_EQ(data->visible_family_count(3, g), 0);  // not offered
}

TEST_F(FilterTest, RecordingLocalitiesFollowTheShownCarriers) {
    Filter f = filterWithArea("PE-BO-PA");
    const Tlocality* manu = data->locality_by_key("PE-MANU");
    const Tlocality* zero = data->locality_by_key("ZERO");
    ASSERT_TRUE(manu && zero);
    EXPECT_EQ(f.recording_localities(), (std::unordered_set<const Tlocality*>{manu, zero}));

    // Only the audio CD's part remains, and it is not shown until its CD is.
    f.carriers.show_native_recordings = false;
    EXPECT_TRUE(f.recording_localities().empty());
    f.carriers.visible_audio_cds = set({1});
    EXPECT_EQ(f.recording_localities(), (std::unordered_set<const Tlocality*>{manu}));
}
