#include "listview/line_texts.h"

#include "app/editions.h"
#include "app/globals.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "formats/textfile.h"
#include "listview/formatted_text.h"
#include "listview/show_strings_data.h"
#include "data/areas.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <initializer_list>

namespace {

const QChar kItalic(text_code::kItalic);
const QChar kBold(text_code::kBold);
const QChar kLink(text_code::kUnderline);
const QChar kSmaller(text_code::kSmaller);
const QChar kLarger(text_code::kLarger);
const QChar kLineFeed(text_code::kLineFeed);

constexpr int kWordLines = 19;
constexpr int kMaxMarkedSources = 10;
constexpr qsizetype kShortTextLength = 25;

const TEditionRules& rules() {
    return GLB_edition().rules;
}

// Appends a piece after a blank, except at the start or after a line feed.
void appendPiece(QString& text, const QString& piece) {
    if (piece.isEmpty()) return;
    if (!text.isEmpty() && !text.endsWith(kLineFeed)) text += u' ';
    text += piece;
}

bool sameCountry(const QString& a, const QString& b) {
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// Recordings of the Bolivia edition whose list of other taxa leaves some out, or is
// not made at all: the other taxa there were only guessed at in the field.
struct TOtherTaxaException {
    int species_number;
    char16_t letter;
    int cut_number;
    std::array<int, 3> left_out;  // taxon numbers; 0 ends the list
    bool no_list;
};
constexpr std::array<TOtherTaxaException, 5> kOtherTaxaExceptions{{
    {1402, u'A', 3, {1398, 0, 0}, false},
    {2210, u'B', 1, {2207, 2215, 0}, false},
    {3018, u'A', 2, {3025, 0, 0}, false},
    {5531, u'A', 7, {5530, 5534, 5540}, false},
    {4120, u'A', 5, {0, 0, 0}, true},
}};

const TOtherTaxaException* otherTaxaException(const Tcupaitem& recording) {
    if (!rules().other_taxa_exceptions || !recording.species || !recording.cut_part)
        return nullptr;
    for (const TOtherTaxaException& e : kOtherTaxaExceptions) {
        if (e.species_number == recording.species->species_number &&
            e.letter == recording.kind_letter.unicode() &&
            e.cut_number == recording.cut_part->part_number)
            return &e;
    }
    return nullptr;
}

QString sourceKey(const Tcutpart& cut) {
    if (cut.is_sound_file)
        return QStringLiteral("F%1%2").arg(cut.recording_number).arg(cut.first_letter);
    const int cd = cut.audio_cd ? cut.audio_cd->cd_number : cut.recording_number;
    return QStringLiteral("C%1T%2").arg(cd).arg(cut.track);
}

QLocale interfaceLocale() {
    switch (GLB_edition().language) {
        case TLanguage::Spanish:
            return QLocale(QLocale::Spanish);
        case TLanguage::Dutch:
            return QLocale(QLocale::Dutch);
        case TLanguage::Portuguese:
            return QLocale(QLocale::Portuguese);
        default:
            return QLocale(QLocale::English);
    }
}

// The names of another taxon of the cut, in the list's order.
QString taxonNames(const Tspecies& species, const SHST_TClassShowStringsData& settings) {
    QStringList names;
    for (int position = 1; position <= 2; ++position) {
        const int kind = settings.name_kind_at(position);
        const QString name =
            line_texts::name_of_kind(kind, species.scientific_name, species.common_name);
        if (name.isEmpty()) continue;
        names << (kind == name_kind::kScientific ? line_texts::italic_scientific(name) : name);
    }
    if (names.isEmpty()) names << line_texts::italic_scientific(species.scientific_name);
    return names.join(u' ');
}

QString otherTaxonNotes(const Tcupaitem& other, const TListWords& words) {
    QStringList notes;
    if (rules().class_notes_on_other_taxa && other.species) {
        if (other.species->is_amphibian)
            notes << words.line(4);
        else if (other.species->is_mammal)
            notes << words.line(5);
    }
    if (other.percentage != 100) notes << QString::number(other.percentage) + u'%';
    if (other.kind_letter != u' ' && rules().kind_letter_on_other_taxa)
        notes << QString(other.kind_letter);
    QString own = other.first_text;
    if (own.size() < kShortTextLength && own.endsWith(u'.')) own.chop(1);
    if (!own.isEmpty()) notes << own;
    notes.removeAll(QString());
    return notes.join(QStringLiteral(". "));
}

}  // namespace

TListWords::TListWords() {
    GLB_texts().lines(QStringLiteral("BS_SHSTR"), lines_, kWordLines);
}

namespace line_texts {

QString name_of_kind(int nameKind, const QString& scientific, const QString& otherLanguage) {
    if (nameKind == name_kind::kScientific) return scientific;
    if (nameKind == name_kind::kOtherLanguage) return otherLanguage;
    return {};
}

QString italic_scientific(const QString& scientific) {
    // "Scytalopus sp." reads with only the genus slanted.
    for (const QString& abbreviation : {QStringLiteral(" sp."), QStringLiteral(" hyp.")}) {
        const qsizetype at = scientific.indexOf(abbreviation);
        if (at >= 0) return kItalic + scientific.left(at) + kItalic + scientific.mid(at);
    }
    return kItalic + scientific + kItalic;
}

QString notes(const Tspecies& species, const TListWords& words) {
    const bool eWithoutSubspecies = species.flag_e && !species.first_subspecies;
    if (species.third_text.isEmpty() && !species.credited_person && !eWithoutSubspecies) return {};
    QString text = species.third_text;
    if (species.credited_person)
        text += u' ' + words.line(7) + QStringLiteral(": ") + kLink +
                species.credited_person->name + kLink + u'.';
    // The note goes on a line of its own, but never leaves the first empty.
    if (eWithoutSubspecies) {
        if (!text.isEmpty()) text += kLineFeed;
        text += words.line(8) + u'.';
    }
    return text;
}

QString subspecies_heading(const Tspecies& species, const Tsubspecies* subspecies,
                           bool showScientific, const TListWords& words) {
    if (!subspecies) return words.line(10);
    // A group that is no real subspecies is headed by its own text.
    if (subspecies->not_real) return subspecies->name;
    if (showScientific)
        return kItalic + species.scientific_name + kItalic + u' ' + subspecies->list_name();
    return words.line(9) + u' ' + subspecies->list_name();
}

bool subspecies_has_picture(const Tspecies& species, const Tsubspecies& subspecies) {
    for (const Tbig_picture* p = species.first_picture; p; p = p->next) {
        if (p->subspecies && p->subspecies->subspecies == &subspecies) return true;
    }
    return false;
}

TFirstLinePlaces first_line_places(const Tcupaitem& recording,
                                   const SHST_TClassShowStringsData& settings) {
    TFirstLinePlaces places;
    const Tlocality* locality = recording.cut_part ? recording.cut_part->locality : nullptr;
    if (!locality) return places;
    places.department = settings.show_department && !locality->region.isEmpty();
    if (locality->country.isEmpty()) return places;
    const TEdition& edition = GLB_edition();
    const TArea* area = settings.visible_set.selected_area();
    places.country =
        settings.show_country ||
        (edition.rules.area_selects_countries && area &&
         !area->CountryNameSelected(locality->country)) ||
        (edition.rules.country_shown_outside_region &&
         !sameCountry(locality->country, edition.region_name) &&
         !sameCountry(locality->country, edition.second_region_name));
    return places;
}

std::vector<int> source_marks(const std::vector<const Tcupaitem*>& recordings) {
    QStringList keys;
    for (const Tcupaitem* r : recordings)
        keys << (r->cut_part ? sourceKey(*r->cut_part) : QString());
    QStringList repeated;  // sources used more than once, in order of first use
    for (const QString& key : keys) {
        if (!key.isEmpty() && keys.count(key) > 1 && !repeated.contains(key)) repeated << key;
    }
    std::vector<int> marks;
    marks.reserve(recordings.size());
    for (const QString& key : keys) {
        const int k = static_cast<int>(repeated.indexOf(key)) + 1;
        marks.push_back(k > kMaxMarkedSources ? 0 : k);
    }
    return marks;
}

QString description(const Tcupaitem& recording, const TFirstLinePlaces& places, int sourceMark) {
    QString text = recording.first_text;
    if (places.department || places.country) {
        const Tlocality& locality = *recording.cut_part->locality;
        QStringList parts;
        if (places.department) parts << locality.region;
        if (places.country) parts << locality.country;
        text += kSmaller + QStringLiteral("   ") + kBold + parts.join(QStringLiteral(", ")) + kBold;
    }
    if (sourceMark > 0) {
        text += u' ' + QString(2, kLarger) + kBold + QStringLiteral("* ").repeated(sourceMark) +
                kBold + QString(2, kSmaller);
    }
    return text;
}

QString letter(const Tcupaitem& recording) {
    if (recording.kind_letter == u'X') return QStringLiteral("AAA");
    if (recording.kind_letter == u' ') return QStringLiteral("   ");
    return QString(recording.kind_letter);
}

QString sound_and_recordist(const Tcupaitem& recording, const TListWords& words) {
    QString text;
    if (recording.subspecies && recording.species && !recording.species->flag_n) {
        recording.subspecies->append_line(text, true);
        if (rules().subspecies_line_before_recording_texts && !text.isEmpty()) text += kLineFeed;
    }
    appendPiece(text, recording.second_text);
    if (const Tcutpart* cut = recording.cut_part) {
        appendPiece(text, cut->text_1);
        appendPiece(text, cut->text_2);
        if (cut->recordist)
            appendPiece(text, words.line(6) + u' ' + kLink + cut->recordist->name + kLink + u'.');
    }
    return text;
}

QString locality_and_date(const Tcupaitem& recording, const TFirstLinePlaces& places) {
    QString text;
    const Tcutpart* cut = recording.cut_part;
    if (!cut) return text;
    if (const Tlocality* locality = cut->locality; locality && locality->has_coordinates()) {
        QString place = locality->name;
        QStringList parts;
        if (!places.department && !locality->region.isEmpty()) parts << locality->region;
        if (!places.department && !places.country && !locality->country.isEmpty() &&
            !sameCountry(locality->country, GLB_edition().region_name))
            parts << locality->country;
        if (!parts.isEmpty())
            place += QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + QStringLiteral(").");
        if (!locality->prefix.isEmpty()) place += u' ' + locality->prefix;
        text = kLink + place + kLink;
        if (!place.endsWith(u'.')) text += u',';
    }
    const QString date = date_text(cut->date);
    const QString time = time_text(cut->number_4);
    QString when;
    if (!date.isEmpty() && !time.isEmpty())
        when = date + QStringLiteral(", ") + time + u'.';
    else if (!date.isEmpty() || !time.isEmpty())
        when = date + time + u'.';
    appendPiece(text, when);
    return text;
}

// The other items of the recording's cut that its list names.
std::vector<const Tcupaitem*> other_items(const Tcupaitem& recording,
                                          const SHST_TClassShowStringsData& settings) {
    std::vector<const Tcupaitem*> others;
    const TOtherTaxaException* exception = otherTaxaException(recording);
    const Tcutpart* cut = recording.cut_part;
    if ((exception && exception->no_list) || !cut) return others;
    const int order = settings.systematic_order;
    for (const Tcupaitem* other = cut->first_item(order); other;
         other = other->next_of_cut_part(order)) {
        if (other == &recording || !other->species || other->species == recording.species) continue;
        const int number = other->species->species_number;
        if (exception && std::any_of(exception->left_out.begin(), exception->left_out.end(),
                                     [&](int n) { return n != 0 && n == number; }))
            continue;
        others.push_back(other);
    }
    return others;
}

bool says_when_no_other_species(const Tcupaitem& recording) {
    return rules().says_when_no_other_species && recording.cut_part &&
           recording.cut_part->is_sound_file &&
           !(otherTaxaException(recording) && otherTaxaException(recording)->no_list);
}

QString other_species(const Tcupaitem& recording, const SHST_TClassShowStringsData& settings,
                      const TListWords& words) {
    const std::vector<const Tcupaitem*> others = other_items(recording, settings);
    if (others.empty()) {
        if (says_when_no_other_species(recording))
            return words.line(1) + u' ' + words.line(2) + u'.';
        return {};
    }
    QStringList entries;
    for (const Tcupaitem* other : others) {
        QString entry = taxonNames(*other->species, settings);
        const QString notes = otherTaxonNotes(*other, words);
        if (!notes.isEmpty()) entry += QStringLiteral(" (") + notes + u')';
        entries << entry;
    }
    return words.line(1) + u' ' + entries.join(QStringLiteral(", ")) + u'.';
}

bool has_details(const Tcupaitem& recording, const SHST_TClassShowStringsData& settings) {
    const Tcutpart* cut = recording.cut_part;
    if (!cut) return false;
    if (recording.subspecies && recording.species && !recording.species->flag_n) return true;
    if (!recording.second_text.isEmpty() || !cut->text_1.isEmpty() || !cut->text_2.isEmpty() ||
        cut->recordist)
        return true;
    if ((cut->locality && cut->locality->has_coordinates()) || cut->date >= 0 || cut->number_4 >= 0)
        return true;
    return says_when_no_other_species(recording) || !other_items(recording, settings).empty();
}

QString date_text(int date) {
    if (date < 0) return {};
    const int year = date / 10000;
    const int month = (date / 100) % 100;
    const int day = date % 100;
    QString text;
    if (month >= 1 && month <= 12) {
        if (day >= 1) text = QString::number(day) + u' ';
        text += interfaceLocale().standaloneMonthName(month, QLocale::LongFormat) + u' ';
    }
    return text + QString::number(year);
}

QString time_text(int time) {
    if (time < 0) return {};
    return QString::number(time / 100) + GLB().time_separator +
           QStringLiteral("%1").arg(time % 100, 2, 10, QChar(u'0'));
}

}  // namespace line_texts
