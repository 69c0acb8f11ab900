// The edition-dependent rules of loading, each on the small edition with
// the lines that rule reads changed to suit it.

#include "data/media_records.h"
#include "data/species_database.h"
#include "data/areas.h"
#include "small_edition.h"

using data_testing::SmallEdition;

namespace {

class LoadEditions : public data_testing::DataTest {
  protected:
    // The small edition with the three distribution lines replaced.
    static SmallEdition withDistributions(const QString& tao, const QString& tataupa,
                                          const QString& rufus) {
        SmallEdition e;
        e.replace("names_sc.txt", "T(vu)\nPE-BO-BR\n", "T(vu)\n" + tao + "\n");
        e.replace("names_sc.txt", "C,\nPA-AR\n", "C,\n" + tataupa + "\n");
        e.replace("names_sc.txt", "----Main)\nAR\n", "----Main)\n" + rufus + "\n");
        return e;
    }
    std::unique_ptr<Tdata> loadFor(int product, const SmallEdition& e) {
        useEdition(product);
        return load(e);
    }
    bool present(const Tdata& d, int id) { return d.species_by_unique_id(id)->present_in_region; }
    QString area(const Tdata& d, int id) {
        const TArea* a = d.species_by_unique_id(id)->distribution.get();
        return a ? a->selection_text() : QStringLiteral("none");
    }
};

}  // namespace

TEST_F(LoadEditions, Edition101ParsesRegionAreas) {
    const auto d = loadFor(1011, SmallEdition());
    EXPECT_TRUE(present(*d, 30001));
    EXPECT_EQ(area(*d, 20123), "PA-AR");
    EXPECT_NE(
        dynamic_cast<const TBoliviaEtcArea*>(d->species_by_unique_id(20123)->distribution.get()),
        nullptr);
}

TEST_F(LoadEditions, Edition104CountsOnSpeciesNumbers) {
    SmallEdition e;
    e.replace("names_sc.txt", "32 20020", "52000 20020");
    e.replace("names_sc.txt", "58 20123", "55501 20123");
    const auto d = loadFor(1041, e);
    EXPECT_TRUE(present(*d, 20020));
    EXPECT_FALSE(present(*d, 20123));
    EXPECT_FALSE(present(*d, 30001));
    EXPECT_EQ(area(*d, 20020), "none");
}

TEST_F(LoadEditions, Edition106ParsesTropicalAsia) {
    const auto d = loadFor(1061, withDistributions("IN-TH", "LE-SW", ""));
    EXPECT_TRUE(present(*d, 30001));
    EXPECT_EQ(area(*d, 20020), "IN-TH");
    EXPECT_EQ(area(*d, 20123), "LE-SW");
    EXPECT_EQ(area(*d, 30001), "");
}

TEST_F(LoadEditions, Edition108AndOthersShowEverySpecies) {
    for (int product : {1081, 1021, 1161}) {
        const auto d = loadFor(product, withDistributions("", "xyz", "-"));
        EXPECT_TRUE(present(*d, 20020)) << product;
        EXPECT_TRUE(present(*d, 20123)) << product;
        EXPECT_EQ(area(*d, 20123), "none");
    }
}

TEST_F(LoadEditions, Edition109DropsTheUsaMarkAndForcesFlagE) {
    const auto d = loadFor(1091, SmallEdition());
    EXPECT_EQ(d->cut_part_by_key("1207B0003A")->text_1, "Shotgun.");
    EXPECT_TRUE(d->species_by_unique_id(20123)->flag_e);
    useEdition(1011);
    const auto other = load(SmallEdition());
    EXPECT_EQ(other->cut_part_by_key("1207B0003A")->text_1, "Shotgun (USA).");
    EXPECT_FALSE(other->species_by_unique_id(20123)->flag_e);
}

