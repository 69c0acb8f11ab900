#include "formats/lzw_compression.h"

#include <algorithm>
#include <cstring>

namespace lzw {

// --- Dictionary --------------------------------------------------------------

TDictionary::TDictionary() {
    prefix_.fill(kNone);
    link_.fill(kNone);
    for (unsigned byte = 0; byte < 256; ++byte) {
        const unsigned code = add(kNone, static_cast<std::uint8_t>(byte));
        root_[byte] = static_cast<std::uint16_t>(code);
    }
}

unsigned TDictionary::hash_slot(std::uint16_t prefix, std::uint8_t character) {
    std::uint32_t h = static_cast<std::uint32_t>(prefix) + character;
    h |= 0x800;
    return ((h * h) >> 6) & 4095;
}

unsigned TDictionary::probe_after_chain(unsigned slot) const {
    unsigned last = slot;
    while (link_[last] != kNone) last = link_[last];
    unsigned probe = (last + 101) & 4095;
    while (used(probe)) probe = (probe + 1) & 4095;
    return probe;
}

unsigned TDictionary::slot_for(std::uint16_t prefix, std::uint8_t character) const {
    const unsigned slot = hash_slot(prefix, character);
    return used(slot) ? probe_after_chain(slot) : slot;
}

unsigned TDictionary::add(std::uint16_t prefix, std::uint8_t character) {
    const unsigned slot = hash_slot(prefix, character);
    unsigned code = slot;
    if (used(slot)) {
        code = probe_after_chain(slot);
        unsigned last = slot;
        while (link_[last] != kNone) last = link_[last];
        link_[last] = static_cast<std::uint16_t>(code);
    }
    prefix_[code] = prefix;
    character_[code] = character;
    if (prefix == kNone) {
        length_[code] = 1;
        first_[code] = character;
    } else {
        length_[code] = static_cast<std::uint16_t>(std::min<unsigned>(length_[prefix] + 1u, 0xFFFF));
        first_[code] = first_[prefix];
    }
    --free_;
    return code;
}

std::optional<unsigned> TDictionary::find(std::uint16_t prefix, std::uint8_t character) const {
    unsigned code = hash_slot(prefix, character);
    if (!used(code)) return std::nullopt;
    for (;;) {
        if (prefix_[code] == prefix && character_[code] == character) return code;
        if (link_[code] == kNone) return std::nullopt;
        code = link_[code];
    }
}

// --- Decoder -----------------------------------------------------------------

LZW_TCompressor::LZW_TCompressor(Sink sink) : sink_(std::move(sink)) {
    strings_.reserve(64 * 1024);
    for (unsigned byte = 0; byte < 256; ++byte)
        remember(dictionary_.root(static_cast<std::uint8_t>(byte)), kNone,
                 static_cast<std::uint8_t>(byte));
}

void LZW_TCompressor::remember(unsigned code, std::uint16_t prefix, std::uint8_t character) {
    string_at_[code] = static_cast<std::uint32_t>(strings_.size());
    if (prefix != kNone) {
        const std::uint32_t from = string_at_[prefix];
        const std::size_t length = dictionary_.length(prefix);
        strings_.resize(strings_.size() + length);
        std::memcpy(strings_.data() + string_at_[code], strings_.data() + from, length);
    }
    strings_.push_back(character);
}

LZW_TCompressor::Status LZW_TCompressor::flush() {
    if (filled_ == 0) return Status::Ok;
    const std::size_t count = filled_;
    filled_ = 0;
    return sink_(buffer_.data(), count) ? Status::Ok : Status::SinkRefused;
}

LZW_TCompressor::Status LZW_TCompressor::take_code(unsigned code) {
    const TDictionary& d = dictionary_;
    std::uint8_t* out = buffer_.data() + filled_;
    if (previous_ == kNone) {
        if (!d.used(code)) return Status::BadCode;
        *out = d.character(code);
        ++filled_;
        previous_ = static_cast<std::uint16_t>(code);
    } else {
        // An unused code is only good as the entry this very step defines:
        // the previous string followed by its own first byte.
        const bool selfReference = !d.used(code);
        unsigned walk = code;
        std::size_t length = d.length(code);
        std::uint8_t first = d.first(code);
        if (selfReference) {
            if (d.free_count() <= 0 || code != d.slot_for(previous_, d.first(previous_)))
                return Status::BadCode;
            walk = previous_;
            length = d.length(previous_);
            first = d.first(previous_);
        }
        if (length - 1 > kStackSize) return Status::StackFull;
        std::memcpy(out, strings_.data() + string_at_[walk], length);
        if (selfReference) out[length++] = first;
        filled_ += length;
        if (dictionary_.free_count() > 0)
            remember(dictionary_.add(previous_, first), previous_, first);
        previous_ = static_cast<std::uint16_t>(code);
    }
    if (kBufferSize - filled_ <= kStopRoom) return flush();
    return Status::Ok;
}

LZW_TCompressor::Status LZW_TCompressor::decode(const std::uint8_t* piece, std::size_t length) {
    if (status_ != Status::Ok) return status_;
    std::size_t at = 0;
    if (pending_nibble_ >= 0 && length > 0) {
        status_ = take_code(static_cast<unsigned>(pending_nibble_) * 256 + piece[0]);
        pending_nibble_ = -1;
        at = 1;
        if (status_ != Status::Ok) return status_;
    }
    if ((length - at) % 3 == 1) return status_ = Status::BadPiece;
    for (; at + 3 <= length; at += 3) {
        const unsigned b0 = piece[at], b1 = piece[at + 1], b2 = piece[at + 2];
        status_ = take_code(b0 * 16 + (b1 >> 4));
        if (status_ == Status::Ok) status_ = take_code((b1 & 15) * 256 + b2);
        if (status_ != Status::Ok) return status_;
    }
    if (at + 2 == length) {
        status_ = take_code(piece[at] * 16u + (piece[at + 1] >> 4));
        pending_nibble_ = piece[at + 1] & 15;
    }
    return status_;
}

LZW_TCompressor::Status LZW_TCompressor::finish() {
    if (status_ == Status::Ok) status_ = flush();
    return status_;
}

LZW_TCompressor::Status LZW_decode_all(std::span<const std::uint8_t> stream,
                                       std::vector<std::uint8_t>& output) {
    LZW_TCompressor decoder([&output](const std::uint8_t* bytes, std::size_t count) {
        output.insert(output.end(), bytes, bytes + count);
        return true;
    });
    for (std::size_t at = 0; at < stream.size(); at += LZW_TCompressor::kPieceSize) {
        const std::size_t n = std::min(LZW_TCompressor::kPieceSize, stream.size() - at);
        if (decoder.decode(stream.data() + at, n) != LZW_TCompressor::Status::Ok) break;
    }
    return decoder.finish();
}

// --- Encoder -----------------------------------------------------------------

namespace {
class TCodeWriter {
  public:
    explicit TCodeWriter(std::vector<std::uint8_t>& out) : out_(out) {}
    void put(unsigned code) {
        if (!half_) {
            out_.push_back(static_cast<std::uint8_t>(code >> 4));
            out_.push_back(static_cast<std::uint8_t>((code & 15) << 4));
        } else {
            out_.back() = static_cast<std::uint8_t>(out_.back() | (code >> 8));
            out_.push_back(static_cast<std::uint8_t>(code & 0xFF));
        }
        half_ = !half_;
    }

