// Loading the synthetic edition (3,000 species, 30,000 recordings, 40,000
// items, 5,000 pictures, 2,000 localities) against the floor of merely
// reading its files into memory and counting their lines as bytes. Targets:
// loading takes at most ten times that floor, and holds at its peak at most
// twice the files' size on the heap (the allocator's peak plus every block
// the records' bulk memory took from the system, counted in full). The
// older floor, reading the files as text and splitting them into lines, is
// printed beside it.

#include "load_heap_counter.h"
#include "platform/bulk_memory.h"

#include "app/editions.h"
#include "app/globals.h"
#include "data/species_database.h"
#include "formats/textfile.h"
#include "platform/text_encoding.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {

const char* const kFiles[] = {"mapsdata.txt", "people.txt",   "names_sc.txt",   "taxa.txt",
                              "locality.txt", "big_pict.txt", "othermedia.txt", "cutparts.txt",
                              "cupaitem.txt", "syst_ord.txt"};

QString editionDirectory() {
    return QStringLiteral(KORVELAN_SYNTHETIC_EDITION) + u'/';
}

qint64 filesSize() {
    qint64 total = 0;
    for (const char* name : kFiles) total += QFile(editionDirectory() + name).size();
    return total;
}

using Clock = std::chrono::steady_clock;
double splitFloorSeconds = 1e9;
double byteFloorSeconds = 1e9;
double loadSeconds = 1e9;
long long loadPeakBytes = 0;
long long loadHeldBytes = 0;

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_ReadAndSplitLines(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = Clock::now();
        qsizetype lines = 0;
        for (const char* name : kFiles) {
            QFile file(editionDirectory() + name);
            if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("synthetic edition missing");
            const QStringList split = platform::decodeText(file.readAll()).split(u'\n');
            lines += split.size();
        }
        benchmark::DoNotOptimize(lines);
        splitFloorSeconds = std::min(splitFloorSeconds, since(start));
    }
}

void BM_ReadAndCountLineBytes(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = Clock::now();
        qsizetype lines = 0;
        for (const char* name : kFiles) {
            QFile file(editionDirectory() + name);
            if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("synthetic edition missing");
            const QByteArray bytes = file.readAll();
            const char* at = bytes.constData();
            const char* const end = at + bytes.size();
            while (at < end) {
                const void* feed = std::memchr(at, '\n', static_cast<size_t>(end - at));
                if (!feed) break;
                ++lines;
                at = static_cast<const char*>(feed) + 1;
            }
        }
        benchmark::DoNotOptimize(lines);
        byteFloorSeconds = std::min(byteFloorSeconds, since(start));
    }
}

void BM_LoadDatabase(benchmark::State& state) {
    int species = 0;
    for (auto _ : state) {
        const long long before = load_heap::held();
        load_heap::reset_peak();
        const auto start = Clock::now();
        {
            Tdata data;
            data.set_write_settings_at_end(false);
            data.load();
            species = data.species_count();
            loadSeconds = std::min(loadSeconds, since(start));
            // Heap and the records' bulk memory together, at their peak and
            // when the load is done.
            load_heap::note(load_heap::held());
            loadPeakBytes = std::max(loadPeakBytes, load_heap::peak.load() - before);
            loadHeldBytes = load_heap::held() - before;
        }
    }
    state.counters["species"] = species;
}

BENCHMARK(BM_ReadAndCountLineBytes)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadAndSplitLines)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadDatabase)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    // The synthetic edition is the program directory; nothing else is.
    GLB_initialise_process_values(editionDirectory(), editionDirectory());
    QDir::setCurrent(editionDirectory());
    GLB().settings_file_path = QDir::tempPath() + "/korvelan-load-bench.ini";
    const TEditionOverride edition(GLB_edition_for_product(1011));

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const double size = static_cast<double>(filesSize());
    const double timeRatio = loadSeconds / byteFloorSeconds;
    const double memoryRatio = static_cast<double>(loadPeakBytes) / size;
    const bool timeMet = timeRatio <= 10.0;
    const bool memoryMet = memoryRatio <= 2.0;
    std::printf("files: %.1f MB; peak heap of loading %.1f MB, held by the database %.1f MB\n",
                size / 1e6, static_cast<double>(loadPeakBytes) / 1e6,
                static_cast<double>(loadHeldBytes) / 1e6);
    std::printf("byte floor (read, count lines) %.1f ms | load %.1f ms | ratio %.2f (target at "
                "most 10) %s\n",
                byteFloorSeconds * 1e3, loadSeconds * 1e3, timeRatio, timeMet ? "met" : "MISSED");
    std::printf("text floor (read, split into lines) %.1f ms | ratio %.2f\n",
                splitFloorSeconds * 1e3, loadSeconds / splitFloorSeconds);
    std::printf("memory ratio (peak heap / files' size): %.2f (target at most 2) %s\n",
                memoryRatio, memoryMet ? "met" : "MISSED");
    return timeMet && memoryMet ? 0 : 1;
}
