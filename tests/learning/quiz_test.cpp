// The listening quiz's scheduling, question choice and review log, on the
// demo edition's database and recordings.

#include "app/base_directory.h"
#include "data/areas.h"
#include "data/media_records.h"
#include "data/species_database.h"
#include "learning/quiz.h"
#include "support/demo_edition.h"
#include "support/running_program.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

using namespace testing_support;

namespace {

// The scheduler's intervals against FSRS-5 with its published default
// weights (open-spaced-repetition, "The Algorithm", FSRS-5; the same
// nineteen numbers as Anki's defaults). A new card's stability is the
// published w[rating-1]: Good 3.173 days, Easy 15.69105, Again 0.40255;
// D0(Good) = w4 - e^(2 w5) + 1 = 5.2824. The later values were worked out
// by hand from the published formulas: Good answers given each time the
// card falls due (R = 90%) take the stability 3.173 -> 10.74 -> 34.58 ->
// 100.75 -> 269.28 days; an Again then drops it to 8.61 days and raises
// the difficulty to 8.14; on the same day a Good multiplies the stability
// by e^(w17 (0 + w18)) = 1.4078.
TEST(QuizScheduling, IntervalsGrowAfterRightAnswersAndShrinkAfterAWrongOne) {
    const fsrs::Scheduler scheduler;
    const fsrs::Memory good = scheduler.first(fsrs::Rating::Good);
    EXPECT_NEAR(good.stability, 3.173, 1e-9);
    EXPECT_NEAR(good.difficulty, 5.2824, 1e-4);
    EXPECT_NEAR(scheduler.first(fsrs::Rating::Easy).stability, 15.69105, 1e-9);
    EXPECT_NEAR(scheduler.first(fsrs::Rating::Again).stability, 0.40255, 1e-9);
    EXPECT_EQ(fsrs::Scheduler::interval_days(good.stability), 3);
    // At the desired retention the interval is the stability itself.
    EXPECT_NEAR(fsrs::Scheduler::retrievability(good.stability, good.stability), 0.9, 1e-12);

    fsrs::Memory memory = good;
    const double expected[] = {10.7389, 34.5776, 100.7483, 269.2838};
    int previous = fsrs::Scheduler::interval_days(memory.stability);
    for (double stability : expected) {
        memory = scheduler.next(memory, previous, fsrs::Rating::Good);
        EXPECT_NEAR(memory.stability, stability, 1e-3);
        const int interval = fsrs::Scheduler::interval_days(memory.stability);
        EXPECT_GT(interval, previous);
        previous = interval;
    }
    EXPECT_EQ(previous, 269);
    const fsrs::Memory lapsed = scheduler.next(memory, previous, fsrs::Rating::Again);
    EXPECT_NEAR(lapsed.stability, 8.6124, 1e-3);
    EXPECT_NEAR(lapsed.difficulty, 8.1429, 1e-3);
    EXPECT_EQ(fsrs::Scheduler::interval_days(lapsed.stability), 9);

    EXPECT_NEAR(scheduler.next(good, 0.01, fsrs::Rating::Good).stability, 4.4669, 1e-3);
    EXPECT_LT(scheduler.next(good, 0.01, fsrs::Rating::Again).stability, good.stability);
}

// The cards as the log's answers leave them: a species met and answered
// right later that day is learned for four days; a wrong answer to a
// learned species brings it back within minutes.
TEST(QuizScheduling, CardsFollowTheAnswersOfTheLog) {
    const QDateTime start(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
    TQuizDeck deck;
    deck.apply({start, 7, fsrs::Rating::Good, 900, {}, {}});
    EXPECT_EQ(deck.card(7).state, TQuizCard::State::Learning);
    EXPECT_EQ(deck.card(7).due, start.addSecs(600));
    deck.apply({start.addSecs(300), 7, fsrs::Rating::Good, 900, {}, {}});
    EXPECT_EQ(deck.card(7).state, TQuizCard::State::Review);
    EXPECT_EQ(deck.card(7).due, start.addSecs(300).addDays(4));
    const QDateTime later = start.addDays(4);
    deck.apply({later, 7, fsrs::Rating::Again, 900, {}, {}});
    EXPECT_EQ(deck.card(7).state, TQuizCard::State::Relearning);
    EXPECT_EQ(deck.card(7).lapses, 1);
    EXPECT_EQ(deck.card(7).due, later.addSecs(60));
    EXPECT_FALSE(deck.known(8));
}

// The demo edition with its recordings, and a log of the test's own.
class QuizOnTheDemo : public ::testing::Test {
  protected:
    void SetUp() override {
        installDemoEdition(dir_);
        useBaseDirectory(RunningDemoProgram::demoBaseDirectory());
        filter_ = std::make_unique<TClassVisibleSpeciesAndRecordings>(GLB_data());
        // The whole region, as a list window shows it once chosen.
        if (filter_->selected_area()) filter_->selected_area()->SelectAll();
        log_ = std::make_unique<TQuizLog>(files_.filePath(QStringLiteral("quiz log.txt")));
    }
    void TearDown() override {
        filter_.reset();
        removeDemoEdition();
    }
    void useBaseDirectory(const QString& folder) {
        dir_.write(QStringLiteral("Korvelan.ini"), "[GENERAL]\nBase Directory=" + folder.toUtf8() + "\n");
        GLB_read_base_directory();
    }
    static const Tfamily& family(const QString& scientificName) {
        for (const Tfamily* f = GLB_data().first_family(kFirstOrder); f; f = f->next)
            if (f->scientific_name == scientificName) return *f;
        throw std::runtime_error("no such family");
    }
    std::unique_ptr<TQuizSession> session(TQuizScope scope, std::uint32_t seed = 1) {
        return std::make_unique<TQuizSession>(std::move(scope), *filter_, *log_, [this] { return now_; }, seed);
    }
    // Answers the question right, or with its first wrong choice.
    static TQuizResult answer(TQuizSession& s, bool right) {
        const TQuizQuestion& q = *s.current();
        for (const Tspecies* choice : q.choices)
            if ((choice == q.species) == right) return s.answer(*choice);
        ADD_FAILURE() << "no such choice";
        return {};
    }

    ProgramDirectory dir_;
    QTemporaryDir files_;
    std::unique_ptr<TClassVisibleSpeciesAndRecordings> filter_;
    std::unique_ptr<TQuizLog> log_;
    QDateTime now_{QDate(2026, 3, 1), QTime(9, 0), Qt::UTC};
};

TEST_F(QuizOnTheDemo, AsksOnlyWithinItsScopeAndBringsNewSpeciesAtTheSetPace) {
    const TQuizScope tinamous = TQuizScope::family(*filter_, family(QStringLiteral("Tinamidae")));
    ASSERT_GE(tinamous.species.size(), 4u);
    QSet<int> inScope;
    for (const Tspecies* s : tinamous.species) inScope.insert(s->unique_id);

    auto quiz = session(tinamous);
    quiz->set_new_per_session(3);
    QSet<int> met;
    int asked = 0;
    int newInARow = 0;
    while (auto question = quiz->next_question()) {
        ASSERT_TRUE(inScope.contains(question->species->unique_id)) << question->species->scientific_name.toStdString();
        ASSERT_TRUE(question->recording && question->recording->species == question->species);
        ASSERT_TRUE(QFile::exists(question->recording_file));
        EXPECT_EQ(question->new_species, !met.contains(question->species->unique_id));
        met.insert(question->species->unique_id);
        // Once a species is known, never more than two new ones in a row.
        newInARow = question->new_species ? newInARow + 1 : 0;
        EXPECT_LE(newInARow, 2);
        answer(*quiz, asked % 3 != 1);
        now_ = now_.addSecs(20);
        ASSERT_LT(++asked, 60) << "the sitting never ends";
    }
    EXPECT_EQ(met.size(), 3u) << "three new species in the sitting, no more";
    EXPECT_GT(asked, 3) << "the species met come back before they count as learned";
    EXPECT_EQ(quiz->progress().fresh, int(tinamous.species.size()) - 3);
    EXPECT_EQ(quiz->progress().learned, 3);

    // The next sitting, four days on: the species learned are due again,
    // and three more new ones may come, mixed in among them.
    now_ = now_.addDays(4);
    auto next = session(tinamous);
    next->set_new_per_session(3);
    EXPECT_EQ(next->progress().due, 3);
    std::vector<bool> kinds;
    while (auto question = next->next_question()) {
        ASSERT_TRUE(inScope.contains(question->species->unique_id));
        kinds.push_back(question->new_species);
        answer(*next, true);
        now_ = now_.addSecs(20);
        ASSERT_LT(kinds.size(), 60u);
    }
    ASSERT_GE(kinds.size(), 4u);
    EXPECT_FALSE(kinds[0] || kinds[1]) << "the species that wait come first";
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), true),
              std::min<std::ptrdiff_t>(3, std::ptrdiff_t(tinamous.species.size()) - 3));
}

