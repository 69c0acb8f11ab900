#include "sound/id3_tag.h"

#include "app/editions.h"

namespace {

// Frames are assembled with their size left open and filled in when the
// body is complete.
class TFrameWriter {
  public:
    explicit TFrameWriter(QByteArray& tag) : tag_(tag) {}

    void text_frame(const char* id, const QString& text) {
        begin(id);
        tag_.append('\0');
        append_text(text);
        end();
    }
    void url_frame(const char* id, const QString& address) {
        begin(id);
        tag_.append(address.toLatin1());
        end();
    }
    void described_frame(const char* id, const char* language, const QString& description,
                         const QString& value) {
        begin(id);
        tag_.append('\0');
        if (language) tag_.append(language, 3);
        append_text(description);
        append_text(value);
        end();
    }

  private:
    void begin(const char* id) {
        start_ = tag_.size();
        tag_.append(id, 4);
        tag_.append(6, '\0');  // size and two flag bytes
    }
    void end() {
        const std::uint32_t bodySize = static_cast<std::uint32_t>(tag_.size() - start_ - 10);
        for (int i = 0; i < 4; ++i)
            tag_[start_ + 4 + i] = static_cast<char>(bodySize >> (24 - 8 * i));
    }
    // ISO-8859-1 with its terminating 0; characters outside it become "?".
    void append_text(const QString& text) {
        tag_.append(text.toLatin1());
        tag_.append('\0');
    }

    QByteArray& tag_;
    qsizetype start_ = 0;
};

}  // namespace

namespace id3 {

void write_syncsafe(std::uint32_t value, std::uint8_t* target) {
    target[0] = static_cast<std::uint8_t>((value >> 21) & 0x7F);
    target[1] = static_cast<std::uint8_t>((value >> 14) & 0x7F);
    target[2] = static_cast<std::uint8_t>((value >> 7) & 0x7F);
    target[3] = static_cast<std::uint8_t>(value & 0x7F);
}

std::uint32_t read_syncsafe(const std::uint8_t* source) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = value * 128 + source[i];
    return value;
}

const char* comment_language(TLanguage language) {
    switch (language) {
        case TLanguage::Spanish:
            return "spa";
        case TLanguage::Portuguese:
            return "por";
        case TLanguage::Dutch:
            return "dut";
        default:
            return "eng";
    }
}

QByteArray build_tag(const TID3TagTexts& texts, TLanguage language, int trackNumber,
                     int speciesPosition) {
    QByteArray tag;
    tag.reserve(kHeaderSize + kPaddingSize + 1024);
    tag.append("ID3", 3);
    tag.append('\3').append('\0').append('\x10');
    tag.append(4, '\0');

    const bool withRecordist = !texts.recordist.isEmpty();
    const bool withPublisher = !texts.publisher.isEmpty();
    const QString position = QString::asprintf("%.5d", speciesPosition);
    TFrameWriter frames(tag);
    frames.text_frame("TCON", QStringLiteral("(12)") + texts.genre);
    if (withRecordist) frames.text_frame("TPE1", texts.recordist);
    frames.text_frame("TALB", texts.album);
    if (withRecordist) frames.text_frame("TCOP", u' ' + texts.recordist);
    frames.text_frame("TIT1", position);
    frames.text_frame("TIT2", texts.title + QStringLiteral(". ") + texts.item);
    if (withRecordist) frames.text_frame("TOWN", texts.recordist);
    if (withPublisher) frames.text_frame("TPUB", texts.publisher);
    if (trackNumber != 0) frames.text_frame("TRCK", QString::number(trackNumber));
    if (withPublisher) frames.url_frame("WPUB", texts.publisher_address);
    frames.described_frame("TXXX", nullptr, QStringLiteral("Species number in SACC order"),
                           position);
    frames.described_frame("COMM", comment_language(language), QString(), texts.comment);

    tag.append(kPaddingSize, '\0');
    write_syncsafe(static_cast<std::uint32_t>(tag.size() - kHeaderSize),
                   reinterpret_cast<std::uint8_t*>(tag.data() + 6));
    return tag;
}

}  // namespace id3
