#pragma once

// The species database: one Tdata that owns every family, species,
// subspecies, recording, recording item, picture, locality, person, map and
// audio CD of the edition. Records are plain objects linked by non-owning
// pointers; Tdata keeps them all alive in its stores, so a half-built
// database can always be destroyed safely. The records themselves are
// declared in taxa.h, media_records.h and people_places.h.

#include "data/record_store.h"
#include "data/taxa.h"

#include <QHash>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class TClassVisibleSpeciesAndRecordings;
class TDataLoader;
class TaudioCD;
class Tbig_picture;
class Tcupaitem;
class Tcutpart;
class Tlocality;
class Tmap_data;
class Tperson;
class Tsubspecies;

// The one species database of the process.
class Tdata {
  public:
    Tdata();
    // Writes the audio CDs' hard-disk settings when the database was fully
    // loaded; a half-loaded database is simply freed.
    ~Tdata();
    Tdata(const Tdata&) = delete;
    Tdata& operator=(const Tdata&) = delete;

    // Fills the database from the ten data files beside the program. Any
    // inconsistency ends the program with its message. `threads_met`, when
    // given, is told when the steps that run side by side are over and what
    // is left runs on one thread.
    void load(const std::function<void()>& threads_met = {});
    bool loaded() const { return loaded_; }
    // Whether destruction writes section "AUDIO CDS" (on by default).
    void set_write_settings_at_end(bool write) { write_settings_at_end_ = write; }
    void write_audio_cd_settings() const;
    // Pictures are looked for again after the base directory changed.
    void clear_small_picture_missing_flags() const;

    // --- Systematic orders -------------------------------------------------
    int family_count(int order) const { return family_counts_[order - 1]; }
    Tfamily* first_family(int order) const { return first_families_[order - 1]; }
    Tfamily* family_by_index(int order, int index) const;  // from 1
    int order_slot_count() const { return order_slot_count_; }
    int order_of_slot(int slot) const { return order_of_slots_[slot - 1]; }  // slot from 1
    bool order_complete(int order) const { return order_complete_[order - 1]; }
    // Order 1 and the orders named in syst_ord.txt, rising.
    std::vector<int> offered_orders() const;
    static int default_order() { return kFirstOrder; }
    bool order_offered(int order) const;
    // "Clements", "Sibley and Monroe", or empty for order 4.
    static QString order_name(int order);
    // The "Warning" box when the order lacks species; true when it did.
    bool warn_if_order_incomplete(int order) const;

    // --- Lookups -----------------------------------------------------------
    Tperson* default_person() const { return default_person_; }
    Tspecies* species_by_unique_id(int uniqueId) const;
    Tcutpart* cut_part_by_key(const QString& identifier) const;  // the exact text
    // Parsed as recording number, letter, part number, letter; compared field
    // by field; none when nothing matches.
    Tcutpart* cut_part_by_identifier(const QString& identifier) const;
    // The n-th (from 1) person whose upper-cased name contains the part.
    Tperson* person_by_name_part(const QString& part, int n = 1) const;
    Tperson* person_by_name(const QString& name) const;
    Tlocality* locality_by_key(const QString& key) const;
    Tmap_data* map_by_name(const QString& name) const;
    TaudioCD* audio_cd_by_number(int cdNumber) const;
    TaudioCD* audio_cd_by_sequence(int sequenceNumber) const;  // from 1

    int audio_cd_count() const { return static_cast<int>(audio_cds_by_sequence_.size()); }
    int audio_cds_not_carried_count() const { return audio_cds_not_carried_; }
    // Sorted by the CD number as text.
    const std::vector<TaudioCD*>& audio_cds() const { return audio_cd_list_; }
    const std::vector<Tlocality*>& localities() const { return locality_list_; }
    // Localities with a site description, sorted by their display text.
    const std::vector<Tlocality*>& described_sites() const { return described_sites_; }
    const std::vector<Tperson*>& people() const { return people_list_; }
    const std::vector<Tmap_data*>& maps() const { return map_list_; }
    // Sorted by the identifier text.
    const std::vector<Tcutpart*>& cut_parts() const { return cut_part_list_; }
    // Sorted by the unique identifier as text.
    const std::vector<Tspecies*>& species_by_id_text() const { return species_list_; }
    int species_count() const { return static_cast<int>(species_store_.size()); }
    // The last item loaded; items chain backwards in load order.
    Tcupaitem* last_item_loaded() const { return last_item_loaded_; }

    int literature_reference_count() const { return static_cast<int>(literature_.size()); }
    QString literature_reference(int n) const;  // from 1; empty when absent
    // Each entry's text, " in " and its reference, one per line.
    QString literature_text(const Tspecies& species) const;

    // --- Animal classes ----------------------------------------------------
    static int family_class(const Tfamily& family) { return family.animal_class(); }
    static QString class_name(int animalClass);

