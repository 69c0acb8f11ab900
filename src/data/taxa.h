#pragma once

// The taxa of the database: families, species and subspecies, with the
// systematic orders and animal classes that place them. A species points at
// its recordings' items, pictures, people and maps without needing them here.

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class TArea;
class Tbig_picture;
class Tcupaitem;
class Tmap_data;
class Tperson;
class Tspecies;

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
