// Distribution areas: the grammar, its three errors, lenient settings, and
// every class's own answers.

#include "data/areas.h"
#include "small_edition.h"

#include "app/settings.h"

namespace {

class AreaTest : public data_testing::DataTest {};

QString strictError(TArea& area, const QString& text) {
    try {
        area.ParseDistribution(text, "Tinamus tao", true);
    } catch (const TDistributionError& e) {
        return e.message();
    }
    return {};
}

TBoliviaEtcArea bolivia(const QString& text) {
    TBoliviaEtcArea a;
    a.ParseDistribution(text, "x", true);
    return a;
}

// A frame that only remembers its items, as the selection frame will.
class FakeFrame : public TAreaSelectionFrame {
  public:
    explicit FakeFrame(int items) : selected(static_cast<size_t>(items), false) {}
    int item_count() const override { return static_cast<int>(selected.size()); }
    bool item_selected(int i) const override { return selected[static_cast<size_t>(i)]; }
    void set_item_selected(int i, bool s) override { selected[static_cast<size_t>(i)] = s; }
    void repaint_items() override { ++repaints; }
    std::vector<bool> selected;
    int repaints = 0;
};

}  // namespace

TEST_F(AreaTest, GrammarSelectsNamedUnitsInAnyCase) {
    TBoliviaEtcArea a;
    a.ParseDistribution("pe-bo", "x", true);
    EXPECT_EQ(a.selection_text(), "PE-BO");
    TBoliviaEtcArea trailing;
    trailing.ParseDistribution("PE-", "x", true);
    EXPECT_EQ(trailing.selection_text(), "PE");
    TBoliviaEtcArea empty;
    empty.ParseDistribution("", "x", true);
    EXPECT_FALSE(empty.any_selected());
    // Parsing adds to what is selected.
    a.ParseDistribution("OT", "x", true);
    EXPECT_EQ(a.selection_text(), "PE-BO-OT");
}

TEST_F(AreaTest, GrammarErrorsCarryTheirExactMessages) {
    TBoliviaEtcArea a;
    EXPECT_EQ(strictError(a, "PE-XX"),
              "Error in distribution data for Tinamus tao: item \"XX\" is invalid!");
    TBoliviaEtcArea b;
    EXPECT_EQ(strictError(b, "PE-PE"),
              "Error in distribution data for Tinamus tao: item \"PE\" occurs twice!");
    TBoliviaEtcArea c;
    EXPECT_EQ(strictError(c, "PEBO"), "Error in distribution data for Tinamus tao: missing \"-\"");
    TBoliviaEtcArea d;
    EXPECT_EQ(strictError(d, "PE BO"), "Error in distribution data for Tinamus tao: missing \"-\"");
    TBoliviaEtcArea e;
    EXPECT_EQ(strictError(e, "PE-B"),
              "Error in distribution data for Tinamus tao: item \"B\" is invalid!");
}

TEST_F(AreaTest, LenientParsingSelectsEverythingAtTheFirstError) {
    TTropicalAsiaArea a;
    a.ParseDistribution("IN-XX", "", false);
    // SelectAll of this class leaves the four units that are never offered.
    for (int i = 0; i < a.unit_count(); ++i)
        EXPECT_EQ(a.selected(i), !TTropicalAsiaArea::never_selectable(i)) << i;
}

TEST_F(AreaTest, SelectionIsSavedAndLoadedUnderSelectedArea) {
    TBoliviaEtcArea a = bolivia("PA-OT-PE");
    a.SaveSelection("LIST 1");
    EXPECT_EQ(GLB_read_string("LIST 1", "Selected Area", ""), "PE-PA-OT");
    TBoliviaEtcArea b;
    b.LoadSelection("LIST 1");
    EXPECT_EQ(b.selection_text(), "PE-PA-OT");
    TBoliviaEtcArea none;
    none.SaveSelection("LIST 2");
    EXPECT_EQ(GLB_read_string("LIST 2", "Selected Area", "absent"), "");
}

TEST_F(AreaTest, BoliviaEtcKeepsOnlyItsSelectableUnitsWhenLoading) {
    GLB_write_string("A", "Selected Area", "PE-XX");
    TBoliviaEtcArea broken;
    broken.LoadSelection("A");
    EXPECT_EQ(broken.selection_text(), "PE-BO-PA-OT");

    GLB_write_string("B", "Selected Area", "AR-BR");
    TBoliviaEtcArea foreign;
    foreign.LoadSelection("B");
    EXPECT_EQ(foreign.selection_text(), "PE-BO-PA");

    TBoliviaEtcArea absent;
    absent.LoadSelection("NO SUCH SECTION");
    EXPECT_EQ(absent.selection_text(), "PE-BO-PA-OT");

    GLB_write_string("C", "Selected Area", "OT");
    TBoliviaEtcArea other;
    other.LoadSelection("C");
    EXPECT_EQ(other.selection_text(), "OT");
}

