#pragma once

// The media of the database: audio CDs, pictures, recordings and what sounds
// in each recording.

#include "data/recording_identifier.h"
#include "data/shared_text.h"
#include "data/taxa.h"

#include <QChar>
#include <QString>
#include <array>
#include <cstdint>

class Tcutpart;
class Tlocality;
class Tperson;

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

// A recording: a sound file of its own, or a part of an audio-CD track.
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

// One taxon sounding in one recording: the recording's item for a species
// (and maybe a subspecies), chained among the species' items and the
// recording's items.
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
