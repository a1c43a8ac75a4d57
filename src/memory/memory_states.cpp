#include "memory_states.h"

#include <cmath>

namespace memory {

namespace {
constexpr double kMsPerDay = 86400000.0;
}

double WordMemory::recallAt(qint64 utcMs) const {
    return MemoryModel::recall((utcMs - lastUtcMs) / kMsPerDay, state.stability);
}

qint64 WordMemory::dueUtcMs(double target) const {
    return lastUtcMs +
           qint64(std::llround(MemoryModel::daysUntil(target, state.stability) * kMsPerDay));
}

WordMemory WordMemory::after(const Answer& answer) const {
    const Rating rating = ratingFor(answer.outcome, answer.seconds);
    WordMemory next = *this;
    next.state = answers == 0
                     ? MemoryModel::first(rating)
                     : MemoryModel::next(state, (answer.utcMs - lastUtcMs) / kMsPerDay, rating);
    next.lastUtcMs = answer.utcMs;
    ++next.answers;
    if (answer.outcome == Outcome::Right)
        ++next.rights;
    return next;
}

void MemoryStates::apply(const Answer& answer) {
    WordMemory& memory = states_[{answer.word, answer.mode}];
    memory = memory.after(answer);
}

void MemoryStates::set(const WordKey& word, int mode, const WordMemory& memory) {
    states_.insert({word, mode}, memory);
}

const WordMemory* MemoryStates::find(const WordKey& word, int mode) const {
    const auto it = states_.constFind({word, mode});
    return it == states_.cend() ? nullptr : &it.value();
}

} // namespace memory
