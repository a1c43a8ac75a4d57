#include "memory_model.h"

#include <algorithm>
#include <cmath>

namespace memory {

namespace {

constexpr double kDecay = -0.5;
// Makes R(S, S) exactly 0.9: 0.9^(1 / kDecay) - 1.
constexpr double kFactor = 19.0 / 81.0;

double w(int i) { return MemoryModel::kWeights[std::size_t(i)]; }
int grade(Rating rating) { return static_cast<int>(rating); }
double clampDifficulty(double d) { return std::clamp(d, 1.0, 10.0); }

} // namespace

double MemoryModel::recall(double elapsedDays, double stability) {
    // x^kDecay with kDecay = -0.5, by a square root: many times faster than pow, and the
    // retention chart takes one per learned word and day.
    static_assert(kDecay == -0.5);
    return 1 / std::sqrt(1 + kFactor * std::max(0.0, elapsedDays) / stability);
}

double MemoryModel::daysUntil(double retention, double stability) {
    return stability / kFactor * (std::pow(retention, 1 / kDecay) - 1);
}

double MemoryModel::initialDifficulty(Rating rating) {
    return clampDifficulty(w(4) - std::exp(w(5) * (grade(rating) - 1)) + 1);
}

MemoryState MemoryModel::first(Rating rating) {
    return {std::max(w(grade(rating) - 1), kMinStability), initialDifficulty(rating)};
}

double MemoryModel::nextDifficulty(double difficulty, Rating rating) {
    // The step shrinks linearly as difficulty nears 10, then the result reverts a
    // little towards the difficulty of a first Easy.
    const double delta = -w(6) * (grade(rating) - 3);
    const double damped = difficulty + delta * (10 - difficulty) / 9;
    return clampDifficulty(w(7) * initialDifficulty(Rating::Easy) + (1 - w(7)) * damped);
}

double MemoryModel::stabilityAfterRecall(const MemoryState& state, double recall, Rating rating) {
    const double hardPenalty = rating == Rating::Hard ? w(15) : 1;
    const double easyBonus = rating == Rating::Easy ? w(16) : 1;
    return state.stability *
           (1 + std::exp(w(8)) * (11 - state.difficulty) * std::pow(state.stability, -w(9)) *
                    (std::exp(w(10) * (1 - recall)) - 1) * hardPenalty * easyBonus);
}

double MemoryModel::stabilityAfterLapse(const MemoryState& state, double recall) {
    const double lapse = w(11) * std::pow(state.difficulty, -w(12)) *
                         (std::pow(state.stability + 1, w(13)) - 1) *
                         std::exp(w(14) * (1 - recall));
    return std::min(lapse, state.stability);
}

MemoryState MemoryModel::next(const MemoryState& state, double elapsedDays, Rating rating) {
    double stability = 0;
    if (elapsedDays < 1) {
        stability = state.stability * std::exp(w(17) * (grade(rating) - 3 + w(18)));
    } else {
        const double r = recall(elapsedDays, state.stability);
        stability = rating == Rating::Again ? stabilityAfterLapse(state, r)
                                            : stabilityAfterRecall(state, r, rating);
    }
    return {std::max(stability, kMinStability), nextDifficulty(state.difficulty, rating)};
}

} // namespace memory
