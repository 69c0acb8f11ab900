#pragma once

// Hand-built MPEG Layer III frames, ID3 tags and WAV files for the
// stream tests: no tool is needed to make them.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>

namespace mp3_testing {

// 128 kbit/s at 44100 Hz: 417 bytes, 418 with padding.
inline QByteArray frame(int marker, bool padding = false, std::uint8_t bitRateIndex = 9,
                        std::uint8_t sampleRateIndex = 0) {
    const int bitRates[15] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    const int sampleRates[3] = {44100, 48000, 32000};
    const int length = bitRates[bitRateIndex] * 1000 * 1152 / 8 / sampleRates[sampleRateIndex] +
                       (padding ? 1 : 0);
    // The body carries the frame's number so that a slice can be checked.
    QByteArray f(length, static_cast<char>(marker & 0x7F));
    f[0] = '\xFF';
    f[1] = '\xFB';  // MPEG-1, Layer III, no CRC
    f[2] = static_cast<char>(bitRateIndex << 4 | sampleRateIndex << 2 | (padding ? 2 : 0));
    f[3] = '\x44';
    return f;
}

// A Layer III frame of MPEG-2 or, with mpeg25, MPEG-2.5: 576 samples, the
// low-rate bit-rate table, sample rates halved (22050, 24000, 16000) or
// quartered (11025, 12000, 8000). At 8 kbit/s and 11025 Hz, the lowest rates
// recorders write, a frame is 52 bytes, 53 with padding.
inline QByteArray lowRateFrame(int marker, bool mpeg25, std::uint8_t bitRateIndex = 1,
                               std::uint8_t sampleRateIndex = 0, bool padding = false) {
    const int bitRates[15] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    const int sampleRates[3] = {44100, 48000, 32000};
    const int rate = sampleRates[sampleRateIndex] / (mpeg25 ? 4 : 2);
    const int length = bitRates[bitRateIndex] * 1000 * 576 / 8 / rate + (padding ? 1 : 0);
    QByteArray f(length, static_cast<char>(marker & 0x7F));
    f[0] = '\xFF';
    f[1] = mpeg25 ? '\xE3' : '\xF3';  // version 2.5 or 2, Layer III, no CRC
    f[2] = static_cast<char>(bitRateIndex << 4 | sampleRateIndex << 2 | (padding ? 2 : 0));
    f[3] = '\xC4';  // mono
    return f;
}

// Frames numbered from 1.
inline QByteArray frames(int count) {
    QByteArray all;
    for (int i = 1; i <= count; ++i) all += frame(i);
    return all;
}

inline QByteArray syncsafe(std::uint32_t value) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((value >> (21 - 7 * i)) & 0x7F);
    return b;
}

// A tag with one title frame and some padding; with a footer when asked.
inline QByteArray id3Tag(bool withFooter = false, int padding = 100) {
    QByteArray body = QByteArray("TIT2") + QByteArray("\0\0\0\x06\0\0", 6) +
                      QByteArray("\0Title", 6) + QByteArray(padding, '\0');
    const char flags = withFooter ? '\x10' : '\0';
    QByteArray tag = QByteArray("ID3\3\0", 5) + flags + syncsafe(body.size()) + body;
    if (withFooter) tag += QByteArray("3DI\3\0", 5) + flags + syncsafe(body.size());
    return tag;
}

inline QByteArray le32(std::uint32_t v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>(v >> (8 * i));
    return b;
}
inline QByteArray le16(std::uint16_t v) {
    return le32(v).left(2);
}
inline QByteArray chunk(const char* id, const QByteArray& body) {
    return QByteArray(id, 4) + le32(static_cast<std::uint32_t>(body.size())) + body;
}
inline QByteArray fmtBody(std::uint16_t tag, std::uint16_t channels, std::uint16_t bits,
                          int extra = 0) {
    return le16(tag) + le16(channels) + le32(44100) + le32(44100 * channels * bits / 8) +
           le16(static_cast<std::uint16_t>(channels * bits / 8)) + le16(bits) +
           QByteArray(extra, '\x5A');
}
// RIFF, WAVE, then the chunks as given.
inline QByteArray wave(const QByteArray& chunks) {
    return QByteArray("RIFF") + le32(static_cast<std::uint32_t>(chunks.size() + 4)) +
           QByteArray("WAVE") + chunks;
}
inline QByteArray mp3InsideWave(const QByteArray& mp3, const QByteArray& trailing = {}) {
    return wave(chunk("fmt ", fmtBody(85, 2, 0, 12)) + chunk("fact", le32(1000)) +
                chunk("data", mp3) + trailing);
}
inline QByteArray pcmWave(int dataBytes) {
    return wave(chunk("fmt ", fmtBody(1, 2, 16)) + chunk("data", QByteArray(dataBytes, '\0')));
}

// Writes the file and gives its path back; empty when it cannot be written.
inline QString writeFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size() ? path
                                                                                      : QString();
}

}  // namespace mp3_testing
