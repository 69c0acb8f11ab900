#include "utilities/copy_files_thread.h"

#include "support/test_environment.h"
#include "utilities/disc_tree.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QTemporaryDir>
#include <atomic>
#include <thread>

using testing_support::DiscTree;

namespace {

struct CopyRun {
    QStringList reported;  // relative to the source root, in order
    bool ended = false;
    bool success = false;
    QString error;
};

// Runs the thread to its end, collecting what it reports on its own thread.
CopyRun runToEnd(TCopyFilesToHardDiskThread& thread, const QString& sourceRoot) {
    CopyRun run;
    QMutex mutex;
    QObject::connect(
        &thread, &TCopyFilesToHardDiskThread::file_started, &thread,
        [&](const QString& path) {
            QMutexLocker lock(&mutex);
            run.reported << QDir(sourceRoot).relativeFilePath(path);
        },
        Qt::DirectConnection);
    QObject::connect(
        &thread, &TCopyFilesToHardDiskThread::copy_ended, &thread,
        [&](bool success, const QString& error) {
            run.ended = true;
            run.success = success;
            run.error = error;
        },
        Qt::DirectConnection);
    thread.start();
    thread.wait();
    return run;
}

QStringList partialFiles(const QString& root) {
    return DiscTree::files(root).filter(QStringLiteral(".korvelan-part"));
}

class CopyFilesTest : public ::testing::Test {
  protected:
    DiscTree disc;
    QTemporaryDir target;
    QString targetRoot() const { return target.path() + u'/'; }
};

}  // namespace

TEST_F(CopyFilesTest, CopiesTheMediaFoldersInOrderSkippingAMissingOneAndKeepingTimes) {
    testing_support::writeSixFolderDisc(disc);
    TCopyFilesToHardDiskThread thread(targetRoot(), disc.root());
    const CopyRun run = runToEnd(thread, disc.root());

    EXPECT_TRUE(run.ended);
    EXPECT_TRUE(run.success) << run.error.toStdString();
    const QStringList expectedOrder{"big_pict/b1.jpg",    "distmaps/d1.bmp",
                                    "localities/l1.htm",  "smalpict/s1.jpg",
                                    "tapes/12/cut1.wav",  "tapes/12/cut2.wav",
                                    "tapes/3/cut1.mp3",   "Audio CDs/cd1/track01.wav"};
    EXPECT_EQ(run.reported, expectedOrder);
    EXPECT_EQ(GLB_count_media_files(disc.root()), expectedOrder.size());

    QStringList sortedExpected = expectedOrder;
    sortedExpected.sort();
    EXPECT_EQ(DiscTree::files(targetRoot()), sortedExpected) << "only media folders, no leftovers";
    for (const QString& file : expectedOrder) {
        EXPECT_EQ(DiscTree::read(targetRoot() + file), DiscTree::read(disc.root() + file)) << file.toStdString();
        EXPECT_EQ(QFileInfo(targetRoot() + file).lastModified().toUTC(), DiscTree::kOldTime) << file.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(targetRoot() + "Voices"));
}

TEST_F(CopyFilesTest, RefreshReplacesOlderFilesAndKeepsOthers) {
    disc.write("tapes/1/a.wav", "new contents");
    QDir().mkpath(targetRoot() + "tapes/1");
    {
        QFile old(targetRoot() + "tapes/1/a.wav");
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old and longer contents");
        QFile own(targetRoot() + "tapes/1/mine.wav");
        ASSERT_TRUE(own.open(QIODevice::WriteOnly));
        own.write("user's");
    }
    EXPECT_EQ(GLB_media_bytes_to_add(disc.root(), targetRoot()), 0);
    TCopyFilesToHardDiskThread thread(targetRoot(), disc.root());
    EXPECT_TRUE(runToEnd(thread, disc.root()).success);
    EXPECT_EQ(DiscTree::read(targetRoot() + "tapes/1/a.wav"), "new contents");
    EXPECT_EQ(QFileInfo(targetRoot() + "tapes/1/a.wav").lastModified().toUTC(), DiscTree::kOldTime)
        << "the replaced file takes the disc's time too";
    EXPECT_EQ(DiscTree::read(targetRoot() + "tapes/1/mine.wav"), "user's");
    EXPECT_EQ(partialFiles(targetRoot()), QStringList());
}

