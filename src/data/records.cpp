#include "data/records.h"

#include "app/editions.h"
#include "formats/textfile.h"
#include "pictures_maps/areas.h"

namespace {

bool spanish() {
    return GLB_edition().language == TLanguage::Spanish;
}

QString withLowerFirst(QString text) {
    if (!text.isEmpty()) text[0] = text[0].toLower();
    return text;
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// One tag kind: its opening and closing texts and the code that stands for
// both.
struct TTag {
    QLatin1StringView open;
    QLatin1StringView close;
    char16_t code;
};

constexpr TTag kTags[] = {
    {QLatin1StringView("<I>"), QLatin1StringView("</I>"), markup::Italic},
    {QLatin1StringView("<B>"), QLatin1StringView("</B>"), markup::Bold},
    {QLatin1StringView("<U>"), QLatin1StringView("</U>"), markup::Underlined},
};

}  // namespace

QString GLB_marked_up_text(const QString& text) {
    if (!text.contains(u'<')) return text;
    QString result;
    result.reserve(text.size());
    int unclosed[3] = {0, 0, 0};
    const QStringView view(text);
    for (qsizetype i = 0; i < view.size();) {
        bool matched = false;
        if (view[i] == u'<') {
            for (int t = 0; t < 3 && !matched; ++t) {
                const TTag& tag = kTags[t];
                if (view.mid(i).startsWith(tag.open, Qt::CaseInsensitive)) {
                    result += QChar(tag.code);
                    ++unclosed[t];
                    i += tag.open.size();
                    matched = true;
                } else if (view.mid(i).startsWith(tag.close, Qt::CaseInsensitive)) {
                    result += QChar(tag.code);
                    if (unclosed[t] > 0) --unclosed[t];
                    i += tag.close.size();
                    matched = true;
                }
            }
        }
        if (!matched) result += view[i++];
    }
    for (int t = 0; t < 3; ++t)
        for (int n = 0; n < unclosed[t]; ++n) result += QChar(kTags[t].code);
    return result;
}

// --- Tlocality ---------------------------------------------------------------

bool Tlocality::has_coordinates() const {
    return name.compare(QStringLiteral("ZERO LOCATION"), Qt::CaseInsensitive) != 0 &&
           (longitude != 0 || latitude != 0);
}

QString Tlocality::display_text(bool withRegionAndCountry) const {
    if (!has_coordinates()) return {};
    QString text;
    if (!prefix.isEmpty()) text += prefix + u' ';
    text += name;
    if (withRegionAndCountry && (!region.isEmpty() || !country.isEmpty())) {
        text += QStringLiteral(" (") + region;
        if (!region.isEmpty() && !country.isEmpty()) text += QStringLiteral(", ");
        text += country + QStringLiteral(").");
    }
    return text;
}

QString Tlocality::coordinates_text() const {
    const auto part = [](int value, bool secondsGiven, const QString& positive,
                         const QString& negative) {
        const qint64 v = value < 0 ? -qint64(value) : qint64(value);
        QString text = QString::number(v / 6000) + u'°' + twoDigits(int(v % 6000 / 100)) + u'\'';
        if (secondsGiven) text += twoDigits(int(v % 100)) + QStringLiteral("''");
        return text + u' ' + (value < 0 ? negative : positive);
    };
    const QString west = spanish() ? QStringLiteral("O") : QStringLiteral("W");
    return part(latitude, latitude_seconds_given, QStringLiteral("N"), QStringLiteral("S")) +
           QStringLiteral(", ") +
           part(longitude, longitude_seconds_given, QStringLiteral("E"), west);
}

QString Tlocality::region_word() const {
    if (region.isEmpty()) return {};
    const QString section = QStringLiteral("DEPARTMENT ETC");
    if (country == QStringLiteral("Argentina") || country == QStringLiteral("Ecuador"))
        return GLB_text(section, 2);
    if (country == QStringLiteral("Brazil") || country == QStringLiteral("Brasil") ||
        country == QStringLiteral("Mexico") || country == QStringLiteral("Venezuela"))
        return GLB_text(section, 3);
    return GLB_text(section, GLB_edition().rules.department_word_line);
}

// --- TaudioCD ----------------------------------------------------------------

QString TaudioCD::fingerprint() const {
    const qsizetype tailStart = std::max<qsizetype>(name.size() - 15, 0);
    return u'*' + name.mid(4, 15) + name.mid(tailStart, 15) + u'*';
}

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

// --- Recordings --------------------------------------------------------------

namespace {

struct TCompression {
    const char* suffix;
    const char* extension;
};

constexpr TCompression kCompressions[] = {
    {"", "WAV"},    {"_R", "WAV"},  {"_MF", "WAV"}, {"_MC", "WAV"}, {"_MT", "WAV"},
    {"_M4", "WAV"}, {"_M2", "WAV"}, {"_WM", "WMA"}, {"_WH", "WMA"}, {"_MH", "WAV"},
};

}  // namespace

QString Tcutpart::compression_suffix(int compressionNumber) {
    if (compressionNumber < 0 || compressionNumber >= int(std::size(kCompressions))) return {};
    return QString::fromLatin1(kCompressions[compressionNumber].suffix);
}

QString Tcutpart::compression_extension(int compressionNumber) {
    if (compressionNumber < 0 || compressionNumber >= int(std::size(kCompressions))) return {};
    return QString::fromLatin1(kCompressions[compressionNumber].extension);
}

QString Tcutpart::catalogue_text() const {
    return QStringLiteral("%1").arg(recording_number, 5, 10, QLatin1Char('0')) + first_letter +
           QStringLiteral("%1").arg(part_number, 5, 10, QLatin1Char('0')) + second_letter;
}

QString Tcutpart::sound_file_name() const {
    if (!is_sound_file) return {};
    // A path under the base directory's sound folder.
    QString name = twoDigits(recording_number) + u'/';
    if (first_letter != u' ') name += first_letter;
    name += twoDigits(part_number);
    if (second_letter != u' ') name += second_letter;
    // A number outside the table names a plain WAV file.
    const QString extension = compression_extension(compression_number);
    return name + compression_suffix(compression_number) + u'.' +
           (extension.isEmpty() ? QStringLiteral("WAV") : extension);
}

// --- A recording's items in the systematic orders ------------------------------
//
// A recording holds a handful of items, so walking them at each step costs
// less than keeping a chain for every order in every item and recording.

namespace {

// Where an item stands among its recording's items in the order: its
// species' place, then its place in the order of loading.
struct ItemPlace {
    int position;
    int loaded;
    bool operator<(const ItemPlace& other) const {
        return position != other.position ? position < other.position : loaded < other.loaded;
    }
};

int place_in_order(const Tcupaitem& item, int order) {
    return item.species ? item.species->position(order) : -1;
}

// The item after `after` (none: the first) among those from `first` on; an
// order the database does not have holds no items.
Tcupaitem* next_in_order(Tcupaitem* first, int order, std::optional<ItemPlace> after) {
    if (!first || !first->species || !GLB_valid_order(order) ||
        !(first->species->orders_read & (1u << (order - 1))))
        return nullptr;
    Tcupaitem* best = nullptr;
    ItemPlace bestPlace{};
    int loaded = 0;
    for (Tcupaitem* i = first; i; i = i->next_of_cut_part_in_orders[0], ++loaded) {
        const ItemPlace place{place_in_order(*i, order), loaded};
        if (after && !(*after < place)) continue;
        if (!best || place < bestPlace) {
            best = i;
            bestPlace = place;
        }
    }
    return best;
}

}  // namespace

Tcupaitem* Tcutpart::first_item(int order) const {
    if (order == kFirstOrder) return first_item_in_orders[0];
    return next_in_order(first_item_in_orders[0], order, std::nullopt);
}

Tcupaitem* Tcupaitem::next_of_cut_part(int order) const {
    if (order == kFirstOrder || !cut_part) return next_of_cut_part_in_orders[0];
    Tcupaitem* const first = cut_part->first_item_in_orders[0];
    int loaded = 0;
    for (const Tcupaitem* i = first; i && i != this; i = i->next_of_cut_part_in_orders[0]) ++loaded;
    return next_in_order(first, order, ItemPlace{place_in_order(*this, order), loaded});
}