TEST_F(LoadEditions, Edition111CountryAreaAndMapFlagOnly) {
    SmallEdition e = withDistributions("V", "O", "VO");
    e.replace("names_sc.txt", "D(\"ANDES_MAP\"", "D(\"NO_SUCH_MAP\"");
    const auto d = loadFor(1111, e);
    const Tspecies* tao = d->species_by_unique_id(20020);
    EXPECT_TRUE(tao->has_map);
    EXPECT_EQ(tao->map_reference_count, 0);
    EXPECT_TRUE(tao->has_distribution_map());
    EXPECT_TRUE(present(*d, 20020));
    EXPECT_FALSE(present(*d, 20123));
    EXPECT_EQ(area(*d, 20020), "IN");
    EXPECT_EQ(area(*d, 20123), "OU");
    EXPECT_EQ(area(*d, 30001), "IN-OU");
}

TEST_F(LoadEditions, Edition112IgnoresMapsAndCountsOnCOrP) {
    SmallEdition e = withDistributions("C", "P", "X");
    e.replace("names_sc.txt", "D(\"ANDES_MAP\"", "D(\"NO_SUCH_MAP\"");
    const auto d = loadFor(1121, e);
    EXPECT_FALSE(d->species_by_unique_id(20020)->has_distribution_map());
    EXPECT_TRUE(present(*d, 20020));
    EXPECT_TRUE(present(*d, 20123));
    EXPECT_FALSE(present(*d, 30001));
    EXPECT_EQ(area(*d, 20020), "none");
}

TEST_F(LoadEditions, Edition113And114) {
    const auto mexico = loadFor(1131, withDistributions("M", "MO", "O"));
    EXPECT_TRUE(present(*mexico, 20020));
    EXPECT_FALSE(present(*mexico, 30001));
    EXPECT_EQ(area(*mexico, 20123), "IN-OU");

    // Edition 114 asks the flag letters for "L".
    SmallEdition e = withDistributions("B", "BO", "O");
    e.replace("names_sc.txt", "C,\nBO", "CL,\nBO");
    const auto brazil = loadFor(1141, e);
    EXPECT_FALSE(present(*brazil, 20020));
    EXPECT_TRUE(present(*brazil, 20123));
    EXPECT_EQ(area(*brazil, 20020), "IN");
    EXPECT_EQ(area(*brazil, 20123), "IN-OU");
}

TEST_F(LoadEditions, Editions115And120CountOnSpeciesNumbersBelowAMillion) {
    SmallEdition e = withDistributions("E", "EO", "A");
    e.replace("names_sc.txt", "58 20123", "1000000 20123");
    for (int product : {1151, 1201}) {
        const auto d = loadFor(product, e);
        EXPECT_TRUE(present(*d, 20020)) << product;
        EXPECT_FALSE(present(*d, 20123)) << product;
    }
    EXPECT_EQ(area(*loadFor(1201, e), 30001), "IN");
    EXPECT_EQ(area(*loadFor(1151, e), 20123), "IN-OU");
}

TEST_F(LoadEditions, Edition130ReadsAlternativeIdentifiers) {
    SmallEdition e = withDistributions("BO", "PE-BO", "PE");
    // Line 7 is the alternative identifier; subspecies follow it.
    e.replace("names_sc.txt", "1,Voice%$#fgd&2,Nest\nkleei\n",
              "1,Voice%$#fgd&2,Nest\n49002\nkleei\n");
    e.replace("names_sc.txt", "C,\nPE-BO\n\n\n\n", "C,\nPE-BO\n\n\n56780\nnorth\n\n");
    const auto d = loadFor(1301, e);
    const Tspecies* tao = d->species_by_unique_id(20020);
    EXPECT_EQ(tao->alternative_id, 49002);
    EXPECT_EQ(tao->file_name_stem(), "TINAMIDA.E/49400");
    EXPECT_EQ(tao->subspecies_count, 2);
    EXPECT_EQ(tao->first_subspecies->name, "kleei");
    const Tspecies* tataupa = d->species_by_unique_id(20123);
    EXPECT_EQ(tataupa->alternative_id, 56780);
    EXPECT_EQ(tataupa->subspecies_count, 1);
    EXPECT_TRUE(present(*d, 20020));
    EXPECT_TRUE(present(*d, 20123));
    EXPECT_FALSE(present(*d, 30001));
    EXPECT_EQ(area(*d, 20020), "IN");
    EXPECT_EQ(area(*d, 20123), "IN-OU");
    EXPECT_EQ(area(*d, 30001), "OU");
}