TEST_F(QuizOnTheDemo, OffersNamesFromTheSameGenusOrFamilyWherePossible) {
    const Tfamily& tinamidae = family(QStringLiteral("Tinamidae"));
    auto quiz = session(TQuizScope::visible_species(*filter_, kFirstOrder));
    quiz->set_new_per_session(1000);
    int checked = 0;
    while (auto question = quiz->next_question()) {
        const Tspecies& species = *question->species;
        ASSERT_EQ(question->choices.size(), 4u);
        EXPECT_EQ(std::count(question->choices.begin(), question->choices.end(), &species), 1);
        // A family with four species or more gives all three other names.
        int familySize = 0;
        for (const Tspecies* s = species.family(kFirstOrder)->first_species; s; s = s->next(kFirstOrder))
            if (filter_->species_visible(*s)) ++familySize;
        int sameFamily = 0;
        for (const Tspecies* choice : question->choices)
            if (choice != &species && choice->family(kFirstOrder) == species.family(kFirstOrder)) ++sameFamily;
        EXPECT_EQ(sameFamily, std::min(3, familySize - 1)) << species.scientific_name.toStdString();
        if (species.family(kFirstOrder) == &tinamidae) ++checked;
        answer(*quiz, true);
        now_ = now_.addSecs(20);
        if (++checked > 80) break;
    }
    EXPECT_GT(checked, 10);
}

