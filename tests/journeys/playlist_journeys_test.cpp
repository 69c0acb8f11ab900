// The playlist window opened from the list window's menu, filled from the
// recording buttons' menus and edited with the keys and clicks a user gives:
// the grid getting shorter, and a damaged playlist opened over a saved one.
#include "journeys/playlist_journey.h"

using namespace playlist_journey;

TEST_F(PlayListJourney, TheGridGetsShorterByDeleteAndNewWithoutEndingTheProgram) {
    TPlayListForm& form = openPlayListWindow();
    ASSERT_NO_FATAL_FAILURE(fillWithThreeRecordings(form));
    const QStringList three = rowTexts(form);
    ASSERT_NO_FATAL_FAILURE(activate(form));

    ASSERT_NO_FATAL_FAILURE(clickRow(form, 3));
    key(form, Qt::Key_Delete);
    EXPECT_EQ(rowTexts(form), (QStringList{three[0], three[1]}));
    EXPECT_EQ(form.grid->currentRow(), 1);
    EXPECT_EQ(form.grid->currentColumn(), 2);

    // Back to three rows; the last one current; Ctrl+N, the changes dropped.
    Tsound_bar* third = recordingButton(1);
    ASSERT_NE(third, nullptr);
    ASSERT_TRUE(addToPlayList(*third));
    ASSERT_EQ(form.grid->rowCount(), 3);
    ASSERT_NO_FATAL_FAILURE(activate(form));
    ASSERT_NO_FATAL_FAILURE(clickRow(form, 3));
    dialogs().messageAnswers.push_back(platform::answer::No);
    key(form, Qt::Key_N, Qt::ControlModifier);
    EXPECT_TRUE(program().script().lastMessage().startsWith(playListText(19)));
    EXPECT_EQ(rowTexts(form), QStringList{QString()});
    EXPECT_EQ(form.grid->currentRow(), 0);
    EXPECT_TRUE(form.windowTitle().endsWith(playListText(2)));
}

TEST_F(PlayListJourney, ADamagedPlaylistOpenedOverASavedOneNeverOverwritesIt) {
    TPlayListForm& form = openPlayListWindow();
    ASSERT_NO_FATAL_FAILURE(fillWithThreeRecordings(form));
    const QStringList three = rowTexts(form);
    ASSERT_NO_FATAL_FAILURE(activate(form));

    // Saved as a.pl: Ctrl+S of a new list asks for the folder, then the name.
    const QString folder = QDir(program().home()).filePath(QStringLiteral("lists"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString saved = QDir(folder).filePath(QStringLiteral("a.pl"));
    dialogs().messageAnswers.push_back(platform::answer::No);  // no new playlist folder
    dialogs().fileAnswers.push_back(saved);
    key(form, Qt::Key_S, Qt::ControlModifier);
    const QString original = contentsOf(saved);
    ASSERT_FALSE(original.isEmpty());
    ASSERT_TRUE(form.windowTitle().endsWith(QStringLiteral(": a")));
    dialogs().messageAnswers.clear();

    // The same list with its second row spoilt, as a damaged copy has it.
    QByteArray bytes = original.toUtf8();
    const qsizetype r2 = bytes.indexOf("R2=");
    ASSERT_GE(r2, 0);
    bytes.insert(r2 + 3, "7q");
    const QString damaged = QDir(folder).filePath(QStringLiteral("damaged.pl"));
    {
        QFile out(damaged);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
    }

    ASSERT_NO_FATAL_FAILURE(clickRow(form, 3));
    dialogs().fileAnswers.push_back(damaged);
    key(form, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(program().script().lastMessage(), playListText(25));
    // What could be read stays, as a new list, the current cell on it.
    EXPECT_EQ(rowTexts(form), QStringList{three[0]});
    EXPECT_EQ(form.grid->currentRow(), 0);
    EXPECT_TRUE(form.windowTitle().endsWith(QStringLiteral(": ") + playListText(2)))
        << form.windowTitle().toStdString();

    // Ctrl+S asks for a file of its own (cancelled); a.pl stays as saved.
    dialogs().messageAnswers.push_back(platform::answer::No);
    dialogs().fileAnswers.push_back(std::nullopt);
    key(form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dialogs().fileAnswers.empty());
    dialogs().messageAnswers.clear();
    EXPECT_EQ(contentsOf(saved), original);

    // Ctrl+O: the save question names the new list; Yes, then the save
    // dialog cancelled, and nothing is written or opened.
    const size_t asked = program().script().messages().size();
    dialogs().messageAnswers.push_back(platform::answer::Yes);
    dialogs().messageAnswers.push_back(platform::answer::No);
    dialogs().fileAnswers.push_back(std::nullopt);
    key(form, Qt::Key_O, Qt::ControlModifier);
    ASSERT_GT(program().script().messages().size(), asked);
    EXPECT_EQ(program().script().messages()[asked].text,
              playListText(19) + playListText(2) + playListText(20));
    EXPECT_EQ(contentsOf(saved), original);
    EXPECT_EQ(rowTexts(form), QStringList{three[0]});

    // The saved list opens again whole.
    dialogs().messageAnswers.clear();
    dialogs().messageAnswers.push_back(platform::answer::No);
    dialogs().fileAnswers.push_back(saved);
    key(form, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(rowTexts(form), three);
    EXPECT_TRUE(form.windowTitle().endsWith(QStringLiteral(": a")));
}

TEST_F(PlayListJourney, UnsavedRowsSurviveClosingAndOpeningThePlaylistWindowAgain) {
    TPlayListForm& form = openPlayListWindow();
    ASSERT_NO_FATAL_FAILURE(fillWithThreeRecordings(form));
    ASSERT_NO_FATAL_FAILURE(activate(form));
    // Saved as a.pl, then one row deleted and not saved.
    const QString saved = QDir(program().home()).filePath(QStringLiteral("a.pl"));
    dialogs().messageAnswers.push_back(platform::answer::No);  // no new playlist folder
    dialogs().fileAnswers.push_back(saved);
    key(form, Qt::Key_S, Qt::ControlModifier);
    dialogs().messageAnswers.clear();
    ASSERT_FALSE(contentsOf(saved).isEmpty());
    ASSERT_NO_FATAL_FAILURE(clickRow(form, 3));
    key(form, Qt::Key_Delete);
    const QStringList edited = rowTexts(form);
    ASSERT_EQ(edited.size(), 2);

    key(form, Qt::Key_Escape);
    ASSERT_FALSE(form.isVisible());
    TPlayListForm& again = openPlayListWindow();
    EXPECT_EQ(rowTexts(again), edited);
    // The edit is still unsaved: leaving the list asks about it.
    const size_t asked = program().script().messages().size();
    dialogs().messageAnswers.push_back(platform::answer::Cancel);
    ASSERT_NO_FATAL_FAILURE(activate(again));
    key(again, Qt::Key_N, Qt::ControlModifier);
    ASSERT_GT(program().script().messages().size(), asked);
    EXPECT_TRUE(program().script().messages()[asked].text.startsWith(playListText(19)));
    EXPECT_EQ(rowTexts(again), edited);
}
