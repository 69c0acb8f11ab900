// Find in the list on the demo edition: a name is found at the family and
// the place among the visible species the list shows it at, with species
// hidden by the window's filter left out of the count, and a find that starts
// after a species goes on from the next visible one.
#include "data/species_database.h"
#include "data/taxa.h"
#include "listview/show_strings_data.h"
#include "listview/windows/list_find.h"
#include "support/demo_edition.h"

#include <gtest/gtest.h>

namespace {

class DemoFind : public ::testing::Test {
  protected:
    void SetUp() override { testing_support::installDemoEdition(dir_); }
    void TearDown() override { testing_support::removeDemoEdition(); }

    struct Place {
        int family = 0;
        int species = 0;
        const Tspecies* taxon = nullptr;
    };

    // Every visible species where the data's own queries put it.
    static std::vector<Place> visiblePlaces(const SHST_TClassShowStringsData& settings) {
        std::vector<Place> places;
        const Tdata& data = settings.data();
        const auto& filter = settings.visible_set;
        const int families = data.visible_family_count(settings.systematic_order, filter);
        for (int f = 1; f <= families; ++f) {
            const Tfamily* family = data.visible_family(settings.systematic_order, f, filter);
            const int count = data.visible_species_count(*family, filter);
            for (int s = 1; s <= count; ++s)
                places.push_back({f, s, data.visible_species(*family, s, filter)});
        }
        return places;
    }

    // The species' scientific name when no family and no other visible
    // species holds it (so that a find for it can only end at the species).
    static QString ownName(const std::vector<Place>& places, const Place& place,
                           const SHST_TClassShowStringsData& settings) {
        const QString name = place.taxon->scientific_name.toUpper();
        for (const Place& other : places)
            if (other.taxon != place.taxon &&
                (other.taxon->scientific_name.toUpper().contains(name) ||
                 other.taxon->common_name.toUpper().contains(name)))
                return {};
        const Tdata& data = settings.data();
        for (const Tfamily* f = data.first_family(settings.systematic_order); f; f = f->next)
            if (f->scientific_name.toUpper().contains(name)) return {};
        return place.taxon->scientific_name;
    }

    testing_support::ProgramDirectory dir_;
};

}  // namespace

TEST_F(DemoFind, EverySpeciesIsFoundAtItsVisiblePlaceWithAndWithoutAFilter) {
    for (const bool onlyWithPhotos : {false, true}) {
        SCOPED_TRACE(onlyWithPhotos ? "only species with photos" : "every species");
        SHST_TClassShowStringsData settings(GLB_data(), QStringLiteral("WINDOW 1"));
        settings.visible_set.reset_carriers();
        settings.visible_set.only_with_photos = onlyWithPhotos;
        const std::vector<Place> places = visiblePlaces(settings);
        ASSERT_GT(places.size(), 20u);
        int checked = 0, afterHidden = 0;
        for (const Place& place : places) {
            const QString name = ownName(places, place, settings);
            if (name.isEmpty()) continue;
            TNameSearch search;
            search.text = name.toLower();
            search.main_name = 1;
            TTaxonMatch match;
            ASSERT_TRUE(GLB_find_taxon(settings, search, match)) << name.toStdString();
            EXPECT_EQ(match.family_index, place.family) << name.toStdString();
            EXPECT_EQ(match.species_index, place.species) << name.toStdString();
            EXPECT_TRUE(match.scientific_matched);
            // Hidden species before it in its family must not be counted.
            const Tfamily* family = place.taxon->family(settings.systematic_order);
            for (const Tspecies* s = family->first_species; s != place.taxon;
                 s = s->next(family->order))
                if (!settings.visible_set.species_visible(*s)) {
                    ++afterHidden;
                    break;
                }
            // A find that starts after the species does not find it again.
            search.start_family = place.family;
            search.start_species = place.species + 1;
            EXPECT_FALSE(GLB_find_taxon(settings, search, match)) << name.toStdString();
            ++checked;
        }
        EXPECT_GT(checked, 20);
        // The filter hides species in front of others of their family.
        if (onlyWithPhotos) {
            EXPECT_GT(afterHidden, 0);
        }
    }
}

TEST_F(DemoFind, AFindNextStartsAtTheNextVisibleSpeciesOfItsFamily) {
    SHST_TClassShowStringsData settings(GLB_data(), QStringLiteral("WINDOW 1"));
        settings.visible_set.reset_carriers();
    settings.visible_set.only_with_photos = true;
    const std::vector<Place> places = visiblePlaces(settings);
    // A family with at least three visible species: a find from its first
    // species for the third one's name, then for the first one's (behind).
    for (std::size_t i = 0; i + 2 < places.size(); ++i) {
        if (places[i].species != 1 || places[i + 2].family != places[i].family) continue;
        const QString third = ownName(places, places[i + 2], settings);
        const QString first = ownName(places, places[i], settings);
        if (third.isEmpty() || first.isEmpty()) continue;
        TNameSearch search;
        search.main_name = 1;
        search.start_family = places[i].family;
        search.start_species = 2;
        search.text = third;
        TTaxonMatch match;
        ASSERT_TRUE(GLB_find_taxon(settings, search, match));
        EXPECT_EQ(match.family_index, places[i].family);
        EXPECT_EQ(match.species_index, 3);
        search.text = first;
        EXPECT_FALSE(GLB_find_taxon(settings, search, match));
        return;
    }
    FAIL() << "the demo edition has no family of three visible species with their own names";
}
