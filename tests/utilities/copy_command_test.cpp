#include "utilities/copy_to_hard_disk.h"

#include "app/editions.h"
#include "app/globals.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"
#include "utilities/copy_files_thread.h"
#include "utilities/disc_tree.h"
#include "utilities/needed_disk_space.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

using platform::answer::No;
using platform::answer::Yes;
using testing_support::DiscTree;

namespace {

// The windows of the command, answered by the test.
class FakeWindows final : public TCopyToHardDiskUi {
  public:
    bool cancel_measuring = false;
    std::optional<QString> target;
    int measured = 0;
    int chooser_calls = 0;
    qint64 shown_megabytes = -1;
    QString default_directory;
    int copies = 0;
    int file_count = -1;
    QStringList texts;

    bool measure(TClassCalculateNeededDiskSpace& calculator, const QString&,
                 const QString&) override {
        ++measured;
        std::atomic<bool> cancelled{cancel_measuring};
        calculator.calculate(cancelled);
        return !cancel_measuring;
    }
    std::optional<QString> choose_target(const QStringList& t, const QString& defaultDirectory,
                                         qint64 neededMegabytes) override {
        ++chooser_calls;
        texts = t;
        default_directory = defaultDirectory;
        shown_megabytes = neededMegabytes;
        return target;
    }
    TCopyResult run_copy(TCopyFilesToHardDiskThread& thread, int fileCount) override {
        ++copies;
        file_count = fileCount;
        bool success = false;
        bool ended = false;
        QObject::connect(
            &thread, &TCopyFilesToHardDiskThread::copy_ended, &thread,
            [&](bool ok, const QString&) {
                ended = true;
                success = ok;
            },
            Qt::DirectConnection);
        thread.start();
        thread.wait();
        if (!ended) return TCopyResult::aborted;
        return success ? TCopyResult::success : TCopyResult::failure;
    }
};

// The mount table writes blanks as octal escapes (temporary folders here are
// named after the edition's title).
QString escaped(QString path) {
    return path.replace(u' ', QStringLiteral("\\040"));
}

class CopyCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        program_ = std::make_unique<testing_support::ProgramDirectory>();
        program_->makeCurrentProgramDirectory();
        testing_support::installDemoEdition(*program_);
        previous_table_ = qgetenv("KORVELAN_MOUNT_TABLE");
        mount_table_path_ = mounts_.path() + "/mounts";
        set_mount_table("");
        testing_support::writeSixFolderDisc(disc_);
    }
    void TearDown() override {
        testing_support::removeDemoEdition();
        if (previous_table_.isEmpty())
            qunsetenv("KORVELAN_MOUNT_TABLE");
        else
            qputenv("KORVELAN_MOUNT_TABLE", previous_table_);
    }

    // The disc tree is mounted as an optical disc; everything else is ext4.
    void set_mount_table(const QString& opticalMountPoint) {
        QFile file(mount_table_path_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("/dev/vda / ext4 rw 0 0\n");
        if (!opticalMountPoint.isEmpty())
            file.write(("/dev/sr0 " + escaped(QDir::cleanPath(opticalMountPoint)) +
                        " iso9660 ro 0 0\n")
                           .toUtf8());
        file.close();
        qputenv("KORVELAN_MOUNT_TABLE", QFile::encodeName(mount_table_path_));
    }
    QString disc_root() const { return QDir::cleanPath(disc_.root()); }

    std::unique_ptr<testing_support::ProgramDirectory> program_;
    QTemporaryDir mounts_;
    QString mount_table_path_;
    QByteArray previous_table_;
    DiscTree disc_;
    QTemporaryDir hard_disk_;
    testing_support::DialogScript script_;
    FakeWindows windows_;
};

}  // namespace

