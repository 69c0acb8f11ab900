#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class SHST_TClassShowStringsData;
class Tcupaitem;
class Tspecies;
class Tsubspecies;

// The words of texts-file section "BS_SHSTR", read once per list.
class TListWords {
  public:
    TListWords();
    QString line(int n) const { return lines_.value(n - 1); }  // from 1

  private:
    QStringList lines_;
};

// Where the first line of a recording names its locality's department
// and country.
struct TFirstLinePlaces {
    bool department = false;
    bool country = false;
};

// The texts of list lines, built from the records.
namespace line_texts {

// The name of a kind (scientific or other language) of a taxon.
QString name_of_kind(int nameKind, const QString& scientific, const QString& otherLanguage);
// The scientific name in italics, an abbreviated "sp." or "hyp." left out
// of them.
QString italic_scientific(const QString& scientific);

// Kind 17: the third taxa text, the credited person as a link, and the
// note for a species of flag "E" without subspecies; empty when none.
QString notes(const Tspecies& species, const TListWords& words);
// Kind 19 over recordings of a subspecies (none: not identified).
QString subspecies_heading(const Tspecies& species, const Tsubspecies* subspecies,
                           bool showScientific, const TListWords& words);
bool subspecies_has_picture(const Tspecies& species, const Tsubspecies& subspecies);

TFirstLinePlaces first_line_places(const Tcupaitem& recording,
                                   const SHST_TClassShowStringsData& settings);
// The 1-based number of each recording's source among the sources that
// more than one of the recordings was cut from; 0 for the others and
// beyond the tenth such source.
std::vector<int> source_marks(const std::vector<const Tcupaitem*>& recordings);
// Kind 26.
QString description(const Tcupaitem& recording, const TFirstLinePlaces& places, int sourceMark);
// The letter of kind 25 ("X" shows as "AAA", a blank as three blanks).
QString letter(const Tcupaitem& recording);

// Kind 28: subspecies, remarks, the cut part's texts and the recordist.
QString sound_and_recordist(const Tcupaitem& recording, const TListWords& words);
// Kind 29: the locality as a link (when it is a real place), date and time.
QString locality_and_date(const Tcupaitem& recording, const TFirstLinePlaces& places);
// Kind 30: the other taxa heard in the same cut.
QString other_species(const Tcupaitem& recording, const SHST_TClassShowStringsData& settings,
                      const TListWords& words);

// Whether any of the three detail texts (kinds 28 to 30) has something to
// say; cheaper than building them.
bool has_details(const Tcupaitem& recording, const SHST_TClassShowStringsData& settings);

// "11 September 2000" (a day or month of 0 is left out); empty for -1.
QString date_text(int date);
// "16:30" from 1630; empty for -1.
QString time_text(int time);

}  // namespace line_texts
