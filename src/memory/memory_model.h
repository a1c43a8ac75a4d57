#pragma once

#include <array>

namespace memory {

// How well a word was recalled, as FSRS grades a review.
enum class Rating { Again = 1, Hard = 2, Good = 3, Easy = 4 };

// A word's memory in the DSR model: stability is the days after which the chance of
// recall has fallen to 90 %, difficulty (1 to 10) how hard stability grows.
struct MemoryState {
    double stability = 0;
    double difficulty = 0;
};

// FSRS-5, written from its published formulas with its 19 published default parameters:
// a power-law forgetting curve R(t, S) = (1 + 19/81 · t / S)^-0.5, the first rating's
// stability and difficulty, and the update of both after each later review. A review
// less than a day after the last one changes stability by the short-term formula.
class MemoryModel {
public:
    static constexpr std::array<double, 19> kWeights{
        0.40255, 1.18385, 3.173, 15.69105, 7.1949, 0.5345, 1.4604, 0.0046,  1.54575, 0.1192,
        1.01925, 1.9395,  0.11,  0.29605,  2.2698, 0.2315, 2.9898, 0.51655, 0.6621};
    static constexpr double kMinStability = 0.01;

    // The chance of recall `elapsedDays` after the last review.
    static double recall(double elapsedDays, double stability);
    // The days after the last review at which the chance of recall falls to `retention`.
    static double daysUntil(double retention, double stability);

    // After the first review of a word.
    static MemoryState first(Rating rating);
    // After a later review, `elapsedDays` after the one before.
    static MemoryState next(const MemoryState& state, double elapsedDays, Rating rating);

private:
    static double initialDifficulty(Rating rating);
    static double nextDifficulty(double difficulty, Rating rating);
    static double stabilityAfterRecall(const MemoryState& state, double recall, Rating rating);
    static double stabilityAfterLapse(const MemoryState& state, double recall);
};

} // namespace memory
