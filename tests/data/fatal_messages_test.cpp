// Every inconsistency of the data files ends the load with a load error that
// carries its message (start-up shows it as the fatal message); malformed
// input the files' rules do not name ends cleanly too, or takes a sound value.

#include "data/media_records.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "small_edition.h"

#include <stdexcept>

using data_testing::SmallEdition;

namespace {

class LoadFatal : public data_testing::DataTest {
  protected:
    // The message of the load error the load stops with.
    QString stopOf(const SmallEdition& e) {
        const QString message = fatalOf(e);
        EXPECT_FALSE(message.isEmpty()) << "the load did not stop";
        return message;
    }
    QString stopAfter(const QString& file, const QString& from, const QString& to) {
        SmallEdition e;
        e.replace(file, from, to);
        return stopOf(e);
    }
    QString corrupt(const char* file, int number, const QString& hint) {
        return QString::fromLatin1(file) + " corrupt! Error " + QString::number(number) +
               "\nhint: \"" + hint + "\"";
    }
};

constexpr const char* kCdPart = "CD track 3 offset 12345 length 600 selected 1";

}  // namespace

TEST_F(LoadFatal, MissingFilesAndSections) {
    for (const char* name :
         {"mapsdata.txt", "people.txt", "names_sc.txt", "taxa.txt", "locality.txt",
          "othermedia.txt", "cutparts.txt", "cupaitem.txt", "syst_ord.txt"}) {
        SmallEdition e;
        e.files.erase(name);
        QFile::remove(dir.file(name));
        EXPECT_EQ(stopOf(e), "File \"" + dir.file(name) + "\" could not be loaded!") << name;
    }
    EXPECT_EQ(stopAfter("names_sc.txt", "@#[LIT. REFERENCES]", "@#[LITERATURE]"),
              "In the data file " + dir.file("names_sc.txt") +
                  "\nthe section \"@#[LIT. REFERENCES]\" is missing.");
    EXPECT_EQ(stopAfter("names_sc.txt", "@#[FAMILIES]", "@#[FAMILIEZ]"),
              "In the data file " + dir.file("names_sc.txt") +
                  "\nthe section \"@#[FAMILIES]\" is missing.");
    EXPECT_EQ(
        stopAfter("taxa.txt", "@#[SPECIES 2]", "@#[SPECIES 3]"),
        "In the data file " + dir.file("taxa.txt") + "\nthe section \"@#[SPECIES 2]\" is missing.");
    EXPECT_EQ(stopAfter("syst_ord.txt", "@#[SPECIES_1]", "@#[SPECIES 1]"),
              "In the data file " + dir.file("syst_ord.txt") +
                  "\nthe section \"@#[SPECIES_1]\" is missing.");
}

// Each named inconsistency: the file, the text replaced, its replacement and
// the message the load ends with.
struct TStop {
    const char* file;
    const char* from;
    const char* to;
    QString message;
};

