#pragma once

// The program's own LZW file format: a 63-byte text header, then 12-bit
// codes packed two in three bytes, high bits first, with no clear or end
// code. The code of a new string is the slot the placement rule gives it,
// so encoder and decoder must place every entry identically.
//
// This file uses the standard library only, so that tools without Qt can
// write compressed files with the same code the program reads them with.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lzw {

inline constexpr std::size_t kHeaderSize = 63;
inline constexpr std::size_t kVersionOffset = 41;
inline constexpr std::size_t kSizeOffset = 52;
inline constexpr std::size_t kFieldLength = 11;
inline constexpr char kMagic[] = "Marvek's compression format";
inline constexpr int kNewestVersion = 100;

inline constexpr int kTableSize = 4096;
inline constexpr std::uint16_t kNone = 0xFFFF;
// The decode stack holds a string less its first byte.
inline constexpr std::size_t kStackSize = 1000;
inline constexpr std::size_t kLongestString = kStackSize + 1;

// The 4096-entry dictionary with its placement rule.
class TDictionary {
  public:
    TDictionary();

    bool used(unsigned code) const { return length_[code] != 0; }
    std::uint16_t prefix(unsigned code) const { return prefix_[code]; }
    std::uint8_t character(unsigned code) const { return character_[code]; }
    // Length of the entry's string and its first byte (kept so that a
    // string can be written back to front without a stack).
    std::uint16_t length(unsigned code) const { return length_[code]; }
    std::uint8_t first(unsigned code) const { return first_[code]; }
    int free_count() const { return free_; }

    // The slot an entry (prefix, character) would take now.
    unsigned slot_for(std::uint16_t prefix, std::uint8_t character) const;
    // Places the entry and returns its code; the caller checks free_count().
    unsigned add(std::uint16_t prefix, std::uint8_t character);
    // The code of the string prefix + character, if the dictionary holds it.
    std::optional<unsigned> find(std::uint16_t prefix, std::uint8_t character) const;
    // The code of the one-byte string.
    unsigned root(std::uint8_t byte) const { return root_[byte]; }

  private:
    static unsigned hash_slot(std::uint16_t prefix, std::uint8_t character);
    unsigned probe_after_chain(unsigned slot) const;

    std::array<std::uint16_t, kTableSize> prefix_{};
    std::array<std::uint16_t, kTableSize> link_{};
    std::array<std::uint16_t, kTableSize> length_{};
    std::array<std::uint8_t, kTableSize> character_{};
    std::array<std::uint8_t, kTableSize> first_{};
    std::array<std::uint16_t, 256> root_{};
    int free_ = kTableSize;
};

// The decoder: takes the code stream in pieces, hands the decoded bytes to
// its sink in pieces, in order.
class LZW_TCompressor {
  public:
    enum class Status {
        Ok,
        StackFull,   // a string longer than the decode stack
        BadPiece,    // a piece whose length modulo 3 is 1
        BadCode,     // a code that names no entry and is not the one being defined
        SinkRefused  // the sink took no more (data beyond the expected size)
    };
    // Returns false to refuse the bytes and stop decoding.
    using Sink = std::function<bool(const std::uint8_t* bytes, std::size_t count)>;

    static constexpr std::size_t kPieceSize = 1998;
    static constexpr std::size_t kBufferSize = 20000;
    static constexpr std::size_t kStopRoom = 3 * kStackSize;

    explicit LZW_TCompressor(Sink sink);

    // One piece of the stream; the first piece starts with the first code.
    Status decode(const std::uint8_t* piece, std::size_t length);
    // Hands on what is still buffered.
    Status finish();
    Status status() const { return status_; }

  private:
    Status take_code(unsigned code);
    Status flush();

    void remember(unsigned code, std::uint16_t prefix, std::uint8_t character);

    Sink sink_;
    TDictionary dictionary_;
    // Every entry's string, written once when the entry is added (entries
    // never change), so a code costs one copy instead of a walk along its
    // prefixes byte by byte.
    std::vector<std::uint8_t> strings_;
    std::array<std::uint32_t, kTableSize> string_at_{};
    std::array<std::uint8_t, kBufferSize> buffer_{};
    std::size_t filled_ = 0;
    std::uint16_t previous_ = kNone;
    int pending_nibble_ = -1;
    Status status_ = Status::Ok;
};

// Decodes a whole code stream; Ok and the bytes, or the first failure.
LZW_TCompressor::Status LZW_decode_all(std::span<const std::uint8_t> stream,
                                       std::vector<std::uint8_t>& output);

// The code stream for the data (empty for empty data). No string is longer
// than the decoder's stack allows.
std::vector<std::uint8_t> LZW_encode(std::span<const std::uint8_t> data);

// A header for the given uncompressed size, version 1.
std::string LZW_make_header(std::uint64_t uncompressedSize);
// Header and code stream: a whole compressed file.
std::vector<std::uint8_t> LZW_make_file(std::span<const std::uint8_t> data);

// What the header says, or why it cannot be used.
struct THeaderFields {
    enum class Problem { None, NoMagic, StrangeVersion, VersionTooNew, BadSize };
    Problem problem = Problem::None;
    int version = 0;
    std::uint64_t size = 0;
};
THeaderFields LZW_parse_header(std::span<const std::uint8_t> header);

}  // namespace lzw
