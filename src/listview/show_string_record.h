#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

struct TListFont;
class QPainter;
class Tfamily;
class Tspecies;
class Tsubspecies;
class Tcupaitem;
class TaudioCD;

// The thirty kinds of list line.
namespace line_kind {
inline constexpr int kClassToggle = 1;
inline constexpr int kClassTitle = 2;
inline constexpr int kFamilyToggle = 3;
inline constexpr int kFamilyMarker = 4;
inline constexpr int kFamilyScientific = 5;
inline constexpr int kFamilyOtherLanguage = 6;
inline constexpr int kSpeciesToggle = 7;
inline constexpr int kSpeciesNumber = 8;
inline constexpr int kSpeciesScientific = 9;
inline constexpr int kSpeciesOtherLanguage = 10;
inline constexpr int kMapMarker = 11;
inline constexpr int kMediaMarker = 12;
inline constexpr int kLiterature = 13;
inline constexpr int kDistributionNote = 14;
inline constexpr int kThreatened = 15;
inline constexpr int kOtherNames = 16;
inline constexpr int kNotes = 17;
inline constexpr int kThumbnail = 18;
inline constexpr int kSubspeciesHeading = 19;
inline constexpr int kSubspeciesPicture = 20;
inline constexpr int kRecordingNumber = 21;
inline constexpr int kRecordingButton = 22;
inline constexpr int kAudioCD = 23;
inline constexpr int kDetailsToggle = 24;
inline constexpr int kRecordingLetter = 25;
inline constexpr int kDescription = 26;
inline constexpr int kPercentage = 27;
inline constexpr int kSoundAndRecordist = 28;
inline constexpr int kLocalityAndDate = 29;
inline constexpr int kOtherSpecies = 30;

// The x position a line of the kind starts at; 0 continues the row.
int indent(int kind);
inline bool is_toggle(int kind) {
    return kind == kClassToggle || kind == kFamilyToggle || kind == kSpeciesToggle ||
           kind == kDetailsToggle;
}
inline bool is_row_head(int kind) {
    return kind == kClassTitle || kind == kFamilyMarker || kind == kSpeciesNumber;
}
inline bool is_name(int kind) {
    return kind == kClassTitle || kind == kFamilyScientific || kind == kFamilyOtherLanguage ||
           kind == kSpeciesScientific || kind == kSpeciesOtherLanguage;
}
// Lines drawn as a bitmap rather than as text.
inline bool is_bitmap(int kind) {
    return kind == kClassToggle || kind == kFamilyToggle || kind == kSpeciesToggle ||
           kind == kMapMarker || kind == kMediaMarker || kind == kSubspeciesPicture ||
           kind == kDetailsToggle;
}
}  // namespace line_kind

// Bits of a line's flags.
namespace line_flag {
inline constexpr std::uint8_t kNameFollows = 1;  // the painter appends ". "
inline constexpr std::uint8_t kSeparator = 2;    // a stroke above a recording row
}  // namespace line_flag

// What the line model asks of a recording button (the control with its
// player, made by the list view when the line is first painted).
class TRecordingButton {
  public:
    virtual ~TRecordingButton() = default;
    // The position bar's place, in tenths of a second.
    virtual int position_tenths() const = 0;
    // The pixels the pen moves past the button.
    virtual int total_width() const { return 0; }
    // The selection reached or left the recording's line.
    virtual void highlight() {}
    virtual void unhighlight() {}
};

struct TRecordingButtonBlock;

// The window's list of recording buttons, as the line model moves and
// frees them.
class TRecordingButtonList {
  public:
    virtual ~TRecordingButtonList() = default;
    // Moves every button whose id is greater than the base id by dy pixels
    // (up when negative).
    virtual void shift_buttons(int baseId, int dy) = 0;
    // Takes the button out of the list before its line frees it.
    virtual void remove_button(int id) = 0;
    // The pixels the pen will move past the block's button once it is made
    // (the texts after it are broken to the width left); 0 when unknown.
    virtual int button_width(const TRecordingButtonBlock& block) const {
        (void)block;
        return 0;
    }
};

// The data of a recording button line.
struct TRecordingButtonBlock {
    const Tcupaitem* recording = nullptr;
    int recording_number = 0;                  // n, from 1 within the species
    int button_id = 0;                         // (family index * 400 + species index) * 500 + n
    int saved_position = 0;                    // tenths of a second, kept when the button is freed
    std::unique_ptr<TRecordingButton> button;  // made on first paint
};

// The species' small pictures, shared by all lists (the picture window's
// cache). A line that shows a thumbnail holds one use of it.
class TSmallPictureSource {
  public:
    virtual ~TSmallPictureSource() = default;
    // Takes a use of the species' small picture; its size, or an empty size
    // (and no use taken) when the species has none.
    virtual QSize acquire(const Tspecies& species) = 0;
    virtual void release(const Tspecies& species) = 0;
    // Draws the species' small picture with its top-left corner at the point.
    virtual void draw(QPainter&, const Tspecies&, QPoint) {}
    // Whether the point lies on the small picture drawn at topLeft (edges
    // included); false while no picture is loaded.
    virtual bool hit_test(const Tspecies&, QPoint, QPoint) const { return false; }
};

// One line of a list. The chain of a list owns its lines.
class TRecordShowStringData {
  public:
    TRecordShowStringData(int kind, int advance);
    ~TRecordShowStringData();
    TRecordShowStringData(const TRecordShowStringData&) = delete;
    TRecordShowStringData& operator=(const TRecordShowStringData&) = delete;

    std::uint8_t kind;
    const TListFont* font = nullptr;  // a font of the shared table; none for bitmap lines
    std::uint8_t flags = 0;
    int indent;
    int drawn_x = 0;  // written by the painter
    int drawn_y = 0;
    int advance;  // pixels the pen moves down before this line
    QString text;

    // Kind-specific data.
    bool open = false;            // toggles
    int value = 0;                // class number (2), family index (4), species index (8),
                                  // recording number (21), percentage (27)
    std::array<bool, 3> media{};  // kind 12: pictures, small picture, visible recordings
    const Tsubspecies* subspecies = nullptr;              // kinds 19, 20
    const TaudioCD* audio_cd = nullptr;                   // kind 23
    std::unique_ptr<TRecordingButtonBlock> button_block;  // kind 22
    QSize thumbnail_size;                                 // kind 18: holds a picture use

    // The records the line belongs to: its family, its species (lines of a
    // species row or block) and its recording (lines of a recording).
    const Tfamily* family = nullptr;
    const Tspecies* species = nullptr;
    const Tcupaitem* recording = nullptr;
    // Positions of the family among the visible families and of the
    // species within it (from 1; 0 outside a species).
    int family_index = 0;
    int species_index = 0;

    TRecordShowStringData* next = nullptr;
    TRecordShowStringData* previous = nullptr;

    // The number of line records alive in the process (folding frees them).
    static long live_count();
};
