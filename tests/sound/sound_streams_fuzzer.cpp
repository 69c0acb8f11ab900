// Feeds mutated WAV and MP3 files to the stream loaders, the chunk walk and
// CutSlice. An input is one byte of choices, two bytes of slice start and
// length (tenths of a second), then the file. Only a crash, a sanitizer
// report or a leak ends the run.

#include "app/editions.h"
#include "platform/dialog_service.h"
#include "sound/mp3_memory_stream.h"
#include "sound/wave_memory_stream.h"
#include "support/quiet_dialogs.h"

#include <cstddef>
#include <cstdint>

namespace {

void fuzzMp3(TMP3MemoryStream& stream, double start, double length, bool repeatAndTag) {
    stream.keep_frames_only();
    stream.CutSlice(start, length);
    if (repeatAndTag) {
        stream.repeat(1);
        stream.write_tag({"genre", "recordist", "album", "title", "item", "publisher", "www", "c"},
                         TLanguage::Dutch, 3, 17);
        // Our own output must load again.
        stream.keep_frames_only();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool quiet = [] {
        platform::DialogService::setBackend(std::make_unique<testing_support::QuietDialogs>());
        return true;
    }();
    (void)quiet;
    if (size < 3) return 0;
    const std::uint8_t choices = data[0];
    const double start = data[1] / 10.0;
    const double length = data[2] / 10.0;
    const std::uint8_t* file = data + 3;
    const auto count = static_cast<std::int64_t>(size - 3);

    if (choices & 1) {
        TWaveMemoryStream wave;
        wave.write(file, count);
        const std::uint8_t* sound = nullptr;
        std::int64_t soundBytes = 0;
        bool failed = false;
        if (wave.IsMP3InsideWave()) wave.GetSoundData(failed, sound, soundBytes);
        if (!failed && sound) {
            TMP3MemoryStream stream(sound, soundBytes);
            fuzzMp3(stream, start, length, choices & 2);
        }
    } else {
        TMP3MemoryStream stream(file, count);
        fuzzMp3(stream, start, length, choices & 2);
    }
    return 0;
}
