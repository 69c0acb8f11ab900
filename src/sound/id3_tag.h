#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

enum class TLanguage;

// The texts that describe one recording in its MP3 copy.
struct TID3TagTexts {
    QString genre;      // the family's name
    QString recordist;  // empty for recordings from audio CDs
    QString album;
    QString title;
    QString item;  // the recording item's own text
    QString publisher;
    QString publisher_address;  // written only with a publisher
    QString comment;
};

namespace id3 {

inline constexpr int kHeaderSize = 10;
inline constexpr int kPaddingSize = 4096;

// Seven bits per byte, big-endian.
void write_syncsafe(std::uint32_t value, std::uint8_t* target);
std::uint32_t read_syncsafe(const std::uint8_t* source);

// "eng", "spa", "por" or "dut".
const char* comment_language(TLanguage language);

// A complete ID3v2.3 tag: header, the frames in their fixed order, 4096
// bytes of padding and no footer. The species position is written with five
// digits.
QByteArray build_tag(const TID3TagTexts& texts, TLanguage language, int trackNumber,
                     int speciesPosition);

}  // namespace id3
