#pragma once

#include <QString>

class TShowStrings;
struct TViewBand;
class Tdata;
class Tfamily;
class Tspecies;
class SHST_TClassShowStringsData;

// Where a name was found among the visible taxa.
struct TTaxonMatch {
    int family_index = 0;   // from 1, among the visible families of the order
    int species_index = 0;  // from 1 within the family; 0 for the family itself
    int animal_class = 0;
    bool in_main_kind = true;         // the main kind of name matched (not the other)
    bool scientific_matched = false;  // the kind that matched was the scientific name
    bool in_other_names = false;
};

struct TNameSearch {
    QString text;           // what the user typed
    int start_family = 1;   // from 1
    int start_species = 1;  // from 1; families' own names are tested after the start family
    bool show_scientific = true;
    bool show_other_language = true;
    int main_name = 2;  // 1 scientific, 2 other language
};

// Walks the visible families and species of the list's order from the start
// and returns the first whose shown names contain the text (any case).
bool GLB_find_taxon(const SHST_TClassShowStringsData& settings, const TNameSearch& search,
                    TTaxonMatch& match);

struct TListFindResult {
    bool found = false;
    bool lines_added = false;
    bool must_scroll = false;
    int found_top = 0;  // list y of the found line's top
};

// Finds the text in the list from the top or after the current row, opens
// its class and family, selects the name that matched and says whether
// and where the view must scroll. Scientific-only searches look at
// scientific names alone (the show uses them).
TListFindResult GLB_find_in_list(TShowStrings& list, const QString& text, bool fromTop,
                                 bool scientificOnly, const TViewBand& view);

// The second half of a find: opens the match's class and family, selects
// the name that matched and says whether and where the view must scroll.
TListFindResult GLB_reveal_in_list(TShowStrings& list, const TTaxonMatch& match, const TViewBand& view);
