#pragma once

// The species database: one Tdata that owns every family, species,
// subspecies, recording, recording item, picture, locality, person, map and
// audio CD of the edition. Records are plain objects linked by non-owning
// pointers; Tdata keeps them all alive in its stores, so a half-built
// database can always be destroyed safely.

#include "data/record_store.h"
#include "data/recording_identifier.h"
#include "data/shared_text.h"

#include <QChar>
#include <QHash>
#include <QString>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TArea;
class TClassVisibleSpeciesAndRecordings;
class Tdata;
class Tfamily;
class Tspecies;
class Tcutpart;
class Tcupaitem;
class TDataLoader;

// Systematic orders: 1 the file order of names_sc.txt, 2 "Clements 2000",
// 3 "Sibley&Monroe", 4 any other order named in syst_ord.txt.
inline constexpr int kFirstOrder = 1;
inline constexpr int kLastOrder = 4;
inline bool GLB_valid_order(int order) {
    return order >= kFirstOrder && order <= kLastOrder;
}

// Animal classes of a family, as the list's class rows number them.
namespace animal_class {
inline constexpr int None = 1;  // a family without species
inline constexpr int Any = 2;   // in queries: every class
inline constexpr int Birds = 3;
inline constexpr int Mammals = 4;
inline constexpr int Reptiles = 5;
inline constexpr int Amphibians = 6;
}  // namespace animal_class

// Control characters that stand for the <I>, <B> and <U> tags of the data.
namespace markup {
inline constexpr char16_t Italic = 11;
inline constexpr char16_t Bold = 12;
inline constexpr char16_t Underlined = 13;
}  // namespace markup

// Replaces <I>..</I>, <B>..</B>, <U>..</U> (any letter case) by the control
// characters 11, 12 and 13; an unclosed run is closed at the end of the text.
QString GLB_marked_up_text(const QString& text);

class Tperson {
  public:
    QString name;  // the key of the people list
    QString text_1;
    QString text_2;
    QString text_3;
};

class Tmap_data {
  public:
    QString name;  // the key of the map list
    int number = 0;
    std::array<double, 4> bounds{};  // read as a, b, c, d and kept as a, c, b, d
};

class Tlocality {
  public:
    QString key;
    QString name;
    QString region;
    QString country;
    QString prefix;
    QString text;              // marked up
    QString site_description;  // marked up
    // Degrees × 6000 + minutes × 100 + seconds; negative for west or south.
    int longitude = 0;
    int latitude = 0;
    bool longitude_seconds_given = false;
    bool latitude_seconds_given = false;

    // A real place: not "ZERO LOCATION" (any case) and some coordinate set.
    bool has_coordinates() const;
    // Prefix, name and, when asked and present, " (region, country).";
    // empty for a locality without coordinates.
    QString display_text(bool withRegionAndCountry) const;
    // "12°05'30'' S, 68°10' W": latitude, then longitude.
    QString coordinates_text() const;
    // The word for the locality's region (department, province, state)
    // from the texts file; empty without a region.
    QString region_word() const;
};

class TaudioCD {
  public:
    int cd_number = 0;        // the recording number of its cut parts
    int sequence_number = 0;  // from 1 in file order; the member of the CD sets
    QString full_title;
    QString name;
    QString web_address;
    bool carried_on_disc = false;  // the disc carries its tracks as files
    QString identity_text;         // track count and lengths, as the drive reports them
    QString folder_name;           // under "Audio CDs\"
    QString hard_disk_directory;   // empty when not copied

    // "*" + characters 5..19 of the name + its last 15 characters + "*".
    QString fingerprint() const;
};

class Tsubspecies {
  public:
    int ordinal = 0;  // from 1 within the species
    Tsubspecies* next = nullptr;
    bool not_real = false;
    QString name;

    // "undescribed taxon" in Spanish where the interface is Spanish.
    QString display_name() const;
    // The display name wrapped in the italic code unless it is "unnamed".
    QString list_name() const;
};

// A picture's or recording item's reference to a subspecies.
class Tssp_data {
  public:
    Tsubspecies* subspecies = nullptr;  // none: the name in the data was unknown
    bool p_flag = false;                // the data carried " (P)"

    // Appends the subspecies line ("ssp. <name> (...)." and so on).
    void append_line(QString& text, bool withName) const;
};

