// The display settings of a list: their keys, reading rules and the order
// in which a row shows its names.

#include "app/settings.h"
#include "line_model_fixture.h"
#include "listview/formatted_text.h"

using namespace line_model_testing;

namespace {

class DisplaySettings : public LineModelTest {
  protected:
    void SetUp() override {
        LineModelTest::SetUp();
        loadDemo();
    }
    const QString section = QStringLiteral("WINDOW 1");
};

struct NameCase {
    bool scientific;
    bool other;
    int main;
    int first;
    int second;
};

}  // namespace

// --- Keys and reading rules -----------------------------------------------------

TEST_F(DisplaySettings, DefaultsWithoutAnySettings) {
    const SHST_TClassShowStringsData s(*data, section);
    EXPECT_TRUE(s.show_scientific);
    EXPECT_TRUE(s.show_other_language);
    EXPECT_EQ(s.main_name, 2);
    EXPECT_EQ(s.systematic_order, 1);
    EXPECT_TRUE(s.show_department);
    EXPECT_TRUE(s.show_country);  // edition 101 has several countries
    EXPECT_TRUE(s.show_threatened);
}

TEST_F(DisplaySettings, ReadingForcesANameKindAndChecksTheOrder) {
    dir.write("Korvelan.ini",
              "[WINDOW 1]\nScientific=No\nOther Language=No\nMain=sCiEnTiFiC\n"
              "Systematic Order=2\nShow department on first line of recording data=No\n"
              "Show Threatened Bird Indications=No\n"
              "Show country on first line of recording data=No\n"
              "[WINDOW 2]\nMain=Latin\nSystematic Order=3\n");
    const SHST_TClassShowStringsData first(*data, section);
    EXPECT_TRUE(first.show_scientific);  // at least one kind of name is on
    EXPECT_FALSE(first.show_other_language);
    EXPECT_EQ(first.main_name, 1);
    EXPECT_EQ(first.systematic_order, 2);  // the demo offers Clements 2000
    EXPECT_FALSE(first.show_department);
    EXPECT_FALSE(first.show_country);
    EXPECT_FALSE(first.show_threatened);
    const SHST_TClassShowStringsData second(*data, QStringLiteral("WINDOW 2"));
    EXPECT_EQ(second.main_name, 2);         // any other word
    EXPECT_EQ(second.systematic_order, 1);  // order 3 is not offered
}

TEST_F(DisplaySettings, CountryKeyOnlyInEditionsWithSeveralCountries) {
    const TEditionOverride edition(GLB_edition_for_product(1031));
    dir.write("Korvelan.ini", "[WINDOW 1]\nShow country on first line of recording data=Yes\n");
    SHST_TClassShowStringsData s(*data, section);
    EXPECT_FALSE(s.show_country);
    s.write_settings(QStringLiteral("OUT"));
    EXPECT_EQ(GLB_read_string("OUT", "Show country on first line of recording data", "absent"),
              QStringLiteral("absent"));
}

TEST_F(DisplaySettings, WrittenSettingsReadBackTheSame) {
    SHST_TClassShowStringsData s(*data, section);
    s.show_other_language = false;
    s.main_name = 1;
    s.systematic_order = 2;
    s.show_department = false;
    s.show_threatened = false;
    s.visible_set.only_with_photos = true;
    s.write_settings(QStringLiteral("OUT"));
    EXPECT_EQ(GLB_read_string("OUT", "Main", {}), QStringLiteral("Scientific"));
    EXPECT_EQ(GLB_read_string("OUT", "Other Language", {}), QStringLiteral("No"));
    const SHST_TClassShowStringsData back(*data, QStringLiteral("OUT"));
    EXPECT_EQ(back.show_other_language, false);
    EXPECT_EQ(back.main_name, 1);
    EXPECT_EQ(back.systematic_order, 2);
    EXPECT_FALSE(back.show_department);
    EXPECT_FALSE(back.show_threatened);
    EXPECT_TRUE(back.visible_set.only_with_photos);
}

TEST_F(DisplaySettings, CopiesAreIndependent) {
    SHST_TClassShowStringsData a(*data, section);
    SHST_TClassShowStringsData b(*data, section);
    a.main_name = 1;
    a.visible_set.only_with_sounds = true;
    b = a;
    EXPECT_EQ(b.main_name, 1);
    EXPECT_TRUE(b.visible_set.only_with_sounds);
    b.visible_set.only_with_sounds = false;
    EXPECT_TRUE(a.visible_set.only_with_sounds);
    ASSERT_NE(a.visible_set.selected_area(), nullptr);
    EXPECT_NE(a.visible_set.selected_area(), b.visible_set.selected_area());
}

// --- Name order -----------------------------------------------------------------------

