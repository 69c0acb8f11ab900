#include "listview/windows/list_find.h"

#include "data/species_database.h"
#include "data/taxa.h"
#include "listview/formatted_text.h"
#include "listview/windows/show_strings.h"

using namespace line_kind;

namespace {

bool contains(const QString& name, const QString& upperText) {
    return !name.isEmpty() && name.toUpper().contains(upperText);
}

struct NameTest {
    bool matched = false;
    bool in_main_kind = true;
    bool in_other_names = false;
    bool scientific = false;
};

// Tests the main kind of name first, then the other kind when it is shown;
// other names go with the other-language name.
NameTest test_names(const TNameSearch& search, const QString& upper, const QString& scientific,
                    const QString& otherLanguage, const QString& otherNames) {
    const bool mainIsScientific = search.main_name == 1;
    auto testKind = [&](bool scientificKind, NameTest& result) {
        if (scientificKind) return contains(scientific, upper);
        if (contains(otherLanguage, upper)) return true;
        if (contains(GLB_without_codes(otherNames), upper)) {
            result.in_other_names = true;
            return true;
        }
        return false;
    };
    NameTest result;
    if (testKind(mainIsScientific, result)) {
        result.matched = true;
        result.scientific = mainIsScientific;
        return result;
    }
    const bool otherShown = mainIsScientific ? search.show_other_language : search.show_scientific;
    if (otherShown && testKind(!mainIsScientific, result)) {
        result.matched = true;
        result.in_main_kind = false;
        result.scientific = !mainIsScientific;
    }
    return result;
}

}  // namespace

bool GLB_find_taxon(const SHST_TClassShowStringsData& settings, const TNameSearch& search,
                    TTaxonMatch& match) {
    if (search.text.isEmpty() || !GLB_valid_order(settings.systematic_order)) return false;
    const QString upper = search.text.toUpper();
    const Tdata& data = settings.data();
    const auto& filter = settings.visible_set;
    // One walk down the order's chains. Asking the data for the n-th visible
    // family or species starts from the first every time, and whether a
    // species is visible depends on its recordings: on the largest editions
    // (a family of 400 species, hundreds of recordings to a species) that
    // made a find take a tenth of a second. A species' names are tested
    // first; its place among the visible species is counted only when they
    // match, and in the family where the search starts.
    int fi = 0;
    for (const Tfamily* family = data.first_family(settings.systematic_order); family;
         family = family->next) {
        if (!data.family_has_visible_species(*family, filter)) continue;
        if (++fi < search.start_family) continue;
        const bool startFamily = fi == search.start_family;
        if (!(startFamily && search.start_species != 0)) {
            const NameTest t =
                test_names(search, upper, family->scientific_name, family->common_name, {});
            if (t.matched) {
                match = {fi, 0, family->animal_class(), t.in_main_kind, t.scientific, false};
                return true;
            }
        }
        const int firstSpecies = startFamily ? std::max(search.start_species, 1) : 1;
        const Tspecies* first = family->first_species;
        if (firstSpecies > 1) {
            // The first species to test: the firstSpecies-th visible one.
            int sj = 0;
            while (first && !(filter.species_visible(*first) && ++sj == firstSpecies))
                first = first->next(family->order);
        }
        for (const Tspecies* species = first; species; species = species->next(family->order)) {
            const NameTest t = test_names(search, upper, species->scientific_name,
                                          species->common_name, species->second_name);
            if (!t.matched || !filter.species_visible(*species)) continue;
            int sj = 0;
            for (const Tspecies* s = family->first_species; s != species; s = s->next(family->order))
                sj += filter.species_visible(*s) ? 1 : 0;
            match = {
                fi, sj + 1, family->animal_class(), t.in_main_kind, t.scientific, t.in_other_names};
            return true;
        }
    }
    return false;
}

