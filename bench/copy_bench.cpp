// Copying a disc to the hard disk against `cp -r` on the same trees in the
// same run: the demo edition's base directory (when present) and a generated
// tree of 2,000 files and 300 MB. Each round copies with both, one right
// after the other, the first of the two taking turns, and compares them; the
// figure is the median of the rounds' ratios, which a busy machine moves far
// less than any single round. Two cases: the source in the page cache (the
// copy's own cost against cp's), and the disk as the limit (the source read
// from the disk and the time running until the copy is on the disk). Target:
// at least 90 % of cp's throughput in both, with the user-interface thread
// never stalled by the copy's reports. Both copies of a round start from the
// same state (see prepare()); the word "rounds" among the arguments prints
// every round. Started within a minute of removing many files (such as the
// copies of a run just ended), file creation is slower for both at first.

#include "utilities/copy_files_thread.h"
#include "utilities/windows/copy_to_hard_disk_ui.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Set by the word "rounds" among the arguments: every round's times too.
bool verbose = false;

constexpr int kGeneratedFiles = 2000;
constexpr qint64 kGeneratedBytes = qint64{300} << 20;
constexpr double kTargetRatio = 0.90;
// A small tree copies in a tenth of a second, which a busy machine moves
// more: it gets more rounds.
constexpr int kRounds = 9;
constexpr int kRoundsOfSmallTree = 15;

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

enum class Cache { warm, cold };

// Every file of the tree leaves the page cache (written back first, so that
// its pages are clean and can go): the next copy reads it from the disk.
void evictFromPageCache(const QString& root) {
    ::sync();
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const int fd = ::open(QFile::encodeName(it.next()).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

// Every file of the tree read through, so that all of it is in the page cache
// and freshly used: this machine may page out cache that has lain unused for
// a few seconds (the copies in between are hundreds of megabytes), which
// would make a "cached" copy read part of its source from the disk.
void readIntoPageCache(const QString& root) {
    std::vector<char> buffer(1 << 20);
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const int fd = ::open(QFile::encodeName(it.next()).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;
        while (::read(fd, buffer.data(), buffer.size()) > 0) {
        }
        ::close(fd);
    }
}

// Before each copy: no dirty pages of an earlier copy waiting to be written
// (the kernel would make the next copy wait for them), none of the earlier
// copies' pages in the cache (so that every copy finds about as much free
// memory as the one before, instead of less and less), and the source all in
// the cache or, for a cold copy, all to be read from the disk.
void prepare(const QString& source, const QString& target, Cache cache) {
    evictFromPageCache(QFileInfo(target).path());
    if (cache == Cache::cold)
        evictFromPageCache(source);
    else
        readIntoPageCache(source);
}

// A cold copy is done when its data is on the disk, for cp as for us.
void finish(Cache cache) {
    if (cache == Cache::cold) ::sync();
}

double secondsOfCp(const QString& source, const QString& target, Cache cache) {
    prepare(source, target, cache);
    QElapsedTimer timer;
    timer.start();
    const int code = QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), source, target});
    finish(cache);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (code != 0) qFatal("cp -r failed");
    return seconds;
}

struct OurRun {
    double seconds = 0;
    qint64 longestStallMs = 0;
    int reported = 0;
};

