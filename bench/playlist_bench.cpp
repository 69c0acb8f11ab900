// Saving and loading a playlist of 1,000 entries on the large synthetic
// edition. Floors: writing the same bytes to a file with fsync (saving) and
// reading the file and splitting it into lines (loading). Target: each at
// most 50 ms. Prints floor, figure and ratio; exits 1 on a miss.

#include "app/globals.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "formats/textfile.h"
#include "playlists/playlist_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr double kTargetMs = 50.0;
constexpr int kRuns = 15;

double bestOf(const std::function<void()>& work) {
    double best = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return best;
}

bool report(const char* what, double floor, double figure) {
    const bool ok = figure <= kTargetMs;
    std::printf("%-28s floor %8.3f ms  figure %8.3f ms  ratio %6.2f  target %.0f ms  %s\n", what,
                floor, figure, floor > 0 ? figure / floor : 0.0, kTargetMs, ok ? "ok" : "MISSED");
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString edition = QStringLiteral(KORVELAN_SYNTHETIC_EDITION) + u'/';
    GLB_initialise_process_values(edition, edition);
    QDir::setCurrent(edition);
    QTemporaryDir scratch;
    GLB().settings_file_path = scratch.filePath(QStringLiteral("Korvelan.ini"));
    const TTextsOverride texts(Ttextfile_handler::fromText(QString()));
    Tdata data;
    data.set_write_settings_at_end(false);
    data.load();
    TClassVisibleSpeciesAndRecordings visible(data, QStringLiteral("WINDOW 1"));
    visible.reset_carriers();

    // 1,000 entries spread over the edition's species.
    TPlayListContents contents;
    const auto& species = data.species_by_id_text();
    for (size_t i = 0; contents.rows.size() < 1000 && i < species.size() * 4; ++i) {
        const Tspecies* s = species[(i * 7) % species.size()];
        for (const Tcupaitem* item = s->first_item; item; item = item->next_of_species) {
            const int n = visible.item_position(*item);
            if (n > 0 && visible.carrier_playable(*item->cut_part)) {
                contents.rows.push_back(TPlayListInfo{item, n, int(i % 3) + 1});
                break;
            }
        }
    }
    if (contents.rows.size() < 1000) {
        std::printf("the synthetic edition gave only %zu playable entries\n", contents.rows.size());
        return 1;
    }
    const QString path = scratch.filePath(QStringLiteral("bench.pl"));
    const QString floorPath = scratch.filePath(QStringLiteral("floor.pl"));
    if (!TPlayListFile::save(path, contents)) return 1;
    QFile written(path);
    written.open(QIODevice::ReadOnly);
    const QByteArray bytes = written.readAll();

    const double saveFloor = bestOf([&] {
        QFile f(floorPath);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        f.flush();
        ::fsync(f.handle());
    });
    const double save = bestOf([&] { TPlayListFile::save(path, contents); });
    size_t lines = 0;
    const double loadFloor = bestOf([&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        lines += f.readAll().split('\n').size();
    });
    size_t loaded = 0;
    const double load = bestOf([&] { loaded = TPlayListFile::load(path, visible).contents.rows.size(); });
    if (loaded != contents.rows.size() || lines == 0) {
        std::printf("loading gave %zu of %zu entries\n", loaded, contents.rows.size());
        return 1;
    }
    std::printf("playlist of %zu entries, %lld bytes\n", contents.rows.size(),
                static_cast<long long>(bytes.size()));
    const bool saveOk = report("save 1,000 entries", saveFloor, save);
    const bool loadOk = report("load 1,000 entries", loadFloor, load);
    return saveOk && loadOk ? 0 : 1;
}
