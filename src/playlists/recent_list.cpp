#include "playlists/recent_list.h"

#include "formats/textfile.h"

TRecordingsAndOrPicturesList::TRecordingsAndOrPicturesList(TaxonText taxonText)
    : taxon_text_(std::move(taxonText)) {}

void TRecordingsAndOrPicturesList::add_picture(const Tspecies& taxon, int pictureNumber) {
    add(taxon, pictureNumber, 0);
}

void TRecordingsAndOrPicturesList::add_recording(const Tspecies& taxon, int recordingNumber) {
    add(taxon, 0, recordingNumber);
}

void TRecordingsAndOrPicturesList::add_both(const Tspecies& taxon, int pictureNumber,
                                            int recordingNumber) {
    add(taxon, pictureNumber, recordingNumber);
}

void TRecordingsAndOrPicturesList::add(const Tspecies& taxon, int pictureNumber,
                                       int recordingNumber) {
    if (static_cast<int>(entries_.size()) >= kCapacity) entries_.pop_front();
    ++running_count_;
    const QString section = QStringLiteral("BS_LISTS");
    QString label;
    QString numbers;
    if (recordingNumber == 0) {
        label = GLB_text(section, 1);
        numbers = QString::number(pictureNumber);
    } else if (pictureNumber == 0) {
        label = GLB_text(section, 2);
        numbers = QString::number(recordingNumber);
    } else {
        label = GLB_text(section, 1) + QStringLiteral(" & ") + GLB_text(section, 2);
        numbers = QString::number(pictureNumber) + u',' + QString::number(recordingNumber);
    }
    const QString text = QString::number(running_count_) + QStringLiteral(": ") + label +
                         QStringLiteral(": ") + taxon_text_(taxon) + QStringLiteral(" (") +
                         numbers + u')';
    entries_.push_back({&taxon, pictureNumber, recordingNumber, text});
    if (on_changed) on_changed();
}

QStringList TRecordingsAndOrPicturesList::texts() const {
    QStringList out;
    for (const Entry& e : entries_) out << e.text;
    return out;
}
