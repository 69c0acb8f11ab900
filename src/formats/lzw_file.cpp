#include "formats/lzw_file.h"

#include "app/messages.h"
#include "formats/lzw_compression.h"
#include "platform/dialog_service.h"

#include <QBuffer>
#include <QFile>
#include <cstring>
#include <new>

using platform::box::IconStop;
using platform::box::Plain;

namespace {

// Anything larger could never be allocated by the program this format
// comes from; it is answered as an allocation failure before trying.
constexpr std::uint64_t kLargestBlock = std::uint64_t{1} << 30;

int expand(QIODevice& file, const QString& path, bool report, TGlobalMemory& block) {
    using Status = lzw::LZW_TCompressor::Status;
    const auto stop = [](const QString& text) { GLB_show_message(text, IconStop); };

    if (!file.isOpen() && !file.open(QIODevice::ReadOnly)) {
        if (report) {
            stop(QStringLiteral("open_in_and_out_files(): error opening file \"%1\" for input.")
                     .arg(path));
            GLB_show_message(QStringLiteral("read_compressed_file_into_memory(): file open error"),
                             Plain);
        }
        return lzw_result::kOpenFailed;
    }

    int code = lzw_result::kOk;
    const auto finalReport = [&]() {
        if (code != lzw_result::kOk && report)
            GLB_show_message(QStringLiteral("read_compressed_file_into_memory(): error"), Plain);
        return code;
    };

    const QByteArray header = file.read(lzw::kHeaderSize);
    if (header.size() < 0) {
        stop(QStringLiteral("read_bytes_from_file(): read error"));
        code = lzw_result::kReadError;
        return finalReport();
    }
    if (header.size() < static_cast<qsizetype>(lzw::kHeaderSize)) {
        code = lzw_result::kBadHeader;
        return finalReport();
    }
    const lzw::THeaderFields fields = lzw::LZW_parse_header(
        std::span(reinterpret_cast<const std::uint8_t*>(header.constData()), lzw::kHeaderSize));
    switch (fields.problem) {
        case lzw::THeaderFields::Problem::None:
            break;
        case lzw::THeaderFields::Problem::VersionTooNew:
            if (report) stop(QStringLiteral("version of compressed file can not be used!"));
            code = lzw_result::kBadHeader;
            return finalReport();
        case lzw::THeaderFields::Problem::StrangeVersion:
        case lzw::THeaderFields::Problem::BadSize:
            if (report) stop(QStringLiteral("strange error in compressed file!"));
            code = lzw_result::kBadHeader;
            return finalReport();
        case lzw::THeaderFields::Problem::NoMagic:
            code = lzw_result::kBadHeader;
            return finalReport();
    }

    block.reset();
    if (fields.size <= kLargestBlock) {
        try {
            block = std::make_unique<QByteArray>(static_cast<qsizetype>(fields.size) + 2, '\0');
        } catch (const std::bad_alloc&) {
            block.reset();
        }
    }
    if (!block) {
        stop(QStringLiteral("read_compressed_file_into_memory(): Memory Allocation Error"));
        code = lzw_result::kOutOfMemory;
        return finalReport();
    }

    char* data = block->data();
    data[0] = 'C';
    data[1] = 'F';
    const std::size_t room = static_cast<std::size_t>(fields.size);
    std::size_t written = 0;
    lzw::LZW_TCompressor decoder([&](const std::uint8_t* bytes, std::size_t count) {
        const std::size_t fits = std::min(count, room - written);
        std::memcpy(data + 2 + written, bytes, fits);
        written += fits;
        return fits == count;
    });

    char piece[lzw::LZW_TCompressor::kPieceSize];
    Status status = Status::Ok;
    for (;;) {
        const qint64 n = file.read(piece, sizeof piece);
        if (n < 0) {
            stop(QStringLiteral("read_bytes_from_file(): read error"));
            code = lzw_result::kReadError;
            break;
        }
        if (n == 0) break;
        status = decoder.decode(reinterpret_cast<const std::uint8_t*>(piece),
                                static_cast<std::size_t>(n));
        if (status != Status::Ok) break;
    }
    if (code == lzw_result::kOk) status = decoder.finish();
    switch (status) {
        case Status::Ok:
            break;
        case Status::StackFull:
            stop(QStringLiteral("Compression Stack full"));
            code = lzw_result::kDecodingError;
            break;
        case Status::BadPiece:
            stop(QStringLiteral("Compression: error 1"));
            code = lzw_result::kDecodingError;
            break;
        case Status::BadCode:
        case Status::SinkRefused:
            code = lzw_result::kReadError;
            break;
    }

    if (code != lzw_result::kOk) {
        if (report) stop(QStringLiteral("read_compressed_file_into_memory(): error when decompressing"));
    } else if (written < room) {
        stop(QStringLiteral("read_compressed_file_into_memory(): less bytes than expected!"));
    }
    return finalReport();
}

}  // namespace

bool LZW_is_compressed_file(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray header = file.read(lzw::kHeaderSize);
    if (header.size() < static_cast<qsizetype>(lzw::kHeaderSize)) return false;
    return lzw::LZW_parse_header(std::span(reinterpret_cast<const std::uint8_t*>(header.constData()),
                                           lzw::kHeaderSize))
               .problem == lzw::THeaderFields::Problem::None;
}

int LZW_read_compressed_file_into_memory(const QString& path, bool report, TGlobalMemory& block) {
    QFile file(path);
    return expand(file, path, report, block);
}

int LZW_read_compressed_bytes_into_memory(const QByteArray& bytes, bool report,
                                          TGlobalMemory& block) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return expand(buffer, QStringLiteral("(memory)"), report, block);
}
