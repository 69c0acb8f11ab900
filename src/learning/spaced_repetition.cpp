#include "learning/spaced_repetition.h"

#include <algorithm>
#include <cmath>

namespace fsrs {

namespace {

// The forgetting curve R(t, S) = (1 + F·t/S)^DECAY, with F chosen so that
// R(S, S) = 90%.
constexpr double kDecay = -0.5;
const double kFactor = std::pow(0.9, 1.0 / kDecay) - 1.0;  // 19/81

double clampDifficulty(double d) {
    return std::clamp(d, 1.0, 10.0);
}

int grade(Rating rating) {
    return static_cast<int>(rating);
}

}  // namespace

double Scheduler::initial_difficulty(Rating rating) const {
    return w_[4] - std::exp(w_[5] * (grade(rating) - 1)) + 1.0;
}

Memory Scheduler::first(Rating rating) const {
    return {std::max(w_[static_cast<std::size_t>(grade(rating) - 1)], 0.1),
            clampDifficulty(initial_difficulty(rating))};
}

Memory Scheduler::next(const Memory& memory, double elapsedDays, Rating rating) const {
    const double s = memory.stability;
    const double d = memory.difficulty;
    const int g = grade(rating);
    Memory after;
    // Difficulty moves by the answer and reverts a little to that of a card
    // first answered Easy, so that it never sticks at an extreme.
    after.difficulty =
        clampDifficulty(w_[7] * initial_difficulty(Rating::Easy) + (1 - w_[7]) * (d - w_[6] * (g - 3)));
    if (elapsedDays < 1.0) {
        after.stability = s * std::exp(w_[17] * (g - 3 + w_[18]));
    } else if (rating == Rating::Again) {
        const double r = retrievability(elapsedDays, s);
        const double forgotten =
            w_[11] * std::pow(d, -w_[12]) * (std::pow(s + 1, w_[13]) - 1) * std::exp(w_[14] * (1 - r));
        // Forgetting never makes a memory stronger than it was.
        after.stability = std::min(forgotten, s);
    } else {
        const double r = retrievability(elapsedDays, s);
        const double hardPenalty = rating == Rating::Hard ? w_[15] : 1.0;
        const double easyBonus = rating == Rating::Easy ? w_[16] : 1.0;
        after.stability = s * (1 + std::exp(w_[8]) * (11 - d) * std::pow(s, -w_[9]) *
                                       (std::exp(w_[10] * (1 - r)) - 1) * hardPenalty * easyBonus);
    }
    after.stability = std::max(after.stability, 0.01);
    return after;
}

double Scheduler::retrievability(double elapsedDays, double stability) {
    return std::pow(1 + kFactor * std::max(0.0, elapsedDays) / stability, kDecay);
}

double Scheduler::interval(double stability, double retention) {
    return stability / kFactor * (std::pow(retention, 1.0 / kDecay) - 1);
}

int Scheduler::interval_days(double stability, double retention) {
    return std::max(1, static_cast<int>(std::lround(interval(stability, retention))));
}

}  // namespace fsrs