TEST_F(QuizOnTheDemo, TypedAnswersIgnoreCaseAccentsAndLanguage) {
    auto quiz = session(TQuizScope::family(*filter_, family(QStringLiteral("Tinamidae"))));
    std::optional<TQuizQuestion> question = quiz->next_question();
    ASSERT_TRUE(question);
    const Tspecies& species = *question->species;
    EXPECT_TRUE(quiz->answer_typed(QStringLiteral("  ") + species.common_name.toUpper() + QStringLiteral(" ")).right);
    ASSERT_TRUE(quiz->next_question());
    EXPECT_FALSE(quiz->answer_typed(QStringLiteral("Rufous Hornero")).right);
    EXPECT_EQ(GLB_fold_quiz_name(QStringLiteral("Perdiz Tataupá")), QStringLiteral("perdiz tataupa"));
    EXPECT_EQ(GLB_fold_quiz_name(QStringLiteral("Ñandú  Común")), QStringLiteral("nandu comun"));
    EXPECT_EQ(GLB_fold_quiz_name(QStringLiteral("Gray-bellied")), QStringLiteral("gray bellied"));
    const QStringList names = quiz->names_for_completion();
    EXPECT_TRUE(names.contains(species.common_name));
    EXPECT_TRUE(names.contains(species.scientific_name));
}

// A killed program leaves at most its last line without a newline: the
// answers before it stay, the cut line goes, the next answer goes on a
// line of its own; nothing is reported as damage.
TEST_F(QuizOnTheDemo, AnswersBeforeAnInterruptedWriteSurviveIt) {
    const TQuizScope tinamous = TQuizScope::family(*filter_, family(QStringLiteral("Tinamidae")));
    {
        auto quiz = session(tinamous);
        for (int i = 0; i < 3; ++i) {
            ASSERT_TRUE(quiz->next_question());
            answer(*quiz, i != 1);
            now_ = now_.addSecs(20);
        }
    }
    QFile file(log_->path());
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray whole = file.readAll();
    ASSERT_EQ(whole.count('\n'), 4);  // the header and three answers
    // The fourth answer, killed half-way through its line.
    TQuizAnswer cut{now_, 4242, fsrs::Rating::Good, 1000, QStringLiteral("1101A01"), QStringLiteral("Gray Tinamou")};
    file.write(TQuizLog::line_of(cut).toUtf8().left(30));
    file.close();

    auto quiz = session(tinamous);
    EXPECT_TRUE(quiz->damaged_log_moved_to().isEmpty());
    ASSERT_EQ(quiz->deck().answers().size(), 3u);
    EXPECT_EQ(quiz->deck().answers()[1].rating, fsrs::Rating::Again);
    EXPECT_FALSE(quiz->deck().known(4242));
    ASSERT_TRUE(quiz->next_question());
    answer(*quiz, true);
    TQuizLog again(log_->path());
    const TQuizLog::LoadResult reread = again.load();
    EXPECT_FALSE(reread.dropped_interrupted_line);
    ASSERT_EQ(reread.answers.size(), 4u);
    EXPECT_EQ(reread.answers[0], quiz->deck().answers()[0]);
    EXPECT_EQ(reread.answers[3].species_id, quiz->deck().answers()[3].species_id);
}

