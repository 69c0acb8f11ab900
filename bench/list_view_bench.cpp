// Painting the list on the large synthetic edition with every family and
// species unfolded: one paint of a 1280 x 1024 view must cost the same at the
// top and at the bottom of the list (target 4 ms in both places), because it
// walks only the lines near the view.

#include "app/editions.h"
#include "app/globals.h"
#include "data/species_database.h"
#include "formats/textfile.h"
#include "listview/list_bitmaps.h"
#include "listview/list_fonts.h"
#include "listview/windows/list_window_services.h"
#include "listview/windows/show_strings.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <chrono>
#include <cstdio>
#include <map>

namespace {

using Clock = std::chrono::steady_clock;
constexpr QSize kView(1280, 1024);

std::unique_ptr<Tdata> gData;
std::unique_ptr<SHST_TClassShowStringsData> gSettings;
std::unique_ptr<TShowStrings> gList;
std::map<std::string, double> gBest;

void openEverything(TShowStrings& list) {
    TShowStringsModel& model = list.model();
    for (auto* l = model.first_line(); l; l = l->next)
        if (l->kind == line_kind::kFamilyToggle && !l->open) model.toggle(l, {});
    for (auto* l = model.first_line(); l; l = l->next)
        if (l->kind == line_kind::kSpeciesToggle && !l->open) model.toggle(l, {});
    list.chain_changed();
}

void paintAt(benchmark::State& state, const std::string& name, int top) {
    QImage image(kView, QImage::Format_RGB32);
    // One paint first, so the cached top line sits near the view, as it
    // does after the window has been painted once.
    auto paintOnce = [&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.translate(0, -top);
        gList->paint(painter, QRect(QPoint(0, top), kView), true, QPoint(0, top));
    };
    paintOnce();
    for (auto _ : state) {
        const auto start = Clock::now();
        paintOnce();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        auto [it, fresh] = gBest.try_emplace(name, seconds * 1e3);
        if (!fresh) it->second = std::min(it->second, seconds * 1e3);
    }
}

void BM_PaintTop(benchmark::State& state) {
    paintAt(state, "paint at the top", 0);
}
void BM_PaintBottom(benchmark::State& state) {
    paintAt(state, "paint at the bottom", std::max(0, gList->scroll_range() - kView.height()));
}
BENCHMARK(BM_PaintTop)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_PaintBottom)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.5);

QString editionDirectory() {
    return QStringLiteral(KORVELAN_SYNTHETIC_EDITION) + u'/';
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    GLB_initialise_process_values(editionDirectory(), editionDirectory());
    QDir::setCurrent(editionDirectory());
    GLB().settings_file_path = QDir::tempPath() + "/korvelan-list-view-bench.ini";
    const TEditionOverride edition(GLB_edition_for_product(1011));
    QFile texts(QStringLiteral(KORVELAN_SOURCE_DIR) + "/editions/demo/Korvelan.txt");
    if (!texts.open(QIODevice::ReadOnly)) return 2;
    const TTextsOverride textsInPlace(Ttextfile_handler::fromText(QString::fromUtf8(texts.readAll())));
    TListBitmaps::load();

    gData = std::make_unique<Tdata>();
    gData->set_write_settings_at_end(false);
    gData->load();
    gSettings = std::make_unique<SHST_TClassShowStringsData>(*gData, QStringLiteral("WINDOW 1"));
    gSettings->visible_set.reset_carriers();
    TListGeometry geometry;
    geometry.client_width = kView.width();
    gList = std::make_unique<TShowStrings>(TListWindowServices{}, *gSettings, geometry);
    openEverything(*gList);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("lines in the list: %d, list height: %d px\n", gList->model().line_count(),
                gList->scroll_range());
    bool met = true;
    for (const auto& [name, ms] : gBest) {
        const bool ok = ms <= 4.0;
        met = met && ok;
        std::printf("%-25s %8.3f ms (target 4.0 ms) %s\n", name.c_str(), ms, ok ? "met" : "MISSED");
    }
    gList.reset();
    gSettings.reset();
    gData.reset();
    return met ? 0 : 1;
}
