// The playlist window on the demo edition: drops, Delete, the repeat edit,
// saving and opening through the dialogs, and the unsaved-work question.

#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "formats/textfile.h"
#include "playlists/windows/demo_settings_dialog.h"
#include "playlists/windows/playlist_form.h"
#include "playlists/windows/sounds_show_window.h"
#include "playlists/sound_bar_drag.h"
#include "playlists/demo_entries.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QLineEdit>
#include <QtTest>

class PlayListFormTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<testing_support::ProgramDirectory> dir;
    std::vector<TPlayListInfo> entries;
    // What the window's playlist show would play (these tests start none).
    TSoundBarShowRecordingSource recordings;

    void drop(TPlayListForm& form, const TPlayListInfo& entry) {
        TSoundBarDragObject data(*entry.recording_item, entry.recording_number);
        // A drop reaches the widget that accepted the drag's entry.
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.grid->viewport(), &enter);
        QDropEvent event(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.grid->viewport(), &event);
    }

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);  // the user's documents stay untouched
        dir = std::make_unique<testing_support::ProgramDirectory>();
        testing_support::installDemoEdition(*dir);
        entries = playlist_testing::firstPlayableDemoEntries(3);
        QCOMPARE(entries.size(), size_t(3));
    }
    void cleanupTestCase() {
        testing_support::removeDemoEdition();
        dir.reset();
    }

    void dropsFillTheNewListAndDeleteEmptiesIt() {
        testing_support::DialogScript dialogs;
        TPlayListForm form(nullptr, recordings);
        form.show_window(false);
        QCOMPARE(form.grid->rowCount(), 1);
        drop(form, entries[0]);
        QCOMPARE(form.grid->rowCount(), 1);
        QVERIFY(form.grid->item(0, 1)->text().endsWith(
            " # " + QString::number(entries[0].recording_number)));
        drop(form, entries[1]);
        QCOMPARE(form.grid->rowCount(), 2);
        QCOMPARE(form.grid->item(1, 0)->text(), QStringLiteral(" 2"));
        QVERIFY(form.list().modified());

        // Only recordings are accepted.
        QMimeData text;
        text.setText(QStringLiteral("x"));
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.grid->viewport(), &enter);
        QVERIFY(!enter.isAccepted());

        form.grid->setCurrentCell(0, 2);
        QTest::keyClick(form.grid, Qt::Key_Delete);
        QTest::keyClick(form.grid, Qt::Key_Delete);
        QCOMPARE(form.grid->rowCount(), 1);
        QCOMPARE(form.grid->item(0, 1)->text(), QString());
    }

    void repeatEditSaveAndOpen() {
        testing_support::DialogScript dialogs;
        TPlayListForm form(nullptr, recordings);
        form.show_window(false);
        for (const auto& e : entries) drop(form, e);
        form.grid->item(1, 2)->setText(QStringLiteral("3"));
        QCOMPARE(form.list().entry(2)->repeat_count, 3);
        QCOMPARE(form.grid->item(1, 2)->text(), QStringLiteral("3"));
        form.grid->item(0, 2)->setText(QString());
        QCOMPARE(form.grid->item(0, 2)->text(), QString());

        const QString path = dir->file(QStringLiteral("walk.pl"));
        dialogs.dialogs().messageAnswers.push_back(platform::answer::Yes);  // make the folder
        dialogs.dialogs().fileAnswers.push_back(path);
        QVERIFY(form.save());
        QVERIFY(!form.list().modified());
        QVERIFY(form.windowTitle().endsWith(QStringLiteral(": walk")));

        form.new_list();
        QCOMPARE(form.grid->rowCount(), 1);
        dialogs.dialogs().fileAnswers.push_back(path);
        QVERIFY(form.open_list());
        QCOMPARE(form.grid->rowCount(), 3);
        QCOMPARE(form.list().entry(2)->repeat_count, 3);

        form.copy_to_clipboard();
        QVERIFY(QApplication::clipboard()->text().contains(QStringLiteral(":  2, repeat=3")));
    }

    void unsavedWorkIsAskedAbout() {
        testing_support::DialogScript dialogs;
        TPlayListForm form(nullptr, recordings);
        form.show_window(false);
        form.new_list();
        QVERIFY(form.is_there_unsaved_work());  // nothing changed: no question
        QVERIFY(dialogs.messages().empty());
        drop(form, entries[0]);
        dialogs.dialogs().messageAnswers.push_back(platform::answer::Cancel);
        QVERIFY(!form.is_there_unsaved_work());
        QVERIFY(dialogs.lastMessage().startsWith(GLB_text(QStringLiteral("PLAY_LISTS"), 19)));
        // Yes, then the save dialog cancelled: still unsaved, the caller stops.
        dialogs.dialogs().messageAnswers.push_back(platform::answer::Yes);
        dialogs.dialogs().messageAnswers.push_back(platform::answer::Yes);
        dialogs.dialogs().fileAnswers.push_back(std::nullopt);
        QVERIFY(!form.is_there_unsaved_work());
        dialogs.dialogs().messageAnswers.clear();
        dialogs.dialogs().messageAnswers.push_back(platform::answer::No);
        QVERIFY(form.is_there_unsaved_work());
    }

    void showSettingsWithFewSpeciesOfferOnlySounds() {
        TShowSettings settings;
        TDemoSettingsDialog few(settings, 2);
        QVERIFY(!few.RadioGroup_slides_or_and_sounds->isEnabled());
        QCOMPARE(few.show_kind(), 1);
        QVERIFY(!few.settings().slides);
        QVERIFY(few.settings().sounds);

        TDemoSettingsDialog many(settings, 50);
        QCOMPARE(many.show_kind(), 2);
        QVERIFY(!many.MaskEdit_every_X_seconds->isEnabled());  // sounds pace the slides
        many.set_show_kind(0);
        QVERIFY(many.MaskEdit_every_X_seconds->isEnabled());
        QVERIFY(!many.GroupBox_sounds->isEnabled());
        many.MaskEdit_every_X_seconds->setText(QString());
        QCOMPARE(many.settings().slide_seconds, 25);
    }
};

QTEST_MAIN(PlayListFormTest)
#include "playlist_form_widget_test.moc"
