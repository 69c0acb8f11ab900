#pragma once

#include "app/memory_helpers.h"

#include <QString>

// Result codes of reading a compressed file.
namespace lzw_result {
inline constexpr int kOk = 0;
inline constexpr int kOpenFailed = 991;
inline constexpr int kBadHeader = 992;
inline constexpr int kReadError = 993;  // also data that does not fit what the header says
inline constexpr int kOutOfMemory = 994;
inline constexpr int kDecodingError = 995;
}  // namespace lzw_result

// True when the file exists and its header is one this program can read.
bool LZW_is_compressed_file(const QString& path);

// Reads the whole file into a new zero-filled block of size + 2 bytes: "CF",
// then the uncompressed data. Returns 0 or one of the codes above; the block
// stays allocated for the caller whenever allocation succeeded. Codes that
// name no entry, and data beyond the size in the header, are refused with
// the read-error code; nothing is ever written past the block.
int LZW_read_compressed_file_into_memory(const QString& path, bool report, TGlobalMemory& block);

// The same for a file already in memory (used by the fuzz target).
int LZW_read_compressed_bytes_into_memory(const QByteArray& file, bool report,
                                          TGlobalMemory& block);
