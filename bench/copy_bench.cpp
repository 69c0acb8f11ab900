// Copying a disc to the hard disk against `cp -r` on the same trees in the
// same run: the demo edition's base directory (when present) and a generated
// tree of 2,000 files and 300 MB. Each round copies with both, one right
// after the other, the first of the two taking turns, and compares them; the
// figure is the median of the rounds' ratios, which a busy machine moves far
// less than any single round. Target: at least 90 % of cp's throughput, with
// the user-interface thread never stalled by the copy's reports.

#include "utilities/copy_files_thread.h"
#include "utilities/windows/message_while_copying_form.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kGeneratedFiles = 2000;
constexpr qint64 kGeneratedBytes = qint64{300} << 20;
constexpr double kTargetRatio = 0.90;
constexpr int kRounds = 7;

qint64 treeBytes(const QString& root) {
    qint64 total = 0;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) total += it.nextFileInfo().size();
    return total;
}

// Sizes spread around the mean as a disc's recordings and pictures are.
void generateTree(const QString& root) {
    std::mt19937 random(17);
    std::vector<qint64> sizes(kGeneratedFiles);
    std::uniform_int_distribution<qint64> spread(1, 100);
    qint64 weight = 0;
    for (qint64& s : sizes) weight += (s = spread(random));
    QByteArray block(4 << 20, Qt::Uninitialized);
    for (char& c : block) c = char(random());
    const QStringList folders = GLB_media_folders();
    qint64 written = 0;
    for (int i = 0; i < kGeneratedFiles; ++i) {
        const qint64 size = i + 1 == kGeneratedFiles ? kGeneratedBytes - written
                                                     : sizes[i] * kGeneratedBytes / weight;
        const QString dir = root + folders[i % folders.size()] + QStringLiteral("/%1").arg(i % 40);
        QDir().mkpath(dir);
        QFile f(dir + QStringLiteral("/file_%1.dat").arg(i));
        if (!f.open(QIODevice::WriteOnly)) qFatal("cannot write the generated tree");
        for (qint64 left = size; left > 0;) {
            const qint64 n = std::min<qint64>(left, block.size() - (i % 4096));
            f.write(block.constData() + (i % 4096), n);
            left -= n;
        }
        written += size;
    }
}

double secondsOfCp(const QString& source, const QString& target) {
    QElapsedTimer timer;
    timer.start();
    const int code = QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), source, target});
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (code != 0) qFatal("cp -r failed");
    return seconds;
}

struct OurRun {
    double seconds = 0;
    qint64 longestStallMs = 0;
    int reported = 0;
};

// The copy as the program runs it: the thread under its progress window,
// while a 10 ms timer on the window's thread measures how long it waits.
OurRun ourCopy(const QString& source, const QString& target) {
    OurRun run;
    // The command makes the copy's folder before the thread starts.
    QDir().mkpath(target);
    TCopyFilesToHardDiskThread thread(target, source);
    TMessageWhileCopyingForm form(thread, GLB_count_media_files(source));
    QElapsedTimer ticks;
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        run.longestStallMs = std::max(run.longestStallMs, ticks.restart());
    });
    QElapsedTimer timer;
    timer.start();
    ticks.start();
    probe.start();
    form.show();
    while (!form.finished()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    run.seconds = timer.nsecsElapsed() / 1e9;
    thread.wait();
    if (!form.succeeded()) qFatal("the copy failed");
    run.reported = form.files_reported();
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool measure(const char* name, const QString& source, const QString& scratch) {
    const qint64 bytes = treeBytes(source);
    std::vector<double> cpSeconds;
    std::vector<double> ourSeconds;
    std::vector<double> ratios;
    qint64 stall = 0;
    int reported = 0;
    // Each copy starts with no dirty pages of the other's waiting to be
    // written, and the two take turns at going first.
    auto settle = [] { QProcess::execute(QStringLiteral("sync"), {}); };
    for (int round = 0; round < kRounds; ++round) {
        const QString cpTarget = scratch + QStringLiteral("/cp");
        const QString ourTarget = scratch + QStringLiteral("/ours");
        OurRun ours;
        double cp = 0;
        if (round % 2 == 0) {
            settle();
            cp = secondsOfCp(source, cpTarget);
            settle();
            ours = ourCopy(source, ourTarget);
        } else {
            settle();
            ours = ourCopy(source, ourTarget);
            settle();
            cp = secondsOfCp(source, cpTarget);
        }
        cpSeconds.push_back(cp);
        ourSeconds.push_back(ours.seconds);
        ratios.push_back(cp / ours.seconds);
        stall = std::max(stall, ours.longestStallMs);
        reported = ours.reported;
        QDir(cpTarget).removeRecursively();
        QDir(ourTarget).removeRecursively();
    }
    const double mb = bytes / 1048576.0;
    const double ratio = median(ratios);
    const bool ok = ratio >= kTargetRatio && stall < 100;
    std::printf("%-22s %8.1f MB %5d files  cp -r %7.1f MB/s  Korvelan %7.1f MB/s (medians of %d)  "
                "ratio %.2f (median of the rounds', lowest %.2f, highest %.2f; target >= %.2f)  "
                "longest UI stall %lld ms  %s\n",
                name, mb, reported, mb / median(cpSeconds), mb / median(ourSeconds), kRounds,
                ratio, *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()), kTargetRatio,
                static_cast<long long>(stall), ok ? "ok" : "MISSED");
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool ok = true;

    const QString demoBase = QStringLiteral(KORVELAN_SOURCE_DIR "/editions/demo/base/");
    if (QDir(demoBase).exists()) {
        QTemporaryDir scratch;
        ok = measure("demo base directory", demoBase, scratch.path()) && ok;
    } else {
        std::printf("demo base directory     not present, skipped\n");
    }

    QTemporaryDir generated;
    QTemporaryDir scratch;
    const QString root = generated.path() + u'/';
    generateTree(root);
    ok = measure("generated tree", root, scratch.path()) && ok;
    return ok ? 0 : 1;
}
