// Feeds mutated compressed files to the reader, and the same bytes as a
// bare code stream to the decoder. Only a crash, a sanitizer report or a
// leak ends the run.

#include "formats/lzw_compression.h"
#include "formats/lzw_file.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> input(data, size);
    // Headers that ask for huge blocks only measure the allocator.
    const lzw::THeaderFields fields = lzw::LZW_parse_header(input);
    if (size >= lzw::kHeaderSize && fields.problem == lzw::THeaderFields::Problem::None &&
        fields.size > (std::uint64_t{16} << 20))
        return 0;
    TGlobalMemory block;
    LZW_read_compressed_bytes_into_memory(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)), false, block);

    std::size_t produced = 0;
    lzw::LZW_TCompressor decoder([&produced](const std::uint8_t*, std::size_t count) {
        produced += count;
        return produced < (std::size_t{16} << 20);
    });
    for (std::size_t at = 0; at < size; at += lzw::LZW_TCompressor::kPieceSize)
        if (decoder.decode(data + at, std::min(lzw::LZW_TCompressor::kPieceSize, size - at)) !=
            lzw::LZW_TCompressor::Status::Ok)
            break;
    decoder.finish();
    return 0;
}