TEST_F(LoadFatal, EveryNamedInconsistencyStopsWithItsMessage) {
    const QString twice = "Error in distribution data for Crypturellus tataupa: ";
    const QString noMap = "Inconsistency in the file with scientific names: can't find map!";
    const QString converting = "Error occured when converting ";
    const std::vector<TStop> stops{
        {"names_sc.txt", "32 20020", "3x 20020", converting + "species ID!"},
        {"names_sc.txt", "32 20020", "32 2oo2o", converting + "unique ID!"},
        {"names_sc.txt", "32 20020", "32", converting + "unique ID!"},
        {"names_sc.txt", "32 20020", "32 99999999999", converting + "unique ID!"},
        {"names_sc.txt", "D(\"ANDES_MAP\"", "D(\"ALPS_MAP\"", noMap},
        {"names_sc.txt", "\"ANDES_MAP\" ----Main)\nAR", "\"ALPS\" ----Main)\nAR", noMap},
        {"names_sc.txt", "PA-AR", "PA-PA", twice + "item \"PA\" occurs twice!"},
        {"names_sc.txt", "PA-AR", "PA-ZZ", twice + "item \"ZZ\" is invalid!"},
        {"names_sc.txt", "PA-AR", "PA/AR", twice + "missing \"-\""},
        {"big_pict.txt", "20020", "20021",
         "Serious error when reading data, unique ID in big_pict.txt not found in species list!"},
        {"big_pict.txt", "Bruno Fotografo", "Bruno", "Inconsistency in file \"big_pict.txt\"!"},
        {"big_pict.txt", "19990101\nPE-MANU", "19990101\nPE-LIMA",
         corrupt("cutparts.txt", 1, "PE-LIMA")},
        {"othermedia.txt", "@#[]\n801", "@#[]\n80l", converting + "audio CD \"tape\" number!"},
        {"cutparts.txt", "1207B0003A\n2\n", "1207B0003A\nMP3\n",
         converting + "compression number!"},
        {"cutparts.txt", "801A0001", "802A0001", corrupt("cutparts.txt", 3, "802A0001")},
        {"cutparts.txt", kCdPart, "CD 3", corrupt("cutparts.txt", 4, "801A0001")},
        {"cutparts.txt", kCdPart, "CD track xx", converting + "audio CD track number!"},
        {"cutparts.txt", kCdPart, "CD track 3 offset -", converting + "offset on audio CD track!"},
        {"cutparts.txt", kCdPart, "CD track 3 length",
         converting + "length of recording on audio CD track!"},
        {"cutparts.txt", kCdPart, "CD track 3 selected yes",
         converting + "cutpart selected on audio CD track!"},
        {"cutparts.txt", "20000911\nPE-MANU", "20000911\n", "Locality is empty string!?"},
        {"cutparts.txt", "20000911\nPE-MANU", "20000911\nPE-NOWHERE",
         corrupt("cutparts.txt", 1, "PE-NOWHERE")},
        {"cutparts.txt", "Ana Recordista\nShotgun", "Ana\nShotgun",
         corrupt("cutparts.txt", 2, "Ana")},
        {"cupaitem.txt", "@#[1_2]", "@#[1_3]", corrupt("cupaitem.txt", 1, "Crypturellus tataupa")},
        // Fewer than nine lines hold no item: the section counts as empty.
        {"cupaitem.txt", "@#[2_1]\n30\nC\n100\n\nAlarm.\n\n\n\n1207B0003A\n", "@#[2_1]\n",
         corrupt("cupaitem.txt", 1, "Furnarius rufus")},
        {"cupaitem.txt", "\n15A12\n", "\n16A12\n",
         corrupt("cupaitem.txt", 2, "Crypturellus tataupa")},
        {"syst_ord.txt", "3,20123", "three,20123",
         "Error in file \"syst_ord.txt\": error converting family nr"},
    };
    for (const TStop& stop : stops)
        EXPECT_EQ(stopAfter(stop.file, stop.from, stop.to), stop.message) << stop.to;
}

TEST_F(LoadFatal, SpanishAndDutchReports) {
    useEdition(1012);
    EXPECT_EQ(stopAfter("cutparts.txt", "Ana Recordista\nShotgun", "Ana\nShotgun"),
              "cutparts.txt corrupto! Error 2\nhint: \"Ana\"");
}

TEST_F(LoadFatal, NumbersBeyondThirtyTwoBitsAndOutOfRangeReferences) {
    EXPECT_EQ(stopAfter("cutparts.txt", "1207B0003A\n2", "99999999999B0003A\n2"),
              "Error in file \"cutparts.txt\": the recording number of \"99999999999B0003A\" is "
              "too large!");
    EXPECT_EQ(stopAfter("syst_ord.txt", "3,20123", "4,20123"),
              "Error in file \"syst_ord.txt\": family nr 4 of section SPECIES_1 does not exist");
    EXPECT_EQ(stopAfter("syst_ord.txt", "3,20123", "0,20123"),
              "Error in file \"syst_ord.txt\": family nr 0 of section SPECIES_1 does not exist");
}

TEST_F(LoadFatal, SoundValuesForUnreadableFieldsTheFilesDoNotName) {
    SmallEdition e;
    e.replace("cutparts.txt", "1207B0003A\n2\n50\n1630\n20000911",
              "1207B0003A\n2\n99999999999\n16x0\nsoon");
    e.replace("cupaitem.txt", "10\nA\n64", "10\nA\n300");
    e.replace("mapsdata.txt", "ANDES_MAP\n3\n-80.5,-60,-25.25,0", "ANDES_MAP\nthree\n-80.5,x");
    e.replace("locality.txt", "-0072345D-0422130N", "-00723");
    e.replace("names_sc.txt", "1,Voice%$#fgd&2,Nest", "x,Voice%$#fgd&%$#fgd&7,Nest");
    const auto data = load(e);
    const Tcutpart* c = data->cut_part_by_key("1207B0003A");
    EXPECT_EQ(c->length, 99000);  // too large for 32 bits: unreadable, below one second
    EXPECT_EQ(c->number_4, -1);
    EXPECT_EQ(c->date, -1);
    EXPECT_EQ(data->species_by_unique_id(20020)->first_item->percentage, 100);
    const Tmap_data* map = data->map_by_name("ANDES_MAP");
    EXPECT_EQ(map->number, 0);
    EXPECT_EQ(map->bounds, (std::array<double, 4>{-80.5, 0, 0, 0}));
    const Tlocality* l = data->locality_by_key("PE-MANU");
    EXPECT_EQ(l->latitude, -723);
    EXPECT_EQ(l->longitude, 0);
    const Tspecies* tao = data->species_by_unique_id(20020);
    ASSERT_EQ(tao->literature.size(), 2u);
    EXPECT_EQ(tao->literature[0].reference, 0);
    EXPECT_EQ(data->literature_reference(tao->literature[1].reference), "");
}

