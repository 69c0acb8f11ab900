#include "learning/quiz.h"

#include "data/media_records.h"
#include "data/species_database.h"
#include "data/taxa.h"
#include "sound/players.h"
#include "sound/recording_paths.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <map>

namespace {

constexpr int kKinds = TClassVisibleSpeciesAndRecordings::kAllKinds;

QString genusOf(const Tspecies& species) {
    return species.scientific_name.section(u' ', 0, 0);
}

bool sameSpecies(const Tspecies* a, const Tspecies* b) {
    return a && b && a->unique_id == b->unique_id;
}

}  // namespace

// --- Cards ------------------------------------------------------------------

void TQuizDeck::apply(const TQuizAnswer& answer) {
    const bool right = answer.rating != fsrs::Rating::Again;
    auto found = cards_.find(answer.species_id);
    TQuizCard& card = cards_[answer.species_id];
    if (found == cards_.end()) {
        // Met for the first time: it comes back within the sitting before
        // it counts as learned.
        card.memory = scheduler_.first(answer.rating);
        card.state = TQuizCard::State::Learning;
        card.due = answer.time.addSecs(60 * (right ? kFirstStepMinutes : kAgainStepMinutes));
    } else {
        const double elapsedDays = std::max<qint64>(0, card.last_answer.msecsTo(answer.time)) / 86'400'000.0;
        card.memory = scheduler_.next(card.memory, elapsedDays, answer.rating);
        if (right) {
            card.state = TQuizCard::State::Review;
            card.due = answer.time.addDays(fsrs::Scheduler::interval_days(card.memory.stability));
        } else {
            if (card.state == TQuizCard::State::Review) {
                ++card.lapses;
                card.state = TQuizCard::State::Relearning;
            }
            card.due = answer.time.addSecs(60 * kAgainStepMinutes);
        }
    }
    card.last_answer = answer.time;
    ++card.answers;
    answers_.push_back(answer);
}

TQuizCard TQuizDeck::card(int speciesId) const {
    auto found = cards_.find(speciesId);
    return found == cards_.end() ? TQuizCard{} : found->second;
}

// --- Names ------------------------------------------------------------------

QString GLB_fold_quiz_name(const QString& text) {
    const QString decomposed = text.normalized(QString::NormalizationForm_KD);
    QString folded;
    folded.reserve(decomposed.size());
    for (QChar c : decomposed) {
        if (c.isMark()) continue;
        if (c == u'-' || c == u'\'' || c == u'\u2019') c = u' ';
        folded += c.toCaseFolded();
    }
    return folded.simplified();
}

QString GLB_quiz_name(const Tspecies& species) {
    return species.common_name.isEmpty() ? species.scientific_name : species.common_name;
}

// --- Scopes -----------------------------------------------------------------

TQuizScope TQuizScope::visible_species(const TClassVisibleSpeciesAndRecordings& filter, int order) {
    TQuizScope scope;
    scope.title = QStringLiteral("Species shown in the list");
    for (const Tfamily* f = filter.data().first_family(order); f; f = f->next) {
        TQuizScope one = family(filter, *f);
        scope.species.insert(scope.species.end(), one.species.begin(), one.species.end());
    }
    return scope;
}

TQuizScope TQuizScope::family(const TClassVisibleSpeciesAndRecordings& filter, const Tfamily& family) {
    TQuizScope scope;
    scope.title = QStringLiteral("Family: ") + (family.common_name.isEmpty() ? family.scientific_name
                                                                             : family.common_name);
    for (const Tspecies* s = family.first_species; s; s = s->next(family.order))
        if (filter.species_visible(*s) && filter.playable_recording_count(*s, kKinds) > 0)
            scope.species.push_back(s);
    return scope;
}

TQuizScope TQuizScope::of_species(const QString& title, const std::vector<const Tspecies*>& species) {
    TQuizScope scope;
    scope.title = title;
    QSet<int> seen;
    for (const Tspecies* s : species)
        if (s && !seen.contains(s->unique_id)) {
            seen.insert(s->unique_id);
            scope.species.push_back(s);
        }
    return scope;
}

// --- The sitting --------------------------------------------------------------

TQuizSession::TQuizSession(TQuizScope scope, const TClassVisibleSpeciesAndRecordings& filter,
                           TQuizLog& log, Clock clock, std::uint32_t seed)
    : scope_(std::move(scope)), filter_(filter), log_(log), clock_(std::move(clock)), random_(seed) {
    TQuizLog::LoadResult loaded = log_.load();
    damaged_moved_to_ = loaded.damaged_moved_to;
    for (const TQuizAnswer& answer : loaded.answers) deck_.apply(answer);
    const Tdata& data = filter_.data();
    for (const Tfamily* f = data.first_family(kFirstOrder); f; f = f->next)
        for (const Tspecies* s = f->first_species; s; s = s->next(kFirstOrder))
            if (filter_.species_visible(*s)) pool_.push_back(s);
}

