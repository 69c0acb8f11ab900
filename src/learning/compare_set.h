#pragma once

// A comparison: up to six recordings whose sonograms are looked at and
// listened to side by side, the file a set is kept in, and the time and
// frequency scale the sonograms share.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

class Tcupaitem;
class Tdata;

class TComparisonSet {
  public:
    static constexpr int kMostRecordings = 6;
    enum class Added { Yes, AlreadyThere, Full };

    Added add(const Tcupaitem& recording);
    void remove(int index);
    void clear() { recordings_.clear(); }
    int size() const { return static_cast<int>(recordings_.size()); }
    bool empty() const { return recordings_.empty(); }
    const Tcupaitem& at(int index) const { return *recordings_[static_cast<std::size_t>(index)]; }
    const std::vector<const Tcupaitem*>& recordings() const { return recordings_; }

    // The set as its file holds it (JSON): each recording by its
    // identifier and its species' number, with the names for a reader.
    QByteArray to_file_text() const;

  private:
    std::vector<const Tcupaitem*> recordings_;
};

// What reading a set's file gave.
struct TComparisonRead {
    enum Status { Read, Unreadable, Damaged };
    Status status = Read;
    TComparisonSet set;
    // The recordings the file names that the edition no longer has.
    QStringList missing;
    // Where a damaged file was put aside (empty when it could not be moved).
    QString kept_aside;
};

// Reads a set. A file that is not a set (bad JSON, wrong shape, more than
// six recordings) is damaged: it is renamed beside itself, never
// overwritten, and the set comes back empty.
TComparisonRead GLB_read_comparison(const QString& path, const Tdata& data);
// Writes the set whole or not at all: an interrupted write leaves the old
// file as it was.
bool GLB_write_comparison(const TComparisonSet& set, const QString& path);
// The folder of the sets in the user-files folder.
QString GLB_comparisons_folder();

// The species of a recording, "Common (Scientific)", and its label
// ("Recording 12A, 1998-06-03, place, recordist").
QString GLB_comparison_species_text(const Tcupaitem& recording);
QString GLB_comparison_recording_text(const Tcupaitem& recording);

// The scale the stacked sonograms share: the time shown (seconds) and the
// highest frequency, within the longest recording and the highest
// frequency any of them holds.
class TSharedScale {
  public:
    static constexpr double kShortestView = 0.2;  // seconds
    static constexpr double kLowestTop = 1000;    // Hz

    // The bounds; the view is kept inside them.
    void set_limits(double longestSeconds, double highestHz);
    double longest() const { return longest_; }
    double highest() const { return highest_; }

    double from() const { return from_; }
    double to() const { return to_; }
    double top_hz() const { return top_hz_; }

    void set_view(double from, double to);
    void set_top(double hz);
    // Zooms by the factor (below 1: in), keeping `around` where it is.
    void zoom_time(double factor, double around);
    void zoom_frequency(double factor);
    // Moves the view to start at `from`, its width kept.
    void scroll_to(double from);

  private:
    void clamp();

    double longest_ = 10;
    double highest_ = 24000;
    double from_ = 0;
    double to_ = 10;
    double top_hz_ = 12000;
};
