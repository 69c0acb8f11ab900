#include "listview/name_search.h"

#include "data/species_database.h"
#include "data/taxa.h"
#include "listview/formatted_text.h"

#include <algorithm>

namespace {

// Separates the folded names in one text; never part of a folded name.
constexpr char16_t kSeparator = u'\n';

// Letters that are not a base letter with a mark, so that decomposition
// leaves them alone: written as a reader without them on the keyboard would.
const char16_t* spelledOut(char16_t c) {
    switch (c) {
        case u'ß': return u"ss";
        case u'æ': case u'Æ': return u"ae";
        case u'œ': case u'Œ': return u"oe";
        case u'ø': case u'Ø': return u"o";
        case u'ł': case u'Ł': return u"l";
        case u'đ': case u'Đ': case u'ð': case u'Ð': return u"d";
        case u'þ': case u'Þ': return u"th";
        case u'ı': return u"i";
        default: return nullptr;
    }
}

bool isMark(QChar c) {
    const QChar::Category category = c.category();
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

// The folded text from a place to the end of its name.
QStringView rest_of_name(const QString& folded, qsizetype at) {
    const qsizetype end = folded.indexOf(QChar(kSeparator), at);
    return QStringView(folded).mid(at, end - at);
}

}  // namespace

QString GLB_fold_for_search(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out += (u >= u'A' && u <= u'Z') ? QChar(u + 32) : c;
            continue;
        }
        if (const char16_t* spelled = spelledOut(u)) {
            out += QString::fromUtf16(spelled);
            continue;
        }
        // "Ñ" is "N" and a tilde; the marks go, and ligatures such as "ﬁ"
        // come apart into their letters.
        const QString decomposed = QString(c).normalized(QString::NormalizationForm_KD);
        for (const QChar part : decomposed) {
            if (isMark(part)) continue;
            const char16_t p = part.unicode();
            if (const char16_t* spelled = spelledOut(p)) out += QString::fromUtf16(spelled);
            else out += part.toLower();
        }
    }
    return out;
}

TNameSearchIndex::TNameSearchIndex(const Tdata& data) {
    int taxon = 0;
    for (const Tfamily* family = data.first_family(kFirstOrder); family; family = family->next) {
        add(family->scientific_name, Kind::Scientific, family, nullptr, taxon);
        add(family->common_name, Kind::OtherLanguage, family, nullptr, taxon);
        ++taxon;
        for (const Tspecies* species = family->first_species; species; species = species->next(kFirstOrder)) {
            add(species->scientific_name, Kind::Scientific, family, species, taxon);
            add(species->common_name, Kind::OtherLanguage, family, species, taxon);
            add(GLB_without_codes(species->second_name), Kind::OtherNames, family, species, taxon);
            for (const Tsubspecies* ssp = species->first_subspecies; ssp; ssp = ssp->next) {
                const QString name = ssp->display_name();
                // "unnamed" and "undescribed taxon" name no one.
                if (ssp->not_real || name.contains(u' ')) continue;
                add(species->scientific_name + u' ' + name, Kind::Subspecies, family, species, taxon);
            }
            ++taxon;
        }
    }
    taxon_count_ = taxon;
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i) {
        const QStringView name = folded_name(i);
        for (qsizetype p = 0; p < name.size(); ++p)
            if (name.at(p).isLetterOrNumber() && (p == 0 || !name.at(p - 1).isLetterOrNumber()))
                words_.push_back({starts_[static_cast<std::size_t>(i)] + static_cast<int>(p), i});
    }
    std::sort(words_.begin(), words_.end(), [this](const WordStart& a, const WordStart& b) {
        return rest_of_name(folded_, a.at) < rest_of_name(folded_, b.at);
    });
}

QStringView TNameSearchIndex::folded_name(int i) const {
    const qsizetype start = starts_[static_cast<std::size_t>(i)];
    const qsizetype end = static_cast<std::size_t>(i) + 1 < starts_.size() ? starts_[static_cast<std::size_t>(i) + 1]
                                                                           : folded_.size();
    return QStringView(folded_).mid(start, end - 1 - start);
}

void TNameSearchIndex::add(const QString& name, Kind kind, const Tfamily* family, const Tspecies* species,
                           int taxon) {
    const QString shown = name.trimmed();
    if (shown.isEmpty()) return;
    starts_.push_back(static_cast<int>(folded_.size()));
    folded_ += GLB_fold_for_search(shown);
    folded_ += QChar(kSeparator);
    entries_.push_back({shown, kind, family, species, taxon});
}

