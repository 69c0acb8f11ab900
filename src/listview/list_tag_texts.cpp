#include "listview/list_tag_texts.h"

#include "app/editions.h"
#include "data/media_records.h"
#include "data/people_places.h"
#include "listview/formatted_text.h"

namespace {

// Tags hold plain text: no line feeds inside a line, no style codes.
QString plain(const QString& text) {
    QString result = GLB_without_codes(text);
    result.replace(u'\n', u' ');
    return result;
}

QString mainKindName(const SHST_TClassShowStringsData& settings, const QString& scientific,
                     const QString& otherLanguage) {
    const QString name = settings.main_name == 1 ? scientific : otherLanguage;
    return name.isEmpty() ? scientific : name;
}

// The locality with its department and country always, then its
// coordinates, then date and time.
QString localityAndDate(const Tcutpart& cut) {
    QString text;
    if (const Tlocality* locality = cut.locality; locality && locality->has_coordinates()) {
        text = locality->name;
        QStringList parts;
        if (!locality->region.isEmpty()) parts << locality->region;
        if (!locality->country.isEmpty()) parts << locality->country;
        if (!parts.isEmpty()) text += QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + u')';
        if (!locality->prefix.isEmpty()) text += u' ' + locality->prefix;
        text += u' ' + locality->coordinates_text() + u'.';
    }
    const QString date = line_texts::date_text(cut.date);
    const QString time = line_texts::time_text(cut.number_4);
    QString when = date;
    if (!time.isEmpty()) when += (when.isEmpty() ? QString() : QStringLiteral(", ")) + time;
    if (!when.isEmpty()) text += (text.isEmpty() ? QString() : QStringLiteral(" ")) + when + u'.';
    return text;
}

}  // namespace

QString TListTagTexts::taxon_title(const Tcupaitem& recording) const {
    const Tspecies& species = *recording.species;
    QStringList names;
    for (int position = 1; position <= 2; ++position) {
        const QString name = line_texts::name_of_kind(settings_.name_kind_at(position),
                                                      species.scientific_name, species.common_name);
        if (!name.isEmpty()) names << name;
    }
    if (names.isEmpty()) names << species.scientific_name;
    if (recording.subspecies && recording.subspecies->subspecies)
        names << recording.subspecies->subspecies->display_name();
    return plain(names.join(u' ')).trimmed();
}

QString TListTagTexts::family_name(const Tspecies& species) const {
    const Tfamily* family = species.family(settings_.systematic_order);
    if (!family) family = species.family(kFirstOrder);
    return family ? mainKindName(settings_, family->scientific_name, family->common_name) : QString();
}

QString TListTagTexts::comment(const Tcupaitem& recording) const {
    QStringList others;
    if (const Tcutpart* cut = recording.cut_part) {
        const int order = settings_.systematic_order;
        for (const Tcupaitem* other = cut->first_item(order); other;
             other = other->next_of_cut_part(order))
            if (other->species && other->species != recording.species)
                others << mainKindName(settings_, other->species->scientific_name,
                                       other->species->common_name);
    }
    const QString otherSpecies =
        others.isEmpty() ? QString()
                         : words_.line(1) + u' ' + others.join(QStringLiteral(", ")) + u'.';
    return plain(line_texts::sound_and_recordist(recording, words_)) + QStringLiteral("\r\n") +
           plain(recording.cut_part ? localityAndDate(*recording.cut_part) : QString()) +
           QStringLiteral("\r\n") + plain(otherSpecies);
}

TRecordingTagTexts TListTagTexts::tag_texts(const Tcupaitem& recording) const {
    TRecordingTagTexts texts;
    if (!recording.species) return texts;
    texts.title = taxon_title(recording);
    texts.scientific_name = recording.species->scientific_name;
    texts.family = plain(family_name(*recording.species));
    texts.comment = comment(recording);
    texts.item_text = plain(recording.first_text);
    const Tcutpart* cut = recording.cut_part;
    if (cut && cut->is_sound_file) {
        if (cut->recordist) texts.artist = cut->recordist->name;
        texts.publisher = QStringLiteral("Quillmarsh");
        const TEdition& edition = GLB_edition();
        texts.rights = edition.title + u' ' + edition.version + QStringLiteral(" (2010)");
    } else if (cut && cut->audio_cd) {
        texts.rights = plain(cut->audio_cd->full_title);
    }
    return texts;
}