QDateTime TQuizSession::now() const {
    return clock_ ? clock_().toUTC() : QDateTime::currentDateTimeUtc();
}

bool TQuizSession::playable(const Tspecies& species) {
    auto known = playable_.find(species.unique_id);
    if (known != playable_.end()) return known->second;
    bool any = false;
    const int count = filter_.playable_recording_count(species, kKinds);
    for (int n = 1; n <= count && !any; ++n) {
        const Tcupaitem* item = filter_.nth_item(species, n, kKinds, true);
        if (item && item->cut_part && GLB_available_as_file(*item->cut_part, filter_.carriers) &&
            QFileInfo::exists(GLB_recording_file(*item->cut_part, filter_.carriers)))
            any = true;
    }
    if (!any)
        notes_ << QStringLiteral("No recording of %1 could be found: it is left out of this quiz.")
                      .arg(GLB_quiz_name(species));
    playable_[species.unique_id] = any;
    return any;
}

std::vector<const Tspecies*> TQuizSession::distractors(const Tspecies& species) {
    std::vector<const Tspecies*> chosen;
    auto take = [&](auto belongs) {
        std::vector<const Tspecies*> candidates;
        for (const Tspecies* s : pool_)
            if (!sameSpecies(s, &species) && belongs(*s) &&
                std::none_of(chosen.begin(), chosen.end(), [s](const Tspecies* c) { return sameSpecies(c, s); }))
                candidates.push_back(s);
        std::shuffle(candidates.begin(), candidates.end(), random_);
        for (const Tspecies* s : candidates) {
            if (chosen.size() >= 3) break;
            chosen.push_back(s);
        }
    };
    // Names that sound alike come from near relatives: the genus first,
    // then the family, then whatever the quiz asks about, then the list.
    const QString genus = genusOf(species);
    const Tfamily* family = species.family(kFirstOrder);
    take([&](const Tspecies& s) { return genusOf(s) == genus; });
    take([&](const Tspecies& s) { return family && s.family(kFirstOrder) == family; });
    QSet<int> inScope;
    for (const Tspecies* s : scope_.species) inScope.insert(s->unique_id);
    take([&](const Tspecies& s) { return inScope.contains(s.unique_id); });
    take([](const Tspecies&) { return true; });
    return chosen;
}

std::optional<TQuizQuestion> TQuizSession::next_question() {
    current_.reset();
    const QDateTime at = now();
    const int last = questions_ > 0 ? [this] {
        int id = 0, best = -1;
        for (const auto& [species, n] : asked_at_)
            if (n > best) best = n, id = species;
        return id;
    }() : 0;

    struct Waiting {
        const Tspecies* species;
        QDateTime due;
    };
    std::vector<Waiting> ready;     // due now, or in learning and far enough back
    std::vector<Waiting> learning;  // in learning, asked lately
    std::vector<const Tspecies*> fresh;
    for (const Tspecies* s : scope_.species) {
        if (!deck_.known(s->unique_id)) {
            fresh.push_back(s);
            continue;
        }
        const TQuizCard card = deck_.card(s->unique_id);
        const bool inLearning =
            card.state == TQuizCard::State::Learning || card.state == TQuizCard::State::Relearning;
        auto asked = asked_at_.find(s->unique_id);
        const bool farBack = asked == asked_at_.end() || questions_ - asked->second - 1 >= kLearningGap;
        if (card.due <= at || (inLearning && farBack && questions_ > 0))
            ready.push_back({s, card.due});
        else if (inLearning)
            learning.push_back({s, card.due});
    }
    auto byDue = [](const Waiting& a, const Waiting& b) { return a.due < b.due; };
    std::stable_sort(ready.begin(), ready.end(), byDue);
    std::stable_sort(learning.begin(), learning.end(), byDue);
    std::shuffle(fresh.begin(), fresh.end(), random_);
    if (new_introduced_ >= new_per_session_) fresh.clear();

    // Known species first while a new one came lately; a new one otherwise.
    std::vector<std::pair<const Tspecies*, bool>> order;
    const bool newFirst = !fresh.empty() && (ready.empty() || since_new_ >= kKnownBetweenNew);
    auto addReady = [&] {
        for (const Waiting& w : ready) order.emplace_back(w.species, false);
    };
    auto addFresh = [&] {
        for (const Tspecies* s : fresh) order.emplace_back(s, true);
    };
    if (newFirst) {
        addFresh();
        addReady();
    } else {
        addReady();
        addFresh();
    }
    // With nothing else left, a species in learning comes back early.
    for (const Waiting& w : learning) order.emplace_back(w.species, false);
    // The species just asked comes again only when nothing else can.
    std::stable_partition(order.begin(), order.end(),
                          [last](const auto& entry) { return entry.first->unique_id != last; });

    for (const auto& [species, isNew] : order) {
        if (!playable(*species)) continue;
        std::vector<std::pair<const Tcupaitem*, QString>> recordings;
        const int count = filter_.playable_recording_count(*species, kKinds);
        for (int n = 1; n <= count; ++n) {
            const Tcupaitem* item = filter_.nth_item(*species, n, kKinds, true);
            if (!item || !item->cut_part || !GLB_available_as_file(*item->cut_part, filter_.carriers)) continue;
            const QString file = GLB_recording_file(*item->cut_part, filter_.carriers);
            if (QFileInfo::exists(file))
                recordings.emplace_back(item, file);
            else
                notes_ << QStringLiteral("The recording %1 of %2 is missing; another one plays instead.")
                              .arg(item->cut_part->catalogue_text(), GLB_quiz_name(*species));
        }
        if (recordings.empty()) continue;
        const auto& [item, file] = recordings[std::uniform_int_distribution<std::size_t>(
            0, recordings.size() - 1)(random_)];
        TQuizQuestion question;
        question.species = species;
        question.recording = item;
        question.recording_file = file;
        question.new_species = isNew;
        question.choices = distractors(*species);
        question.choices.push_back(species);
        std::shuffle(question.choices.begin(), question.choices.end(), random_);
        if (isNew) {
            ++new_introduced_;
            since_new_ = 0;
        } else {
            ++since_new_;
        }
        asked_at_[species->unique_id] = questions_++;
        asked_time_ = now();
        current_ = question;
        return current_;
    }
    return std::nullopt;
}

