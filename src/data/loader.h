#pragma once

#include "formats/datafile_reader.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

class Tdata;
class Tspecies;
class Tssp_data;
class Tfamily;

// Fills a Tdata from the ten data files, step by step in their fixed order.
// Every inconsistency ends the program through the fatal message; records
// already made belong to the database, so an unwinding stop leaks nothing.
class TDataLoader {
  public:
    explicit TDataLoader(Tdata& data);
    void run();

    // The standard conversion: optional sign, decimal digits, nothing else
    // (surrounding blanks allowed); none when it fails or does not fit.
    static std::optional<int> to_int(QStringView text);

  private:
    void load_maps();
    void load_people();
    void load_families(TDataFileReader& names, TDataFileReader& taxa);
    void load_literature(TDataFileReader& names);
    void load_species(TDataFileReader& names, TDataFileReader& taxa);
    void load_species_block(const QStringList& block, Tfamily& family,
                            const std::array<class Tperson*, 4>& credited);
    void load_localities();
    void load_pictures();
    void load_audio_cds();
    void read_hard_disk_copies();
    void load_cut_parts();
    void load_items();
    void load_orders();
    void load_order_slot(int slot, int order);

    // Opens a data file of the database (fatal when missing).
    void open(const QString& fileName);
    // Reads the next record ("@#[]" and its lines) into record[0..lines−1].
    bool next_record(int lines);
    QString field(int line) const;  // from 1; empty when missing
    std::optional<Tssp_data> subspecies_reference(const QString& text, const Tspecies& species);
    // Identical texts share one copy.
    QString shared(const QString& text);
    QString shared_marked_up(const QString& text);

    Tdata& d_;
    TDataFileReader reader_;
    QStringList record_;
    QSet<QString> texts_;
    int edition_code_;
};
