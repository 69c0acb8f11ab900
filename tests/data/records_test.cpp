// Display texts of the records and the marked-up text conversion.

#include "data/markup.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "small_edition.h"

namespace {

class DataRecords : public data_testing::DataTest {};

Tlocality locality(const QString& name, int latitude, int longitude) {
    Tlocality l;
    l.name = name;
    l.latitude = latitude;
    l.longitude = longitude;
    return l;
}

}  // namespace

TEST_F(DataRecords, MarkedUpTagsBecomeControlCodes) {
    EXPECT_EQ(GLB_marked_up_text("a <I>b</i> <b>c</B> <u>d</U>"), QStringLiteral("a \x0b"
                                                                                 "b\x0b \x0c"
                                                                                 "c\x0c \x0d"
                                                                                 "d\x0d"));
    // An unclosed run is closed at the end of the text.
    EXPECT_EQ(GLB_marked_up_text("<I>open"), QStringLiteral("\x0bopen\x0b"));
    EXPECT_EQ(GLB_marked_up_text("<I>a</I> <I>b"), QStringLiteral("\x0b"
                                                                  "a\x0b \x0b"
                                                                  "b\x0b"));
    EXPECT_EQ(GLB_marked_up_text("1 < 2 <X>"), "1 < 2 <X>");
}

TEST_F(DataRecords, SubspeciesNamesAndLines) {
    Tsubspecies ssp;
    ssp.name = "kleei";
    EXPECT_EQ(ssp.list_name(), QStringLiteral("\x0bkleei\x0b"));
    ssp.name = "unnamed form";
    EXPECT_EQ(ssp.list_name(), "unnamed form");
    ssp.name = "Undescribed Taxon";
    EXPECT_EQ(ssp.display_name(), "Undescribed Taxon");
    useEdition(1012);
    EXPECT_EQ(ssp.display_name(), "taxon no descrito");
    useEdition(1011);

    Tsubspecies kleei;
    kleei.name = "kleei";
    QString text = "Song. ";
    Tssp_data{&kleei, false}.append_line(text, true);
    EXPECT_EQ(text, "Song. subspecies kleei.");
    text.clear();
    Tssp_data{&kleei, true}.append_line(text, true);
    EXPECT_EQ(text, "subspecies kleei (Provisional).");
    text.clear();
    Tssp_data{nullptr, false}.append_line(text, true);
    EXPECT_EQ(text, "subspecies error with subspecies name.");
    text.clear();
    Tssp_data{&kleei, true}.append_line(text, false);
    EXPECT_EQ(text, "possibly a subspecies.");
    text.clear();
    Tssp_data{&kleei, false}.append_line(text, false);
    EXPECT_EQ(text, "");
}

TEST_F(DataRecords, AbbreviatedNamesAndFileStems) {
    Tspecies s;
    s.scientific_name = "tinamus Tao";
    EXPECT_EQ(s.abbreviated_name(), "T. t.");
    s.scientific_name = "?? tao";
    EXPECT_EQ(s.abbreviated_name(), "?? t.");
    s.scientific_name = "Tinamus ??";
    EXPECT_EQ(s.abbreviated_name(), "T. ??");
    s.scientific_name = "Tinamus";
    EXPECT_EQ(s.abbreviated_name(), "T.");

    s.family_folder_name = "THAMNOPHILIDAE";
    s.unique_id = 20020;
    s.alternative_id = 40363;
    EXPECT_EQ(s.file_name_stem(), "THAMNOPH.ILI/20020");
    s.family_folder_name = "TINAMIDA";
    EXPECT_EQ(s.file_name_stem(), "TINAMIDA/20020");
    useEdition(1301);
    EXPECT_EQ(s.file_name_stem(), "TINAMIDA/40305");
    s.alternative_id = 79132;
    EXPECT_EQ(s.file_name_stem(), "TINAMIDA/79080");
    s.alternative_id = 12345;
    EXPECT_EQ(s.file_name_stem(), "TINAMIDA/12345");
}

