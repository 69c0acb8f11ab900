// Loading a small edition written by the test: what each data file gives
// the database, and how the records are linked.

#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "data/areas.h"
#include "small_edition.h"

#include "app/settings.h"

using data_testing::DataTest;
using data_testing::SmallEdition;

namespace {

class LoadSteps : public DataTest {};

QStringList names(const Tdata& data, int order) {
    QStringList list;
    for (const Tfamily* f = data.first_family(order); f; f = f->next) list << f->scientific_name;
    return list;
}

QStringList speciesOf(const Tfamily& family) {
    QStringList list;
    for (const Tspecies* s = family.first_species; s; s = s->next(family.order))
        list << s->scientific_name;
    return list;
}

}  // namespace

TEST_F(LoadSteps, MapsAndPeopleAreReadAsRecords) {
    const auto data = load(SmallEdition());
    const Tmap_data* andes = data->map_by_name("ANDES_MAP");
    ASSERT_NE(andes, nullptr);
    // Read as a, b, c, d; kept as a, c, b, d.
    EXPECT_EQ(andes->bounds, (std::array<double, 4>{-80.5, -25.25, -60, 0}));
    EXPECT_EQ(data->default_person()->name, "Ana Recordista");
    EXPECT_EQ(data->person_by_name_part("fotog")->name, "Bruno Fotografo");
    EXPECT_EQ(data->person_by_name_part("o", 2)->name, "Bruno Fotografo");
    EXPECT_EQ(data->person_by_name_part("o", 3), nullptr);
}
TEST_F(LoadSteps, FamiliesSpeciesAndSubspeciesFollowTheFileOrder) {
    const auto data = load(SmallEdition());
    EXPECT_EQ(names(*data, 1), (QStringList{"Tinamidae", "Furnariidae"}));
    const Tfamily* tinamous = data->first_family(1);
    EXPECT_EQ(tinamous->common_name, "Tinamous");
    EXPECT_EQ(speciesOf(*tinamous), (QStringList{"Tinamus tao", "Crypturellus tataupa"}));

    const Tspecies* tao = data->species_by_unique_id(20020);
    EXPECT_EQ(tao->species_number, 32);
    EXPECT_EQ(tao->family(1), tinamous);
    EXPECT_EQ(tao->common_name, "Grey Tinamou");
    EXPECT_EQ(tao->second_name, QStringLiteral("Tinamú \x0bgris\x0b"));
    EXPECT_EQ(tao->fourth_text, "Fourth");
    EXPECT_EQ(data->species_by_unique_id(30001)->common_name, "Rufous Hornero");
    ASSERT_EQ(tao->subspecies_count, 2);
    EXPECT_FALSE(tao->first_subspecies->not_real);
    const Tsubspecies* second = tao->first_subspecies->next;
    EXPECT_EQ(second->name, "tao");
    EXPECT_TRUE(second->not_real);
    EXPECT_EQ(second->ordinal, 2);
}
TEST_F(LoadSteps, FlagLettersAndParenthesisedParts) {
    const auto data = load(SmallEdition());
    const Tspecies* tao = data->species_by_unique_id(20020);
    EXPECT_TRUE(tao->has_recording_items);
    EXPECT_TRUE(tao->flag_e);
    EXPECT_TRUE(tao->flag_s);
    EXPECT_FALSE(tao->is_amphibian);
    EXPECT_EQ(tao->threatened_status, 1);  // "vu" upper-cased
    ASSERT_EQ(tao->map_reference_count, 1);
    EXPECT_EQ(tao->map_references[0].map->name, "ANDES_MAP");
    EXPECT_FALSE(tao->map_references[0].is_mask);

    // The second reference is the main one: it comes first.
    const Tspecies* hornero = data->species_by_unique_id(30001);
    EXPECT_TRUE(hornero->is_amphibian);
    EXPECT_EQ(hornero->animal_class(), animal_class::Amphibians);
    ASSERT_EQ(hornero->map_reference_count, 2);
    EXPECT_EQ(hornero->map_references[0].map->name, "ANDES_MAP");
    EXPECT_FALSE(hornero->map_references[0].is_mask);
    EXPECT_EQ(hornero->map_references[1].map->name, "CHACO_MAP");
    EXPECT_TRUE(hornero->map_references[1].is_mask);

    const Tspecies* tataupa = data->species_by_unique_id(20123);
    EXPECT_EQ(tataupa->threatened_status, 0);
    EXPECT_EQ(tataupa->map_reference_count, 0);
    EXPECT_FALSE(tataupa->flag_e);
}

