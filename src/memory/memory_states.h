#pragma once

#include "answer.h"
#include "memory_model.h"

#include <QHash>

namespace memory {

// One word's memory in one mode, as the answers logged so far left it.
struct WordMemory {
    MemoryState state;
    qint64 lastUtcMs = 0; // the last answer
    int answers = 0;
    int rights = 0; // learned once answered right

    // The chance of recall at `utcMs`.
    double recallAt(qint64 utcMs) const;
    // When the chance of recall falls to `target`.
    qint64 dueUtcMs(double target) const;
    // This memory after the next answer (the first, when there were none).
    WordMemory after(const Answer& answer) const;
};

// The memory of every word and mode of one book, built answer by answer.
class MemoryStates {
public:
    // Takes the next answer (answers come in the order they were given).
    void apply(const Answer& answer);
    // Puts back a memory as the log stored it.
    void set(const WordKey& word, int mode, const WordMemory& memory);
    const WordMemory* find(const WordKey& word, int mode) const;
    void clear() { states_.clear(); }
    qsizetype size() const { return states_.size(); }

    struct Key {
        WordKey word;
        int mode = 0;
        bool operator==(const Key&) const = default;
    };
    const QHash<Key, WordMemory>& all() const { return states_; }

private:
    QHash<Key, WordMemory> states_;
};

inline size_t qHash(const MemoryStates::Key& key, size_t seed = 0) {
    return qHashMulti(seed, key.word, key.mode);
}

} // namespace memory
