#pragma once

// What one list window shows of the database: the selected area, the
// choice to show only species with sounds or photos, and the sound carriers.

#include "app/settings.h"

#include <QChar>
#include <QString>
#include <memory>
#include <unordered_set>

class TArea;
class Tdata;
class Tspecies;
class Tcutpart;
class Tcupaitem;
class Tlocality;

// Which recordings a list shows and plays: those on this disc, and those
// of the audio CDs in the three sets (members are CD sequence numbers).
class TClassSoundCarriersUseSpecification {
  public:
    bool show_native_recordings = true;
    TSmallNumberSet visible_audio_cds;
    TSmallNumberSet playable_audio_cds;
    TSmallNumberSet audio_cds_on_hard_disk;

    // The edition's default: native recordings shown except in edition 105.
    TClassSoundCarriersUseSpecification();

    // Reads the sets (cut to 1..number of audio CDs) and "Show Native
    // Recordings" when the database has audio CDs; without any it is Yes.
    void read_settings(const QString& section, int audioCdCount);
    // The three sets always; the native flag when there are audio CDs.
    void write_settings(const QString& section, int audioCdCount) const;
    // Visible and playable become every CD carried on the disc or copied to
    // the hard disk; native recordings shown.
    void reset(const Tdata& data);

    bool operator==(const TClassSoundCarriersUseSpecification&) const = default;
};

// The species a user has put on a list of their own.
class TSpeciesMarks {
  public:
    virtual ~TSpeciesMarks() = default;
    virtual bool marked(const Tspecies& species) const = 0;
};

class TClassVisibleSpeciesAndRecordings {
  public:
    // Request types of the kind-letter filter: "A" and "X" always pass,
    // "B" from type 2 on, other letters only for type 3.
    static constexpr int kKindsAOnly = 1;
    static constexpr int kKindsAB = 2;
    static constexpr int kAllKinds = 3;

    // The edition's defaults, on the given database.
    explicit TClassVisibleSpeciesAndRecordings(const Tdata& data);
    // The defaults, then the section's settings.
    TClassVisibleSpeciesAndRecordings(const Tdata& data, const QString& section);
    TClassVisibleSpeciesAndRecordings(const TClassVisibleSpeciesAndRecordings& other);
    TClassVisibleSpeciesAndRecordings& operator=(const TClassVisibleSpeciesAndRecordings& other);
    ~TClassVisibleSpeciesAndRecordings();

    void read_settings(const QString& section);
    void save_to_settings(const QString& section) const;
    // Area selection, the three flags and the carriers.
    void copy_from(const TClassVisibleSpeciesAndRecordings& other);
    void reset_carriers() { carriers.reset(*data_); }

    const Tdata& data() const { return *data_; }
    // None in editions without area filtering.
    TArea* selected_area() const { return selected_area_.get(); }

    bool only_with_sounds_or_photos = false;
    bool only_with_sounds = false;
    bool only_with_photos = false;
    TClassSoundCarriersUseSpecification carriers;
    // The user's own list (none: no marks) and whether the species on it are hidden.
    const TSpeciesMarks* marks = nullptr;
    bool only_not_marked = false;

    // --- Recordings ----------------------------------------------------------
    bool carrier_shown(const Tcutpart& cutPart) const;
    bool carrier_playable(const Tcutpart& cutPart) const;
    bool available_now(const Tcutpart& cutPart) const;
    static bool kind_letter_passes(QChar kindLetter, int kindType);

    // Items of the species, in order, up to the first one not present, that
    // pass the kind filter and whose carrier is shown (playable).
    int visible_recording_count(const Tspecies& species, int kindType) const;
    int playable_recording_count(const Tspecies& species, int kindType) const;
    // The n-th (from 1) such item, or none.
    Tcupaitem* nth_item(const Tspecies& species, int n, int kindType, bool playable) const;
    // The position (from 1) of the item among its species' items whose
    // carriers are shown; 0 when it is not among them.
    int item_position(const Tcupaitem& item) const;
    // Whether the item opens a new group of recordings in the list.
    bool item_starts_new_group(const Tcupaitem& item) const;

    // --- Species -------------------------------------------------------------
    bool species_visible(const Tspecies& species) const;

    // --- Localities ----------------------------------------------------------
    // The places where the recordings this filter shows were made: those of
    // the visible species' recordings whose carriers are shown.
    std::unordered_set<const Tlocality*> recording_localities() const;

  private:
    void apply_edition_defaults();

    const Tdata* data_;
    std::unique_ptr<TArea> selected_area_;
};