TEST_F(LoadSteps, AmphibianWithItemsAndStatusFromTheFlagsLine) {
    SmallEdition e;
    e.replace("names_sc.txt", "C,\nPA-AR", "AC,T(vu)\nPA-AR");
    const auto data = load(e);
    const Tspecies* s = data->species_by_unique_id(20123);
    EXPECT_TRUE(s->is_amphibian);
    EXPECT_TRUE(s->has_recording_items);
    EXPECT_EQ(s->threatened_status, 1);
}

TEST_F(LoadSteps, CreditLiteratureAndDistribution) {
    const auto data = load(SmallEdition());
    const Tspecies* tao = data->species_by_unique_id(20020);
    // Credit 1 names a person by a fixed name part that this edition's
    // people do not contain.
    EXPECT_EQ(tao->credited_person, nullptr);
    ASSERT_EQ(tao->literature.size(), 2u);
    EXPECT_EQ(tao->literature[0].reference, 1);
    EXPECT_EQ(tao->literature[0].text, "Voice");
    EXPECT_EQ(tao->literature[1].reference, 2);
    EXPECT_EQ(
        data->literature_text(*tao),
        QStringLiteral("Voice in Smith (1990) Tinamous.\nNest in Jones (2001) <I>Ovenbirds</I>."));
    EXPECT_TRUE(tao->present_in_region);
    ASSERT_NE(tao->distribution, nullptr);
    EXPECT_EQ(tao->distribution->selection_text(), "PE-BO-BR");
}

TEST_F(LoadSteps, CreditedPersonIsFoundByItsNamePart) {
    SmallEdition e;
    e.replace("people.txt", "Bruno Fotografo\nPhotographer", "Marleen Verhoost\nPhotographer");
    e.replace("big_pict.txt", "Bruno Fotografo", "Marleen Verhoost");
    e.replace("names_sc.txt", "PE-BO-BR\n1\n", "PE-BO-BR\n2\n");
    const auto data = load(e);
    ASSERT_NE(data->species_by_unique_id(20020)->credited_person, nullptr);
    EXPECT_EQ(data->species_by_unique_id(20020)->credited_person->name, "Marleen Verhoost");
}

TEST_F(LoadSteps, LocalitiesWithCoordinatesAndSiteDescriptions) {
    const auto data = load(SmallEdition());
    const Tlocality* manu = data->locality_by_key("PE-MANU");
    EXPECT_EQ(manu->latitude, -72345);
    EXPECT_TRUE(manu->latitude_seconds_given);
    EXPECT_EQ(manu->longitude, -422130);
    EXPECT_FALSE(manu->longitude_seconds_given);
    EXPECT_EQ(manu->site_description, QStringLiteral("\x0cSite\x0c page"));
    EXPECT_EQ(data->described_sites(), std::vector<Tlocality*>{data->locality_by_key("PE-MANU")});
}

TEST_F(LoadSteps, DescribedSitesWithoutCoordinatesHaveNoDisplayTextAndAreLeftOut) {
    SmallEdition e;
    e.replace("locality.txt", "000000000000000000\n\n\n", "000000000000000000\n\nA page.\n");
    const auto data = load(e);
    EXPECT_EQ(data->locality_by_key("ZERO")->site_description, QStringLiteral("A page."));
    EXPECT_EQ(data->described_sites(), std::vector<Tlocality*>{data->locality_by_key("PE-MANU")});
}
TEST_F(LoadSteps, SpanishInterfaceRenamesCountries) {
    useEdition(1012);
    SmallEdition e;
    e.replace("locality.txt", "Madre de Dios\nPeru", "Madre de Dios\nPeru");
    e.files["locality.txt"] += "@#[]\nBR-X\nX\nMato Grosso\nBrazil\n\n\n000100000000100000\n\n\n";
    const auto data = load(e);
    EXPECT_EQ(data->locality_by_key("PE-MANU")->country, QStringLiteral("Perú"));
    EXPECT_EQ(data->locality_by_key("BR-X")->country, QStringLiteral("Brasil"));
}