TQuizResult TQuizSession::record(bool right, const QString& answerText) {
    TQuizResult result;
    if (!current_) return result;
    TQuizAnswer entry;
    entry.time = now();
    entry.species_id = current_->species->unique_id;
    entry.rating = right ? fsrs::Rating::Good : fsrs::Rating::Again;
    entry.elapsed_ms = static_cast<int>(std::clamp<qint64>(asked_time_.msecsTo(entry.time), 0, 86'400'000));
    entry.recording =
        current_->recording->cut_part ? current_->recording->cut_part->catalogue_text().trimmed() : QString();
    entry.answer = answerText;
    if (!log_.append(entry)) log_write_failed_ = true;
    deck_.apply(entry);
    result.right = right;
    result.rating = entry.rating;
    result.card = deck_.card(entry.species_id);
    current_.reset();
    return result;
}

TQuizResult TQuizSession::answer(const Tspecies& chosen) {
    if (!current_) return {};
    return record(sameSpecies(&chosen, current_->species), GLB_quiz_name(chosen));
}

TQuizResult TQuizSession::answer_typed(const QString& typed) {
    if (!current_) return {};
    const QString folded = GLB_fold_quiz_name(typed);
    const Tspecies& species = *current_->species;
    // The name in either language or the scientific one; the other
    // language's name comes with formatting codes.
    QString otherName = species.second_name;
    otherName.remove(QRegularExpression(QStringLiteral("<[^>]*>")));
    const bool right = !folded.isEmpty() && (folded == GLB_fold_quiz_name(species.common_name) ||
                                             folded == GLB_fold_quiz_name(species.scientific_name) ||
                                             folded == GLB_fold_quiz_name(otherName));
    return record(right, typed.simplified());
}

QStringList TQuizSession::take_notes() {
    QStringList notes;
    notes.swap(notes_);
    return notes;
}

TQuizProgress TQuizSession::progress() const {
    TQuizProgress progress;
    const QDateTime at = now();
    QSet<int> inScope;
    for (const Tspecies* s : scope_.species) {
        inScope.insert(s->unique_id);
        if (!deck_.known(s->unique_id)) {
            ++progress.fresh;
            continue;
        }
        const TQuizCard card = deck_.card(s->unique_id);
        if (card.due <= at)
            ++progress.due;
        else if (!progress.next_due.isValid() || card.due < progress.next_due)
            progress.next_due = card.due;
        if (card.state == TQuizCard::State::Review)
            ++progress.learned;
        else
            ++progress.learning;
    }
    std::map<QDate, TQuizProgress::Day> days;
    QSet<int> met;
    for (const TQuizAnswer& answer : deck_.answers()) {
        if (!inScope.contains(answer.species_id)) continue;
        if (!met.contains(answer.species_id)) {
            met.insert(answer.species_id);
            continue;
        }
        TQuizProgress::Day& day = days[answer.time.toLocalTime().date()];
        day.date = answer.time.toLocalTime().date();
        ++day.answers;
        if (answer.rating != fsrs::Rating::Again) ++day.right;
    }
    for (const auto& [date, day] : days) progress.retention.push_back(day);
    return progress;
}

QStringList TQuizSession::names_for_completion() const {
    QStringList names;
    for (const Tspecies* s : pool_) {
        names << GLB_quiz_name(*s);
        if (!s->common_name.isEmpty()) names << s->scientific_name;
    }
    names.removeDuplicates();
    names.sort(Qt::CaseInsensitive);
    return names;
}
