#pragma once

#include <QString>

// The section that remembers, per audio CD, where its copy on the hard disk
// lies; an entry counts only while the CD's fingerprint still matches.
namespace settings::audio_cds {

inline const QString kSection = QStringLiteral("AUDIO CDS");

inline QString part_of_short_name(int sequenceNumber) {
    return QStringLiteral("Part of short name CD ") + QString::number(sequenceNumber);
}
inline QString directory_on_hard_disk(int sequenceNumber) {
    return QStringLiteral("Directory on hard disk CD ") + QString::number(sequenceNumber);
}

}  // namespace settings::audio_cds
