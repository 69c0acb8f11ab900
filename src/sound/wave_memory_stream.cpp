#include "sound/wave_memory_stream.h"

#include "app/messages.h"
#include "platform/dialog_service.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kRiff = GLB_four_cc("RIFF");
constexpr std::uint32_t kWave = GLB_four_cc("WAVE");
constexpr std::uint32_t kFmt = GLB_four_cc("fmt ");
constexpr std::uint32_t kDisp = GLB_four_cc("DISP");
constexpr std::uint32_t kFact = GLB_four_cc("fact");
constexpr std::uint32_t kData = GLB_four_cc("data");

void reportNotWave(const QString& fileName) {
    QString text;
    if (!fileName.isEmpty()) text = QStringLiteral("File \"") + fileName + QStringLiteral("\" is ");
    text += QStringLiteral("not a wave file!");
    text[0] = text[0].toUpper();
    GLB_show_message(text, platform::box::IconStop);
}

}  // namespace

void TWaveMemoryStream::ParseHeader(bool& failed, TWaveFormatRecord& format,
                                    std::uint32_t& sampleCount) {
    failed = false;
    sampleCount = 0;
    std::uint32_t riff = 0, wave = 0, fmt = 0, data = 0;
    format = TWaveFormatRecord();
    if (!empty()) {
        seek(0);
        riff = read_u32_le();
        read_u32_le();  // the RIFF size, never trusted
        wave = read_u32_le();

        if (read_u32_le() == kDisp)
            skip(read_u32_le());
        else
            skip(-4);

        fmt = read_u32_le();
        const std::uint32_t fmtSize = read_u32_le();
        const std::int64_t fmtEnd = position() + fmtSize;
        read(format.bytes.data(), std::min<std::int64_t>(fmtSize, TWaveFormatRecord::kSize));
        seek(fmtEnd);

        while (position() < size()) {
            const std::uint32_t id = read_u32_le();
            if (id == kFact) {
                skip(4);
                sampleCount = read_u32_le();
            } else if (id == kData) {
                skip(-4);
                break;
            } else {
                skip(read_u32_le());  // odd sizes get no pad byte
            }
        }

        data = read_u32_le();
        const std::uint32_t dataSize = read_u32_le();
        // A header that claims no channels or no bits per sample counts no
        // samples rather than dividing by zero.
        if (sampleCount == 0 && format.format_tag() == TWaveFormatRecord::kPcm &&
            format.channels() != 0 && format.bits_per_sample() != 0)
            sampleCount = static_cast<std::uint32_t>(std::uint64_t(dataSize) * 8 /
                                                     format.channels() / format.bits_per_sample());
    }
    if (empty() || riff != kRiff || wave != kWave || fmt != kFmt || data != kData) {
        reportNotWave(file_name());
        failed = true;
    }
}

bool TWaveMemoryStream::IsMP3InsideWave() {
    bool failed = false;
    TWaveFormatRecord format;
    std::uint32_t samples = 0;
    ParseHeader(failed, format, samples);
    return !failed && format.format_tag() == TWaveFormatRecord::kMpegLayer3;
}

void TWaveMemoryStream::GetSoundData(bool& failed, const std::uint8_t*& data,
                                     std::int64_t& count) {
    TWaveFormatRecord format;
    std::uint32_t samples = 0;
    ParseHeader(failed, format, samples);
    data = nullptr;
    count = 0;
    if (failed) return;
    const std::int64_t start = std::min(position(), size());
    data = reinterpret_cast<const std::uint8_t*>(bytes().constData()) + start;
    count = size() - start;
}

bool FileIsMP3InsideWave(const QString& fileName) {
    TWaveMemoryStream stream;
    bool failed = false;
    stream.LoadSoundFile(fileName, failed);
    return !failed && stream.IsMP3InsideWave();
}