TEST_F(LoadSteps, PicturesAreChainedAndCounted) {
    SmallEdition e;
    e.files["big_pict.txt"] += "@#[]\n20020\n\n\n\n\nNSS\nA drawing.\n";
    const auto data = load(e);
    const Tspecies* tao = data->species_by_unique_id(20020);
    EXPECT_EQ(tao->picture_count, 2);
    EXPECT_TRUE(tao->has_photographs);
    const Tbig_picture* first = tao->first_picture;
    EXPECT_EQ(first->photographer->name, "Bruno Fotografo");
    EXPECT_EQ(first->locality, data->locality_by_key("PE-MANU"));
    EXPECT_EQ(first->subspecies->subspecies, tao->first_subspecies);
    EXPECT_TRUE(first->subspecies->p_flag);
    const Tbig_picture* second = first->next;
    EXPECT_EQ(second->previous, first);
    EXPECT_EQ(second->sequence_number, 2);
    EXPECT_FALSE(second->counts_as_photograph);
    EXPECT_EQ(second->date, -1);
    EXPECT_FALSE(second->subspecies.has_value());
    EXPECT_FALSE(data->species_by_unique_id(20123)->has_photographs);
}
TEST_F(LoadSteps, PicturesAreOptional) {
    SmallEdition e;
    e.files.erase("big_pict.txt");
    const auto data = load(e);
    EXPECT_EQ(data->species_by_unique_id(20020)->picture_count, 0);
}

TEST_F(LoadSteps, UnknownSubspeciesIsReportedAndLoadingGoesOn) {
    SmallEdition e;
    e.replace("big_pict.txt", "kleei (P)", "nobody");
    const auto data = load(e);
    EXPECT_EQ(script.lastMessage(), "Error occured with a subspecies \"nobody\"");
    const Tbig_picture* p = data->species_by_unique_id(20020)->first_picture;
    ASSERT_TRUE(p->subspecies.has_value());
    EXPECT_EQ(p->subspecies->subspecies, nullptr);
}

TEST_F(LoadSteps, AudioCdsAndTheirHardDiskCopies) {
    SmallEdition e;
    e.files["othermedia.txt"] += "@#[]\n92\nSecond\nSecond CD name\n\nTRUE\n2;1;2\nSecond\n";
    e.write(dir);
    const QString fingerprint = QStringLiteral("*es of the Yunga Yungas, disc 1*");
    GLB_write_string("AUDIO CDS", "Part of short name CD 1", fingerprint);
    GLB_write_string("AUDIO CDS", "Directory on hard disk CD 1", "/copies/yungas/");
    GLB_write_string("AUDIO CDS", "Part of short name CD 2", "*another disc*");
    GLB_write_string("AUDIO CDS", "Directory on hard disk CD 2", "/copies/second/");
    const auto data = loadWritten();
    ASSERT_EQ(data->audio_cd_count(), 2);
    const TaudioCD* yungas = data->audio_cd_by_number(801);
    EXPECT_EQ(yungas->sequence_number, 1);
    EXPECT_EQ(yungas->fingerprint(), fingerprint);
    EXPECT_FALSE(yungas->carried_on_disc);
    EXPECT_EQ(yungas->hard_disk_directory, "/copies/yungas/");
    const TaudioCD* second = data->audio_cd_by_sequence(2);
    EXPECT_TRUE(second->carried_on_disc);
    EXPECT_EQ(second->hard_disk_directory, "");  // fingerprint differs
    EXPECT_EQ(data->audio_cds_not_carried_count(), 1);
    // Sorted by the number as text: "801" before "92".
    EXPECT_EQ(data->audio_cds()[0], yungas);
}

TEST_F(LoadSteps, AudioCdSettingsAreWrittenWhenTheDatabaseIsDestroyed) {
    SmallEdition e;
    e.write(dir);
    {
        Tdata data;
        data.load();
        data.audio_cd_by_sequence(1)->hard_disk_directory = "/copies/y/";
    }
    EXPECT_EQ(GLB_read_string("AUDIO CDS", "Part of short name CD 1", ""),
              "*es of the Yunga Yungas, disc 1*");
    EXPECT_EQ(GLB_read_string("AUDIO CDS", "Directory on hard disk CD 1", ""), "/copies/y/");
    // A database that never finished loading writes nothing.
    { Tdata empty; }
    dir.write("Korvelan.ini", "");
    {
        e.replace("cutparts.txt", "Ana Recordista\nShotgun", "Nobody\nShotgun");
        e.write(dir);
        Tdata broken;
        EXPECT_THROW(broken.load(), TLoadError);
    }
    EXPECT_EQ(GLB_read_string("AUDIO CDS", "Part of short name CD 1", "none"), "none");
}

