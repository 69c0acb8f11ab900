#pragma once

// The user's own list: species heard and seen (when and where) with a note,
// kept in the user-files folder, one file per edition.

#include "data/visibility_filter.h"

#include <QDate>
#include <QString>

#include <map>

class Tdata;

struct TMyListEntry {
    bool heard = false;
    QDate heard_date;
    QString heard_place;
    bool seen = false;
    QDate seen_date;
    QString seen_place;
    QString note;

    // Nothing marked and nothing noted: the species is not on the list.
    bool empty() const;
    bool operator==(const TMyListEntry&) const = default;
};

class TMyList final : public TSpeciesMarks {
  public:
    // Kept in the file at `path` (made when first saved).
    explicit TMyList(QString path);
    // The edition's list file in the user-files folder.
    static QString edition_file();

    struct LoadResult {
        // Where a damaged file was moved to; empty when it was sound or absent.
        QString damaged_moved_to;
        // A damaged file that could not be moved aside: the list is not saved
        // over it.
        bool kept_unsaved = false;
    };
    // Reads the file. A damaged one is moved aside under a new name, the
    // user told once, and the list starts empty.
    LoadResult load();
    // Writes the whole list atomically: an interrupted write leaves the
    // previous file as it was. False (and the user told) when it failed.
    bool save();

    // By the species' scientific name, which stays when the edition's data change.
    TMyListEntry entry(const Tspecies& species) const;
    // Sets and saves; an empty entry takes the species off the list.
    bool set(const Tspecies& species, const TMyListEntry& entry);
    bool marked(const Tspecies& species) const override;
    int size() const { return int(entries_.size()); }
    const QString& path() const { return path_; }

    // Every species of the edition in its systematic order, one row each,
    // with a header row: RFC 4180, UTF-8, CRLF line ends.
    QByteArray csv(const Tdata& data) const;
    // Writes the CSV atomically; false (and the user told) when it failed.
    bool export_csv(const Tdata& data, const QString& file) const;

  private:
    QString path_;
    std::map<QString, TMyListEntry> entries_;
    bool saving_blocked_ = false;
};