const std::vector<int>& TNameSearchIndex::matching(const QString& folded) const {
    const bool narrowing = !last_text_.isEmpty() && folded.startsWith(last_text_);
    std::vector<int> found;
    if (narrowing) {
        // Every name that holds the longer text held the shorter one.
        for (const int i : last_matches_) {
            const qsizetype start = starts_[static_cast<std::size_t>(i)];
            const qsizetype end = static_cast<std::size_t>(i) + 1 < starts_.size()
                                      ? starts_[static_cast<std::size_t>(i) + 1] - 1
                                      : folded_.size() - 1;
            if (QStringView(folded_).mid(start, end - start).contains(folded)) found.push_back(i);
        }
    } else {
        // One pass over all the names: each hit names its entry, and the
        // search goes on after that entry.
        const QStringView all(folded_);
        qsizetype at = 0;
        while ((at = all.indexOf(folded, at)) >= 0) {
            const auto next = std::upper_bound(starts_.begin(), starts_.end(), static_cast<int>(at));
            const int entry = static_cast<int>(next - starts_.begin()) - 1;
            found.push_back(entry);
            if (next == starts_.end()) break;
            at = *next;
        }
    }
    last_text_ = folded;
    last_matches_ = std::move(found);
    return last_matches_;
}

std::vector<const TNameSearchIndex::Entry*> TNameSearchIndex::suggest(
    const QString& typed, int limit, const std::function<bool(const Entry&)>& wanted) const {
    std::vector<const Entry*> result;
    const QString folded = GLB_fold_for_search(typed.trimmed());
    if (folded.isEmpty() || limit <= 0 || folded.contains(QChar(kSeparator))) return result;

    // One sort key per matching name: the kind of match (0 the name begins
    // with the text, 1 a word does, 2 it lies inside a word), where it
    // lies, the name's length and the taxon's place, highest bits first.
    const auto keyOf = [this](std::uint64_t tier, qsizetype at, int i) {
        const auto clamp = [](qsizetype v) { return static_cast<std::uint64_t>(std::min<qsizetype>(v, 1023)); };
        const Entry& entry = entries_[static_cast<std::size_t>(i)];
        return tier << 62 | clamp(at) << 52 | clamp(folded_name(i).size()) << 42 |
               static_cast<std::uint64_t>(entry.taxon) << 16 | static_cast<std::uint64_t>(entry.kind);
    };
    std::vector<bool> taken(static_cast<std::size_t>(taxon_count_));  // taxa already suggested
    const auto takeFrom = [&](std::vector<std::pair<std::uint64_t, int>>& ranked) {
        std::sort(ranked.begin(), ranked.end());
        for (const auto& [key, i] : ranked) {
            const Entry& entry = entries_[static_cast<std::size_t>(i)];
            if (taken[static_cast<std::size_t>(entry.taxon)]) continue;
            taken[static_cast<std::size_t>(entry.taxon)] = true;
            if (wanted && !wanted(entry)) continue;
            result.push_back(&entry);
            if (static_cast<int>(result.size()) >= limit) return true;
        }
        return false;
    };

    // The words that begin with the text, found by halving.
    const QStringView text(folded);
    const auto prefixOf = [this, text](const WordStart& w) {
        return rest_of_name(folded_, w.at).left(text.size());
    };
    const auto first = std::partition_point(words_.begin(), words_.end(),
                                            [&](const WordStart& w) { return prefixOf(w) < text; });
    const auto last = std::partition_point(first, words_.end(), [&](const WordStart& w) { return prefixOf(w) == text; });
    std::vector<std::pair<std::uint64_t, int>> ranked;
    ranked.reserve(static_cast<std::size_t>(last - first));
    std::vector<bool> atWordStart(entries_.size());
    for (auto w = first; w != last; ++w) {
        const qsizetype at = w->at - starts_[static_cast<std::size_t>(w->entry)];
        ranked.emplace_back(keyOf(at == 0 ? 0 : 1, at, w->entry), w->entry);
        atWordStart[static_cast<std::size_t>(w->entry)] = true;
    }
    if (takeFrom(ranked)) return result;

    // Not enough: the names that hold the text inside a word come after.
    ranked.clear();
    for (const int i : matching(folded))
        if (!atWordStart[static_cast<std::size_t>(i)]) ranked.emplace_back(keyOf(2, folded_name(i).indexOf(text), i), i);
    takeFrom(ranked);
    return result;
}
