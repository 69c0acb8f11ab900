#include "utilities/copy_to_hard_disk.h"

#include "app/base_directory.h"
#include "app/editions.h"
#include "app/globals.h"
#include "app/messages.h"
#include "formats/textfile.h"
#include "platform/dialog_service.h"
#include "platform/drives.h"
#include "platform/system.h"
#include "utilities/copy_files_thread.h"
#include "utilities/needed_disk_space.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

using namespace platform;

namespace {

const QString kSection = QStringLiteral("COPY_TO_HARD_DISK");
const QString kSelectDirSection = QStringLiteral("COPY_TO_HARD_DISK_SELECT_DIR_DIALOG");

// Lines of the section, from 1.
enum CopyLine {
    kRunsFromCopy = 1,
    kRunsFromCopyEnd,
    kRefreshQuestion,
    kDriveCaption,
    kDrivePrompt,
    kNotADisc,
    kNoFilesOnDisc,
    kNoDiscInDrive,
    kCalculating,
    kCancel,
    kSucceeded = 13,
    kFailed,
    kAbortedFirst,
    kAbortedSecond,
    kNoRoomFirst,
    kNoRoomNeeded,
    kNoRoomFree,
    kNoCopyToRefresh = 21,
    kTargetInsideSource,
};

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

QString withoutTrailingSeparator(const QString& path) {
    QString p = QDir::cleanPath(path);
    return p;
}

bool isInside(const QString& path, const QString& folder) {
    const QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const QString f = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    return p == f || p.startsWith(f.endsWith(u'/') ? f : f + u'/');
}

}  // namespace

QString GLB_copy_text(int line) {
    return GLB_text(kSection, line);
}

QStringList GLB_copy_select_dir_texts() {
    QStringList texts;
    GLB_texts().lines(kSelectDirSection, texts, 12);
    return texts;
}

QString GLB_default_copy_folder(const QString& documentsFolder, const QString& shortTitle) {
    // A missing documents folder would put the copies at the root.
    const QString base = QFileInfo(documentsFolder).isDir() ? documentsFolder : QDir::homePath();
    return QDir::cleanPath(base + QStringLiteral("/My Quillmarsh Files/Copies of CD- and DVD-ROMs/") +
                           shortTitle);
}

qint64 GLB_free_bytes_for(const QString& path) {
    QFileInfo existing(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    while (!existing.exists()) {
        const QString parent = existing.absolutePath();
        if (parent == existing.absoluteFilePath()) return -1;
        existing = QFileInfo(parent);
    }
    const QStorageInfo storage(existing.absoluteFilePath());
    return storage.isValid() ? storage.bytesAvailable() : -1;
}

void TCopyToHardDisk::error(const QString& text) {
    GLB_show_message(text, box::IconStop);
}

bool TCopyToHardDisk::has_room(const QString& target, qint64 neededBytes) {
    const qint64 free = free_bytes(target);
    if (free < 0 || free >= neededBytes) return true;
    constexpr qint64 kMegabyte = 1'048'576;
    error(GLB_copy_text(kNoRoomFirst) + u' ' + quoted(withoutTrailingSeparator(target)) + u'.' +
          u'\n' + QString::number((neededBytes + kMegabyte - 1) / kMegabyte) + u' ' +
          GLB_copy_text(kNoRoomNeeded) + u' ' + QString::number(free / kMegabyte) + u' ' +
          GLB_copy_text(kNoRoomFree));
    return false;
}

bool TCopyToHardDisk::copy_from_disc_in_base_directory(QString& source, QString& target) {
    const QString base = GLB().base_directory;
    if (!QFileInfo(base).isDir()) {
        error(GLB_copy_text(kNoDiscInDrive) + u' ' +
              platform::mountPointOf(base, platform::currentMountTable()));
        return false;
    }
    TClassCalculateNeededDiskSpace calculator;
    calculator.directory = base;
    if (!ui_.measure(calculator, GLB_copy_text(kCalculating), GLB_copy_text(kCancel)))
        return false;

    const QString documents = documents_folder ? documents_folder() : platform::documentsFolder();
    const auto chosen =
        ui_.choose_target(GLB_copy_select_dir_texts(),
                          GLB_default_copy_folder(documents, GLB_edition().short_title()),
                          calculator.needed_megabytes);
    if (!chosen || chosen->trimmed().isEmpty()) return false;
    source = base;
    target = QDir::cleanPath(QFileInfo(*chosen).absoluteFilePath()) + u'/';
    // Copying a folder into itself would never end.
    if (isInside(target, source)) {
        error(GLB_copy_text(kTargetInsideSource) + u' ' + quoted(target));
        return false;
    }
    return has_room(target, calculator.needed_bytes);
}

bool TCopyToHardDisk::refresh_from_disc(QString& source, QString& target) {
    const QString base = GLB().base_directory;
    // An unset base directory reads as the root; refreshing "a copy" there
    // would write the media folders into the root of the system.
    if (QDir::cleanPath(base) == u"/" || !QFileInfo(base).isDir()) {
        error(GLB_copy_text(kNoCopyToRefresh) + u' ' + quoted(base));
        return false;
    }
    const QStringList discs = platform::opticalDiscMountPoints(platform::currentMountTable());
    const QString found = discs.isEmpty() ? QString() : discs.front();
    const QString question = GLB_copy_text(kRunsFromCopy) + u' ' + quoted(base) + u' ' +
                             GLB_copy_text(kRunsFromCopyEnd) + u'\n' +
                             GLB_copy_text(kRefreshQuestion);
    if (GLB_show_message(question, box::QuestionYesNo) != answer::Yes) return false;
    const auto given = DialogService::inputText(GLB_copy_text(kDriveCaption),
                                                GLB_copy_text(kDrivePrompt), found);
    if (!given) return false;
    const QString drive = given->trimmed();
    const QString mountPoint = QDir::cleanPath(drive);
    if (drive.isEmpty() || !discs.contains(mountPoint)) {
        error(quoted(drive) + u' ' + GLB_copy_text(kNotADisc));
        return false;
    }
    if (QDir(mountPoint).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        error(GLB_copy_text(kNoFilesOnDisc) + u' ' + quoted(mountPoint));
        return false;
    }
    source = mountPoint + u'/';
    target = base;
    if (isInside(target, source) || isInside(source, target)) {
        error(GLB_copy_text(kTargetInsideSource) + u' ' + quoted(target));
        return false;
    }
    return has_room(target, GLB_media_bytes_to_add(source, target));
}

bool TCopyToHardDisk::run() {
    QString source;
    QString target;
    const bool ready = GLB_base_directory_on_cdrom() ? copy_from_disc_in_base_directory(source, target)
                                                      : refresh_from_disc(source, target);
    if (!ready) return false;

    // The copy's own folder first: without it the copy cannot start.
    if (!QDir().mkpath(target)) {
        error(GLB_directory_creation_failure(target));
        return false;
    }
    TCopyFilesToHardDiskThread thread(target, source);
    if (prepare_thread) prepare_thread(thread);
    const TCopyResult result = ui_.run_copy(thread, GLB_count_media_files(source));
    switch (result) {
        case TCopyResult::success:
            GLB().base_directory = target;
            GLB_show_message(GLB_copy_text(kSucceeded) + u' ' + quoted(target),
                             box::IconInformation);
            return true;
        case TCopyResult::failure:
            error(GLB_copy_text(kFailed) + u' ' + quoted(GLB().base_directory));
            return false;
        case TCopyResult::aborted:
            error(GLB_copy_text(kAbortedFirst) + u'\n' + GLB_copy_text(kAbortedSecond));
            return false;
    }
    return false;
}