TEST_F(LoadSteps, SoundFileAndAudioCdRecordings) {
    const auto data = load(SmallEdition());
    const Tcutpart* file = data->cut_part_by_key("1207B0003A");
    EXPECT_EQ(file->recording_number, 1207);
    EXPECT_EQ(file->first_letter, u'B');
    EXPECT_EQ(file->part_number, 3);
    EXPECT_EQ(file->second_letter, u'A');
    EXPECT_TRUE(file->is_sound_file);
    EXPECT_EQ(file->compression_number, 2);
    EXPECT_EQ(file->length, 50000);
    EXPECT_EQ(file->recordist->name, "Ana Recordista");

    const Tcutpart* shortId = data->cut_part_by_key("15A12");
    EXPECT_EQ(shortId->recording_number, 15);
    EXPECT_EQ(shortId->part_number, 12);
    EXPECT_EQ(shortId->second_letter, u' ');
    EXPECT_EQ(shortId->length, 99000);  // below one second
    EXPECT_EQ(shortId->number_4, -1);
    EXPECT_EQ(shortId->date, -1);

    const Tcutpart* cd = data->cut_part_by_key("801A0001");
    EXPECT_FALSE(cd->is_sound_file);
    EXPECT_EQ(cd->audio_cd, data->audio_cd_by_number(801));
    EXPECT_EQ(cd->track, 3);
    EXPECT_EQ(cd->offset, 1234500);
    EXPECT_EQ(cd->length, 60000);
    EXPECT_TRUE(cd->selected);
}
TEST_F(LoadSteps, MissingTrackWordsGiveZero) {
    SmallEdition e;
    e.replace("cutparts.txt", "CD track 3 offset 12345 length 600 selected 1", "CD track 7");
    const auto data = load(e);
    const Tcutpart* cd = data->cut_part_by_key("801A0001");
    EXPECT_EQ(cd->track, 7);
    EXPECT_EQ(cd->offset, 0);
    EXPECT_EQ(cd->length, 0);
    EXPECT_FALSE(cd->selected);
}

TEST_F(LoadSteps, CutPartsDifferingOnlyInTheSecondLetterAreDifferent) {
    SmallEdition e;
    e.files["cutparts.txt"] += "@#[]\n1207B0003\n0\n5\n\n\nZERO\n\n\n\n\n";
    const auto data = load(e);
    const Tcutpart* withLetter = data->cut_part_by_identifier("1207B0003A");
    const Tcutpart* without = data->cut_part_by_identifier("1207B0003");
    ASSERT_NE(withLetter, nullptr);
    ASSERT_NE(without, nullptr);
    EXPECT_NE(withLetter, without);
    EXPECT_EQ(without->second_letter, u' ');
    EXPECT_EQ(data->cut_part_by_identifier("1207B3A"), withLetter);  // compared by fields
    EXPECT_EQ(data->cut_part_by_identifier("1207C0003A"), nullptr);
}

TEST_F(LoadSteps, RecordingItemsAreChainedThreeWays) {
    const auto data = load(SmallEdition());
    const Tspecies* tao = data->species_by_unique_id(20020);
    const Tcupaitem* first = tao->first_item;
    EXPECT_EQ(first->percentage, 64);
    EXPECT_EQ(first->subspecies->subspecies, tao->first_subspecies);
    EXPECT_EQ(first->second_text, "Remark more");
    EXPECT_EQ(first->previous_loaded, nullptr);
    const Tcupaitem* second = first->next_of_species;
    EXPECT_EQ(second->percentage, 100);  // "?"
    EXPECT_EQ(second->previous_loaded, first);
    EXPECT_EQ(second->next_of_species, nullptr);
    EXPECT_TRUE(tao->has_sound_files);
    EXPECT_EQ(data->species_by_unique_id(20123)->first_item->percentage, 100);  // empty

    const Tcupaitem* last = data->last_item_loaded();
    EXPECT_EQ(last->species, data->species_by_unique_id(30001));
    EXPECT_FALSE(last->present);
    // The cut part's items in order 1 follow the loading.
    const Tcutpart* file = data->cut_part_by_key("1207B0003A");
    EXPECT_EQ(file->first_item(1), first);
    EXPECT_EQ(file->first_item(1)->next_of_cut_part(1), last);
}
TEST_F(LoadSteps, ItemNumberAndLettersWhenEmpty) {
    SmallEdition e;
    e.replace("cupaitem.txt", "@#[1_2]\n20\nX\n", "@#[1_2]\n\n\n");
    const auto data = load(e);
    const Tcupaitem* item = data->species_by_unique_id(20123)->first_item;
    EXPECT_EQ(item->item_number, Tcupaitem::kNoItemNumber);
    EXPECT_EQ(item->kind_letter, u' ');
}

