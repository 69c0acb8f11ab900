// Loading the synthetic editions against the floor of merely reading their
// files into memory and counting their lines as bytes: the usual one (3,000
// species, 30,000 recordings, 40,000 items, 5,000 pictures, 2,000
// localities) and the largest the formats allow (5,000 species, 300,000
// recordings, 400,000 items, 20,000 pictures, 20,000 localities). The files
// are read into one buffer, made ready before the clock starts, so that the
// floor is the reading and not the system handing out fresh pages. Memory is
// counted in loads of its own, untimed. Targets:
// loading takes at most six times that floor for the usual edition and four
// times for the largest, and holds at its peak at most twice, and 1.5 times,
// the files' size on the heap (the allocator's peak plus every block the
// records' bulk memory took from the system, counted in full). The older
// floor, reading the files as text and splitting them into lines, is
// printed beside it for the usual edition.

#include "byte_floor.h"
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
#include <string>
#include <vector>

namespace {

const char* const kFiles[] = {"mapsdata.txt", "people.txt",   "names_sc.txt",   "taxa.txt",
                              "locality.txt", "big_pict.txt", "othermedia.txt", "cutparts.txt",
                              "cupaitem.txt", "syst_ord.txt"};

struct Edition {
    const char* name;
    const char* directory;
    double timeTarget;
    double memoryTarget;
    double splitFloorSeconds = 1e9;
    double byteFloorSeconds = 1e9;
    double loadSeconds = 1e9;
    long long loadPeakBytes = 0;
    long long loadHeldBytes = 0;
};

Edition editions[] = {{"usual", KORVELAN_SYNTHETIC_EDITION, 6.0, 2.0},
                      {"largest", KORVELAN_LARGEST_EDITION, 4.0, 1.5}};

QString editionDirectory(const Edition& edition) {
    return QString::fromUtf8(edition.directory) + u'/';
}

// The edition is the program directory; nothing else is.
void useEdition(const Edition& edition) {
    static const Edition* current = nullptr;
    if (current == &edition) return;
    current = &edition;
    GLB_initialise_process_values(editionDirectory(edition), editionDirectory(edition));
    QDir::setCurrent(editionDirectory(edition));
    GLB().settings_file_path = QDir::tempPath() + "/korvelan-load-bench.ini";
}

qint64 filesSize(const Edition& edition) {
    qint64 total = 0;
    for (const char* name : kFiles) total += QFile(editionDirectory(edition) + name).size();
    return total;
}

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void BM_ReadAndSplitLines(benchmark::State& state, Edition* edition) {
    for (auto _ : state) {
        const auto start = Clock::now();
        qsizetype lines = 0;
        for (const char* name : kFiles) {
            QFile file(editionDirectory(*edition) + name);
            if (!file.open(QIODevice::ReadOnly)) state.SkipWithError("synthetic edition missing");
            const QStringList split = platform::decodeText(file.readAll()).split(u'\n');
            lines += split.size();
        }
        benchmark::DoNotOptimize(lines);
        edition->splitFloorSeconds = std::min(edition->splitFloorSeconds, since(start));
    }
}

void BM_ReadAndCountLineBytes(benchmark::State& state, Edition* edition) {
    std::vector<char> buffer = byteFloorBuffer(editionDirectory(*edition), kFiles);
    for (auto _ : state) {
        const auto start = Clock::now();
        const qsizetype lines = readAndCountLines(editionDirectory(*edition), kFiles, buffer);
        if (lines < 0) state.SkipWithError("synthetic edition missing");
        benchmark::DoNotOptimize(lines);
        edition->byteFloorSeconds = std::min(edition->byteFloorSeconds, since(start));
    }
}

// Heap and the records' bulk memory together, at their peak and when the
// load is done; the peak varies a little with how the threads meet.
void countLoadsMemory(Edition* edition) {
    if (edition->loadPeakBytes > 0) return;
    load_heap::counting = true;
    for (int round = 0; round < 3; ++round) {
        const long long before = load_heap::held();
        load_heap::reset_peak();
        Tdata data;
        data.set_write_settings_at_end(false);
        data.load();
        load_heap::note(load_heap::held());
        edition->loadPeakBytes = std::max(edition->loadPeakBytes, load_heap::peak.load() - before);
        edition->loadHeldBytes = load_heap::held() - before;
    }
}

void BM_LoadDatabase(benchmark::State& state, Edition* edition) {
    useEdition(*edition);
    // Counted before any load is timed, while everything held was counted.
    countLoadsMemory(edition);
    load_heap::counting = false;
    int species = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        Tdata data;
        data.set_write_settings_at_end(false);
        data.load();
        species = data.species_count();
        edition->loadSeconds = std::min(edition->loadSeconds, since(start));
    }
    load_heap::counting = true;
    state.counters["species"] = species;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    useEdition(editions[0]);
    const TEditionOverride edition(GLB_edition_for_product(1011));

    for (Edition& e : editions) {
        const std::string name = e.name;
        benchmark::RegisterBenchmark(("ReadAndCountLineBytes/" + name).c_str(),
                                     BM_ReadAndCountLineBytes, &e)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(2.0);
        if (&e == &editions[0])
            benchmark::RegisterBenchmark(("ReadAndSplitLines/" + name).c_str(),
                                         BM_ReadAndSplitLines, &e)
                ->Unit(benchmark::kMillisecond)
                ->MinTime(2.0);
        benchmark::RegisterBenchmark(("LoadDatabase/" + name).c_str(), BM_LoadDatabase, &e)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(2.0);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    bool allMet = true;
    for (const Edition& e : editions) {
        // An edition left out by a filter is not judged.
        if (e.loadSeconds >= 1e9 || e.byteFloorSeconds >= 1e9) continue;
        const double size = static_cast<double>(filesSize(e));
        const double timeRatio = e.loadSeconds / e.byteFloorSeconds;
        const double memoryRatio = static_cast<double>(e.loadPeakBytes) / size;
        const bool timeMet = timeRatio <= e.timeTarget;
        const bool memoryMet = memoryRatio <= e.memoryTarget;
        allMet = allMet && timeMet && memoryMet;
        std::printf("%s edition: files %.1f MB; peak heap of loading %.1f MB, held by the "
                    "database %.1f MB\n",
                    e.name, size / 1e6, static_cast<double>(e.loadPeakBytes) / 1e6,
                    static_cast<double>(e.loadHeldBytes) / 1e6);
        std::printf("  byte floor (read, count lines) %.1f ms | load %.1f ms | ratio %.2f (target "
                    "at most %.0f) %s\n",
                    e.byteFloorSeconds * 1e3, e.loadSeconds * 1e3, timeRatio, e.timeTarget,
                    timeMet ? "met" : "MISSED");
        if (e.splitFloorSeconds < 1e9)
            std::printf("  text floor (read, split into lines) %.1f ms | ratio %.2f\n",
                        e.splitFloorSeconds * 1e3, e.loadSeconds / e.splitFloorSeconds);
        std::printf("  memory ratio (peak heap / files' size): %.2f (target at most %.1f) %s\n",
                    memoryRatio, e.memoryTarget, memoryMet ? "met" : "MISSED");
    }
    return allMet ? 0 : 1;
}
