// Search as you type on the large synthetic edition: names typed letter by
// letter (without their accents, as a user types them), the suggestions of
// each keystroke timed against the floor of a plain scan that merely asks
// every name whether it holds the text (QString::contains, any case, no
// accent folding, no ranking). Target: every keystroke within 10 ms.

#include "app/editions.h"
#include "app/globals.h"
#include "data/species_database.h"
#include "listview/name_search.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

QString editionDirectory() {
    return QStringLiteral(KORVELAN_SYNTHETIC_EDITION) + u'/';
}

// What a user types for a name: its first letters, folded, one word or two.
QStringList typedTexts(const TNameSearchIndex& index, int count) {
    QStringList texts;
    const auto& entries = index.entries();
    const std::size_t step = std::max<std::size_t>(1, entries.size() / static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < entries.size() && texts.size() < count; i += step) {
        const QString folded = GLB_fold_for_search(entries[i].name);
        // Every third from the middle of the name: a word inside it.
        const qsizetype space = folded.indexOf(u' ');
        const QString from = texts.size() % 3 == 2 && space > 0 ? folded.mid(space + 1) : folded;
        texts << from.left(9);
    }
    return texts;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    GLB_initialise_process_values(editionDirectory(), editionDirectory());
    QDir::setCurrent(editionDirectory());
    GLB().settings_file_path = QDir::tempPath() + "/korvelan-search-bench.ini";
    const TEditionOverride edition(GLB_edition_for_product(1011));
    Tdata data;
    data.set_write_settings_at_end(false);
    data.load();

    auto start = Clock::now();
    const TNameSearchIndex index(data);
    const double buildMs = msSince(start);
    std::vector<QString> names;
    for (const auto& entry : index.entries()) names.push_back(entry.name);

    const QStringList texts = typedTexts(index, 60);
    constexpr int kRounds = 5;
    double worst = 0, total = 0, floorTotal = 0;
    QString worstText;
    int keystrokes = 0;
    std::size_t suggested = 0, floorFound = 0;
    for (int round = 0; round < kRounds; ++round) {
        for (const QString& text : texts) {
            for (qsizetype n = 1; n <= text.size(); ++n) {
                const QString typed = text.left(n);
                start = Clock::now();
                suggested += index.suggest(typed, 12).size();
                const double ms = msSince(start);
                if (ms > worst) worst = ms, worstText = typed;
                total += ms;
                start = Clock::now();
                for (const QString& name : names) floorFound += name.contains(typed, Qt::CaseInsensitive) ? 1 : 0;
                floorTotal += msSince(start);
                ++keystrokes;
            }
        }
    }
    const double mean = total / keystrokes;
    const double floorMean = floorTotal / keystrokes;
    const bool met = worst <= 10.0;
    std::printf("edition: %d species, %zu names; index built in %.1f ms\n", data.species_count(),
                index.entries().size(), buildMs);
    std::printf("%d keystrokes (%lld names typed %d times); suggestions shown %zu, floor matches %zu\n", keystrokes,
                static_cast<long long>(texts.size()), kRounds, suggested, floorFound);
    std::printf("floor (plain scan, contains) %.3f ms a keystroke | suggestions %.3f ms a keystroke, worst %.3f "
                "ms | ratio %.2f\n",
                floorMean, mean, worst, mean / floorMean);
    std::printf("the slowest keystroke made \"%s\"\n", qPrintable(worstText));
    std::printf("every keystroke within 10 ms: %s\n", met ? "met" : "MISSED");
    return met ? 0 : 1;
}