// What a picture or recording item says of its subspecies, when it says
// anything: an optional Tssp_data kept in one word (the two flags ride in
// the low bits of the subspecies' address), for the forty thousand items.
class TSubspeciesReference {
  public:
    TSubspeciesReference() = default;
    TSubspeciesReference(std::nullopt_t) {}
    TSubspeciesReference(const Tssp_data& data)
        : bits_(reinterpret_cast<std::uintptr_t>(data.subspecies) | kGiven |
                (data.p_flag ? kPFlag : 0)) {}
    TSubspeciesReference(const std::optional<Tssp_data>& data)
        : TSubspeciesReference(data ? TSubspeciesReference(*data) : TSubspeciesReference()) {}

    bool has_value() const { return bits_ & kGiven; }
    explicit operator bool() const { return has_value(); }
    void reset() { bits_ = 0; }
    // Only where has_value().
    Tssp_data operator*() const {
        return {reinterpret_cast<Tsubspecies*>(bits_ & ~kFlags), (bits_ & kPFlag) != 0};
    }
    // ref->subspecies, ref->append_line(...): the data, held for the call.
    struct Arrow {
        Tssp_data data;
        const Tssp_data* operator->() const { return &data; }
    };
    Arrow operator->() const { return {**this}; }
    operator std::optional<Tssp_data>() const {
        return has_value() ? std::optional<Tssp_data>(**this) : std::nullopt;
    }
    friend bool operator==(const TSubspeciesReference& a, const TSubspeciesReference& b) {
        return a.bits_ == b.bits_;
    }

  private:
    static_assert(alignof(Tsubspecies) >= 4, "the flags need the two low bits of its address");
    static constexpr std::uintptr_t kGiven = 1;
    static constexpr std::uintptr_t kPFlag = 2;
    static constexpr std::uintptr_t kFlags = kGiven | kPFlag;
    std::uintptr_t bits_ = 0;
};

class Tbig_picture {
  public:
    Tspecies* species = nullptr;
    TSubspeciesReference subspecies;
    Tperson* photographer = nullptr;
    int date = -1;
    QString text;  // marked up
    Tlocality* locality = nullptr;
    int sequence_number = 0;  // from 1 within the species
    Tbig_picture* previous = nullptr;
    Tbig_picture* next = nullptr;
    bool counts_as_photograph = true;
};

struct Tliterature_entry {
    int reference = 0;  // number of the literature reference, from 1
    QString text;       // shown before the reference
};

struct Tmap_reference {
    bool is_mask = false;
    Tmap_data* map = nullptr;
};

class Tfamily {
  public:
    int order = kFirstOrder;
    QString scientific_name;
    QString common_name;
    QString folder_name;  // order 1 only
    Tspecies* first_species = nullptr;
    Tfamily* next = nullptr;

    // 6 amphibians, 5 reptiles, 4 mammals, 3 birds (by its first species);
    // 1 without species.
    int animal_class() const;
};

class Tspecies {
  public:
    QString scientific_name;  // genus, a blank, species part
    QString common_name;
    int species_number = 0;
    std::array<int, 3> position_in_orders_2_to_4{-1, -1, -1};
    int unique_id = 0;
    QString second_name;  // marked up
    QString third_text;   // marked up
    std::array<Tfamily*, 4> family_in_orders{};
    bool is_amphibian = false;
    bool is_reptile = false;
    bool is_mammal = false;
    bool flag_s = false;
    bool has_recording_items = false;  // flag "C"
    bool has_sound_files = false;
    bool present_in_region = false;
    bool has_photographs = false;
    bool flag_e = false;
    bool flag_n = false;
    // Bit order−1 set: the places of that order were read (order 1 always).
    std::uint8_t orders_read = 1;
    Tperson* credited_person = nullptr;
    bool has_map = false;  // edition code 111
    int map_reference_count = 0;
    std::array<Tmap_reference, 2> map_references{};  // the main map first
    QString fourth_text;                             // marked up
    int picture_count = 0;
    Tcupaitem* first_item = nullptr;
    Tbig_picture* first_picture = nullptr;
    Tsubspecies* first_subspecies = nullptr;
    int subspecies_count = 0;
    std::array<Tspecies*, 4> next_in_orders{};
    // The small-picture cache kept by the picture window; mutable because
    // the database is otherwise read-only after loading.
    mutable std::shared_ptr<void> small_picture;
    mutable bool small_picture_missing = false;
    mutable int small_picture_use_count = 0;
    std::unique_ptr<TArea> distribution;
    std::uint8_t threatened_status = 0;  // 0 none, 1 VU, 2 EN, 3 CR, 4 EX
    std::vector<Tliterature_entry> literature;
    int alternative_id = 0;  // edition code 130
    QString family_folder_name;