TEST_F(LoadFatal, TruncatedRecordsReadMissingLinesAsEmpty) {
    SmallEdition e;
    // The last picture record ends after its photographer.
    e.files["big_pict.txt"] += "@#[]\n20123\n\nBruno Fotografo";
    e.files["people.txt"] += "@#[]\nCarla";
    const auto data = load(e);
    const Tbig_picture* p = data->species_by_unique_id(20123)->first_picture;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->date, -1);
    EXPECT_EQ(p->locality, nullptr);
    EXPECT_TRUE(p->text.isEmpty());
    EXPECT_EQ(data->person_by_name("Carla")->text_3, "");

    // A block cut off after its name has no numbers.
    SmallEdition cut;
    cut.files["names_sc.txt"] += "@#[]\nLastus speciesus";
    cut.replace("names_sc.txt",
                "@#[]\nFurnarius rufus\n900 30001\nACE,D(\"CHACO_MAP\" "
                "Mask----,\"ANDES_MAP\" ----Main)\nAR\n\n\n\n",
                "");
    EXPECT_EQ(stopOf(cut), "Error occured when converting species ID!");
}

TEST_F(LoadFatal, MoreFamiliesThanTheLimitAreLeftUnread) {
    SmallEdition e;
    QString families = "@#[FAMILIES]\n";
    QString taxaFamilies = "@#[FAMILIES]\n";
    QString sections;
    QString taxaSections;
    for (int k = 1; k <= 302; ++k) {
        families += "Family" + QString::number(k) + "\nFOLDER\n";
        taxaFamilies += "F" + QString::number(k) + "\n";
        sections += "@#[SPECIES " + QString::number(k) + "]\n";
        taxaSections += "@#[SPECIES " + QString::number(k) + "]\n";
    }
    e.files["names_sc.txt"] = families + "@#[LIT. REFERENCES]\n" + sections;
    e.files["taxa.txt"] = taxaFamilies + taxaSections;
    e.files["big_pict.txt"] = "";
    e.files["cupaitem.txt"] = "";
    e.files["cutparts.txt"] = "";
    e.files["syst_ord.txt"] = "@#[ORDERS]\n";
    const auto data = load(e);
    EXPECT_EQ(data->family_count(1), 300);
    EXPECT_EQ(data->family_by_index(1, 300)->scientific_name, "Family300");
    EXPECT_EQ(data->family_by_index(1, 301), nullptr);
    EXPECT_EQ(data->offered_orders(), std::vector<int>{1});
}

TEST_F(LoadFatal, BlockLinesBeyondTheLimitAreLeftUnread) {
    SmallEdition e;
    QString subspecies;
    for (int i = 1; i <= 1700; ++i) subspecies += "ssp" + QString::number(i) + "\n";
    e.replace("names_sc.txt", "kleei\ntao-NOT REAL SSP\n\n", subspecies);
    const auto data = load(e);
    // 1600 lines: six before the subspecies.
    EXPECT_EQ(data->species_by_unique_id(20020)->subspecies_count, 1600 - 6);
}

TEST_F(LoadFatal, AHalfLoadedDatabaseIsFreedCleanly) {
    // Stops in every later step leave a database that destroys itself.
    for (const auto& [file, from, to] : std::vector<std::tuple<QString, QString, QString>>{
             {"syst_ord.txt", "3,20123", "x,20123"},
             {"cupaitem.txt", "\n15A12\n", "\n16A12\n"},
             {"cutparts.txt", "Ana Recordista\nShotgun", "Ana\nShotgun"},
             {"names_sc.txt", "PA-AR", "PA-PA"}}) {
        SmallEdition e;
        e.replace(file, from, to);
        e.write(dir);
        auto data = std::make_unique<Tdata>();
        EXPECT_THROW(data->load(), TLoadError);
        EXPECT_FALSE(data->loaded());
        data.reset();
    }
    EXPECT_EQ(GLB_data_or_null(), nullptr);
}

