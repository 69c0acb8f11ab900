// Start-up on the synthetic editions, the usual one (3,000 species, 30,000
// recordings) and the largest the formats allow (5,000 species, 300,000
// recordings), against the floor of showing any window at all (an empty main
// window with a menu bar and a status bar) plus the floor of the edition's
// loading (reading its files into memory and counting their lines). Every
// window runs as a program of its own, offscreen, and measures from its
// launch to the end of its window's first paint. Target: for each edition
// the program takes at most three times the two floors together (the median
// of several runs of each, run in turns). The time from the start of main is
// printed beside it.

#include "app/windows/first_paint_report.h"
#include "byte_floor.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <utility>
#include <optional>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRuns = 7;
constexpr double kTarget = 3.0;

const char* const kDataFiles[] = {"mapsdata.txt", "people.txt",   "names_sc.txt",   "taxa.txt",
                                  "locality.txt", "big_pict.txt", "othermedia.txt", "cutparts.txt",
                                  "cupaitem.txt", "syst_ord.txt"};

int runEmptyWindow(int argc, char** argv, TFirstPaintReport::Clock::time_point started) {
    QApplication application(argc, argv);
    QMainWindow window;
    for (const char* title : {"&File", "&Edit", "&View", "&Options", "&Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.resize(800, 600);
    new TFirstPaintReport(started, &window);
    window.show();
    return QApplication::exec();
}

// An installed copy of the program whose own files are the synthetic
// edition's: bin/korvelan beside share/korvelan/.
bool prepareProgram(const QString& root, const QString& edition) {
    const QString bin = root + "/bin/";
    const QString share = root + "/share/korvelan/";
    if (!QDir().mkpath(bin) || !QDir().mkpath(share) || !QDir().mkpath(root + "/config") ||
        !QDir().mkpath(root + "/runtime"))
        return false;
    QFile::setPermissions(root + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // A hard link where the file system allows it: the program finds its
    // files from its real location, which a symbolic link would hide.
    const QByteArray program = QByteArrayLiteral(KORVELAN_PROGRAM);
    if (::link(program.constData(), QFile::encodeName(bin + "korvelan").constData()) != 0 &&
        !QFile::copy(QString::fromLocal8Bit(program), bin + "korvelan"))
        return false;
    for (const char* name : kDataFiles)
        if (!QFile::link(edition + name, share + name)) return false;
    const QString demo = QStringLiteral(KORVELAN_SOURCE_DIR) + "/editions/demo/";
    if (!QFile::link(demo + "Korvelan.txt", share + "Korvelan.txt") ||
        !QFile::link(demo + "PROGR_NM.TXT", share + "PROGR_NM.TXT"))
        return false;
    QFile ini(share + "Korvelan.ini");
    if (!ini.open(QIODevice::WriteOnly)) return false;
    ini.write("[GENERAL]\nBase Directory=" + QFile::encodeName(demo) +
              "base/\nJust Installed=No\nStore Settings between Sessions=Yes\n"
              "Text File=Korvelan.txt\n");
    return true;
}

// From the start of main, and from the moment the program was launched
// (which adds the loading of its libraries and their initialisation).
struct TFirstPaint {
    double fromMain = 0;
    double fromLaunch = 0;
};

// Runs one program and reads its report; none when it failed.
std::optional<TFirstPaint> firstPaint(const QString& program, const QStringList& arguments,
                                      const QString& root) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("SDL_AUDIODRIVER", "dummy");
    environment.insert("KORVELAN_REPORT_FIRST_PAINT", "1");
    environment.insert("XDG_CONFIG_HOME", root + "/config");
    environment.insert("XDG_RUNTIME_DIR", root + "/runtime");
    // The monotonic clock is the system's: the program measures from here.
    environment.insert("KORVELAN_LAUNCHED_AT",
                       QString::number(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                           TFirstPaintReport::Clock::now().time_since_epoch())
                                           .count()));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    // The program looks for its files in the current directory first: run it
    // where none lie, or it would load whatever edition the caller sits in.
    process.setWorkingDirectory(root + "/bin");
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     process.readAllStandardError().constData());
        return std::nullopt;
    }
    std::optional<double> fromMain;
    std::optional<double> fromLaunch;
    const auto figure = [](const QByteArray& line, const QByteArray& prefix) -> std::optional<double> {
        if (!line.startsWith(prefix)) return std::nullopt;
        bool ok = false;
        const double ms = line.mid(prefix.size()).split(' ').value(0).toDouble(&ok);
        return ok ? std::optional(ms) : std::nullopt;
    };
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        if (const auto ms = figure(line, "first paint after launch ")) fromLaunch = ms;
        else if (const auto ms2 = figure(line, "first paint after ")) fromMain = ms2;
    }
    if (fromMain && fromLaunch) return TFirstPaint{*fromMain, *fromLaunch};
    std::fprintf(stderr, "%s reported no paint\n", qPrintable(program));
    return std::nullopt;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Reading the edition's files into one buffer, ready before the clock
