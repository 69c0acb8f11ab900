// The line model on the large synthetic edition (300 families, 3,000
// species, 30,000 recordings): unfolding a family of about 100 species and
// a species with about 20 recordings, folding a list with every family open,
// renaming every row of such a list, taking and applying a snapshot, and
// moving the selection by one line near the end of the fully unfolded list
// (every family, species and recording open), beside the floor of walking
// that list from the top once. Targets (ms): 1, 0.5, 5, 20, 5, 0.05.
// Folding must free every line it made.
//
// The 300-family edition spreads its species thinly (60 at most in one
// family); when it has no family of 100, the family case runs on the same
// edition generated with 30 families, next to it in the temporary folder.

#include "app/editions.h"
#include "app/globals.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "formats/textfile.h"
#include "listview/list_fonts.h"
#include "listview/windows/list_window_services.h"
#include "listview/windows/show_strings.h"
#include "listview/show_strings_model.h"

#include <benchmark/benchmark.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

using Clock = std::chrono::steady_clock;

struct TEditionUnderTest {
    std::unique_ptr<Tdata> data;
    std::unique_ptr<SHST_TClassShowStringsData> settings;
};
TEditionUnderTest gMain;
TEditionUnderTest gFewFamilies;  // made only when needed
std::unique_ptr<SHST_TClassShowStringsData>& gSettings = gMain.settings;
std::map<std::string, double> gBest;                   // fastest run of each case, ms
std::map<std::string, std::pair<double, int>> gTotal;  // ms and runs, for the mean
std::map<std::string, int> gSizes;
std::map<std::string, double> gWalk;  // reference figures without a target, ms

void record(const std::string& name, Clock::time_point start, benchmark::State& state) {
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetIterationTime(seconds);
    auto [it, fresh] = gBest.try_emplace(name, seconds * 1e3);
    if (!fresh) it->second = std::min(it->second, seconds * 1e3);
    gTotal[name].first += seconds * 1e3;
    ++gTotal[name].second;
}

QString editionDirectory() {
    return QStringLiteral(KORVELAN_SYNTHETIC_EDITION) + u'/';
}

TEditionUnderTest loadEdition(const QString& directory) {
    GLB_initialise_process_values(directory, directory);
    QDir::setCurrent(directory);
    GLB().settings_file_path = QDir::tempPath() + "/korvelan-line-model-bench.ini";
    TEditionUnderTest edition;
    edition.data = std::make_unique<Tdata>();
    edition.data->set_write_settings_at_end(false);
    edition.data->load();
    edition.settings =
        std::make_unique<SHST_TClassShowStringsData>(*edition.data, QStringLiteral("WINDOW 1"));
    edition.settings->visible_set.reset_carriers();
    return edition;
}

int largestFamily(const TEditionUnderTest& edition) {
    int largest = 0;
    const auto& filter = edition.settings->visible_set;
    for (int i = 1; const Tfamily* f = edition.data->visible_family(1, i, filter); ++i)
        largest = std::max(largest, edition.data->visible_species_count(*f, filter));
    return largest;
}

// The synthetic edition with 30 families, written by the same generator.
bool loadFewFamilies() {
    const QString directory = QDir::tempPath() + "/korvelan-synthetic-30-families/";
    if (!QFileInfo::exists(directory + "syst_ord.txt")) {
        const QString generator =
            QFileInfo(QStringLiteral(KORVELAN_SYNTHETIC_EDITION)).absolutePath() +
            "/bin/korvelan_generate_edition";
        QDir().mkpath(directory);
        if (QProcess::execute(generator, {directory, "--families", "30"}) != 0) return false;
    }
    gFewFamilies = loadEdition(directory);
    return true;
}

std::unique_ptr<TShowStringsModel> builtModel(const TEditionUnderTest& edition = gMain) {
    auto model = std::make_unique<TShowStringsModel>(*edition.settings);
    model->build();
    return model;
}

TRecordShowStringData* familyToggle(TShowStringsModel& model, int i) {
    const auto row = model.find_row(i, 0);
    return row.head ? row.head->previous : nullptr;
}

void openEveryFamily(TShowStringsModel& model) {
    for (auto* l = model.first_line(); l; l = l->next)
        if (l->kind == line_kind::kFamilyToggle && !l->open) model.toggle(l, {});
}

// The visible family whose species count is nearest to n (at least n
// when one has that many).
int familyOfAbout(const TEditionUnderTest& edition, int n) {
    const auto& filter = edition.settings->visible_set;
    int best = 1, bestCount = -1;
    for (int i = 1; const Tfamily* f = edition.data->visible_family(1, i, filter); ++i) {
        const int count = edition.data->visible_species_count(*f, filter);
        const auto score = [&](int c) { return std::abs(c - n); };
        if (bestCount < 0 || score(count) < score(bestCount)) {
            best = i;
            bestCount = count;
        }
    }
    gSizes["family species"] = bestCount;
    return best;
}

