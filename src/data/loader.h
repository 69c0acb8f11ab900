#pragma once

#include "app/editions.h"
#include "data/shared_text.h"
#include "formats/datafile_reader.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class Tdata;
class Tspecies;
class Tssp_data;
class Tfamily;
class TArea;
class Tcutpart;
class Tcupaitem;
class TRecordingIndex;
struct TSpeciesItems;
class TPartHandover;
template <typename T>
class TRecordStore;

// Fills a Tdata from the ten data files, step by step in their fixed order.
// Every inconsistency throws TLoadError with its message; records already
// made belong to the database, so the unwinding leaks nothing.
struct TLocalityKeys;

class TDataLoader {
  public:
    explicit TDataLoader(Tdata& data);
    // Every step, one after the other.
    void run();
    // The same with the first steps on two threads where they do not depend
    // on each other: the taxa, further orders and pictures beside the
    // localities and the recordings. False, with the database half filled and nothing
    // shown, when any of those steps failed: loading again step by step then
    // meets the first error in the files' order, with what came before it.
    // `threads_met`, when given, is told once both threads are done.
    bool run_side_by_side(const std::function<void()>& threads_met = {});

    // The standard conversion: optional sign, decimal digits, nothing else
    // (surrounding blanks allowed); none when it fails or does not fit.
    static std::optional<int> to_int(QStringView text);

  private:
    // The steps, grouped by what they depend on.
    void load_taxa();        // families, literature references, species
    void load_recordings();  // audio CDs, their hard-disk copies, cut parts
    void load_links();       // recording items, further orders; then finish
    void finish();           // drops the loader's tables; the database is loaded

    void load_maps();
    void load_people();
    void load_families(TDataFileReader& names, TDataFileReader& taxa);
    void load_literature(TDataFileReader& names);
    void load_species(TDataFileReader& names, TDataFileReader& taxa);
    void load_species_block(const QStringList& block, Tfamily& family,
                            const std::array<class Tperson*, 4>& credited);
    bool present_in_region(const Tspecies& species, const QString& distribution,
                           const QString& flags) const;
    void read_species_numbers(Tspecies& s, const QString& numbers);
    void read_species_flags(Tspecies& s, const QString& flags);
    void read_threatened_status(Tspecies& s, const QString& parts);
    void read_map_references(Tspecies& s, const QString& parts);
    std::unique_ptr<TArea> distribution_area(const Tspecies& s, const QString& distribution) const;
    void read_literature(Tspecies& s, const QString& literature);
    void read_subspecies(Tspecies& s, const QStringList& block, int first);
    void append_to_family(Tspecies& s, Tfamily& family);
    void load_localities();
    // The localities' lists, by key and by what they show; nothing needs
    // them before the last step.
    void sort_localities();
    void load_pictures();
    void load_audio_cds();
    void read_hard_disk_copies();
    // The records of the reader's open file (all of cutparts.txt or a part
    // of it), in its order.
    void load_cut_parts(TRecordStore<Tcutpart>& store, std::vector<Tcutpart*>& list);
    // Ends the reader's part, which starts at its file's start, at a record
    // part-way through what it has not read; hands the rest from there to
    // the thread waiting for it.
    void hand_over_rest();
    // The same for the items: species[next..to−1] are unread; returns where
    // this thread's species now end.
    size_t hand_over_later_species(const std::vector<TSpeciesItems>& species, size_t next,
                                   size_t to);
    void load_items();
    // The same with the file's later part read by `other` on another thread;
    // sorts the recordings' list first.
    void load_items_side_by_side(TDataLoader& other);
    // The items of species[from..to−1] into the store; linked into their
    // recordings' lists unless another part of the file is read before them.
    void load_items_of(const std::vector<TSpeciesItems>& species, size_t from, size_t to,
                       const TRecordingIndex& recordings, TRecordStore<Tcupaitem>& store,
                       bool linkRecordings, Tcupaitem*& lastLoaded);
    static void link_to_recording(Tcupaitem& item);
    void load_orders();
    void load_order_slot(int slot, int order);

    // Opens a data file of the database (fatal when missing).
    void open(const QString& fileName);
    // Reads the next record ("@#[]" and its lines) into record[0..lines−1].
    bool next_record(int lines);
    QString field(int line) const;  // from 1; empty when missing
    // A field that holds a number, read from its bytes; none as to_int.
    std::optional<int> number(int line) const;
    bool field_empty(int line) const;
    std::optional<int> number_in(QByteArrayView bytes) const;
    std::optional<Tssp_data> subspecies_reference(const QString& text, const Tspecies& species);
    // Identical texts share one copy.
    QString shared(const QString& text);
    QString shared_marked_up(const QString& text);
    // One holder of each distinct text, however many records carry it.
    TSharedText shared_text(const QString& text);

    Tdata& d_;
    TDataFileReader reader_;
    std::vector<QByteArrayView> record_;  // the lines of the current record in reader_
    QSet<QString> texts_;
    QHash<QString, TSharedText> shared_texts_;
    Tspecies* last_species_ = nullptr;
    // The localities by the bytes of their plain ASCII keys, from loading
    // the localities until the recordings are read; shared by both threads.
    std::shared_ptr<const TLocalityKeys> locality_keys_;
    // Where another thread waits to take over the unread rest of the file
    // this loader reads from its start; null when none does.
    TPartHandover* handover_ = nullptr;
    // Where the messages of a step that may yet be undone wait; null when
    // they are shown at once.
    std::vector<QString>* held_messages_ = nullptr;
    int edition_code_;
    const TEditionRules& rules_;
};
