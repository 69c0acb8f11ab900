#pragma once

// The listening quiz: one card per species, scheduled by the FSRS memory
// model from the review log; each question plays a random recording of a
// species and offers its name among three others, or takes it typed.
// New species come in a few at a time, between the known ones that are
// due, never as a drill of unknown ones only.

#include "data/visibility_filter.h"
#include "learning/quiz_log.h"
#include "learning/spaced_repetition.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <random>
#include <unordered_map>
#include <vector>

class Tcupaitem;
class Tfamily;
class Tspecies;

// A species' card as the log's answers left it.
struct TQuizCard {
    enum class State { New, Learning, Review, Relearning };
    State state = State::New;
    fsrs::Memory memory;
    QDateTime last_answer;
    QDateTime due;
    int answers = 0;
    int lapses = 0;
};

// Every card, rebuilt by replaying the log.
class TQuizDeck {
  public:
    // The wait before a card answered wrong (or met for the first time)
    // comes back: the learning steps, in minutes.
    static constexpr int kAgainStepMinutes = 1;
    static constexpr int kFirstStepMinutes = 10;

    void apply(const TQuizAnswer& answer);
    // The card of a species; a New card when it never had an answer.
    TQuizCard card(int speciesId) const;
    bool known(int speciesId) const { return cards_.count(speciesId) != 0; }
    const std::vector<TQuizAnswer>& answers() const { return answers_; }

  private:
    fsrs::Scheduler scheduler_;
    std::unordered_map<int, TQuizCard> cards_;
    std::vector<TQuizAnswer> answers_;
};

// The text as answers are compared: lower case, accents and marks
// dropped, blanks simplified.
QString GLB_fold_quiz_name(const QString& text);
// The species' name as the quiz shows it: its name in the list's language,
// else the scientific one.
QString GLB_quiz_name(const Tspecies& species);

// Which species a quiz asks about.
struct TQuizScope {
    QString title;
    std::vector<const Tspecies*> species;

    // The species a list shows (in systematic order `order`).
    static TQuizScope visible_species(const TClassVisibleSpeciesAndRecordings& filter, int order);
    // The species of one family the list shows.
    static TQuizScope family(const TClassVisibleSpeciesAndRecordings& filter, const Tfamily& family);
    // The species of a playlist's entries, each once, in their order.
    static TQuizScope of_species(const QString& title, const std::vector<const Tspecies*>& species);
};

struct TQuizQuestion {
    const Tspecies* species = nullptr;
    const Tcupaitem* recording = nullptr;
    QString recording_file;
    // Four species (fewer when the list has fewer), the answer among them.
    std::vector<const Tspecies*> choices;
    bool new_species = false;
};

struct TQuizResult {
    bool right = false;
    fsrs::Rating rating = fsrs::Rating::Again;
    TQuizCard card;  // after the answer
};

struct TQuizProgress {
    int due = 0;       // known cards waiting now
    int learning = 0;  // met, not yet learned
    int learned = 0;   // in review
    int fresh = 0;     // never asked
    QDateTime next_due;  // the next card coming back, when none waits now
    // Per day with answers to cards met before: the share answered right.
    struct Day {
        QDate date;
        int answers = 0;
        int right = 0;
    };
    std::vector<Day> retention;
};

// One sitting of the quiz over a scope.
class TQuizSession {
  public:
    using Clock = std::function<QDateTime()>;
    // Species met for the first time in one sitting, at most.
    static constexpr int kDefaultNewPerSession = 5;
    // Known questions at least between two new species while known ones wait.
    static constexpr int kKnownBetweenNew = 2;
    // Other questions at least before a card in learning comes back.
    static constexpr int kLearningGap = 1;

    // The log is read here; its answers make the cards. `filter` says
    // which recordings may play and which species are offered as names.
    TQuizSession(TQuizScope scope, const TClassVisibleSpeciesAndRecordings& filter, TQuizLog& log,
                 Clock clock = {}, std::uint32_t seed = std::random_device{}());

    const TQuizScope& scope() const { return scope_; }
    const TQuizDeck& deck() const { return deck_; }
    // Where a damaged log was put when this session read it, or empty.
    const QString& damaged_log_moved_to() const { return damaged_moved_to_; }
    void set_new_per_session(int count) { new_per_session_ = count; }
    int new_introduced() const { return new_introduced_; }

    // The next question; none when nothing is due and no new species may
    // come. Species whose recordings are missing are passed over, with a
    // note in notes().
    std::optional<TQuizQuestion> next_question();
    const std::optional<TQuizQuestion>& current() const { return current_; }
    // Answers the current question with a species (a button) or a typed
    // name; the answer is written to the log before this returns.
    TQuizResult answer(const Tspecies& chosen);
    TQuizResult answer_typed(const QString& typed);
    bool log_write_failed() const { return log_write_failed_; }

    // What the user has been told of recordings passed over; taken once.
    QStringList take_notes();
    TQuizProgress progress() const;
    // The names offered for typing: every species the list shows.
    QStringList names_for_completion() const;

  private:
    bool playable(const Tspecies& species);
    std::vector<const Tspecies*> distractors(const Tspecies& species);
    TQuizResult record(bool right, const QString& answerText);
    QDateTime now() const;

    TQuizScope scope_;
    TClassVisibleSpeciesAndRecordings filter_;
    TQuizLog& log_;
    Clock clock_;
    std::mt19937 random_;
    TQuizDeck deck_;
    QString damaged_moved_to_;
    int new_per_session_ = kDefaultNewPerSession;
    int new_introduced_ = 0;
    int questions_ = 0;
    // A sitting opens with the known species that wait, if any.
    int since_new_ = 0;
    std::unordered_map<int, int> asked_at_;  // species id → question number
    std::unordered_map<int, bool> playable_;
    std::optional<TQuizQuestion> current_;
    QDateTime asked_time_;
    QStringList notes_;
    bool log_write_failed_ = false;
    // The species offered as names: those the list shows.
    std::vector<const Tspecies*> pool_;
};
