#pragma once

// When a learned voice comes back: the FSRS-5 memory model with its
// published default weights (the nineteen of FSRS-5, the scheduler Anki
// ships since 23.10, whose formulas and defaults are published with worked
// values, so a schedule here can be checked against them). A card's memory
// is a stability S (days until the chance of recall falls to 90%) and a
// difficulty D (1..10); each answer moves both.

#include <array>

namespace fsrs {

enum class Rating { Again = 1, Hard = 2, Good = 3, Easy = 4 };

struct Memory {
    double stability = 0;   // days
    double difficulty = 0;  // 1..10
};

// FSRS-5's default weights w0..w18.
inline constexpr std::array<double, 19> kDefaultWeights{
    0.40255, 1.18385, 3.173,  15.69105, 7.1949, 0.5345, 1.4604, 0.0046, 1.54575, 0.1192,
    1.01925, 1.9395,  0.11,   0.29605,  2.2698, 0.2315, 2.9898, 0.51655, 0.6621};

// The chance of recall the intervals aim at.
inline constexpr double kDesiredRetention = 0.9;

class Scheduler {
  public:
    explicit Scheduler(const std::array<double, 19>& weights = kDefaultWeights) : w_(weights) {}

    // The memory after a card's first answer.
    Memory first(Rating rating) const;
    // The memory after an answer given `elapsedDays` after the previous one;
    // answers on the same day (under one day apart) move the stability by
    // the short-term rule only.
    Memory next(const Memory& memory, double elapsedDays, Rating rating) const;
    // The chance of recall after that many days.
    static double retrievability(double elapsedDays, double stability);
    // Days until the chance of recall falls to the retention (fractional).
    static double interval(double stability, double retention = kDesiredRetention);
    // The interval in whole days, at least one.
    static int interval_days(double stability, double retention = kDesiredRetention);

  private:
    double initial_difficulty(Rating rating) const;
    std::array<double, 19> w_;
};

}  // namespace fsrs