TEST_F(AreaTest, BoliviaEtcSharesUnitsThroughOtherCountries) {
    const TBoliviaEtcArea argentina = bolivia("AR");
    EXPECT_TRUE(argentina.SharesUnitWith(bolivia("OT")));
    EXPECT_FALSE(argentina.SharesUnitWith(bolivia("PE-BO-PA")));
    EXPECT_TRUE(bolivia("BO-AR").SharesUnitWith(bolivia("BO")));
    EXPECT_FALSE(bolivia("PE").SharesUnitWith(bolivia("BO-OT")));
    EXPECT_TRUE(bolivia("OT").SharesUnitWith(bolivia("OT")));
    // The base rule: any unit selected in both.
    TTropicalAsiaArea a;
    a.ParseDistribution("IN-TH", "", true);
    TTropicalAsiaArea b;
    b.ParseDistribution("TH", "", true);
    TTropicalAsiaArea c;
    c.ParseDistribution("PH", "", true);
    EXPECT_TRUE(a.SharesUnitWith(b));
    EXPECT_FALSE(a.SharesUnitWith(c));
}

TEST_F(AreaTest, BoliviaEtcMainCountryQuestions) {
    EXPECT_TRUE(bolivia("BR-PA").SharesMainCountryWith(bolivia("PA")));
    EXPECT_FALSE(bolivia("BR-AR").SharesMainCountryWith(bolivia("PE-BO-PA-OT")));
    EXPECT_TRUE(bolivia("OT").NoMainCountrySelected());
    EXPECT_FALSE(bolivia("PE-OT").NoMainCountrySelected());
    EXPECT_TRUE(bolivia("PE-OT").OtherCountriesSelected());
    EXPECT_TRUE(bolivia("AR").OtherCountriesSelected());
    EXPECT_FALSE(bolivia("PE-BO-PA").OtherCountriesSelected());
    // The base class knows no main countries.
    TTropicalAsiaArea asia;
    EXPECT_TRUE(asia.SharesMainCountryWith(asia));
    EXPECT_FALSE(asia.NoMainCountrySelected());
    EXPECT_FALSE(asia.OtherCountriesSelected());
}

TEST_F(AreaTest, BoliviaEtcNamesItsCountries) {
    EXPECT_TRUE(bolivia("BO").IsSingleCountry());
    EXPECT_FALSE(bolivia("BO").IsNotSingleCountry());
    EXPECT_FALSE(bolivia("OT").IsSingleCountry());
    EXPECT_FALSE(bolivia("PE-BO").IsSingleCountry());
    QString name;
    bolivia("PE").SingleCountryName(name);
    EXPECT_EQ(name, "Peru");
    bolivia("PE-BR").SelectedNames(name);
    EXPECT_EQ(name, "Peru, Brazil");
    useEdition(1012);
    bolivia("PE-BR-OT").SelectedNames(name);
    EXPECT_EQ(name, QStringLiteral("Perú, Brasil, otros paises"));
    bolivia("PE-BO").SingleCountryName(name);  // the last selected
    EXPECT_EQ(name, "Bolivia");

    const TBoliviaEtcArea peru = bolivia("PE-PA");
    EXPECT_TRUE(peru.CountryNameSelected(QStringLiteral("Perú")));
    EXPECT_TRUE(peru.CountryNameSelected("peru"));
    EXPECT_TRUE(peru.CountryNameSelected("paraguay"));
    EXPECT_FALSE(peru.CountryNameSelected("Bolivia"));
    EXPECT_FALSE(peru.CountryNameSelected("Paraguay del Sur"));
    EXPECT_FALSE(bolivia("AR").CountryNameSelected("Argentina"));
}

TEST_F(AreaTest, TropicalAsiaNeverOffersFourUnits) {
    TTropicalAsiaArea a;
    a.SelectAll();
    EXPECT_FALSE(a.selected(TTropicalAsiaArea::LE));
    EXPECT_FALSE(a.selected(TTropicalAsiaArea::MO));
    EXPECT_TRUE(a.selected(TTropicalAsiaArea::PH));
    // They may still occur in a taxon's distribution.
    TTropicalAsiaArea taxon;
    taxon.ParseDistribution("SW-HA", "", true);
    EXPECT_EQ(taxon.selection_text(), "SW-HA");
    EXPECT_FALSE(taxon.SharesUnitWith(a));
}

