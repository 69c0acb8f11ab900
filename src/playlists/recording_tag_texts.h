#pragma once

#include <QString>

class Tcupaitem;

// What a list says about one recording for the tag of its MP3 copy: the
// names as that list shows them, and who made and publishes the recording.
struct TRecordingTagTexts {
    QString title;  // the taxon as the list names it, trimmed
    QString scientific_name;
    QString family;   // in the list's main name kind and order
    QString comment;  // three plain lines joined by CR LF
    QString item_text;
    QString artist;     // the recordist; empty for audio-CD recordings
    QString publisher;  // empty for audio-CD recordings
    QString rights;     // also the album of the tag
};

// Offered by a list window to the MP3 copies of its recordings.
class TTagTextProvider {
  public:
    virtual ~TTagTextProvider() = default;
    virtual TRecordingTagTexts tag_texts(const Tcupaitem& recording) const = 0;
};