TEST_F(DataRecords, CutPartTexts) {
    Tcutpart c;
    c.recording_number = 1207;
    c.first_letter = u'B';
    c.part_number = 3;
    c.second_letter = u'A';
    c.compression_number = 2;
    EXPECT_EQ(c.catalogue_text(), "01207B00003A");
    EXPECT_EQ(c.sound_file_name(), "1207/B03A_MF.WAV");
    c.recording_number = 5;
    c.second_letter = u' ';
    c.compression_number = 0;
    EXPECT_EQ(c.sound_file_name(), "05/B03.WAV");
    c.compression_number = 8;
    c.first_letter = u' ';
    c.part_number = 123;
    EXPECT_EQ(c.sound_file_name(), "05/123_WH.WMA");
    c.compression_number = 42;  // outside the table: a plain WAV file
    EXPECT_EQ(c.sound_file_name(), "05/123.WAV");
    c.is_sound_file = false;
    EXPECT_EQ(c.sound_file_name(), "");
}

TEST_F(DataRecords, AudioCdFingerprint) {
    TaudioCD cd;
    cd.name = "Voices of the Yungas, disc 1";
    EXPECT_EQ(cd.fingerprint(), "*es of the Yunga Yungas, disc 1*");
    cd.name = "Short";
    EXPECT_EQ(cd.fingerprint(), "*tShort*");
}

TEST_F(DataRecords, LocalityTexts) {
    Tlocality manu = locality("Manu", -72345, -422130);
    manu.latitude_seconds_given = true;
    manu.prefix = "near";
    EXPECT_EQ(manu.display_text(true), "near Manu");
    manu.region = "Madre de Dios";
    manu.country = "Peru";
    EXPECT_EQ(manu.display_text(true), "near Manu (Madre de Dios, Peru).");
    EXPECT_EQ(manu.display_text(false), "near Manu");
    manu.region.clear();
    EXPECT_EQ(manu.display_text(true), "near Manu (Peru).");
    EXPECT_EQ(manu.coordinates_text(), QStringLiteral("12°03'45'' S, 70°21' W"));
    EXPECT_EQ(locality("X", 100, 6000).coordinates_text(), QStringLiteral("0°01' N, 1°00' E"));

    // A locality named ZERO LOCATION has no text, whatever its coordinates.
    EXPECT_EQ(locality("Zero Location", 100, 100).display_text(true), "");
    EXPECT_FALSE(locality("zero location", 100, 100).has_coordinates());
    EXPECT_FALSE(locality("Manu", 0, 0).has_coordinates());
    EXPECT_TRUE(locality("Manu", 0, 1).has_coordinates());
}

TEST_F(DataRecords, RegionWordsByCountryAndEdition) {
    Tlocality l = locality("X", 1, 1);
    EXPECT_EQ(l.region_word(), "");
    l.region = "Beni";
    l.country = "Bolivia";
    EXPECT_EQ(l.region_word(), "department");
    l.country = "Ecuador";
    EXPECT_EQ(l.region_word(), "province");
    l.country = "Brasil";
    EXPECT_EQ(l.region_word(), "state");
    l.country = "Venezuela";
    EXPECT_EQ(l.region_word(), "state");
    useEdition(1061);
    l.country = "Thailand";
    EXPECT_EQ(l.region_word(), "district");
}

TEST_F(DataRecords, AnimalClassesAndTheirNames) {
    Tfamily empty;
    EXPECT_EQ(empty.animal_class(), animal_class::None);
    Tspecies frog;
    frog.is_amphibian = true;
    frog.is_mammal = true;  // the amphibian flag decides first
    Tfamily frogs;
    frogs.first_species = &frog;
    EXPECT_EQ(frogs.animal_class(), animal_class::Amphibians);
    EXPECT_EQ(Tspecies().animal_class(), animal_class::Birds);
    EXPECT_EQ(Tdata::class_name(6), "Frogs and Toads");
    useEdition(1012);
    EXPECT_EQ(Tdata::class_name(4), QStringLiteral("Mamíferos"));
    EXPECT_EQ(Tdata::class_name(6), "Ranas y Sapos");
}

TEST_F(DataRecords, LiteratureTextInSpanish) {
    useEdition(1012);
    const auto data = load(data_testing::SmallEdition());
    EXPECT_EQ(data->literature_text(*data->species_by_unique_id(20020)).section(u'\n', 0, 0),
              "Voice en Smith (1990) Tinamous.");
    EXPECT_EQ(data->literature_text(*data->species_by_unique_id(20123)), "");
}

TEST_F(DataRecords, SmallPictureFlagsAreClearedForTheWholeDatabase) {
    const auto data = load(data_testing::SmallEdition());
    for (const Tspecies* s : data->species_by_id_text()) s->small_picture_missing = true;
    data->clear_small_picture_missing_flags();
    for (const Tspecies* s : data->species_by_id_text()) EXPECT_FALSE(s->small_picture_missing);
}
