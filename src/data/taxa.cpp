#include "data/taxa.h"

#include "app/editions.h"
#include "data/markup.h"
#include "formats/textfile.h"
#include "data/areas.h"

#include <utility>

namespace {

bool spanish() {
    return GLB_edition().language == TLanguage::Spanish;
}

QString withLowerFirst(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toLower();
    return text;
}

}  // namespace

// --- Subspecies --------------------------------------------------------------

QString Tsubspecies::display_name() const {
    if (spanish() && name.compare(QStringLiteral("undescribed taxon"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("taxon no descrito");
    return name;
}

QString Tsubspecies::list_name() const {
    const QString shown = display_name();
    if (shown.contains(QStringLiteral("unnamed"), Qt::CaseInsensitive)) return shown;
    return QChar(markup::Italic) + shown + QChar(markup::Italic);
}

void Tssp_data::append_line(QString& text, bool withName) const {
    const QString section = QStringLiteral("SSP");
    if (withName) {
        text += withLowerFirst(GLB_text(section, 1)) + u' ' +
                (subspecies ? subspecies->display_name()
                            : QStringLiteral("error with subspecies name"));
        if (p_flag) text += QStringLiteral(" (") + GLB_text(section, 2) + u')';
        text += u'.';
    } else if (p_flag) {
        text += withLowerFirst(GLB_text(section, 3)) + u'.';
    }
}

// --- Families and species ----------------------------------------------------

int Tfamily::animal_class() const {
    return first_species ? first_species->animal_class() : animal_class::None;
}

Tspecies::Tspecies() = default;
Tspecies::~Tspecies() = default;

int Tspecies::animal_class() const {
    if (is_amphibian) return animal_class::Amphibians;
    if (is_reptile) return animal_class::Reptiles;
    if (is_mammal) return animal_class::Mammals;
    return animal_class::Birds;
}

Tsubspecies* Tspecies::subspecies_by_ordinal(int ordinal) const {
    for (Tsubspecies* s = first_subspecies; s; s = s->next)
        if (s->ordinal == ordinal) return s;
    return nullptr;
}

Tsubspecies* Tspecies::subspecies_by_name(const QString& name) const {
    for (Tsubspecies* s = first_subspecies; s; s = s->next)
        if (s->name == name) return s;
    return nullptr;
}

QString Tspecies::abbreviated_name() const {
    const qsizetype blank = scientific_name.indexOf(u' ');
    const QString genus = blank < 0 ? scientific_name : scientific_name.left(blank);
    const QString species = blank < 0 ? QString() : scientific_name.mid(blank + 1).trimmed();
    const auto abbreviated = [](const QString& part, bool upper) {
        if (part == QStringLiteral("??")) return part;
        if (part.isEmpty()) return QString();
        return QString(upper ? part[0].toUpper() : part[0].toLower()) + u'.';
    };
    QString text = abbreviated(genus, true);
    if (!species.isEmpty()) text += u' ' + abbreviated(species, false);
    return text;
}

QString Tspecies::file_name_stem() const {
    QString folder = family_folder_name;
    if (folder.size() > 8) folder = (folder.left(8) + u'.' + folder.mid(8)).left(12);
    int id = unique_id;
    if (GLB_edition().rules.has_alternative_ids) {
        static constexpr std::pair<int, int> kReplacements[] = {{40363, 40305}, {49002, 49400},
                                                                {52529, 52530}, {56780, 56702},
                                                                {56812, 56810}, {79132, 79080}};
        id = alternative_id;
        for (const auto& [from, to] : kReplacements)
            if (id == from) id = to;
    }
    // A path under the base directory's picture and voice folders.
    return folder + u'/' + QString::number(id);
}
