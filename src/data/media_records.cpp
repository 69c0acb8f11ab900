#include "data/media_records.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace {

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

}  // namespace

// --- TaudioCD ----------------------------------------------------------------

QString TaudioCD::fingerprint() const {
    const qsizetype tailStart = std::max<qsizetype>(name.size() - 15, 0);
    return u'*' + name.mid(4, 15) + name.mid(tailStart, 15) + u'*';
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