void BM_UnfoldFamilyOf100Species(benchmark::State& state) {
    const TEditionUnderTest& edition = gFewFamilies.data ? gFewFamilies : gMain;
    auto model = builtModel(edition);
    auto* toggle = familyToggle(*model, familyOfAbout(edition, 100));
    for (auto _ : state) {
        const auto start = Clock::now();
        model->toggle(toggle, {0, 600});
        record("unfold a family of ~100 species", start, state);
        model->toggle(toggle, {});
    }
}

void BM_UnfoldSpeciesWith20Recordings(benchmark::State& state) {
    auto model = builtModel();
    openEveryFamily(*model);
    // The species whose recording count is nearest to 20.
    TRecordShowStringData* best = nullptr;
    int bestCount = -1;
    for (auto* l = model->first_line(); l; l = l->next) {
        if (l->kind != line_kind::kSpeciesToggle) continue;
        const int n = gSettings->visible_set.visible_recording_count(
            *l->species, TClassVisibleSpeciesAndRecordings::kAllKinds);
        const auto score = [](int c) { return c >= 20 ? c - 20 : 1000 + (20 - c); };
        if (bestCount < 0 || score(n) < score(bestCount)) {
            best = l;
            bestCount = n;
        }
    }
    gSizes["species recordings"] = bestCount;
    for (auto _ : state) {
        const auto start = Clock::now();
        model->toggle(best, {0, 600});
        record("unfold a species with ~20 recordings", start, state);
        model->toggle(best, {});
    }
}

void BM_FoldAllWithEveryFamilyOpen(benchmark::State& state) {
    auto model = builtModel();
    const long built = TRecordShowStringData::live_count();
    for (auto _ : state) {
        openEveryFamily(*model);
        gSizes["lines with every family open"] = model->line_count();
        const auto start = Clock::now();
        model->fold_all();
        record("fold all, every family open", start, state);
        if (TRecordShowStringData::live_count() != built)
            state.SkipWithError("fold all left lines behind");
    }
    gSizes["lines left after fold all"] = static_cast<int>(TRecordShowStringData::live_count());
    gSizes["lines of the folded list"] = static_cast<int>(built);
}

void BM_ChangeNamesWithEveryFamilyOpen(benchmark::State& state) {
    auto model = builtModel();
    openEveryFamily(*model);
    SHST_TClassShowStringsData scientificOnly(*gSettings);
    scientificOnly.show_other_language = false;
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        const auto start = Clock::now();
        model->change_name_settings(flip ? scientificOnly : *gSettings);
        record("change of name settings, 300 families open", start, state);
    }
}

void BM_TakeAndApplySnapshot(benchmark::State& state) {
    auto model = builtModel();
    // Twenty open families in view, as many as a snapshot holds.
    for (int i = 1; i <= 20; ++i) model->toggle(familyToggle(*model, i), {});
    model->select(model->find_row(3, 2).head->next);
    for (auto _ : state) {
        auto fresh = builtModel();
        const auto start = Clock::now();
        const TFoldSnapshot snapshot = model->take_snapshot({0, model->total_height()});
        fresh->apply_snapshot(TFoldSnapshot::from_bytes(snapshot.to_bytes()));
        record("take and apply a snapshot (20 families)", start, state);
        if (fresh->line_count() != model->line_count())
            state.SkipWithError("the snapshot did not restore the list");
    }
}

// Opens every family, species and recording's details of the list.
void openEverything(TShowStringsModel& model) {
    for (int kind :
         {line_kind::kFamilyToggle, line_kind::kSpeciesToggle, line_kind::kDetailsToggle}) {
        int y = 0;
        for (auto* l = model.first_line(); l; l = l->next) {
            y += l->advance;
            if (l->kind == kind && !l->open) model.toggle(l, {y, y + 600}, y);
        }
    }
}