TEST_F(LoadSteps, FurtherOrderChainsFamiliesSpeciesAndItems) {
    const auto data = load(SmallEdition());
    EXPECT_EQ(data->order_slot_count(), 1);
    EXPECT_EQ(data->order_of_slot(1), 2);
    EXPECT_EQ(data->offered_orders(), (std::vector<int>{1, 2}));
    // Rheidae got no species: it is not part of the order.
    EXPECT_EQ(names(*data, 2), (QStringList{"Furnariidae", "Tinamidae"}));
    EXPECT_EQ(data->family_count(2), 2);
    EXPECT_EQ(data->first_family(2)->common_name, "Ovenbirds");
    EXPECT_EQ(data->first_family(2)->order, 2);
    const Tfamily* tinamidae2 = data->first_family(2)->next;
    EXPECT_EQ(speciesOf(*tinamidae2), (QStringList{"Crypturellus tataupa", "Tinamus tao"}));
    const Tspecies* tao = data->species_by_unique_id(20020);
    EXPECT_EQ(tao->position(2), 3);
    EXPECT_EQ(tao->family(2), tinamidae2);
    EXPECT_EQ(tao->position(3), -1);
    EXPECT_TRUE(data->order_complete(2));

    // In order 2 the hornero (position 0) sounds first in the shared cut.
    const Tcutpart* file = data->cut_part_by_key("1207B0003A");
    ASSERT_NE(file->first_item(2), nullptr);
    EXPECT_EQ(file->first_item(2)->species->unique_id, 30001);
    EXPECT_EQ(file->first_item(2)->next_of_cut_part(2)->species, tao);
    EXPECT_EQ(file->first_item(2)->next_of_cut_part(2)->next_of_cut_part(2), nullptr);
}

TEST_F(LoadSteps, OrdersNameTheirNumbersAndCompleteness) {
    SmallEdition e;
    e.files["syst_ord.txt"] =
        "@#[ORDERS]\nSibley&Monroe\nMy own order\n"
        "@#[FAMILIES_1]\nTinamidae,Tinamous\n@#[SPECIES_1]\n1,20020\n"
        "@#[FAMILIES_2]\nTinamidae,Tinamous\nFurnariidae,Ovenbirds\n"
        "@#[SPECIES_2]\n1,20020\n1,20123\n2,30001\n1,20123\n";
    const auto data = load(e);
    EXPECT_EQ(data->offered_orders(), (std::vector<int>{1, 3, 4}));
    EXPECT_FALSE(data->order_complete(3));
    EXPECT_TRUE(data->order_complete(4));
    EXPECT_TRUE(data->order_complete(1));
    EXPECT_EQ(data->species_by_unique_id(20123)->position(3), -1);
    // A species listed twice keeps its first place.
    EXPECT_EQ(data->species_by_unique_id(20123)->position(4), 1);
    EXPECT_EQ(speciesOf(*data->first_family(4)),
              (QStringList{"Tinamus tao", "Crypturellus tataupa"}));

    EXPECT_TRUE(data->warn_if_order_incomplete(3));
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_EQ(script.messages()[0].caption, "Warning");
    EXPECT_EQ(script.messages()[0].style, 0);
    EXPECT_EQ(script.lastMessage(),
              "There is at least one species not in the Sibley and Monroe order.");
    EXPECT_FALSE(data->warn_if_order_incomplete(4));
    EXPECT_FALSE(data->warn_if_order_incomplete(1));
    EXPECT_EQ(script.messages().size(), 1u);
}