TEST_F(QuizOnTheDemo, ADamagedLogIsKeptAsideAndTheQuizStartsAfresh) {
    const QDateTime t(QDate(2026, 2, 1), QTime(8, 0), Qt::UTC);
    const QByteArray damaged = QByteArray(TQuizLog::header()) + "\n" +
                               TQuizLog::line_of({t, 1, fsrs::Rating::Good, 10, "a", "b"}).toUtf8() +
                               "\n\x01\x02 not an answer\n" +
                               TQuizLog::line_of({t, 2, fsrs::Rating::Good, 10, "a", "b"}).toUtf8() + "\n";
    QFile file(log_->path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(damaged);
    file.close();

    auto quiz = session(TQuizScope::family(*filter_, family(QStringLiteral("Tinamidae"))));
    const QString aside = quiz->damaged_log_moved_to();
    ASSERT_FALSE(aside.isEmpty());
    EXPECT_NE(aside, log_->path());
    QFile kept(aside);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), damaged) << "the damaged log is kept as it was";
    EXPECT_TRUE(quiz->deck().answers().empty());
    EXPECT_FALSE(QFile::exists(log_->path()));

    // Afresh: the next answer starts a new log beside the damaged one.
    ASSERT_TRUE(quiz->next_question());
    answer(*quiz, true);
    TQuizLog fresh(log_->path());
    EXPECT_EQ(fresh.load().answers.size(), 1u);
    EXPECT_EQ(QDir(files_.path()).entryList(QDir::Files).size(), 2);
    // A file that is not a log at all is damaged too.
    TQuizLog foreign(files_.filePath(QStringLiteral("foreign.txt")));
    QFile other(foreign.path());
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.write("[GENERAL]\nBase Directory=x\n");
    other.close();
    EXPECT_FALSE(foreign.load().damaged_moved_to.isEmpty());
}

// A base directory whose recordings of one species have gone: the quiz
// passes over them with a note and never asks about that species.
TEST_F(QuizOnTheDemo, MissingRecordingsArePassedOverWithANote) {
    const TQuizScope tinamous = TQuizScope::family(*filter_, family(QStringLiteral("Tinamidae")));
    const Tspecies& gone = *tinamous.species.front();
    QSet<QString> goneFiles;
    for (const Tcupaitem* item = gone.first_item; item; item = item->next_of_species)
        if (item->cut_part) goneFiles.insert(item->cut_part->sound_file_name().toLower());

    // A copy of the base directory made of links, without those files.
    QTemporaryDir base;
    const QString demo = RunningDemoProgram::demoBaseDirectory();
    for (const QString& entry : QDir(demo).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (entry == QStringLiteral("tapes")) continue;
        ASSERT_TRUE(QFile::link(demo + entry, base.filePath(entry)));
    }
    for (const QString& folder : QDir(demo + "tapes").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QDir().mkpath(base.filePath("tapes/" + folder));
        for (const QString& name : QDir(demo + "tapes/" + folder).entryList(QDir::Files)) {
            if (goneFiles.contains((folder + u'/' + name).toLower())) continue;
            ASSERT_TRUE(QFile::link(demo + "tapes/" + folder + u'/' + name,
                                    base.filePath("tapes/" + folder + u'/' + name)));
        }
    }
    useBaseDirectory(base.path() + u'/');

    auto quiz = session(tinamous);
    quiz->set_new_per_session(100);
    int asked = 0;
    QStringList notes;
    while (auto question = quiz->next_question()) {
        EXPECT_NE(question->species, &gone);
        notes << quiz->take_notes();
        answer(*quiz, true);
        now_ = now_.addSecs(20);
        ASSERT_LT(++asked, 60);
    }
    EXPECT_EQ(asked, 2 * int(tinamous.species.size() - 1));
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes.front().contains(GLB_quiz_name(gone))) << notes.front().toStdString();
}

}  // namespace