// A refresh cut off in the middle of a file, by a full disk or by Abort,
// leaves the earlier copy of that file as it was, and nothing else beside it.
TEST_F(CopyFilesTest, ARefreshCutOffInTheMiddleOfAFileKeepsTheOldFileWhole) {
    for (const bool abort : {false, true}) {
        SCOPED_TRACE(abort ? "abort" : "disk full");
        DiscTree d;
        QTemporaryDir t;
        const QString root = t.path() + u'/';
        d.write("tapes/1/a.wav", QByteArray(3 * TCopyFilesToHardDiskThread::kBlockSize, 'n'));
        QDir().mkpath(root + "tapes/1");
        {
            QFile old(root + "tapes/1/a.wav");
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("the copy made last year");
        }
        TCopyFilesToHardDiskThread thread(root, d.root());
        auto blocks = std::make_shared<int>(0);
        thread.set_block_writer([&thread, blocks, abort](QFile& f, const char* data, qint64 size) {
            if (++*blocks < 2) return f.write(data, size);
            if (abort) {
                thread.set_abort();
                return f.write(data, size);
            }
            return f.write(data, size / 2);
        });
        const CopyRun run = runToEnd(thread, d.root());
        EXPECT_EQ(run.ended, !abort);
        EXPECT_FALSE(run.success);
        EXPECT_EQ(DiscTree::read(root + "tapes/1/a.wav"), "the copy made last year");
        EXPECT_EQ(DiscTree::files(root), QStringList{"tapes/1/a.wav"});
    }
}

