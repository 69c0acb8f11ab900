// The user's own list on disk: what is saved comes back, a damaged file is
// kept aside and never written over, and a write cut short leaves the
// previous file whole.
#include "learning/my_list.h"

#include "data/taxa.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

std::unique_ptr<Tspecies> speciesNamed(const QString& scientific) {
    auto s = std::make_unique<Tspecies>();
    s->scientific_name = scientific;
    return s;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class MyListFile : public ::testing::Test {
  protected:
    QTemporaryDir dir_;
    testing_support::DialogScript script_;
    QString path() const { return dir_.filePath(QStringLiteral("My list/mylist-103.json")); }
};

}  // namespace

TEST_F(MyListFile, WhatIsSavedComesBackAndAnEmptyEntryLeavesTheList) {
    const auto tinamouHeld = speciesNamed(QStringLiteral("Tinamus major"));
    const Tspecies& tinamou = *tinamouHeld;
    const auto nanduHeld = speciesNamed(QStringLiteral("Rhea americana"));
    const Tspecies& nandu = *nanduHeld;
    const auto otherHeld = speciesNamed(QStringLiteral("Crypturellus obsoletus"));
    const Tspecies& other = *otherHeld;
    TMyListEntry heard{.heard = true, .heard_date = QDate(2024, 5, 1),
                       .heard_place = QStringLiteral("Río Tuichi, \"camp 2\""), .seen = false,
                       .seen_date = {}, .seen_place = {}, .note = QStringLiteral("Ñandú? two\nlines")};
    TMyListEntry seen{.heard = false, .heard_date = {}, .heard_place = {}, .seen = true,
                      .seen_date = {}, .seen_place = {}, .note = {}};
    TMyListEntry noteOnly;
    noteOnly.note = QStringLiteral("look for it at dawn");
    {
        TMyList list(path());
        list.load();
        ASSERT_TRUE(list.set(tinamou, heard));
        ASSERT_TRUE(list.set(nandu, seen));
        ASSERT_TRUE(list.set(other, noteOnly));
    }
    TMyList again(path());
    EXPECT_TRUE(again.load().damaged_moved_to.isEmpty());
    EXPECT_EQ(again.entry(tinamou), heard);
    EXPECT_EQ(again.entry(nandu), seen);
    EXPECT_EQ(again.entry(other), noteOnly);
    EXPECT_TRUE(again.marked(tinamou));
    EXPECT_TRUE(again.marked(nandu));
    EXPECT_FALSE(again.marked(other)) << "a note alone does not put a species on the list";
    EXPECT_TRUE(script_.messages().empty());

    ASSERT_TRUE(again.set(tinamou, TMyListEntry()));
    TMyList third(path());
    third.load();
    EXPECT_FALSE(third.marked(tinamou));
    EXPECT_EQ(third.size(), 2);
}

TEST_F(MyListFile, ADamagedFileIsKeptAsideOnceAndANewListBegins) {
    const QList<QByteArray> damaged{
        "{\"format\": \"Korvelan my list\", \"version\": 1, \"species\": {\"Tinamus major\": {\"heard\": ",
        "[1, 2, 3]",
        "{\"format\": \"Korvelan my list\", \"version\": 1, \"species\": "
        "{\"Tinamus major\": {\"heard\": {\"date\": \"2024-13-45\"}}}}",
        "{\"format\": \"Korvelan my list\", \"version\": 1, \"species\": {\"Tinamus major\": \"yes\"}}",
        QByteArray("\xff\xfe garbage", 11),
    };
    const auto tinamouHeld = speciesNamed(QStringLiteral("Tinamus major"));
    const Tspecies& tinamou = *tinamouHeld;
    for (const QByteArray& bytes : damaged) {
        QDir(dir_.path()).removeRecursively();
        QDir().mkpath(QFileInfo(path()).path());
        write(path(), bytes);
        const std::size_t messagesBefore = script_.messages().size();

        TMyList list(path());
        const TMyList::LoadResult result = list.load();
        ASSERT_FALSE(result.damaged_moved_to.isEmpty()) << bytes.constData();
        EXPECT_EQ(script_.messages().size(), messagesBefore + 1) << "said not exactly once";
        EXPECT_EQ(contents(result.damaged_moved_to), bytes) << "the damaged file was not kept as it was";
        EXPECT_TRUE(result.damaged_moved_to.contains(QStringLiteral("mylist-103.json.damaged-")));
        EXPECT_EQ(list.size(), 0);
        EXPECT_FALSE(QFile::exists(path()));

        // The new list is saved in the old name; the damaged one stays aside.
        ASSERT_TRUE(list.set(tinamou, {.heard = true, .heard_date = {}, .heard_place = {}, .seen = false,
                                       .seen_date = {}, .seen_place = {}, .note = {}}));
        EXPECT_EQ(contents(result.damaged_moved_to), bytes);
        TMyList again(path());
        EXPECT_TRUE(again.load().damaged_moved_to.isEmpty());
        EXPECT_TRUE(again.marked(tinamou));
        EXPECT_EQ(script_.messages().size(), messagesBefore + 1);
    }
}

TEST_F(MyListFile, AWriteKilledMidwayLeavesThePreviousFileWhole) {
    const auto tinamouHeld = speciesNamed(QStringLiteral("Tinamus major"));
    const Tspecies& tinamou = *tinamouHeld;
    {
        TMyList list(path());
        list.load();
        ASSERT_TRUE(list.set(tinamou, {.heard = true, .heard_date = QDate(2023, 1, 2), .heard_place = {},
                                       .seen = false, .seen_date = {}, .seen_place = {}, .note = {}}));
    }
    const QByteArray before = contents(path());
    ASSERT_FALSE(before.isEmpty());

    // A second process saves a long note and is killed while it writes.
    bool killedWhileWriting = false;
    for (int attempt = 0; attempt < 3 && !killedWhileWriting; ++attempt) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TMyList list(path());
            list.load();
            TMyListEntry big;
            big.seen = true;
            big.note = QString(4'000'000 << attempt, u'x');
            list.set(*speciesNamed(QStringLiteral("Rhea americana")), big);
            _exit(0);
        }
        // The write has begun when the child holds a file open in the list's
        // folder other than the list itself (the temporary file may have no
        // name there: O_TMPFILE).
        const QString folder = QFileInfo(path()).absolutePath();
        const QString fds = QStringLiteral("/proc/%1/fd").arg(child);
        int status = 0;
        bool exited = false;
        for (bool writing = false; !writing && !exited;) {
            for (const QString& fd : QDir(fds).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
                char target[4096];
                const ssize_t n = readlink(QFile::encodeName(fds + u'/' + fd).constData(), target, sizeof target - 1);
                if (n <= 0) continue;
                const QString text = QFile::decodeName(QByteArray(target, int(n)));
                writing = writing || (text.startsWith(folder) && text != QFileInfo(path()).absoluteFilePath());
            }
            exited = waitpid(child, &status, WNOHANG) == child;
        }
        if (!exited) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
        }
        killedWhileWriting = WIFSIGNALED(status);
        if (!killedWhileWriting) {
            // It finished first: put the old file back and try a longer write.
            QFile::remove(path());
            write(path(), before);
        }
    }
    ASSERT_TRUE(killedWhileWriting) << "every write finished before it could be cut short";
    EXPECT_EQ(contents(path()), before);
    TMyList after(path());
    EXPECT_TRUE(after.load().damaged_moved_to.isEmpty());
    EXPECT_TRUE(after.marked(tinamou));
    EXPECT_EQ(after.size(), 1);
    EXPECT_TRUE(script_.messages().empty());
}
