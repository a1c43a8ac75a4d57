#pragma once

#include "memory_model.h"

#include <QHash>
#include <QString>

namespace memory {

// What became of a word the learner was asked.
enum class Outcome {
    Right = 0,
    Missed = 1,  // a wrong translation chosen
    Unknown = 2, // "？", the learner's "I don't know"
    FellOut = 3, // the word reached the bottom unanswered
};

// A right answer within this many seconds of the word's first being pickable is Good, a
// slower one Hard. A drop falls from pickable to the bottom in 12.8 s at the fastest speed
// and 64 s at the slowest, so a word known at a glance is answered well within it at any
// speed; an answer after it was waited on, hesitated over or found by going through the
// list, which is the effortful recall FSRS's Hard stands for.
inline constexpr double kQuickAnswerSeconds = 10.0;

// A right answer is Good when quick and Hard when slow; a miss, "？" and a word that fell
// out are Again. Nothing the drill sees is Easy.
Rating ratingFor(Outcome outcome, double seconds);

// A word by its record and texts: an edited or replaced word is another word and starts
// afresh.
struct WordKey {
    int record = 0;
    QString english;
    QString japanese;
    bool operator==(const WordKey&) const = default;
};

inline size_t qHash(const WordKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.record, key.english, key.japanese);
}

// One answer of one drill, as the log keeps it.
struct Answer {
    qint64 utcMs = 0; // when it was given, milliseconds since 1970 UTC
    WordKey word;
    int mode = 0; // the drill mode, as book::Mode counts them
    Outcome outcome = Outcome::Right;
    double seconds = 0; // from the word's first being pickable to the answer
};

} // namespace memory