TEST_F(DisplaySettings, NameOrderForEveryCombination) {
    // A kind that is switched off never leads a row, so main follows what
    // is shown.
    const NameCase cases[] = {
        {true, true, 1, 1, 2},   {true, true, 2, 2, 1},   {true, false, 1, 1, 0},
        {true, false, 2, 1, 0},  {false, true, 1, 2, 0},  {false, true, 2, 2, 0},
        {false, false, 1, 1, 0}, {false, false, 2, 1, 0},
    };
    SHST_TClassShowStringsData s(*data, section);
    for (const NameCase& c : cases) {
        s.show_scientific = c.scientific;
        s.show_other_language = c.other;
        s.main_name = static_cast<std::uint8_t>(c.main);
        EXPECT_EQ(s.name_kind_at(1), c.first) << c.scientific << c.other << c.main;
        EXPECT_EQ(s.name_kind_at(2), c.second) << c.scientific << c.other << c.main;
    }
}

TEST_F(DisplaySettings, OnlyScientificNamesGiveOneItalicNameARow) {
    settings->show_other_language = false;
    settings->main_name = 2;
    makeModel();
    const auto* marker = model->find_row(1, 0).head;
    ASSERT_NE(marker, nullptr);
    const auto row = following(marker, {line_kind::kFamilyToggle});
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(row[0]->kind, line_kind::kFamilyScientific);
    EXPECT_EQ(row[0]->flags, 0);
    EXPECT_TRUE(row[0]->font->font.italic());
    EXPECT_EQ(model->display_text(*row[0]), QStringLiteral("Tinamidae"));
}

TEST_F(DisplaySettings, OtherLanguageFirstThenScientificAfterADot) {
    makeModel();
    toggle(familyToggle(1));
    const auto* number = model->find_row(1, 1).head;
    ASSERT_NE(number, nullptr);
    const auto row = following(number, {line_kind::kMapMarker, line_kind::kMediaMarker});
    ASSERT_EQ(kindsOf(row),
              (std::vector<int>{line_kind::kSpeciesOtherLanguage, line_kind::kSpeciesScientific}));
    EXPECT_EQ(model->display_text(*row[0]), QStringLiteral("Gray Tinamou. "));
    EXPECT_EQ(model->display_text(*row[1]), QStringLiteral("Tinamus tao"));
    EXPECT_FALSE(row[0]->font->font.italic());
    EXPECT_TRUE(row[1]->font->font.italic());
}

TEST_F(DisplaySettings, ARowWithoutNamesFallsBackToTheScientificName) {
    QByteArray taxa = demoFile("taxa.txt");
    taxa.replace("@#[FAMILIES]\nTinamous\n", "@#[FAMILIES]\n\n");
    dir.write("taxa.txt", taxa);
    loadWritten();
    settings->show_scientific = false;
    makeModel();
    const auto first = following(model->find_row(1, 0).head, {line_kind::kFamilyToggle});
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0]->kind, line_kind::kFamilyScientific);
    EXPECT_EQ(first[0]->text, QStringLiteral("Tinamidae"));
    const auto second = following(model->find_row(2, 0).head, {line_kind::kFamilyToggle});
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0]->kind, line_kind::kFamilyOtherLanguage);
}

TEST_F(DisplaySettings, ChangingNamesRebuildsOnlyNameLines) {
    makeModel();
    toggle(familyToggle(2));
    toggle(speciesToggle(2, 3));
    const int lines = model->line_count();
    const int height = model->total_height();
    model->select(model->find_row(2, 3).head->next);  // a species name
    SHST_TClassShowStringsData only(*settings);
    only.show_other_language = false;
    model->change_name_settings(only);
    EXPECT_EQ(model->settings().show_other_language, false);
    // One name fewer on every family row and every species row.
    int rows = 0;
    for (const auto* l = model->first_line(); l; l = l->next)
        if (l->kind == line_kind::kFamilyMarker || l->kind == line_kind::kSpeciesNumber) ++rows;
    EXPECT_EQ(model->line_count(), lines - rows);
    EXPECT_EQ(model->total_height(), height);
    for (const auto* l = model->first_line(); l; l = l->next) {
        EXPECT_NE(l->kind, line_kind::kFamilyOtherLanguage);
        EXPECT_NE(l->kind, line_kind::kSpeciesOtherLanguage);
        if (l->kind == line_kind::kSpeciesNumber) {
            ASSERT_EQ(l->next->kind, line_kind::kSpeciesScientific);
            EXPECT_EQ(l->next->species, l->species);
            EXPECT_EQ(l->next->flags, 0);
        }
    }
    // The selected name went; the first row is selected instead.
    EXPECT_EQ(model->selected(), model->first_row_head_selection());
    EXPECT_EQ(model->selected()->text, QStringLiteral("Tinamidae"));
    // The species block stays open.
    EXPECT_TRUE(speciesToggle(2, 3)->open);
    model->change_name_settings(*settings);
    EXPECT_EQ(model->line_count(), lines);
}