TEST_F(LoadFatal, StartUpStepLoadsTheProcessDatabase) {
    SmallEdition e;
    e.write(dir);
    GLB_load_species_database();
    ASSERT_NE(GLB_data_or_null(), nullptr);
    EXPECT_EQ(GLB_data().species_count(), 3);
    GLB_free_species_database();
    EXPECT_EQ(GLB_data_or_null(), nullptr);
    // The audio CD settings were written when it was freed.
    EXPECT_TRUE(dir.read("Korvelan.ini").contains("Part of short name CD 1"));

    e.replace("people.txt", "Ana Recordista", "Ana");
    e.write(dir);
    EXPECT_THROW(GLB_load_species_database(), TLoadError);
    EXPECT_EQ(GLB_data_or_null(), nullptr);
}

// The database is the start's to load, once: a second load before the end
// frees it is refused without reading a file and keeps the first; a test's
// override comes and goes without counting as a load.
TEST_F(LoadFatal, TheProcessDatabaseIsLoadedOnceUntilTheEndFreesIt) {
    SmallEdition e;
    e.write(dir);
    GLB_load_species_database();
    Tdata* first = GLB_data_or_null();
    ASSERT_NE(first, nullptr);

    e.replace("people.txt", "Ana Recordista", "Ana");
    e.write(dir);
    EXPECT_THROW(GLB_load_species_database(), std::logic_error);
    EXPECT_EQ(GLB_data_or_null(), first);
    {
        auto other = std::make_unique<Tdata>();
        Tdata* otherAddress = other.get();
        const TDataOverride override(std::move(other));
        EXPECT_EQ(GLB_data_or_null(), otherAddress);
        EXPECT_THROW(GLB_load_species_database(), std::logic_error);
    }
    EXPECT_EQ(GLB_data_or_null(), first);

    GLB_free_species_database();
    EXPECT_EQ(GLB_data_or_null(), nullptr);
    // A next start reads the files again (now broken).
    EXPECT_THROW(GLB_load_species_database(), TLoadError);
}

// The start prepares its windows beside the load's last step: it is told
// once, when the loading threads have met and the load is not yet over; a
// load that fails tells nothing.
TEST_F(LoadFatal, TheStartIsToldOnceWhenTheLoadingThreadsHaveMet) {
    SmallEdition e;
    e.write(dir);
    auto data = std::make_unique<Tdata>();
    int told = 0;
    bool loadedWhenTold = true;
    data->load([&] {
        ++told;
        loadedWhenTold = data->loaded();
    });
    EXPECT_EQ(told, 1);
    EXPECT_FALSE(loadedWhenTold);
    EXPECT_TRUE(data->loaded());

    e.replace("cutparts.txt", "1207B0003A\n2\n", "1207B0003A\nMP3\n");
    e.write(dir);
    auto broken = std::make_unique<Tdata>();
    told = 0;
    EXPECT_THROW(broken->load([&] { ++told; }), TLoadError);
    EXPECT_EQ(told, 0);
}

// The taxa and pictures load beside the localities and recordings. Whichever
// of them fails, and however the two threads happen to run, the load stops
// with the first fault in the files' order, after exactly the messages that
// came before it, each shown once.
TEST_F(LoadFatal, SideBySideStepsStopWithTheFirstFaultInFileOrder) {
    SmallEdition bothBroken;
    bothBroken.replace("names_sc.txt", "32 20020", "3x 20020");
    bothBroken.replace("cutparts.txt", "1207B0003A\n2\n", "1207B0003A\nMP3\n");
    for (int run = 0; run < 20; ++run)
        EXPECT_EQ(stopOf(bothBroken), "Error occured when converting species ID!") << run;
    EXPECT_TRUE(script.messages().empty());

    // A picture's unknown subspecies is reported (loading goes on), then a
    // later picture ends the load.
    SmallEdition reportedThenStopped;
    reportedThenStopped.replace("big_pict.txt", "kleei (P)", "nobody");
    reportedThenStopped.files["big_pict.txt"] += "@#[]\n20020\n\nNobody Known\n";
    EXPECT_EQ(stopOf(reportedThenStopped), "Inconsistency in file \"big_pict.txt\"!");
    ASSERT_EQ(script.messages().size(), 1u);
    EXPECT_EQ(script.messages()[0].text, "Error occured with a subspecies \"nobody\"");

    // Without a fault the report comes once as well, and the database is whole.
    SmallEdition reported;
    reported.replace("big_pict.txt", "kleei (P)", "nobody");
    const auto data = load(reported);
    ASSERT_EQ(script.messages().size(), 2u);
    EXPECT_EQ(script.messages()[1].text, "Error occured with a subspecies \"nobody\"");
    EXPECT_TRUE(data->loaded());
    EXPECT_NE(data->species_by_unique_id(20020)->first_picture, nullptr);
    EXPECT_NE(data->cut_part_by_key("1207B0003A"), nullptr);
}
