// Opening map windows, to their first paint offscreen.
//
// The distribution map of a species with a range bitmap and an inset: target
// 50 ms, against the floor of decoding its base map, inset and range bitmap.
// The localities map of the synthetic edition (2,000 localities): first
// paint at most 30 ms, a mouse move's hit test at most 0.2 ms; the floor of
// the paint is decoding its base map and inset and drawing them once. The
// same for the largest edition's 20,000 localities.

#include "app/editions.h"
#include "app/globals.h"
#include "data/people_places.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "formats/textfile.h"
#include "pictures_maps/windows/localities_map_form.h"
#include "pictures_maps/windows/map_form.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <algorithm>
#include <optional>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count() * 1e3;
}

template <typename F>
double best(int runs, F&& work) {
    double fastest = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        fastest = std::min(fastest, since(start));
    }
    return fastest;
}

bool report(const char* what, double floor, double figure, double target) {
    std::printf("%s: floor %.2f ms; figure %.2f ms; ratio %.2f; target %.2f ms: %s\n", what, floor,
                figure, figure / floor, target, figure <= target ? "met" : "MISSED");
    return figure <= target;
}

QString editionDirectory() {
    return QStringLiteral(KORVELAN_SYNTHETIC_EDITION "/");
}

// The localities map of the edition in the directory: its first paint and
// a mouse move's hit test.
bool measureLocalities(const QString& directory, const char* label) {
    GLB_initialise_process_values(directory, directory);
    QDir::setCurrent(directory);
    GLB().settings_file_path = QDir::tempPath() + "/korvelan-map-bench.ini";
    GLB().base_directory = QDir::tempPath() + "/korvelan-map-bench/";
    bool met = true;
    std::optional<TDataOverride> dataInPlace;
    {
        auto data = std::make_unique<Tdata>();
        data->set_write_settings_at_end(false);
        data->load();
        dataInPlace.emplace(std::move(data));
    }
    const double localitiesFloor = best(10, [&] {
        QImage canvas(881, 700, QImage::Format_RGB32);
        QPainter painter(&canvas);
        painter.drawImage(0, 0, GLB_base_map_picture(map_row::kBolivia));
        painter.drawImage(619, 161, GLB_base_map_picture(map_row::kLittleSouthAmerica));
    });
    TLocalitiesMapForm* last = nullptr;
    const double localities = best(10, [&] {
        delete last;
        last = new TLocalitiesMapForm;
        last->ShowLocalitiesMap(nullptr, nullptr, false, QString());
        last->canvas()->grab();
    });
    met &= report((std::string(label) + ", first paint").c_str(), localitiesFloor, localities, 30);

    // Hit tests over the whole map, one per pixel row and column step.
    const TLocalitiesLayout& dots = last->dots();
    int hits = 0, tests = 0;
    const auto start = Clock::now();
    for (int y = 0; y < 650; y += 3)
        for (int x = 0; x < 880; x += 5) {
            hits += dots.hit_test(QPoint(x, y)) >= 0;
            ++tests;
        }
    const double perTest = since(start) / tests;
    // The floor of a hit test: one pass over the positions.
    int sum = 0;
    const auto floorStart = Clock::now();
    for (int i = 0; i < tests; ++i)
        for (const Txy& xy : dots.positions()) sum += xy.main.x() ^ i;
    const double perFloor = since(floorStart) / tests;
    int onMap = 0;
    for (const Txy& xy : dots.positions()) onMap += xy.on_main || xy.on_inset;
    std::printf("(%zu localities, %d on the map; %d hits in %d tests; %d)\n", dots.positions().size(),
                onMap, hits, tests, sum & 1);
    met &= report((std::string(label) + ", hit test").c_str(), perFloor, perTest, 0.2);
    delete last;
    dataInPlace.reset();
    return met;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    GLB_initialise_process_values(editionDirectory(), editionDirectory());
    QDir::setCurrent(editionDirectory());
    GLB().settings_file_path = QDir::tempPath() + "/korvelan-map-bench.ini";
    const TEditionOverride edition(GLB_edition_for_product(1011));
    QFile texts(QStringLiteral(KORVELAN_SOURCE_DIR "/editions/demo/Korvelan.txt"));
    if (!texts.open(QIODevice::ReadOnly)) return 2;
    const TTextsOverride textsInPlace(Ttextfile_handler::fromText(QString::fromUtf8(texts.readAll())));

    // A species on the Bolivian map with a range bitmap on disc.
    const QString base = QDir::tempPath() + "/korvelan-map-bench/";
    GLB().base_directory = base;
    QDir().mkpath(base + "distmaps/BENCH");
    QImage range(300, 300, QImage::Format_RGB32);
    range.fill(Qt::white);
    {
        QPainter painter(&range);
        painter.setBrush(QColor(255, 0, 0));
        painter.setPen(Qt::NoPen);
        painter.drawEllipse(30, 40, 220, 200);
    }
    const QString rangePath = base + "distmaps/BENCH/1_1.bmp";
    range.save(rangePath, "BMP");
    Tmap_data map;
    map.name = QStringLiteral("BOLIVIA_MAP");
    map.number = 3;
    map.bounds = {-69.57, -10.93, -58.17, -22.82};
    Tspecies species;
    species.family_folder_name = QStringLiteral("BENCH");
    species.unique_id = 1;
    species.common_name = QStringLiteral("Bench bird");
    species.fourth_text = QStringLiteral("Humid forest of the Andean foothills and the lowlands.");
    species.map_reference_count = 1;
    species.map_references[0] = {false, &map};

    bool met = true;
    const double distributionFloor = best(10, [&] {
        const QImage main = GLB_base_map_picture(map_row::kBolivia);
        const QImage inset = GLB_base_map_picture(map_row::kLittleSouthAmerica);
        const QImage bitmap(rangePath, "BMP");
        if (main.isNull() || inset.isNull() || bitmap.isNull()) std::exit(2);
    });
    double showing = 1e9, painting = 1e9;
    const double distribution = best(10, [&] {
        auto* form = new TMapForm;
        auto start = Clock::now();
        form->ShowMap(&species, nullptr, true, species.common_name);
        showing = std::min(showing, since(start));
        start = Clock::now();
        form->canvas()->grab();
        painting = std::min(painting, since(start));
        delete form;
    });
    std::printf("(building and laying out %.2f ms, first paint %.2f ms)\n", showing, painting);
    met &= report("distribution map window", distributionFloor, distribution, 50);

    met &= measureLocalities(editionDirectory(), "localities map");
    met &= measureLocalities(QStringLiteral(KORVELAN_LARGEST_EDITION "/"),
                             "largest edition's localities map");
    return met ? 0 : 1;
}