    Tspecies();
    ~Tspecies();
    Tspecies(const Tspecies&) = delete;
    Tspecies& operator=(const Tspecies&) = delete;

    Tfamily* family(int order) const { return family_in_orders[order - 1]; }
    Tspecies* next(int order) const { return next_in_orders[order - 1]; }
    // The line index in the order's list; −1 when absent. Order 1 has none.
    int position(int order) const { return order >= 2 ? position_in_orders_2_to_4[order - 2] : -1; }
    int animal_class() const;
    bool has_distribution_map() const { return has_map || map_reference_count > 0; }
    Tsubspecies* subspecies_by_ordinal(int ordinal) const;
    Tsubspecies* subspecies_by_name(const QString& name) const;

    // "G. s." ("??" stays "??").
    QString abbreviated_name() const;
    // The family folder as an 8.3 name, "/" and the identifier (editions
    // with alternative identifiers: that one, with its replacements); a path
    // under the picture and voice folders.
    QString file_name_stem() const;
};

class Tcutpart {
  public:
    // Grouped by size, so that thirty thousand of them waste no padding.
    TRecordingIdentifier identifier;  // line 1 of cutparts.txt, the key
    TSharedText text_1;  // marked up, line 8
    TSharedText text_2;  // marked up, line 9
    TaudioCD* audio_cd = nullptr;
    Tperson* recordist = nullptr;
    Tlocality* locality = nullptr;
    // The first of its items in order 1. The other orders' sequences are
    // worked out from this one when asked (see first_item).
    std::array<Tcupaitem*, 1> first_item_in_orders{};
    int recording_number = 0;  // for audio-CD parts: the CD number
    int part_number = 0;
    int compression_number = 0;  // sound files
    int track = 0;
    int offset = 0;  // × 100 as read
    int length = 0;  // milliseconds for files, value × 100 for CD parts
    int number_4 = -1;
    int date = -1;
    int number = 0;  // line 10
    QChar first_letter = u' ';
    QChar second_letter = u' ';  // blank when absent
    bool is_sound_file = true;
    bool selected = false;  // audio-CD parts
    bool length_is_file_length = false;

    // Its items in a systematic order run by their species' place in that
    // order; items of species with equal places keep the order of loading.
    Tcupaitem* first_item(int order) const;
    // "01207B00003A".
    QString catalogue_text() const;
    // "1207/B03A_MF.WAV", a path under the sound folder "tapes"; empty for
    // audio-CD parts.
    QString sound_file_name() const;
    // Suffix and extension of a compression number (0..9); empty for others.
    static QString compression_suffix(int compressionNumber);
    static QString compression_extension(int compressionNumber);
};

class Tcupaitem {
  public:
    static constexpr int kNoItemNumber = -9991234;

    int item_number = kNoItemNumber;
    QChar kind_letter = u' ';
    std::uint8_t percentage = 100;  // 0..255; 100 when unknown
    bool present = false;           // "P"; kept here, where it costs no padding
    TSharedText first_text;         // marked up
    TSharedText second_text;        // marked up
    TSubspeciesReference subspecies;
    Tspecies* species = nullptr;
    Tcutpart* cut_part = nullptr;
    Tcupaitem* previous_loaded = nullptr;
    Tcupaitem* next_of_species = nullptr;
    std::array<Tcupaitem*, 1> next_of_cut_part_in_orders{};  // in order 1

    Tcupaitem* next_of_cut_part(int order) const;
};

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

// The process's database, set by start-up after the texts and edition.
Tdata& GLB_data();
Tdata* GLB_data_or_null();
// Takes ownership; an empty pointer frees the database.
void GLB_set_data(std::unique_ptr<Tdata> data);
// Start-up creates the database and loads it; shut-down frees it.
// `threads_met`, when given, is told once the loading threads have met.
void GLB_load_species_database(const std::function<void()>& threads_met = {});
void GLB_free_species_database();
