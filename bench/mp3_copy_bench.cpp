// Writing the MP3 copy of a 5 MB MP3 recording (load, slice, tag, save)
// against the floor of copying the same file with `cp`, in the same run.
// Target: the copy runs at no less than half the throughput of `cp`.

#include "app/globals.h"
#include "data/media_records.h"
#include "platform/dialog_service.h"
#include "playlists/mp3_writer.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct FixedTexts : TTagTextProvider {
    TRecordingTagTexts tag_texts(const Tcupaitem&) const override {
        return {"Great Tinamou", "Tinamus major", "Tinamous", "Song.\r\nPlace.\r\nOthers.",
                "Dawn chorus", "Ann Recordist", "Quillmarsh", "Korvelan Demo 1.0 (2010)"};
    }
};

// An ID3 tag and 12,000 frames of 128 kbit/s at 44100 Hz: about 5 MB.
QByteArray recording() {
    QByteArray file = QByteArray("ID3\3\0\0\0\0\x08\0", 10) + QByteArray(1024, '\0');
    for (int i = 0; i < 12000; ++i) {
        QByteArray frame(418, static_cast<char>(i));
        frame[0] = '\xFF';
        frame[1] = '\xFB';
        frame[2] = '\x92';  // 128 kbit/s, 44100 Hz, padded
        frame[3] = '\x44';
        file += frame;
    }
    return file;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    GLB().settings_file_path = dir.filePath("Korvelan.ini");  // read only: the defaults
    const QString source = dir.filePath("source.mp3");
    {
        QFile file(source);
        if (!file.open(QIODevice::WriteOnly) || file.write(recording()) < 0) return 2;
    }
    const double megabytes = QFile(source).size() / 1048576.0;

    Tspecies species;
    Tcutpart cdPart;
    cdPart.is_sound_file = false;
    cdPart.track = 3;
    cdPart.offset = 0;
    cdPart.length = 400000;  // the whole recording: the slice walks every frame
    Tcupaitem item;
    item.species = &species;
    item.cut_part = &cdPart;
    const FixedTexts texts;

    constexpr int kRounds = 15;
    std::vector<double> copyTimes, cpTimes;
    for (int round = 0; round < kRounds; ++round) {
        const QString target = dir.filePath(QStringLiteral("copy%1.mp3").arg(round));
        auto start = Clock::now();
        if (!GLB_write_mp3_file({&item, source, 1, dir.path(), QStringLiteral("copy%1.mp3").arg(round)}, texts))
            return 2;
        copyTimes.push_back(std::chrono::duration<double>(Clock::now() - start).count());

        const QString cpTarget = dir.filePath(QStringLiteral("cp%1.mp3").arg(round));
        start = Clock::now();
        if (QProcess::execute(QStringLiteral("cp"), {source, cpTarget}) != 0) return 2;
        cpTimes.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        QFile::remove(target);
        QFile::remove(cpTarget);
    }
    const double copy = median(copyTimes);
    const double floor = median(cpTimes);
    const double ratio = floor / copy;
    std::printf("MP3 copy of a %.1f MB recording (load, slice, tag, save): %.2f ms, %.0f MB/s\n",
                megabytes, copy * 1000, megabytes / copy);
    std::printf("cp of the same file:                           %.2f ms, %.0f MB/s\n", floor * 1000,
                megabytes / floor);
    std::printf("throughput ratio copy/cp: %.2f (target at least 0.50)\n", ratio);
    return ratio >= 0.5 ? 0 : 1;
}
