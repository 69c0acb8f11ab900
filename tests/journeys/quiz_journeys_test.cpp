// The listening quiz as a user meets it in the program main makes: File >
// Quiz... on the list window, a recording heard, a name button clicked,
// right or wrong shown with the sonogram, and the answers in the log.
#include "journeys/journey.h"

#include "data/taxa.h"
#include "learning/quiz_log.h"
#include "learning/windows/quiz_window.h"
#include "listview/windows/child_form.h"
#include "sound/windows/sonogram_view.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

using testing_support::Journey;

class QuizJourney : public Journey {
  protected:
    TQuizWindow* openQuiz() {
        auto* action = mainWindow().findChild<QAction*>(QStringLiteral("quiz"));
        if (!action || !action->isEnabled()) return nullptr;
        action->trigger();
        auto* quiz = mainWindow().findChild<TQuizWindow*>();
        return quiz && QTest::qWaitForWindowExposed(quiz) ? quiz : nullptr;
    }
    // The name button that is (or is not) the species heard.
    static QPushButton* choice(TQuizWindow& quiz, bool right) {
        const TQuizQuestion& q = *quiz.question();
        for (std::size_t i = 0; i < q.choices.size(); ++i)
            if ((q.choices[i] == q.species) == right) return quiz.choice_buttons()[i];
        return nullptr;
    }
};

TEST_F(QuizJourney, AnswersGivenThroughTheButtonsAreKeptInTheLog) {
    TQuizWindow* quiz = openQuiz();
    ASSERT_NE(quiz, nullptr);
    ASSERT_TRUE(quiz->question());
    EXPECT_TRUE(eventually([&] { return quiz->playing(); })) << "the question plays its recording";
    EXPECT_FALSE(quiz->sonogram_view().isVisible()) << "the sonogram would give the answer away";
    EXPECT_FALSE(quiz->next_button().isEnabled());

    const Tspecies* first = quiz->question()->species;
    QPushButton* right = choice(*quiz, true);
    ASSERT_NE(right, nullptr);
    const QString rightName = right->text();
    QTest::mouseClick(right, Qt::LeftButton);
    EXPECT_TRUE(quiz->verdict().text().contains(QStringLiteral("Right"))) << quiz->verdict().text().toStdString();
    EXPECT_TRUE(quiz->sonogram_view().isVisible());
    EXPECT_TRUE(quiz->sonogram_view().current());
    ASSERT_TRUE(quiz->next_button().isEnabled());

    QTest::mouseClick(&quiz->next_button(), Qt::LeftButton);
    ASSERT_TRUE(quiz->question());
    EXPECT_FALSE(quiz->sonogram_view().isVisible());
    const Tspecies* second = quiz->question()->species;
    EXPECT_NE(second, first);
    QPushButton* wrong = choice(*quiz, false);
    ASSERT_NE(wrong, nullptr);
    const QString wrongName = wrong->text();
    QTest::mouseClick(wrong, Qt::LeftButton);
    EXPECT_TRUE(quiz->verdict().text().contains(QStringLiteral("Not quite")));
    EXPECT_TRUE(quiz->verdict().text().contains(second->common_name));

    // The log in the user's files holds both answers as given.
    const QString path = GLB_quiz_log_path();
    EXPECT_TRUE(path.startsWith(program().home())) << path.toStdString();
    TQuizLog log(path);
    const TQuizLog::LoadResult read = log.load();
    ASSERT_EQ(read.answers.size(), 2u);
    EXPECT_EQ(read.answers[0].species_id, first->unique_id);
    EXPECT_EQ(read.answers[0].rating, fsrs::Rating::Good);
    EXPECT_EQ(read.answers[0].answer, rightName);
    EXPECT_EQ(read.answers[1].species_id, second->unique_id);
    EXPECT_EQ(read.answers[1].rating, fsrs::Rating::Again);
    EXPECT_EQ(read.answers[1].answer, wrongName);
    EXPECT_FALSE(read.answers[1].recording.isEmpty());

    // The progress page counts them: two species met, none learned yet.
    quiz->tabs().setCurrentIndex(1);
    EXPECT_TRUE(quiz->progress_text().contains(QStringLiteral("Learning: 2"))) << quiz->progress_text().toStdString();
    quiz->close();
}

// A log damaged outside the program is reported once, kept aside, and
// the quiz starts afresh.
TEST_F(QuizJourney, ADamagedLogIsReportedOnceAndKeptAside) {
    const QString path = GLB_quiz_log_path();
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("# Korvelan quiz log 1\nthis is not an answer\n");
    file.close();
    auto damageReports = [&] {
        return std::count_if(program().script().messages().begin(), program().script().messages().end(),
                             [](const platform::MessageRequest& m) { return m.text.contains(QStringLiteral("damaged")); });
    };
    TQuizWindow* quiz = openQuiz();
    ASSERT_NE(quiz, nullptr);
    EXPECT_EQ(damageReports(), 1);
    EXPECT_TRUE(quiz->question());
    quiz->choose_scope(1);  // another scope reads the log again
    EXPECT_EQ(damageReports(), 1);
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files).size(), 1);
    EXPECT_FALSE(QFile::exists(path));
    quiz->close();
}
