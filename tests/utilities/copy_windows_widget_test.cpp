// The waiting window, the progress window of the copy and the directory dialog.
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"
#include "utilities/copy_files_thread.h"
#include "utilities/copy_to_hard_disk.h"
#include "utilities/disc_tree.h"
#include "utilities/windows/message_while_copying_form.h"
#include "utilities/windows/message_while_executing_form.h"
#include "utilities/windows/select_copy_directory_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>
#include <thread>

using testing_support::DiscTree;

namespace {

// A disc of many small files in two folders.
void writeManyFiles(const DiscTree& disc, int count) {
    for (int i = 0; i < count; ++i)
        disc.write(QStringLiteral("%1/%2/f%3.wav").arg(i % 2 ? "tapes" : "smalpict").arg(i % 7).arg(i),
                   QByteArray(200 + i, char('a' + i % 26)));
}

}  // namespace

class CopyWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() {
        program_ = std::make_unique<testing_support::ProgramDirectory>();
        testing_support::installDemoEdition(*program_);
    }
    void cleanupTestCase() { testing_support::removeDemoEdition(); }

    void progressWindowCountsEveryFileTheThreadReports() {
        DiscTree disc;
        writeManyFiles(disc, 400);
        QTemporaryDir target;
        TCopyFilesToHardDiskThread thread(target.path(), disc.root());
        const int count = GLB_count_media_files(disc.root());
        QCOMPARE(count, 400);
        TMessageWhileCopyingForm form(thread, count);
        form.show();
        QTRY_VERIFY_WITH_TIMEOUT(form.finished(), 20000);
        QVERIFY(form.succeeded());
        QCOMPARE(form.files_reported(), 400);
        QCOMPARE(form.progress_bar()->value(), 400);
        QCOMPARE(form.progress_bar()->maximum(), 400);
        QVERIFY(form.file_label()->text().startsWith(GLB_copy_text(12) + u' '));
        QVERIFY(!form.isVisible());
        QCOMPARE(DiscTree::files(target.path()).size(), 400);
    }

    void layoutFollowsTheLabels() {
        QTemporaryDir target;
        DiscTree disc;
        TCopyFilesToHardDiskThread thread(target.path(), disc.root());
        TMessageWhileCopyingForm form(thread, 1);
        QCOMPARE(form.width(), 450);
        QCOMPARE(form.explanation_label()->geometry().topLeft(), QPoint(20, 20));
        QCOMPARE(form.explanation_label()->width(), 390);
        QCOMPARE(form.file_label()->y(), form.explanation_label()->height() + 28);
        QCOMPARE(form.height(), form.explanation_label()->height() + 80 + 83 +
                                    form.progress_bar()->height());
        QCOMPARE(form.cancel_button()->size(), QSize(70, 27));
        QCOMPARE(form.cancel_button()->y(), form.height() - 35);
        QVERIFY(form.progress_bar()->geometry().bottom() < form.cancel_button()->y());
    }

    void longPathsAreShortenedToFourLabelLines() {
        QTemporaryDir target;
        DiscTree disc;
        TCopyFilesToHardDiskThread thread(target.path(), disc.root());
        TMessageWhileCopyingForm form(thread, 1);
        const QString prefix = GLB_copy_text(12) + u' ';
        const QString shortPath = QStringLiteral("/media/cdrom/tapes/12/cut.wav");
        QCOMPARE(form.file_text_for(shortPath), prefix + shortPath);

        QString longPath = QStringLiteral("/media/cdrom/tapes");
        for (int i = 0; i < 40; ++i) longPath += QStringLiteral("/folder_number_%1").arg(i);
        const QString text = form.file_text_for(longPath);
        QVERIFY(text.startsWith(prefix + QStringLiteral("....")));
        QVERIFY(longPath.endsWith(text.mid(prefix.size() + 4)));
        const QFontMetrics metrics(form.file_label()->font());
        QVERIFY(metrics.horizontalAdvance(text) <= 4 * form.file_label()->width());
        // One character more would not have fitted.
        const QString tail = text.mid(prefix.size() + 4);
        const QString oneMore = longPath.mid(longPath.size() - tail.size() - 1);
        QVERIFY(metrics.horizontalAdvance(prefix + "...." + oneMore) > 4 * form.file_label()->width());
    }

    void theAbortQuestionPausesTheCopyAndNoGoesOn() {
        DiscTree disc;
        writeManyFiles(disc, 40);
        QTemporaryDir target;
        TCopyFilesToHardDiskThread thread(target.path(), disc.root());
        std::atomic<int> startedWhileAsked{-1};
        testing_support::DialogScript script;
        // The scripted answer runs while the window asks: the thread must stand still.
        struct PausedCheck final : platform::DialogBackend {
            TCopyFilesToHardDiskThread* thread;
            std::atomic<int>* seen;
            int answer;
            int message(const platform::MessageRequest&) override {
                const int before = thread->files_started();
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
                *seen = thread->files_started() == before ? before : -2;
                return answer;
            }
            std::optional<QString> chooseDirectory(const QString&, const QString&) override { return {}; }
            std::optional<QString> openFileName(const platform::FileRequest&) override { return {}; }
            std::optional<QString> saveFileName(const platform::FileRequest&) override { return {}; }
            std::optional<QString> inputText(const QString&, const QString&, const QString&) override { return {}; }
        };
        auto backend = std::make_unique<PausedCheck>();
        backend->thread = &thread;
        backend->seen = &startedWhileAsked;
        backend->answer = platform::answer::No;
        auto previous = platform::DialogService::setBackend(std::move(backend));

        // Slow writes keep the copy busy long enough to ask in the middle.
        thread.set_block_writer([](QFile& f, const char* data, qint64 size) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return f.write(data, size);
        });
        TMessageWhileCopyingForm form(thread, GLB_count_media_files(disc.root()));
        form.show();
        QTRY_VERIFY(thread.files_started() >= 3);
        form.cancel_button()->click();
        QVERIFY(startedWhileAsked >= 3);
        QVERIFY(!thread.is_paused());
        QVERIFY(form.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(form.finished(), 20000);
        QVERIFY(form.succeeded());
        QCOMPARE(DiscTree::files(target.path()).size(), 40);
        platform::DialogService::setBackend(std::move(previous));
    }

    void yesToTheAbortQuestionStopsWithoutAPartialFile() {
        DiscTree disc;
        disc.write(QStringLiteral("tapes/big.wav"), QByteArray(16 << 20, 'x'));
        disc.write(QStringLiteral("big_pict/first.jpg"), "first");
        QTemporaryDir target;
        TCopyFilesToHardDiskThread thread(target.path(), disc.root());
        thread.set_block_writer([](QFile& f, const char* data, qint64 size) {
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            return f.write(data, size);
        });
        testing_support::DialogScript script;
        script.dialogs().messageAnswers = {platform::answer::Yes};
        TMessageWhileCopyingForm form(thread, 2);
        form.show();
        QTRY_VERIFY(thread.files_started() == 2);
        form.close();
        QVERIFY(!form.isVisible());
        QVERIFY(!form.finished());
        QCOMPARE(script.messages().size(), 1u);
        QVERIFY(script.lastMessage().startsWith("The program has not finished copying files."));
        QVERIFY(thread.wait(5000));
        QCOMPARE(DiscTree::files(target.path()), QStringList{"big_pict/first.jpg"});
    }

    void waitingWindowClosesWhenTheProcedureEndsAndCancelStopsIt() {
        const bool cancelled = RunWhileShowingMessage(
            QStringLiteral("Measuring"),
            [](const std::atomic<bool>&, const auto&, const auto&) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
            },
            false, nullptr, false, QPoint(800, 600), QStringLiteral("Cancel"));
        QVERIFY(!cancelled);

        std::atomic<bool> procedureSawCancel{false};
        QTimer::singleShot(300, [] {
            auto* form = qobject_cast<TMessageWhileExecutingForm*>(QApplication::activeModalWidget());
            QVERIFY(form);
            QCOMPARE(form->width(), 300);
            QCOMPARE(form->progress_bar()->width(), 100);
            form->cancel_button()->click();
        });
        const bool cancelledNow = RunWhileShowingMessage(
            QStringLiteral("Measuring"),
            [&](const std::atomic<bool>& c, const auto&, const auto&) {
                while (!c) std::this_thread::sleep_for(std::chrono::milliseconds(5));
                procedureSawCancel = true;
            },
            false, nullptr, false, QPoint(800, 600), QStringLiteral("Cancel"));
        QVERIFY(cancelledNow);
        QVERIFY(procedureSawCancel);
    }

    void directoryDialogWarnsOfTooLittleRoomAndWantsAFolder() {
        testing_support::DialogScript script;
        const QStringList texts = GLB_copy_select_dir_texts();
        QCOMPARE(texts.size(), 12);
        TSelectCopyDirectoryDialog dialog(texts, QStringLiteral("/tmp/copy"), 700);
        dialog.free_bytes = [](const QString& folder) {
            return folder.startsWith("/small") ? qint64{100} << 20 : qint64{5000} << 20;
        };
        dialog.set_directory(QStringLiteral("/small/copy"));
        QVERIFY(!dialog.warning_label()->isHidden());
        QCOMPARE(dialog.warning_label()->text(), texts[TSelectCopyDirectoryDialog::kTooLittleRoom]);
        QVERIFY(dialog.free_label()->text().startsWith("100 "));
        dialog.set_directory(QStringLiteral("/big/copy"));
        QVERIFY(dialog.warning_label()->isHidden());

        dialog.set_directory(QString());
        dialog.show();
        dialog.ok_button()->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(script.lastMessage(), texts[TSelectCopyDirectoryDialog::kNoFolder]);
        dialog.set_directory(QStringLiteral("/big/copy"));
        dialog.ok_button()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.directory(), QStringLiteral("/big/copy"));
    }

  private:
    std::unique_ptr<testing_support::ProgramDirectory> program_;
};

QTEST_MAIN(CopyWindowsTest)
#include "copy_windows_widget_test.moc"