// The copy as the program runs it: the thread under its modal progress
// window, while a 10 ms timer on the window's thread measures how long it
// waits.
OurRun ourCopy(const QString& source, const QString& target, Cache cache) {
    prepare(source, target, cache);
    OurRun run;
    QElapsedTimer ticks;
    QTimer probe;
    probe.setInterval(10);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        run.longestStallMs = std::max(run.longestStallMs, ticks.restart());
    });
    QElapsedTimer timer;
    timer.start();
    // The command makes the copy's folder and counts the files before the
    // thread starts.
    QDir().mkpath(target);
    TCopyFilesToHardDiskThread thread(target, source);
    const int files = GLB_count_media_files(source);
    ticks.start();
    probe.start();
    TCopyToHardDiskWindows windows;
    const TCopyResult result = windows.run_copy(thread, files);
    probe.stop();
    finish(cache);
    run.seconds = timer.nsecsElapsed() / 1e9;
    if (result != TCopyResult::success) qFatal("the copy failed");
    run.reported = thread.files_started();
    return run;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool measure(const char* name, const QString& source, const QString& scratch, Cache cache) {
    const qint64 bytes = treeBytes(source);
    const int rounds = bytes < kGeneratedBytes / 4 ? kRoundsOfSmallTree : kRounds;
    QDir().mkpath(scratch);
    // One copy with each first, not counted: the program has its fonts and
    // windows ready before the copy starts, as cp has its code in memory.
    {
        const QString warmUp = scratch + QStringLiteral("/warm-up");
        secondsOfCp(source, warmUp + QStringLiteral("-cp"), Cache::warm);
        ourCopy(source, warmUp, Cache::warm);
    }
    std::vector<double> cpSeconds;
    std::vector<double> ourSeconds;
    std::vector<double> ratios;
    qint64 stall = 0;
    int reported = 0;
    // Every copy goes into folders of its own, all removed when the program
    // ends: for about a minute after thousands of files are removed, ext4
    // checks each recently freed inode before it hands out a new one, which
    // makes creating files several times slower and would fall on whichever
    // copy comes after a removal. Earlier copies leave the page cache instead
    // (see prepare()).
    for (int round = 0; round < rounds; ++round) {
        const QString cpTarget = scratch + QStringLiteral("/cp-%1").arg(round);
        const QString ourTarget = scratch + QStringLiteral("/ours-%1").arg(round);
        OurRun ours;
        double cp = 0;
        // The two take turns at going first.
        if (round % 2 == 0) {
            cp = secondsOfCp(source, cpTarget, cache);
            ours = ourCopy(source, ourTarget, cache);
        } else {
            ours = ourCopy(source, ourTarget, cache);
            cp = secondsOfCp(source, cpTarget, cache);
        }
        if (verbose)
            std::printf("  round %2d  %s first  cp %.3f s  Korvelan %.3f s  ratio %.2f\n", round,
                        round % 2 == 0 ? "cp" : "Korvelan", cp, ours.seconds, cp / ours.seconds);
        cpSeconds.push_back(cp);
        ourSeconds.push_back(ours.seconds);
        ratios.push_back(cp / ours.seconds);
        stall = std::max(stall, ours.longestStallMs);
        reported = ours.reported;
    }
    const double mb = bytes / 1048576.0;
    const double ratio = median(ratios);
    const bool ok = ratio >= kTargetRatio && stall < 100;
    std::printf("%-22s %-19s %7.1f MB %5d files  cp -r %7.1f MB/s  Korvelan %7.1f MB/s "
                "(medians of %d)  ratio %.2f (median of the rounds', lowest %.2f, highest %.2f; "
                "target >= %.2f)  longest UI stall %lld ms  %s\n",
                name, cache == Cache::warm ? "source in cache" : "disk is the limit", mb,
                reported, mb / median(cpSeconds), mb / median(ourSeconds), rounds, ratio,
                *std::min_element(ratios.begin(), ratios.end()),
                *std::max_element(ratios.begin(), ratios.end()), kTargetRatio,
                static_cast<long long>(stall), ok ? "ok" : "MISSED");
    std::fflush(stdout);
    return ok;
}

}  // namespace

// Arguments, when given, pick the cases by words of their names ("demo",
// "generated", "cache", "disk"); without any every case runs.
bool wanted(const QStringList& words, const char* tree, Cache cache) {
    if (words.isEmpty()) return true;
    const QString name = QString::fromLatin1(tree) +
                         (cache == Cache::warm ? u" source in cache"_s : u" disk is the limit"_s);
    bool treeNamed = false, treeMatches = false, cacheNamed = false, cacheMatches = false;
    for (const QString& word : words) {
        const bool isTree = word == u"demo" || word == u"generated";
        bool& named = isTree ? treeNamed : cacheNamed;
        bool& matches = isTree ? treeMatches : cacheMatches;
        named = true;
        matches = matches || name.contains(word);
    }
    return (!treeNamed || treeMatches) && (!cacheNamed || cacheMatches);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList words = QCoreApplication::arguments().mid(1);
    verbose = words.removeAll(u"rounds"_s) > 0;
    bool ok = true;
    // Every copy of the run stays until the end (see measure()).
    QTemporaryDir scratch;
    const auto scratchFor = [&](const char* tree, Cache cache) {
        return scratch.path() + u'/' + QLatin1StringView(tree) +
               (cache == Cache::warm ? u"-warm"_s : u"-cold"_s);
    };

    const QString demoBase = QStringLiteral(KORVELAN_SOURCE_DIR "/editions/demo/base/");
    for (const Cache cache : {Cache::warm, Cache::cold}) {
        if (!wanted(words, "demo", cache)) continue;
        if (!QDir(demoBase).exists()) {
            std::printf("demo base directory     not present, skipped\n");
            break;
        }
        ok = measure("demo base directory", demoBase, scratchFor("demo", cache), cache) && ok;
    }

    if (!wanted(words, "generated", Cache::warm) && !wanted(words, "generated", Cache::cold))
        return ok ? 0 : 1;
    QTemporaryDir generated;
    const QString root = generated.path() + u'/';
    generateTree(root);
    for (const Cache cache : {Cache::warm, Cache::cold}) {
        if (!wanted(words, "generated", cache)) continue;
        ok = measure("generated tree", root, scratchFor("generated", cache), cache) && ok;
    }
    return ok ? 0 : 1;
}
