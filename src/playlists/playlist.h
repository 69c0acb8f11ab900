#pragma once

// The list the playlist window edits and plays: its rows (at least one; a
// list without entries is one empty row), its file, and the play position
// a show walks through.

#include "playlists/playlist_file.h"

#include <QString>
#include <optional>

class Tcupaitem;
class Tspecies;

// Which names a text of a taxon shows in its two name positions, as the
// main list window's settings say (name kinds: 0 none, 1 scientific, 2 the
// other language).
struct TTaxonNaming {
    int first_kind = 2;
    int second_kind = 1;

    // Two blanks, the first name, the second in " (" ")", then the
    // subspecies of the recording when it names one.
    QString taxon_text(const Tspecies& species, const Tcupaitem* recording = nullptr) const;
};

// One play of the list, as the show asks for it.
struct TNextRecording {
    TPlayListInfo entry;
    int row = 0;          // from 1
    bool repeat = false;  // the same row plays again
    bool last = false;    // the final play of the list
};

class TPlayList {
  public:
    TPlayList();

    int row_count() const { return static_cast<int>(rows_.size()); }
    // The entry of a row (from 1); none for an empty row or a row outside.
    const TPlayListInfo* entry(int row) const;
    const TPlayListRows& rows() const { return rows_; }
    bool has_first_entry() const { return entry(1) != nullptr; }

    // The entry goes into the last row, or a new row when the last row
    // already has one.
    void add_entry(const TPlayListInfo& entry);
    // The row's entry goes; the rows below move up; one empty row stays at
    // least. False when there is no such row.
    bool delete_row(int row);
    // Moves a row (both from 1) to another place.
    bool move_row(int from, int to);
    // An edit of a repeat count: "" counts as 1; true when the count changed.
    bool set_repeat_text(int row, const QString& text);
    // One empty row.
    void clear();
    // Takes the entries of a file that loaded (or was damaged part way).
    void take_rows(const TPlayListRows& rows);

    // --- The file --------------------------------------------------------
    const QString& path() const { return path_; }
    bool is_new() const { return new_list_; }
    bool modified() const { return modified_; }
    void set_modified(bool modified) { modified_ = modified; }
    // Named from the path; not new, not modified.
    void set_path(const QString& path);
    // Path cleared, new, not modified.
    void set_new();
    // The name shown in the caption: the path's file name without ".pl";
    // the given name of a new list.
    QString list_name(const QString& newListName) const;
    static QString name_of_path(const QString& path);

    // --- Playing -----------------------------------------------------------
    // Before the first play: the row to play first is the one after the
    // given row (0: from the top).
    void start_playing(int currentRow);
    // The next play, or none when the list is finished.
    std::optional<TNextRecording> next_recording(bool endlessLoop);
    int current_row() const { return current_row_; }

    // --- Texts of the grid ---------------------------------------------------
    static QString row_number_text(int row);
    QString recording_text(int row, const TTaxonNaming& naming) const;
    QString repeat_text(int row) const;
    // One line per row: recording text, ":  ", the row number, and ", "
    // + the repeat word + "=" + the count when it shows.
    QString clipboard_text(const TTaxonNaming& naming, const QString& repeatWord) const;

  private:
    int last_entry_row() const;

    TPlayListRows rows_;
    QString path_;
    bool new_list_ = true;
    bool modified_ = false;
    int current_row_ = 0;
    int repetition_ = 0;
};
