#include "platform/text_encoding.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>

namespace platform {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; undefined bytes map
// to themselves as C1 controls, which keeps every byte readable.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

}  // namespace

QString decodeText(const QByteArray& bytes) {
    bool ascii = true;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return decodeWindows1252(bytes);
}

TextEncoding detectEncoding(QByteArrayView bytes) {
    qsizetype firstHigh = 0;
    while (firstHigh < bytes.size() && static_cast<unsigned char>(bytes[firstHigh]) < 0x80)
        ++firstHigh;
    if (firstHigh == bytes.size()) return TextEncoding::Ascii;
    // Decode in pieces into one small buffer: only the verdict is wanted.
    // Pieces end before a byte that starts a character, so each piece is
    // judged on its own exactly as the whole text would be.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    constexpr qsizetype kPiece = 1 << 16;
    QString buffer(kPiece + 8, Qt::Uninitialized);
    qsizetype at = firstHigh;
    while (at < bytes.size()) {
        qsizetype end = std::min(at + kPiece, bytes.size());
        for (int back = 0; back < 4 && end < bytes.size() && end > at + 1 &&
                           (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80;
             ++back)
            --end;
        utf8.appendToBuffer(buffer.data(), bytes.sliced(at, end - at));
        if (utf8.hasError()) return TextEncoding::Windows1252;
        at = end;
    }
    return TextEncoding::Utf8;
}

QString decodeText(QByteArrayView bytes, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Ascii:
            return QString::fromLatin1(bytes);
        case TextEncoding::Utf8:
            return QString::fromUtf8(bytes);
        case TextEncoding::Windows1252:
            break;
    }
    return decodeWindows1252(bytes);
}

}  // namespace platform