TEST_F(CopyFilesTest, FaultsStopTheCopyWithTheirMessageAndLeaveOnlyWholeFiles) {
    struct Case {
        const char* name;
        std::function<void(DiscTree&, const QString& target, TCopyFilesToHardDiskThread&)> arrange;
        QString message_start;
    };
    const std::vector<Case> cases{
        {"a file stands where a folder is to be made",
         [](DiscTree&, const QString& target, TCopyFilesToHardDiskThread&) {
             QFile blocker(target + "distmaps");
             ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
         },
         "Procedure \"GLB_create_directory()\" wanted to create subdirectory"},
        {"a file that cannot be read",
         [](DiscTree& d, const QString&, TCopyFilesToHardDiskThread&) {
             QFile::link(d.root() + "tapes/gone.wav", d.root() + "smalpict/s2.jpg");
         },
         "Could not open \""},
        {"the disk fills up in the middle of a file",
         [](DiscTree&, const QString&, TCopyFilesToHardDiskThread& thread) {
             auto written = std::make_shared<qint64>(0);
             thread.set_block_writer([written](QFile& f, const char* data, qint64 size) {
                 // Room for the first files only, then half a block of the next.
                 const qint64 room = std::max<qint64>(0, 12000 - *written);
                 const qint64 n = f.write(data, std::min(size, room));
                 *written += std::max<qint64>(n, 0);
                 return n;
             });
         },
         "Something went wrong when writing to \""},
        {"the disc is taken out in the middle",
         [](DiscTree& d, const QString&, TCopyFilesToHardDiskThread& thread) {
             const QString root = d.root();
             auto files = std::make_shared<int>(0);
             thread.set_block_writer([root, files](QFile& f, const char* data, qint64 size) {
                 if (++*files == 3) {
                     for (const QString& entry :
                          QDir(root).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
                         QDir(root + entry).removeRecursively();
                 }
                 return f.write(data, size);
             });
         },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DiscTree d;
        QTemporaryDir t;
        const QString targetRootPath = t.path() + u'/';
        testing_support::writeSixFolderDisc(d);
        TCopyFilesToHardDiskThread thread(targetRootPath, d.root());
        c.arrange(d, targetRootPath, thread);
        const CopyRun run = runToEnd(thread, d.root());
        EXPECT_TRUE(run.ended);
        EXPECT_FALSE(run.success);
        EXPECT_FALSE(run.error.isEmpty());
        if (!c.message_start.isEmpty()) {
            EXPECT_TRUE(run.error.startsWith(c.message_start)) << run.error.toStdString();
        }
        EXPECT_EQ(partialFiles(targetRootPath), QStringList());
        // Whatever was copied is whole; "Audio CDs" comes last and is never reached.
        EXPECT_FALSE(QFileInfo::exists(targetRootPath + "Audio CDs"));
        const QHash<QString, qint64> sizes{{"big_pict/b1.jpg", 3000}, {"distmaps/d1.bmp", 2000},
                                           {"localities/l1.htm", 11},  {"smalpict/s1.jpg", 500},
                                           {"tapes/12/cut1.wav", 5000}, {"tapes/12/cut2.wav", 7000},
                                           {"tapes/3/cut1.mp3", 100},
                                           {"distmaps", 0}};  // the blocking file
        for (const QString& file : DiscTree::files(targetRootPath))
            EXPECT_EQ(QFileInfo(targetRootPath + file).size(), sizes.value(file, -1))
                << file.toStdString();
    }
}

// A link on the disc to a file is copied as that file; one to a folder is
// left out, since it may lead back into the tree being copied.
TEST_F(CopyFilesTest, LinksAreCopiedAsTheirFilesButNeverFollowedIntoFolders) {
    disc.write("tapes/1/a.wav", "first");
    disc.write("tapes/2/b.wav", "second");
    ASSERT_TRUE(QFile::link(disc.root() + "tapes", disc.root() + "tapes/1/back"));
    ASSERT_TRUE(QFile::link(disc.root() + "tapes/2/b.wav", disc.root() + "tapes/1/c.wav"));
    TCopyFilesToHardDiskThread thread(targetRoot(), disc.root());
    const CopyRun run = runToEnd(thread, disc.root());

    EXPECT_TRUE(run.success) << run.error.toStdString();
    const QStringList copied{"tapes/1/a.wav", "tapes/1/c.wav", "tapes/2/b.wav"};
    EXPECT_EQ(run.reported, copied);
    EXPECT_EQ(DiscTree::files(targetRoot()), copied);
    EXPECT_FALSE(QFileInfo(targetRoot() + "tapes/1/c.wav").isSymLink());
    EXPECT_EQ(DiscTree::read(targetRoot() + "tapes/1/c.wav"), "second");
    EXPECT_FALSE(QFileInfo::exists(targetRoot() + "tapes/1/back"));
}

TEST_F(CopyFilesTest, AnAbortInTheMiddleOfAFileEndsQuietlyWithoutThatFile) {
    testing_support::writeSixFolderDisc(disc);
    TCopyFilesToHardDiskThread thread(targetRoot(), disc.root());
    auto calls = std::make_shared<int>(0);
    thread.set_block_writer([&thread, calls](QFile& f, const char* data, qint64 size) {
        if (++*calls == 2) thread.set_abort();
        return f.write(data, size);
    });
    const CopyRun run = runToEnd(thread, disc.root());
    EXPECT_FALSE(run.ended) << "an aborted copy reports no end";
    EXPECT_EQ(run.reported.size(), 2);
    EXPECT_EQ(DiscTree::files(targetRoot()), QStringList{"big_pict/b1.jpg"});
}

TEST_F(CopyFilesTest, APausedCopyWaitsAndGoesOnFromTheSameFile) {
    testing_support::writeSixFolderDisc(disc);
    TCopyFilesToHardDiskThread thread(targetRoot(), disc.root());
    std::atomic<bool> pausedInside{false};
    auto calls = std::make_shared<int>(0);
    thread.set_block_writer([&](QFile& f, const char* data, qint64 size) {
        if (++*calls == 3) {
            thread.pause();
            pausedInside = true;
        }
        return f.write(data, size);
    });
    QStringList reported;
    QObject::connect(
        &thread, &TCopyFilesToHardDiskThread::file_started, &thread,
        [&](const QString& path) { reported << QFileInfo(path).fileName(); },
        Qt::DirectConnection);
    thread.start();
    while (!pausedInside) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_TRUE(thread.isRunning());
    EXPECT_EQ(thread.files_started(), 3) << "nothing moves while paused";
    EXPECT_FALSE(QFileInfo::exists(targetRoot() + "smalpict/s1.jpg"));
    thread.resume();
    ASSERT_TRUE(thread.wait(10000));
    EXPECT_EQ(reported.size(), 8);
    EXPECT_EQ(DiscTree::read(targetRoot() + "localities/l1.htm"), "<p>site</p>");
    EXPECT_EQ(DiscTree::files(targetRoot()).size(), 8);
}