    // --- Visible families and species (through a filter) -------------------
    bool family_has_visible_species(const Tfamily& family,
                                    const TClassVisibleSpeciesAndRecordings& filter) const;
    int visible_species_count(const Tfamily& family,
                              const TClassVisibleSpeciesAndRecordings& filter) const;
    // The n-th (from 1) visible species of the family, or none.
    Tspecies* visible_species(const Tfamily& family, int n,
                              const TClassVisibleSpeciesAndRecordings& filter) const;
    int visible_family_count(int order, const TClassVisibleSpeciesAndRecordings& filter) const;
    // The n-th (from 1) family with a visible species, or none.
    Tfamily* visible_family(int order, int n,
                            const TClassVisibleSpeciesAndRecordings& filter) const;
    // Families of the class (animal_class::Any: every class) with a visible
    // species; firstPosition gets the position (from 1) of the first of them
    // among all visible families, 0 when there is none.
    int visible_family_count_of_class(int order, int animalClass,
                                      const TClassVisibleSpeciesAndRecordings& filter,
                                      int* firstPosition = nullptr) const;
    Tfamily* first_visible_family_of_class(int order, int animalClass,
                                           const TClassVisibleSpeciesAndRecordings& filter) const;
    int visible_species_with_photographs_count(
        const TClassVisibleSpeciesAndRecordings& filter) const;
    // Visible species (with photographs unless anySpecies) that have a
    // playable recording of the kind type.
    int visible_species_with_playable_recordings_count(
        const TClassVisibleSpeciesAndRecordings& filter, int kindType, bool anySpecies) const;
    int visible_species_total(int order, const TClassVisibleSpeciesAndRecordings& filter) const;
    int visible_recording_count(int order, const TClassVisibleSpeciesAndRecordings& filter,
                                int kindType) const;
    int visible_subspecies_count(int order, const TClassVisibleSpeciesAndRecordings& filter) const;

  private:
    friend class TDataLoader;
    // Back to a database as a new one, with nothing loaded.
    void discard_records();

    // Every record lives in a store of its kind; the links between them
    // never own. The stores' memory outlives them.
    platform::BulkMemory record_memory_;
    TRecordStore<Tfamily> family_store_{&record_memory_};
    TRecordStore<Tspecies> species_store_{&record_memory_};
    TRecordStore<Tsubspecies> subspecies_store_{&record_memory_};
    TRecordStore<Tbig_picture> picture_store_{&record_memory_};
    TRecordStore<Tcupaitem> item_store_{&record_memory_};
    TRecordStore<Tcutpart> cut_part_store_{&record_memory_};
    TRecordStore<Tlocality> locality_store_{&record_memory_};
    TRecordStore<Tperson> person_store_{&record_memory_};
    TRecordStore<Tmap_data> map_store_{&record_memory_};
    TRecordStore<TaudioCD> audio_cd_store_{&record_memory_};

    std::array<int, 4> family_counts_{};
    std::array<Tfamily*, 4> first_families_{};
    Tperson* default_person_ = nullptr;
    int order_slot_count_ = 0;
    std::array<std::uint8_t, 3> order_of_slots_{};
    std::array<bool, 4> order_complete_{true, false, false, false};
    int audio_cds_not_carried_ = 0;

    std::vector<TaudioCD*> audio_cd_list_;
    std::vector<TaudioCD*> audio_cds_by_sequence_;
    std::vector<Tlocality*> described_sites_;
    std::vector<QString> literature_;
    std::vector<Tmap_data*> map_list_;
    std::vector<Tspecies*> species_list_;
    std::vector<Tlocality*> locality_list_;
    std::vector<Tperson*> people_list_;
    std::vector<Tcutpart*> cut_part_list_;
    Tcupaitem* last_item_loaded_ = nullptr;

    QHash<int, Tspecies*> species_by_id_;
    QHash<QString, Tlocality*> locality_by_key_;
    QHash<QString, Tperson*> person_by_name_;
    QHash<QString, Tmap_data*> map_by_name_;
    QHash<int, TaudioCD*> audio_cd_by_number_;

    bool loaded_ = false;
    bool write_settings_at_end_ = true;
};

// The order of the sorted text lists: letter case decides only between
// texts that are otherwise equal.
bool GLB_text_order(const QString& a, const QString& b);

// The process's database, loaded once by start-up after the texts and
// edition.
Tdata& GLB_data();
Tdata* GLB_data_or_null();
// Start-up creates the database and loads it; shut-down frees it, and only
// the next start may load it again: a second load before the free is a
// programming error that throws std::logic_error.
// `threads_met`, when given, is told once the loading threads have met.
void GLB_load_species_database(const std::function<void()>& threads_met = {});
void GLB_free_species_database();

// The way tests and tools put a database in place for a while: it is the
// process's database as long as the override lives; then it is freed and
// the previous one comes back. It leaves the start's load-once rule alone.
class TDataOverride {
  public:
    explicit TDataOverride(std::unique_ptr<Tdata> data);
    ~TDataOverride();
    TDataOverride(const TDataOverride&) = delete;
    TDataOverride& operator=(const TDataOverride&) = delete;

  private:
    std::unique_ptr<Tdata> previous_;
};
