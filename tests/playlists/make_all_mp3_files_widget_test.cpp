// The "Make mp3s" window: its timer runs the job to the end, it grows to
// show its text, and closing while it runs asks first.

#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "playlists/windows/make_all_mp3_files_form.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"

#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {

struct NoTexts : TTagTextProvider {
    TRecordingTagTexts tag_texts(const Tcupaitem&) const override { return {}; }
};

}  // namespace

class MakeAllMp3FilesWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init() { testing_support::installDemoEdition(program); }
    void cleanup() { testing_support::removeDemoEdition(); }

    void runsToTheEndAndShowsItsFailures() {
        testing_support::DialogScript script;
        TClassVisibleSpeciesAndRecordings visible(GLB_data(), "WINDOW 1");
        int calls = 0;
        QPointer<TMakeAllMP3FilesForm> form = new TMakeAllMP3FilesForm(
            GLB_data(), 1, visible, std::make_unique<NoTexts>(), nullptr,
            [&](const Tcupaitem&) { return ++calls <= 3 ? QStringLiteral("A long label of a recording that failed") : QString(); });
        script.dialogs().messageAnswers = {platform::answer::No, platform::answer::No,
                                           platform::answer::No};
        form->resize(300, 60);
        form->show();
        form->start();
        QTRY_VERIFY_WITH_TIMEOUT(!form->job().running(), 20000);
        QCOMPARE(calls, form->job().total());
        QCOMPARE(form->job().done(), form->job().total() - 3);
        QCOMPARE(script.messages().size(), size_t(3));  // the stop question, answered No
        QVERIFY(form->job().progress_text().startsWith("Ready:"));
        // The wrapped text pushes the button down and the window grows with it.
        const QImage shot = form->grab().toImage();
        QVERIFY(form->cancel_button()->y() > 4 * 15);
        QVERIFY(form->height() >= form->cancel_button()->geometry().bottom() + 10);
        QVERIFY(!shot.isNull());
        form->close();
        QTRY_VERIFY(form.isNull());
    }

    void closingWhileRunningAsksAndResumes() {
        testing_support::DialogScript script;
        TClassVisibleSpeciesAndRecordings visible(GLB_data(), "WINDOW 1");
        QPointer<TMakeAllMP3FilesForm> form = new TMakeAllMP3FilesForm(
            GLB_data(), 1, visible, std::make_unique<NoTexts>(), nullptr,
            [](const Tcupaitem&) { return QString(); });
        form->show();
        form->start();
        QVERIFY(form->job().running());
        script.dialogs().messageAnswers = {platform::answer::No};
        form->cancel_button()->click();
        QVERIFY(!form.isNull());
        QCOMPARE(script.lastMessage(), GLB_make_all_mp3s_text(4));
        QVERIFY(!form->job().paused);
        const int done = form->job().done();
        QTRY_VERIFY(form->job().done() > done);

        script.dialogs().messageAnswers = {platform::answer::Yes};
        form->close();
        QTRY_VERIFY(form.isNull());
    }

  private:
    testing_support::ProgramDirectory program;
};

QTEST_MAIN(MakeAllMp3FilesWindowTest)
#include "make_all_mp3_files_widget_test.moc"
