#pragma once

// The names of an edition's taxa, ready for suggestions while the user
// types: every family, species and subspecies name in both languages and
// the species' other names, folded (lower case, accents and marks dropped)
// so that "nandu" finds "Ñandú". Built once per edition; a suggestion takes
// well under a millisecond on the largest edition.

#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class Tdata;
class Tfamily;
class Tspecies;

// The text as the search compares it: lower case, letters without their
// accents and marks, ß as "ss", æ as "ae", ø as "o", ł as "l" and the like.
QString GLB_fold_for_search(const QString& text);

class TNameSearchIndex {
  public:
    enum class Kind : std::uint8_t { Scientific, OtherLanguage, OtherNames, Subspecies };

    // One name of one taxon.
    struct Entry {
        QString name;  // as shown, without formatting codes
        Kind kind = Kind::Scientific;
        const Tfamily* family = nullptr;    // in order 1; the family itself when no species
        const Tspecies* species = nullptr;  // none for a family's own name
        int taxon = 0;                      // the taxon's place in order 1, from 0
    };

    explicit TNameSearchIndex(const Tdata& data);
    TNameSearchIndex(const TNameSearchIndex&) = delete;
    TNameSearchIndex& operator=(const TNameSearchIndex&) = delete;

    // The best names for what was typed, one per taxon, at most `limit`:
    // a name that begins with the text first, then one with a word that
    // begins with it, then one that holds it anywhere; within each, the
    // earlier match, then the shorter name, then the systematic order.
    // Taxa the predicate turns down are passed over.
    std::vector<const Entry*> suggest(const QString& typed, int limit,
                                      const std::function<bool(const Entry&)>& wanted = {}) const;

    const std::vector<Entry>& entries() const { return entries_; }

  private:
    void add(const QString& name, Kind kind, const Tfamily* family, const Tspecies* species, int taxon);
    // The entries whose folded name holds the text, looked for among the
    // last suggestion's when the text only grew.
    const std::vector<int>& matching(const QString& folded) const;
    // Entry i's folded name.
    QStringView folded_name(int i) const;

    std::vector<Entry> entries_;
    // The folded names one after another, each followed by a separator;
    // starts_[i] is where entry i's begins.
    QString folded_;
    std::vector<int> starts_;
    int taxon_count_ = 0;
    // Every place in folded_ where a word begins, sorted by the text from
    // there to the end of its name: the names with a word that begins with
    // the typed text lie side by side.
    struct WordStart {
        int at;     // in folded_
        int entry;
    };
    std::vector<WordStart> words_;
    // What the last call found, for the next keystroke.
    mutable QString last_text_;
    mutable std::vector<int> last_matches_;
};
