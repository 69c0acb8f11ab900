// Decoding a 20 MB compressed bitmap with the program's LZW reader, against
// gzip -d on the same bitmap gzipped, in the same run. Targets: at least
// 200 MB/s of output, and no slower than gzip.

#include "formats/lzw_compression.h"
#include "formats/lzw_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

// An 8-bit map of 4800 × 4360: flat areas with ragged edges and speckles,
// as distribution maps and drawn bitmaps are.
std::vector<std::uint8_t> make_bitmap() {
    const int width = 4800, height = 4360;
    std::vector<std::uint8_t> bytes(1078, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    QRandomGenerator random(11);
    bytes.reserve(bytes.size() + static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double d = std::sin(x * 0.004) * 300 + std::cos(y * 0.003) * 400 + (x + y) * 0.1;
            std::uint8_t v = static_cast<std::uint8_t>(int(d / 90) & 7);
            if (random.bounded(40) == 0) v = static_cast<std::uint8_t>(random.bounded(16));
            bytes.push_back(v);
        }
    return bytes;
}

template <typename F>
double best_seconds(int runs, F&& work) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}
}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    const std::vector<std::uint8_t> bitmap = make_bitmap();
    const double megabytes = bitmap.size() / 1e6;
    const QByteArray raw(reinterpret_cast<const char*>(bitmap.data()), static_cast<qsizetype>(bitmap.size()));

    const std::vector<std::uint8_t> compressed = lzw::LZW_make_file(bitmap);
    QFile lzwFile(dir.filePath("map.lzw"));
    lzwFile.open(QIODevice::WriteOnly);
    lzwFile.write(reinterpret_cast<const char*>(compressed.data()), static_cast<qint64>(compressed.size()));
    lzwFile.close();
    QFile rawFile(dir.filePath("map.bmp"));
    rawFile.open(QIODevice::WriteOnly);
    rawFile.write(raw);
    rawFile.close();
    if (QProcess::execute("gzip", {"-k", "-6", dir.filePath("map.bmp")}) != 0) {
        std::fprintf(stderr, "gzip is needed for the comparison\n");
        return 1;
    }

    TGlobalMemory block;
    const double lzw = best_seconds(7, [&] {
        block.reset();
        LZW_read_compressed_file_into_memory(lzwFile.fileName(), false, block);
    });
    const bool correct = block && block->size() == raw.size() + 2 && block->mid(2) == raw;
    const double gzip = best_seconds(7, [&] {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.start("gzip", {"-d", "-c", dir.filePath("map.bmp.gz")});
        process.waitForFinished(-1);
    });
    const double lzwRate = megabytes / lzw;
    const double gzipRate = megabytes / gzip;
    std::printf("LZW decoding of a %.1f MB bitmap (%.1f MB compressed): %.0f MB/s (%.1f ms)\n",
                megabytes, compressed.size() / 1e6, lzwRate, lzw * 1e3);
    std::printf("gzip -d on the same bitmap (%.1f MB gzipped):        %.0f MB/s (%.1f ms)\n",
                QFileInfo(dir.filePath("map.bmp.gz")).size() / 1e6, gzipRate, gzip * 1e3);
    std::printf("ratio LZW/gzip: %.2f; targets: >= 200 MB/s and ratio >= 1\n", lzwRate / gzipRate);
    if (!correct) {
        std::printf("FAILED: the decoded bitmap differs\n");
        return 1;
    }
    if (lzwRate < 200 || lzwRate < gzipRate) {
        std::printf("FAILED: target missed\n");
        return 1;
    }
    return 0;
}