  private:
    std::vector<std::uint8_t>& out_;
    bool half_ = false;
};
}  // namespace

std::vector<std::uint8_t> LZW_encode(std::span<const std::uint8_t> data) {
    std::vector<std::uint8_t> stream;
    if (data.empty()) return stream;
    stream.reserve(data.size() / 2 + 16);
    TCodeWriter writer(stream);
    TDictionary dictionary;
    unsigned current = dictionary.root(data[0]);
    std::size_t length = 1;
    for (std::size_t i = 1; i < data.size(); ++i) {
        const std::uint8_t c = data[i];
        if (length < kLongestString) {
            if (const auto longer = dictionary.find(static_cast<std::uint16_t>(current), c)) {
                current = *longer;
                ++length;
                continue;
            }
        }
        writer.put(current);
        if (dictionary.free_count() > 0) dictionary.add(static_cast<std::uint16_t>(current), c);
        current = dictionary.root(c);
        length = 1;
    }
    writer.put(current);
    return stream;
}

std::string LZW_make_header(std::uint64_t uncompressedSize) {
    std::string header(kHeaderSize, ' ');
    std::memcpy(header.data(), kMagic, sizeof kMagic - 1);
    const auto rightAligned = [&header](std::size_t offset, const std::string& value) {
        header.replace(offset + kFieldLength - value.size(), value.size(), value);
    };
    rightAligned(kVersionOffset, "1");
    rightAligned(kSizeOffset, std::to_string(uncompressedSize));
    return header;
}

std::vector<std::uint8_t> LZW_make_file(std::span<const std::uint8_t> data) {
    const std::string header = LZW_make_header(data.size());
    std::vector<std::uint8_t> file(header.begin(), header.end());
    const std::vector<std::uint8_t> codes = LZW_encode(data);
    file.insert(file.end(), codes.begin(), codes.end());
    return file;
}

// --- Header ------------------------------------------------------------------

THeaderFields LZW_parse_header(std::span<const std::uint8_t> header) {
    THeaderFields fields;
    // The header is a text that ends at its first zero byte.
    std::string text(header.begin(), header.begin() + std::min(header.size(), kHeaderSize));
    if (const auto zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
    if (text.rfind(kMagic, 0) != 0) {
        fields.problem = THeaderFields::Problem::NoMagic;
        return fields;
    }
    const auto field = [&text](std::size_t offset) {
        return offset < text.size() ? text.substr(offset, kFieldLength) : std::string();
    };
    std::string version = field(kVersionOffset);
    version.erase(std::remove(version.begin(), version.end(), ' '), version.end());
    const bool versionDigits =
        !version.empty() && version.size() <= 9 &&
        std::all_of(version.begin(), version.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!versionDigits) {
        fields.problem = THeaderFields::Problem::StrangeVersion;
        return fields;
    }
    fields.version = std::stoi(version);
    if (fields.version > kNewestVersion) {
        fields.problem = THeaderFields::Problem::VersionTooNew;
        return fields;
    }
    std::string size = field(kSizeOffset);
    size.erase(0, size.find_first_not_of(' '));
    size.erase(size.find_last_not_of(' ') + 1);
    if (size.empty() || size.size() > 11 ||
        !std::all_of(size.begin(), size.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        fields.problem = THeaderFields::Problem::BadSize;
        return fields;
    }
    fields.size = std::stoull(size);
    return fields;
}

}  // namespace lzw
