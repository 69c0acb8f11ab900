// The playlist window's grid when it gets shorter (Delete, New, Open of a
// shorter or damaged file) and what a damaged file leaves behind, driven with
// the keys and clicks a user gives, on playlists of the demo edition's
// recordings.

#include "data/media_records.h"
#include "data/species_database.h"
#include "data/visibility_filter.h"
#include "formats/textfile.h"
#include "playlists/playlist_file.h"
#include "playlists/windows/playlist_form.h"
#include "playlists/windows/sounds_show_window.h"
#include "playlists/sound_bar_drag.h"
#include "playlists/demo_entries.h"
#include "support/demo_edition.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QFile>
#include <QtTest>

class PlayListGridTest : public QObject {
    Q_OBJECT
  private:
    std::unique_ptr<testing_support::ProgramDirectory> dir;
    std::vector<TPlayListInfo> entries;
    // What the window's playlist show would play (these tests start none).
    TSoundBarShowRecordingSource recordings;
    QString threeRows;  // a.pl: three recordings
    QString oneRow;     // b.pl: one recording
    QString damaged;    // d.pl: a good first row, then a row that cannot be read

    static QString pl(const char* name) { return QString::fromLatin1(name); }

    // The window as the user meets it: shown, active, with the keyboard.
    static void showAndActivate(TPlayListForm& form) {
        form.show_window(false);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QApplication::setActiveWindow(&form);
        form.grid->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&form));
    }
    static void clickRow(TPlayListForm& form, int row) {
        const QRect cell = form.grid->visualRect(form.grid->model()->index(row - 1, 1));
        QVERIFY(cell.isValid());
        QTest::mouseClick(form.grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(form.grid->currentRow(), row - 1);
    }
    static void key(TPlayListForm& form, int key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(form.grid, static_cast<Qt::Key>(key), modifiers);
        QCoreApplication::processEvents();
    }
    void openWithCtrlO(TPlayListForm& form, testing_support::DialogScript& dialogs,
                       const QString& path) {
        dialogs.dialogs().fileAnswers.push_back(path);
        key(form, Qt::Key_O, Qt::ControlModifier);
    }
    void drop(TPlayListForm& form, const TPlayListInfo& entry) {
        TSoundBarDragObject data(*entry.recording_item, entry.recording_number);
        QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.grid->viewport(), &enter);
        QDropEvent event(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(form.grid->viewport(), &event);
    }
    // The grid as the user reads it: every row's recording text.
    static QStringList texts(const TPlayListForm& form) {
        QStringList out;
        for (int r = 0; r < form.grid->rowCount(); ++r)
            out << (form.grid->item(r, 1) ? form.grid->item(r, 1)->text() : QString());
        return out;
    }
    // A row's text names the entry's species and ends in its number.
    static bool shows(const QString& text, const TPlayListInfo& entry) {
        const Tspecies& species = *entry.recording_item->species;
        return text.endsWith(QStringLiteral(" # ") + QString::number(entry.recording_number)) &&
               (text.contains(species.common_name) || text.contains(species.scientific_name));
    }
    // After any change the current cell is a cell of the grid, in the
    // repeat column.
    static void checkCurrentCell(const TPlayListForm& form) {
        QVERIFY(form.grid->currentRow() >= 0);
        QVERIFY(form.grid->currentRow() < form.grid->rowCount());
        QCOMPARE(form.grid->currentColumn(), 2);
    }

  private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);  // the user's documents stay untouched
        dir = std::make_unique<testing_support::ProgramDirectory>();
        testing_support::installDemoEdition(*dir);
        entries = playlist_testing::firstPlayableDemoEntries(4);
        QCOMPARE(entries.size(), size_t(4));

        // The playlists as the program saves them.
        testing_support::DialogScript dialogs;
        threeRows = dir->file(pl("a.pl"));
        oneRow = dir->file(pl("b.pl"));
        damaged = dir->file(pl("d.pl"));
        QVERIFY(TPlayListFile::save(threeRows, {{entries[0], entries[1], entries[2]}, {}, false}));
        QVERIFY(TPlayListFile::save(oneRow, {{entries[3]}, {}, false}));
        QVERIFY(TPlayListFile::save(damaged, {{entries[3], entries[1], entries[2]}, {}, false}));
        // The second row's species number is spoilt, as a damaged file has it.
        QByteArray bytes = dir->read(pl("d.pl"));
        const QByteArray second = "R2=" + TPlayListFile::entry_text(entries[1]).toUtf8();
        QVERIFY(bytes.contains(second));
        bytes.replace(second, "R2=7q" + second.mid(3));
        dir->write(pl("d.pl"), bytes);
    }
    void cleanupTestCase() {
        testing_support::removeDemoEdition();
        dir.reset();
    }

    // Click on the third of three rows, Delete: the row goes and the current
    // cell moves up with the grid; deleting on to the end leaves one empty row.
    void deleteOfTheClickedLastRow() {
        testing_support::DialogScript dialogs;
        TPlayListForm form(nullptr, recordings);
        showAndActivate(form);
        openWithCtrlO(form, dialogs, threeRows);
        QCOMPARE(form.grid->rowCount(), 3);

        clickRow(form, 3);
        key(form, Qt::Key_Delete);
        QCOMPARE(form.grid->rowCount(), 2);
        QCOMPARE(form.list().row_count(), 2);
        QCOMPARE(form.grid->currentRow(), 1);
        checkCurrentCell(form);
        QVERIFY(shows(texts(form)[0], entries[0]));
        QVERIFY(shows(texts(form)[1], entries[1]));
        QVERIFY(form.list().modified());

        key(form, Qt::Key_Delete);
        QCOMPARE(form.grid->rowCount(), 1);
        QCOMPARE(form.grid->currentRow(), 0);
        QVERIFY(shows(texts(form)[0], entries[0]));
        key(form, Qt::Key_Delete);
        QCOMPARE(form.grid->rowCount(), 1);
        QCOMPARE(texts(form), QStringList{QString()});
        checkCurrentCell(form);

        // The grid grows again from its one empty row.
        drop(form, entries[2]);
        drop(form, entries[3]);
        QCOMPARE(form.grid->rowCount(), 2);
        clickRow(form, 2);
        key(form, Qt::Key_Delete);
        QCOMPARE(form.grid->rowCount(), 1);
        QVERIFY(shows(texts(form)[0], entries[2]));
    }

    // Ctrl+N with a later row current, the changes not saved (No).
    void newListWithALaterRowCurrent() {
        testing_support::DialogScript dialogs;
        TPlayListForm form(nullptr, recordings);
        showAndActivate(form);
        openWithCtrlO(form, dialogs, threeRows);
        drop(form, entries[3]);
        QCOMPARE(form.grid->rowCount(), 4);
        clickRow(form, 4);

        dialogs.dialogs().messageAnswers.push_back(platform::answer::No);
        key(form, Qt::Key_N, Qt::ControlModifier);
        QVERIFY(dialogs.lastMessage().startsWith(GLB_text(QStringLiteral("PLAY_LISTS"), 19)));
        QCOMPARE(form.grid->rowCount(), 1);
        QCOMPARE(texts(form), QStringList{QString()});
        checkCurrentCell(form);
        QVERIFY(form.list().is_new());
        QVERIFY(!form.list().modified());
    }

    // A show has played the list to its last row; then Ctrl+O of a shorter
    // file, and of a damaged one.
    void openingShorterFilesAfterAShow() {
        testing_support::DialogScript dialogs;
        TPlayListForm form(nullptr, recordings);
        showAndActivate(form);
        openWithCtrlO(form, dialogs, threeRows);
        form.list().start_playing(0);
        int played = 0;
        while (form.next_recording()) ++played;
        QCOMPARE(played, 3);
        QCOMPARE(form.grid->currentRow(), 2);

        openWithCtrlO(form, dialogs, oneRow);
        QCOMPARE(form.grid->rowCount(), 1);
        QVERIFY(shows(texts(form)[0], entries[3]));
        QVERIFY(form.windowTitle().endsWith(QStringLiteral(": b")));
        checkCurrentCell(form);

        openWithCtrlO(form, dialogs, threeRows);
        clickRow(form, 3);
        const size_t before = dialogs.messages().size();
        openWithCtrlO(form, dialogs, damaged);
        QCOMPARE(dialogs.messages().size(), before + 1);
        QCOMPARE(dialogs.lastMessage(), GLB_text(QStringLiteral("PLAY_LISTS"), 25));
        QCOMPARE(form.grid->rowCount(), 1);
        checkCurrentCell(form);
    }

    // a.pl is open; Ctrl+O of a damaged file keeps what could be read as a
    // new list: neither Ctrl+S nor the save question writes it over a.pl.
    void damagedFileNeverReplacesTheOpenOne() {
        testing_support::DialogScript dialogs;
        const QByteArray original = dir->read(pl("a.pl"));
        TPlayListForm form(nullptr, recordings);
        showAndActivate(form);
        openWithCtrlO(form, dialogs, threeRows);
        QVERIFY(form.windowTitle().endsWith(QStringLiteral(": a")));
        QVERIFY(!form.list().modified());

        openWithCtrlO(form, dialogs, damaged);
        QCOMPARE(dialogs.lastMessage(), GLB_text(QStringLiteral("PLAY_LISTS"), 25));
        const QString newName = GLB_text(QStringLiteral("PLAY_LISTS"), 2);
        QVERIFY2(form.windowTitle().endsWith(QStringLiteral(": ") + newName), qPrintable(form.windowTitle()));
        QVERIFY(form.list().is_new());
        QVERIFY(form.list().path().isEmpty());
        QCOMPARE(form.grid->rowCount(), 1);
        QVERIFY(shows(texts(form)[0], entries[3]));

        // Ctrl+S asks where to save it; cancelled, nothing is written.
        dialogs.dialogs().messageAnswers.push_back(platform::answer::No);  // no new folder
        dialogs.dialogs().fileAnswers.push_back(std::nullopt);
        key(form, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(dialogs.dialogs().fileAnswers.empty());
        dialogs.dialogs().messageAnswers.clear();
        QCOMPARE(dir->read(pl("a.pl")), original);
        const size_t questions = dialogs.messages().size();

        // Opening on: the question names the new list, not a; Yes leads to
        // the save dialog, whose cancel stops the opening.
        dialogs.dialogs().messageAnswers.push_back(platform::answer::Yes);
        dialogs.dialogs().messageAnswers.push_back(platform::answer::No);  // no new folder
        dialogs.dialogs().fileAnswers.push_back(std::nullopt);
        key(form, Qt::Key_O, Qt::ControlModifier);
        QVERIFY(dialogs.messages().size() > questions);
        const QString question = dialogs.messages()[questions].text;
        QVERIFY2(question.startsWith(GLB_text(QStringLiteral("PLAY_LISTS"), 19) + newName),
                 qPrintable(question));
        QCOMPARE(dir->read(pl("a.pl")), original);
        QVERIFY(form.list().modified());
        QCOMPARE(form.grid->rowCount(), 1);
    }
};

QTEST_MAIN(PlayListGridTest)
#include "playlist_grid_widget_test.moc"
