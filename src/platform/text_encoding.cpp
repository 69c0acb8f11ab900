#include "platform/text_encoding.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

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

// The first byte from `at` on with its high bit set, or `end`; eight bytes
// at a time, as the data files are mostly plain ASCII.
const char* nextHighByte(const char* at, const char* end) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ull;
    // Whole files pass through here: 32 bytes a step over long plain runs.
    while (end - at >= 32) {
        std::uint64_t words[4];
        std::memcpy(words, at, sizeof words);
        if ((words[0] | words[1] | words[2] | words[3]) & kHighBits) break;
        at += 32;
    }
    while (end - at >= 8) {
        std::uint64_t word;
        std::memcpy(&word, at, sizeof word);
        if (word & kHighBits) break;
        at += 8;
    }
    while (at != end && static_cast<unsigned char>(*at) < 0x80) ++at;
    return at;
}

// Whether the bytes are well-formed UTF-8 as Unicode defines it (its table
// of well-formed byte sequences), which is what the UTF-8 decoder accepts:
// no stray continuation bytes, no overlong forms, no surrogates, nothing
// beyond U+10FFFF, no sequence cut short.
bool wellFormedUtf8(const char* at, const char* end) {
    while ((at = nextHighByte(at, end)) != end) {
        const auto byte = [&](std::ptrdiff_t i) { return static_cast<unsigned char>(at[i]); };
        const unsigned lead = byte(0);
        if (lead < 0xC2 || lead > 0xF4) return false;
        const int continuations = lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        if (end - at <= continuations) return false;
        // The second byte's range narrows after some leads.
        const unsigned low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        if (byte(1) < low || byte(1) > high) return false;
        for (int i = 2; i <= continuations; ++i)
            if ((byte(i) & 0xC0) != 0x80) return false;
        at += continuations + 1;
    }
    return true;
}

}  // namespace

QString decodeText(const QByteArray& bytes) {
    if (isAscii(bytes)) return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return decodeWindows1252(bytes);
}

bool isAscii(QByteArrayView bytes) {
    const char* const end = bytes.data() + bytes.size();
    return nextHighByte(bytes.data(), end) == end;
}

TextEncoding detectEncoding(QByteArrayView bytes) {
    const char* const begin = bytes.data();
    const char* const end = begin + bytes.size();
    const char* at = nextHighByte(begin, end);
    if (at == end) return TextEncoding::Ascii;
    return wellFormedUtf8(at, end) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
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
