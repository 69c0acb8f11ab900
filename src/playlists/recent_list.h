#pragma once

// "What was that?": the last 200 pictures and recordings a show presented
// in a list window, with the running number of each since the window began.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

class Tspecies;

class TRecordingsAndOrPicturesList {
  public:
    static constexpr int kCapacity = 200;

    struct Entry {
        const Tspecies* taxon = nullptr;
        int picture_number = 0;    // 0: no picture
        int recording_number = 0;  // 0: no recording
        QString text;
    };
    using TaxonText = std::function<QString(const Tspecies&)>;

    explicit TRecordingsAndOrPicturesList(TaxonText taxonText);

    void add_picture(const Tspecies& taxon, int pictureNumber);
    void add_recording(const Tspecies& taxon, int recordingNumber);
    void add_both(const Tspecies& taxon, int pictureNumber, int recordingNumber);

    const std::deque<Entry>& entries() const { return entries_; }
    int running_count() const { return running_count_; }
    // The entries' texts, oldest first.
    QStringList texts() const;
    // Called after every addition (the window repaints when it shows).
    std::function<void()> on_changed;

  private:
    void add(const Tspecies& taxon, int pictureNumber, int recordingNumber);

    TaxonText taxon_text_;
    std::deque<Entry> entries_;
    int running_count_ = 0;
};