TEST_F(AreaTest, CountryAreaStrictRuleByEdition) {
    TCountryArea venezuela(111);
    venezuela.ParseDistribution("v,o", "", true);
    EXPECT_EQ(venezuela.selection_text(), "IN-OU");
    TCountryArea inside(113);
    inside.ParseDistribution("xM", "", true);
    EXPECT_EQ(inside.selection_text(), "IN");
    EXPECT_TRUE(inside.IsSingleCountry());
    EXPECT_FALSE(inside.IsNotSingleCountry());

    TCountryArea boliviaOnly(130);
    boliviaOnly.ParseDistribution("BO", "", true);
    EXPECT_EQ(boliviaOnly.selection_text(), "IN");
    TCountryArea boliviaAndMore(130);
    boliviaAndMore.ParseDistribution("BO-PE", "", true);
    EXPECT_EQ(boliviaAndMore.selection_text(), "IN-OU");
    EXPECT_FALSE(boliviaAndMore.IsSingleCountry());
    EXPECT_FALSE(boliviaAndMore.IsNotSingleCountry());  // never, for this class
    TCountryArea outside(130);
    outside.ParseDistribution("PE", "", true);
    EXPECT_EQ(outside.selection_text(), "OU");

    // Lenient parsing uses the common grammar.
    TCountryArea lenient(114);
    lenient.ParseDistribution("IN", "", false);
    EXPECT_EQ(lenient.selection_text(), "IN");
    lenient.ParseDistribution("B", "", false);
    EXPECT_EQ(lenient.selection_text(), "IN-OU");
}

TEST_F(AreaTest, CountryAreaIgnoresTheStoredSelection) {
    GLB_write_string("L", "Selected Area", "OU");
    TCountryArea a(120);
    a.LoadSelection("L");
    EXPECT_EQ(a.selection_text(), "IN");
    EXPECT_EQ(a.country_letters(), "A");
}

TEST_F(AreaTest, EditionsChooseTheirAreaClass) {
    EXPECT_NE(dynamic_cast<TBoliviaEtcArea*>(TArea::create_for_edition(101).get()), nullptr);
    EXPECT_NE(dynamic_cast<TTropicalAsiaArea*>(TArea::create_for_edition(106).get()), nullptr);
    for (int code : {111, 113, 114, 115, 120, 130})
        EXPECT_NE(dynamic_cast<TCountryArea*>(TArea::create_for_edition(code).get()), nullptr);
    for (int code : {102, 103, 104, 105, 107, 108, 109, 110, 112, 116})
        EXPECT_EQ(TArea::create_for_edition(code), nullptr);
}

TEST_F(AreaTest, FramesAreLoadedReadAndCompared) {
    TBoliviaEtcArea a = bolivia("PE-OT");
    FakeFrame frame(a.unit_count());
    a.LoadIntoFrame(frame);
    EXPECT_TRUE(frame.selected[TBoliviaEtcArea::PE]);
    EXPECT_TRUE(frame.selected[TBoliviaEtcArea::OT]);
    EXPECT_EQ(frame.repaints, 1);
    EXPECT_FALSE(a.FrameChanged(frame));
    frame.selected[TBoliviaEtcArea::BO] = true;
    EXPECT_TRUE(a.FrameChanged(frame));
    a.ReadFromFrame(frame);
    EXPECT_EQ(a.selection_text(), "PE-BO-OT");
    EXPECT_TRUE(script.messages().empty());

    FakeFrame wrong(3);
    a.LoadIntoFrame(wrong);
    a.ReadFromFrame(wrong);
    EXPECT_EQ(a.selection_text(), "PE-BO-OT");
    ASSERT_EQ(script.messages().size(), 2u);
    EXPECT_EQ(script.lastMessage(), "Programming error 12730, tell Marvek");
    EXPECT_EQ(script.messages()[0].style, 16);
}

TEST_F(AreaTest, EachAreaNamesTheFrameItsSelectionIsChosenIn) {
    // The options dialog makes the frame of this kind; a clone (a filter's
    // copy) keeps it.
    const std::unique_ptr<TArea> bolivia = TArea::create_for_edition(101);
    EXPECT_EQ(bolivia->frame_kind(), TAreaFrameKind::BoliviaEtc);
    EXPECT_EQ(bolivia->clone()->frame_kind(), TAreaFrameKind::BoliviaEtc);
    const std::unique_ptr<TArea> asia = TArea::create_for_edition(106);
    EXPECT_EQ(asia->frame_kind(), TAreaFrameKind::TropicalAsia);
    EXPECT_EQ(asia->clone()->frame_kind(), TAreaFrameKind::TropicalAsia);
    for (int code : {111, 130}) {
        const std::unique_ptr<TArea> country = TArea::create_for_edition(code);
        EXPECT_EQ(country->frame_kind(), TAreaFrameKind::Country);
        EXPECT_EQ(country->clone()->frame_kind(), TAreaFrameKind::Country);
    }
}
