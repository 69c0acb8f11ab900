// Feeds mutated sound files to the engine's open-and-decode path: the frame
// walker and chunk finder on the raw bytes, then the decoder on the file,
// read from the start and again from a place in the middle. A damaged file
// may be refused or decode short; only a crash or a sanitizer report ends
// the run.
#include "platform/audio/file_decoder.h"
#include "platform/audio/mpeg_frames.h"

#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <unistd.h>

using namespace platform::audio;

namespace {

// At most this much sound is decoded per input, so that a file claiming
// hours of silence cannot stall the run.
constexpr std::int64_t kMaxFrames = kOutputRate * 20;

QString scratchFile() {
    static const QString path =
        QDir::tempPath() + QStringLiteral("/korvelan_audio_fuzz_%1.bin").arg(getpid());
    return path;
}

void drain(FileDecoder& d, std::int64_t from) {
    std::vector<float> block(4096 * 2);
    if (!d.start(from, std::min(d.lengthFrames(), from + kMaxFrames))) return;
    std::int64_t total = 0;
    while (total < kMaxFrames) {
        const int n = d.read(block.data(), 4096);
        if (n == 0) break;
        for (int i = 0; i < n * 2; ++i)
            if (!(block[static_cast<std::size_t>(i)] >= -1.0f && block[static_cast<std::size_t>(i)] <= 1.0f))
                __builtin_trap();  // noise beyond full scale must never reach the output
        total += n;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const SoundDataRegion region = findSoundData(bytes);
    if (region.offset < 0 || region.size < 0 || region.offset + region.size > static_cast<std::int64_t>(size))
        __builtin_trap();
    const MpegFrameIndex index = indexMpegFrames(
        bytes.subspan(static_cast<std::size_t>(region.offset), static_cast<std::size_t>(region.size)), region.offset);
    for (std::int64_t offset : index.offsets)
        if (offset < region.offset || offset >= region.offset + region.size) __builtin_trap();

    QFile file(scratchFile());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    file.close();
    unsigned error = 0;
    std::unique_ptr<FileDecoder> decoder = FileDecoder::open(scratchFile(), error);
    if (!decoder) return 0;
    if (decoder->lengthFrames() < 0) __builtin_trap();
    drain(*decoder, 0);
    drain(*decoder, decoder->lengthFrames() / 2);
    return 0;
}