// The arrow keys near the end of the fully unfolded list: each key moves the
// selection one line and asks where that line is.
void BM_MoveSelectionOneLine(benchmark::State& state) {
    static std::unique_ptr<TShowStrings> list;
    if (!list) {
        list = std::make_unique<TShowStrings>(TListWindowServices{}, *gSettings, TListGeometry{});
        openEverything(list->model());
        list->chain_changed();
        gSizes["lines of the fully unfolded list"] = list->model().line_count();
    }
    TShowStringsModel& model = list->model();
    // A recording's button a few hundred lines above the end; the view
    // follows it.
    TRecordShowStringData* start = model.last_line();
    for (int k = 0; k < 300 && start->previous; ++k) start = start->previous;
    while (start->previous && start->kind != line_kind::kRecordingButton) start = start->previous;
    list->select_line(start);
    const int top = model.y_of(start) - 300;
    const TViewBand view{top, top + 900};
    bool forward = true;
    for (auto _ : state) {
        const auto begin = Clock::now();
        const TSelectionMove move = list->move_selection(forward, view, 200);
        record("move the selection one line, fully unfolded", begin, state);
        benchmark::DoNotOptimize(move);
        forward = !forward;
    }
    // The floor a key used to pay: one walk from the top to the selection.
    for (int k = 0; k < 20; ++k) {
        const auto begin = Clock::now();
        int y = 0;
        for (const auto* l = model.first_line(); l; l = l->next) {
            y += l->advance;
            if (l == list->selected()) break;
        }
        benchmark::DoNotOptimize(y);
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - begin).count();
        auto [it, fresh] = gWalk.try_emplace("walk from the top to the selection", ms);
        if (!fresh) it->second = std::min(it->second, ms);
    }
}

// Unfolds every family, species and recording of the edition once, then
// folds everything: the heights must add up and every line must go.
bool unfoldWholeEdition(const TEditionUnderTest& edition) {
    auto model = builtModel(edition);
    const long built = TRecordShowStringData::live_count();
    const int height = model->total_height();
    for (int kind :
         {line_kind::kFamilyToggle, line_kind::kSpeciesToggle, line_kind::kDetailsToggle}) {
        int y = 0;
        for (auto* l = model->first_line(); l; l = l->next) {
            y += l->advance;
            if (l->kind != kind || l->open) continue;
            const int before = model->total_height();
            const int change = model->toggle(l, {y, y + 600}, y).height_change;
            if (model->total_height() != before + change) return false;
        }
    }
    int sum = 0;
    for (const auto* l = model->first_line(); l; l = l->next) sum += l->advance;
    gSizes["lines with everything open"] = model->line_count();
    const bool heightsAgree = sum == model->total_height();
    model->fold_all();
    return heightsAgree && model->total_height() == height &&
           TRecordShowStringData::live_count() == built;
}

BENCHMARK(BM_UnfoldFamilyOf100Species)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UnfoldSpeciesWith20Recordings)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FoldAllWithEveryFamilyOpen)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChangeNamesWithEveryFamilyOpen)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TakeAndApplySnapshot)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveSelectionOneLine)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const TEditionOverride edition(GLB_edition_for_product(1011));
    QFile texts(QStringLiteral(KORVELAN_SOURCE_DIR) + "/editions/demo/Korvelan.txt");
    if (!texts.open(QIODevice::ReadOnly)) return 2;
    const TTextsOverride textsInPlace(Ttextfile_handler::fromText(QString::fromUtf8(texts.readAll())));

    gMain = loadEdition(editionDirectory());
    gSizes["largest family, 300 families"] = largestFamily(gMain);
    if (gSizes["largest family, 300 families"] < 100 && !loadFewFamilies())
        std::printf("could not write the 30-family edition\n");

    const bool whole = unfoldWholeEdition(gMain);
    std::printf("every family, species and recording unfolded and folded again: %s\n",
                whole ? "ok" : "FAILED");

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const std::map<std::string, double> targets{
        {"unfold a family of ~100 species", 1.0},
        {"unfold a species with ~20 recordings", 0.5},
        {"fold all, every family open", 5.0},
        {"change of name settings, 300 families open", 20.0},
        {"take and apply a snapshot (20 families)", 5.0},
        {"move the selection one line, fully unfolded", 0.05},
    };
    bool met = true;
    for (const auto& [name, target] : targets) {
        const auto it = gBest.find(name);
        if (it == gBest.end()) continue;  // filtered out
        const double mean = gTotal[name].first / gTotal[name].second;
        const bool ok = mean <= target;
        met = met && ok;
        std::printf("%-45s mean %8.4f ms, best %8.4f ms (target %.2f ms) %s\n", name.c_str(), mean,
                    it->second, target, ok ? "met" : "MISSED");
    }
    for (const auto& [name, ms] : gWalk)
        std::printf("%-45s best %7.3f ms (the floor a key paid before)\n", name.c_str(), ms);
    for (const auto& [name, size] : gSizes) std::printf("%-45s %8d\n", name.c_str(), size);
    gFewFamilies = {};
    gMain = {};
    return met && whole ? 0 : 1;
}