namespace {

// The class toggle of a class number, or none.
TRecordShowStringData* class_toggle(TShowStringsModel& model, int animalClass) {
    for (TRecordShowStringData* l = model.first_line(); l; l = l->next)
        if (l->kind == kClassTitle && l->value == animalClass)
            return l->previous && l->previous->kind == kClassToggle ? l->previous : nullptr;
    return nullptr;
}

TRecordShowStringData* toggle_before(TRecordShowStringData* head) {
    for (TRecordShowStringData* l = head; l; l = l->previous)
        if (is_toggle(l->kind)) return l;
    return nullptr;
}

}  // namespace

TListFindResult GLB_find_in_list(TShowStrings& list, const QString& text, bool fromTop,
                                 bool scientificOnly, const TViewBand& view) {
    TListFindResult result;
    TShowStringsModel& model = list.model();
    const SHST_TClassShowStringsData& settings = model.settings();

    TNameSearch search;
    search.text = text;
    if (!fromTop) {
        const TRecordShowStringData* family = model.current_family();
        const TRecordShowStringData* species = model.current_species();
        search.start_family = family ? family->value : 1;
        search.start_species = species ? species->value + 1 : 1;
    }
    search.show_scientific = scientificOnly || settings.show_scientific;
    search.show_other_language = !scientificOnly && settings.show_other_language;
    // The kind that leads the list's rows, by the line model's own rule: a
    // kind switched off never leads, so it is never searched.
    const bool scientificLeads = settings.name_kind_at(1) == name_kind::kScientific;
    search.main_name = scientificOnly || scientificLeads ? 1 : 2;

    TTaxonMatch match;
    if (!GLB_find_taxon(settings, search, match)) return result;
    return GLB_reveal_in_list(list, match, view);
}

TListFindResult GLB_reveal_in_list(TShowStrings& list, const TTaxonMatch& match, const TViewBand& view) {
    TListFindResult result;
    TShowStringsModel& model = list.model();
    result.found = true;

    // Open the class, then the family of a species.
    if (model.first_line() && model.first_line()->kind == kClassToggle) {
        if (TRecordShowStringData* toggle = class_toggle(model, match.animal_class);
            toggle && !toggle->open) {
            result.lines_added = model.toggle(toggle, view).changed || result.lines_added;
        }
    }
    if (match.species_index > 0) {
        const auto familyRow = model.find_row(match.family_index, 0);
        TRecordShowStringData* toggle = toggle_before(familyRow.head);
        if (toggle && !toggle->open)
            result.lines_added = model.toggle(toggle, view).changed || result.lines_added;
    }

    const auto row = model.find_row(match.family_index, match.species_index);
    TRecordShowStringData* head = row.head;
    while (head && !is_row_head(head->kind)) head = head->next;
    if (!head) return result;
    TRecordShowStringData* target = TShowStrings::first_name_line(head);
    if (match.in_other_names) {
        for (TRecordShowStringData* l = head->next; l && !is_toggle(l->kind); l = l->next)
            if (l->kind == kOtherNames) {
                target = l;
                break;
            }
    } else {
        // The name line that shows the kind of name that matched (the
        // second one when the match was not in the list's main kind).
        const int wanted =
            match.species_index > 0
                ? (match.scientific_matched ? kSpeciesScientific : kSpeciesOtherLanguage)
                : (match.scientific_matched ? kFamilyScientific : kFamilyOtherLanguage);
        for (TRecordShowStringData* l = head->next; l && is_name(l->kind); l = l->next)
            if (l->kind == wanted) {
                target = l;
                break;
            }
    }
    list.select_line(target);
    if (match.species_index > 0) {
        TRecordShowStringData* familyHead = model.find_row(match.family_index, 0).head;
        while (familyHead && familyHead->kind != kFamilyMarker) familyHead = familyHead->next;
        model.set_current_family(familyHead);
        model.set_current_species(head);
    } else {
        model.set_current_family(head);
        model.set_current_species(nullptr);
    }
    if (result.lines_added) list.chain_changed();
    result.found_top = list.top_of(*target);
    result.must_scroll = result.lines_added || result.found_top < view.top + 10 ||
                         result.found_top > view.bottom - 10;
    return result;
}
