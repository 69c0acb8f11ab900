#pragma once

// The playlist file: an INI file that names the edition that wrote it, the
// between-sounds options, the endless-loop choice and one key per row,
// "R1", "R2", ..., each either "x" (an empty row) or the species'
// identifier, the cut part's catalogue text and the repeat count.

#include "playlists/between_sounds_options.h"

#include <QString>
#include <optional>
#include <vector>

class Tcupaitem;
class TClassVisibleSpeciesAndRecordings;

// One playlist entry: a recording of a species and how often it plays.
struct TPlayListInfo {
    static constexpr int kMaxRepeatCount = 99;

    const Tcupaitem* recording_item = nullptr;
    int recording_number = 0;  // shown after "#", as the list numbers it
    int repeat_count = 1;

    bool operator==(const TPlayListInfo&) const = default;
};

// The rows of a playlist in order; an empty row holds no entry.
using TPlayListRows = std::vector<std::optional<TPlayListInfo>>;

struct TPlayListContents {
    TPlayListRows rows;
    TBetweenSoundsOptions options;
    bool endless_loop = false;
};

// What loading made of a file. A refused file leaves the window's list as
// it was, except a damaged one, whose rows read before the damage stay.
struct TPlayListLoadResult {
    enum class Outcome { Loaded, Refused, Damaged };
    Outcome outcome = Outcome::Refused;
    // Only entries: empty rows of the file are not restored.
    TPlayListContents contents;
    bool not_found = false;
    bool not_playable = false;

    bool accepted() const { return outcome == Outcome::Loaded; }
    bool changes_list() const { return outcome != Outcome::Refused; }
};

class TPlayListFile {
  public:
    // Writes the whole file to a temporary file and renames it over the old
    // one, so the previous playlist survives any failure. Shows "File
    // creation went wrong!" and returns false when it cannot be written;
    // otherwise records the path as the current playlist and warns when an
    // entry is a part of an audio-CD track.
    static bool save(const QString& path, const TPlayListContents& contents);

    // Reads the file against the running edition and the recordings the
    // list state shows, and shows the one message the outcome calls for.
    static TPlayListLoadResult load(const QString& path,
                                    const TClassVisibleSpeciesAndRecordings& listState);
    // The same, from the file's bytes.
    static TPlayListLoadResult load_bytes(const QByteArray& bytes,
                                          const TClassVisibleSpeciesAndRecordings& listState);

    // "12345,01207B00003A,2" for an entry.
    static QString entry_text(const TPlayListInfo& entry);
};