TEST_F(CopyCommandTest, ACopyOfTheDiscBecomesTheBaseDirectory) {
    set_mount_table(disc_root());
    GLB().base_directory = disc_.root();
    const QString target = hard_disk_.path() + "/Copies/demo";
    windows_.target = target;
    TCopyToHardDisk command(windows_);
    command.documents_folder = [this] { return hard_disk_.path(); };

    EXPECT_TRUE(command.run());
    EXPECT_EQ(windows_.measured, 1);
    EXPECT_EQ(windows_.texts.size(), 12);
    EXPECT_EQ(windows_.shown_megabytes, 0) << "the small disc is under one megabyte";
    EXPECT_EQ(windows_.default_directory,
              hard_disk_.path() + "/My Quillmarsh Files/Copies of CD- and DVD-ROMs/" +
                  GLB_edition().short_title());
    EXPECT_EQ(windows_.file_count, 8);
    EXPECT_EQ(GLB().base_directory, target + u'/');
    EXPECT_EQ(DiscTree::files(target).size(), 8);
    ASSERT_EQ(script_.messages().size(), 1u);
    EXPECT_EQ(script_.messages()[0].style, platform::box::IconInformation);
    EXPECT_TRUE(script_.lastMessage().contains(target));
}

TEST_F(CopyCommandTest, StopsBeforeCopyingWhenTheUserOrTheDiskSaysSo) {
    set_mount_table(disc_root());
    struct Case {
        const char* name;
        bool cancel_measuring;
        std::optional<QString> target;
        qint64 free_bytes;
        int chooser_calls;
        int messages;
    };
    const QString inside = disc_.root() + "tapes/copy";
    const std::vector<Case> cases{
        {"measuring cancelled: nothing further is asked", true, QString("x"), -1, 0, 0},
        {"the directory dialog cancelled", false, std::nullopt, -1, 1, 0},
        {"too little free space", false, hard_disk_.path() + "/c", 1000, 1, 1},
        {"a target inside the disc", false, inside, -1, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::DialogScript script;
        GLB().base_directory = disc_.root();
        FakeWindows windows;
        windows.cancel_measuring = c.cancel_measuring;
        windows.target = c.target;
        TCopyToHardDisk command(windows);
        command.free_bytes = [&c](const QString&) { return c.free_bytes; };
        EXPECT_FALSE(command.run());
        EXPECT_EQ(windows.chooser_calls, c.chooser_calls);
        EXPECT_EQ(windows.copies, 0);
        EXPECT_EQ(script.messages().size(), size_t(c.messages));
        EXPECT_EQ(GLB().base_directory, disc_.root());
        EXPECT_FALSE(QFileInfo::exists(hard_disk_.path() + "/c"));
    }
}

TEST_F(CopyCommandTest, ADiscMissingFromItsDriveIsNamed) {
    set_mount_table(disc_root() + "/gone");
    GLB().base_directory = disc_.root() + "gone/";
    TCopyToHardDisk command(windows_);
    EXPECT_FALSE(command.run());
    EXPECT_EQ(windows_.measured, 0);
    ASSERT_EQ(script_.messages().size(), 1u);
    EXPECT_TRUE(script_.lastMessage().endsWith(disc_root() + "/gone"));
}

TEST_F(CopyCommandTest, RefreshingACopyAsksForTheDiscAndChecksIt) {
    const QString copy = hard_disk_.path() + "/copy/";
    QDir().mkpath(copy + "tapes/12");
    {
        QFile stale(copy + "tapes/12/cut1.wav");
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("stale");
    }
    set_mount_table(disc_root());
    struct Case {
        const char* name;
        int answer;
        std::optional<QString> drive;
        bool copied;
        QString message_part;
    };
    const std::vector<Case> cases{
        {"No to the question", No, std::nullopt, false, {}},
        {"the input box cancelled", Yes, std::nullopt, false, {}},
        {"a folder that is no disc", Yes, hard_disk_.path(), false, hard_disk_.path()},
        {"the disc's mount point", Yes, disc_root(), true, copy},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::DialogScript script;
        script.dialogs().messageAnswers = {c.answer};
        script.dialogs().textAnswers = {c.drive};
        GLB().base_directory = copy;
        FakeWindows windows;
        TCopyToHardDisk command(windows);
        EXPECT_EQ(command.run(), c.copied);
        EXPECT_EQ(windows.measured, 0);
        EXPECT_EQ(windows.copies, c.copied ? 1 : 0);
        ASSERT_FALSE(script.messages().empty());
        EXPECT_TRUE(script.messages()[0].text.contains(u'"' + copy + u'"'));
        EXPECT_EQ(script.messages()[0].style, platform::box::QuestionYesNo);
        if (!c.message_part.isEmpty()) {
            ASSERT_EQ(script.messages().size(), 2u);
            EXPECT_TRUE(script.lastMessage().contains(c.message_part))
                << script.lastMessage().toStdString();
        }
        EXPECT_EQ(DiscTree::read(copy + "tapes/12/cut1.wav").size(), c.copied ? 5000 : 5);
    }
}

TEST_F(CopyCommandTest, RefreshingWithoutACopyOnTheHardDiskWritesNothing) {
    set_mount_table(disc_root());
    GLB().base_directory = QStringLiteral("/");
    TCopyToHardDisk command(windows_);
    EXPECT_FALSE(command.run());
    EXPECT_EQ(windows_.copies, 0);
    ASSERT_EQ(script_.messages().size(), 1u);
    EXPECT_EQ(script_.messages()[0].style, platform::box::IconStop);
}

TEST_F(CopyCommandTest, AFailedOrAbortedCopyKeepsTheBaseDirectory) {
    set_mount_table(disc_root());
    for (const bool abort : {false, true}) {
        SCOPED_TRACE(abort ? "aborted" : "failed");
        testing_support::DialogScript script;
        GLB().base_directory = disc_.root();
        QTemporaryDir target;
        windows_.target = target.path();
        TCopyToHardDisk command(windows_);
        command.prepare_thread = [abort](TCopyFilesToHardDiskThread& thread) {
            thread.set_block_writer([&thread, abort](QFile& f, const char* data, qint64 size) {
                if (abort) {
                    thread.set_abort();
                    return f.write(data, size);
                }
                return qint64{-1};
            });
        };
        EXPECT_FALSE(command.run());
        EXPECT_EQ(GLB().base_directory, disc_.root());
        ASSERT_FALSE(script.messages().empty());
        EXPECT_EQ(script.messages().back().style, platform::box::IconStop);
        EXPECT_EQ(script.lastMessage().contains(u'\n'), abort)
            << "the abort message is two texts on two lines";
        EXPECT_EQ(DiscTree::files(target.path()), QStringList());
    }
}

TEST_F(CopyCommandTest, TheDemoDiscIsCopiedWithEveryMediaFolderWhateverItsLetterCase) {
    // The demo disc spells its spoken names' folder "voices"; a copy without
    // it would run but never tell a species' name.
    const QString demoDisc = testing_support::sourceTree() + "/editions/demo/base";
    set_mount_table(demoDisc);
    GLB().base_directory = demoDisc + u'/';
    const QString target = hard_disk_.path() + "/Copies/demo";
    windows_.target = target;
    TCopyToHardDisk command(windows_);

    ASSERT_TRUE(command.run());
    const QStringList onDisc = DiscTree::files(demoDisc);
    const QStringList copied = DiscTree::files(target);
    EXPECT_EQ(windows_.file_count, onDisc.size());
    QStringList missing;
    for (const QString& file : onDisc)
        if (!copied.contains(file)) missing << file;
    EXPECT_EQ(missing.size(), 0) << "first missing: " << missing.value(0).toStdString();
    EXPECT_EQ(copied.size(), onDisc.size());
    EXPECT_EQ(copied.filter(QRegularExpression("^voices/lang[12]/")).size(), 194);
    EXPECT_EQ(GLB().base_directory, target + u'/');
}

TEST_F(CopyCommandTest, RefreshingACopyKeepsItsOwnSpellingOfAMediaFolder) {
    // A copy made earlier holds "Voices"; the disc says "voices". The refresh
    // writes into the folder that is there rather than beside it.
    const QString copy = hard_disk_.path() + "/copy/";
    QDir().mkpath(copy + "Voices/lang1");
    disc_.write(QStringLiteral("voices/lang1/F1/1.wav"), QByteArray(300, 'n'));
    set_mount_table(disc_root());
    script_.dialogs().messageAnswers = {Yes};
    script_.dialogs().textAnswers = {disc_root()};
    GLB().base_directory = copy;
    TCopyToHardDisk command(windows_);

    ASSERT_TRUE(command.run());
    EXPECT_EQ(windows_.file_count, 9);
    EXPECT_EQ(DiscTree::read(copy + "Voices/lang1/F1/1.wav").size(), 300);
    EXPECT_FALSE(QFileInfo::exists(copy + "voices"));
}