// starts, and counting their lines: the least any loading costs.
double byteFloorMs(const QString& edition) {
    std::vector<char> buffer = byteFloorBuffer(edition, kDataFiles);
    double best = 1e9;
    for (int run = 0; run < 2 * kRuns; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (readAndCountLines(edition, kDataFiles, buffer) < 0) return 1e9;
        best = std::min(
            best, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                      .count());
    }
    return best;
}

// Measures one edition; false when it misses the target, none when a run
// failed.
std::optional<bool> measureEdition(const char* name, const QString& edition) {
    // Beside the build's files, where a hard link to the program can be made.
    QTemporaryDir root(QStringLiteral(KORVELAN_SYNTHETIC_EDITION) + "-startup-XXXXXX");
    if (!root.isValid() || !prepareProgram(root.path(), edition)) {
        std::fprintf(stderr, "cannot prepare the program directory\n");
        return std::nullopt;
    }
    const QString program = root.path() + "/bin/korvelan";
    const QString self = QCoreApplication::applicationFilePath();
    // One run of each first, unmeasured, so that both find their files in
    // the page cache.
    if (!firstPaint(self, {"--empty-window"}, root.path()) ||
        !firstPaint(program, {}, root.path()))
        return std::nullopt;
    std::vector<double> empty;
    std::vector<double> korvelan;
    std::vector<double> emptyLaunched;
    std::vector<double> korvelanLaunched;
    for (int run = 0; run < kRuns; ++run) {
        const std::optional<TFirstPaint> e = firstPaint(self, {"--empty-window"}, root.path());
        const std::optional<TFirstPaint> k = firstPaint(program, {}, root.path());
        if (!e || !k) return std::nullopt;
        empty.push_back(e->fromMain);
        korvelan.push_back(k->fromMain);
        emptyLaunched.push_back(e->fromLaunch);
        korvelanLaunched.push_back(k->fromLaunch);
    }
    const double floorMs = byteFloorMs(edition);
    const double emptyLaunchMs = median(emptyLaunched);
    const double programLaunchMs = median(korvelanLaunched);
    const double ratio = programLaunchMs / (emptyLaunchMs + floorMs);
    const bool met = ratio <= kTarget;
    std::printf("%s edition, from the launch to the end of the first paint (medians of %d):\n",
                name, kRuns);
    std::printf("  empty main window %.1f ms + byte floor of loading %.1f ms | main list window "
                "%.1f ms | ratio %.2f (target at most %.1f) %s\n",
                emptyLaunchMs, floorMs, programLaunchMs, ratio, kTarget, met ? "met" : "MISSED");
    // From the start of main; shown, not judged.
    const double emptyMs = median(empty);
    const double programMs = median(korvelan);
    std::printf("  from the start of main: empty main window %.1f ms | main list window %.1f ms "
                "| ratio %.2f\n",
                emptyMs, programMs, programMs / emptyMs);
    return met;
}

}  // namespace

int main(int argc, char** argv) {
    const auto started = TFirstPaintReport::Clock::now();
    if (argc > 1 && QByteArray(argv[1]) == "--empty-window") return runEmptyWindow(argc, argv, started);

    QCoreApplication application(argc, argv);
    bool allMet = true;
    const std::pair<const char*, const char*> editions[] = {
        {"usual", KORVELAN_SYNTHETIC_EDITION}, {"largest", KORVELAN_LARGEST_EDITION}};
    for (const auto& [name, directory] : editions) {
        const std::optional<bool> met = measureEdition(name, QString::fromUtf8(directory) + u'/');
        if (!met) return 2;
        allMet = allMet && *met;
    }
    return allMet ? 0 : 1;
}
