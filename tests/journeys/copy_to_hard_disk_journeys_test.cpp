// Copying the demo disc to the hard disk as a user does, from the Options
// menu of the main list window.
#include "journeys/journey.h"

#include "listview/windows/child_form.h"
#include "utilities/windows/select_copy_directory_dialog.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

using testing_support::Journey;

namespace {

constexpr int kCopyToHdMenuLine = 17;

QStringList filesBelow(const QString& root) {
    QStringList found;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) found << QDir(root).relativeFilePath(it.next());
    found.sort();
    return found;
}

// The mount table lists the demo's base directory as an optical disc, as a
// disc in the drive is listed.
class DemoDiscInTheDrive {
  public:
    DemoDiscInTheDrive() : previous_(qgetenv("KORVELAN_MOUNT_TABLE")) {
        QString mountPoint =
            QDir::cleanPath(testing_support::RunningDemoProgram::demoBaseDirectory());
        QFile table(dir_.path() + "/mounts");
        if (!table.open(QIODevice::WriteOnly)) qFatal("cannot write the mount table");
        table.write("/dev/vda / ext4 rw 0 0\n/dev/sr0 " +
                    mountPoint.replace(u' ', QStringLiteral("\\040")).toUtf8() +
                    " iso9660 ro 0 0\n");
        table.close();
        qputenv("KORVELAN_MOUNT_TABLE", QFile::encodeName(table.fileName()));
    }
    ~DemoDiscInTheDrive() {
        if (previous_.isEmpty())
            qunsetenv("KORVELAN_MOUNT_TABLE");
        else
            qputenv("KORVELAN_MOUNT_TABLE", previous_);
    }

  private:
    QTemporaryDir dir_;
    QByteArray previous_;
};

}  // namespace

TEST_F(Journey, CopyToHardDiskCopiesEveryMediaFolderOfTheDemoDiscSpokenNamesIncluded) {
    const DemoDiscInTheDrive disc;
    QTemporaryDir hardDisk;
    const QString target = hardDisk.path() + "/Korvelan demo";
    // The user types the folder into the directory dialog and presses OK;
    // the waiting and progress windows close by themselves.
    int dialogsAnswered = 0;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (auto* dialog =
                qobject_cast<TSelectCopyDirectoryDialog*>(QApplication::activeModalWidget())) {
            dialog->set_directory(target);
            ++dialogsAnswered;
            dialog->ok_button()->click();
        }
    });
    user.start(20);

    QAction* copy = main_->menu_action(kCopyToHdMenuLine);
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(copy->isVisible() && copy->isEnabled());
    copy->trigger();
    user.stop();

    EXPECT_EQ(dialogsAnswered, 1);
    const QString base = testing_support::RunningDemoProgram::demoBaseDirectory();
    const QStringList onDisc = filesBelow(base);
    const QStringList copied = filesBelow(target);
    EXPECT_EQ(onDisc.size(), 491);
    QStringList missing;
    for (const QString& file : onDisc)
        if (!copied.contains(file)) missing << file;
    EXPECT_EQ(missing.size(), 0) << "first missing: " << missing.value(0).toStdString();
    EXPECT_EQ(copied.size(), onDisc.size());
    EXPECT_EQ(copied.filter(QRegularExpression("^voices/lang[12]/")).size(), 194);
    // Each copy holds its file's bytes and keeps its time.
    QStringList differing;
    for (const QString& file : copied) {
        QFile from(base + u'/' + file), to(target + u'/' + file);
        if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::ReadOnly) ||
            from.readAll() != to.readAll() ||
            QFileInfo(from).lastModified() != QFileInfo(to).lastModified())
            differing << file;
    }
    EXPECT_EQ(differing.size(), 0) << "first differing: " << differing.value(0).toStdString();
    ASSERT_FALSE(program().script().messages().empty());
    EXPECT_EQ(program().script().messages().back().style, platform::box::IconInformation)
        << program().script().lastMessage().toStdString();
}
