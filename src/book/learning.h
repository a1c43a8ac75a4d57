#pragma once

#include "record_file.h"

#include <array>

namespace book {

// Counters are signed 16-bit; arithmetic stops at +-32767 so that it never wraps and
// never produces the memorised mark by accident.
inline constexpr int kCounterLimit = 32767;
qint16 saturatedCounter(long long value);

// A word's state in one mode after a correct answer or a miss.
qint16 stateAfterCorrect(qint16 state);
qint16 stateAfterMiss(qint16 state);

inline bool isMemorised(qint16 state) { return state == kMemorisedMark; }
inline bool isForgotten(qint16 state) { return state <= -1 && state != kMemorisedMark; }

struct AnswerBooking {
    bool changedState = false; // newly memorised (correct) or newly forgotten (miss)
    WriteStatus status = WriteStatus::Ok;
};

// Books a correct answer to the word in `wordRecord` for mode `mode`: the word
// becomes memorised and the repetition, memorised and forgotten totals follow.
AnswerBooking bookCorrectAnswer(RecordFile& file, int eofRecord, int wordRecord, int mode);

// Books a miss: an unlearned word counts one more miss, a memorised one is forgotten.
AnswerBooking bookMiss(RecordFile& file, int eofRecord, int wordRecord, int mode);

struct DrillEndBooking {
    qint16 memorisedTotal = 0; // the memorised total of the drill's mode, after the drill
    WriteStatus status = WriteStatus::Ok;
};

// The statistics of a finished drill in `mode`: one more play of the class and of the
// mode, the study time, and the count of fully memorised classes rebuilt from the words.
// A `classHeader` below 1 (a review, which played no class) counts no class's play.
DrillEndBooking bookDrillEnd(RecordFile& file, int eofRecord, int classHeader, int mode,
                             double elapsedSeconds);

// Memorised and forgotten words per mode, counted from the word records.
struct WordTotals {
    std::array<int, 3> memorised{};
    std::array<int, 3> forgotten{};
    std::array<int, 3> memorisedClasses{};
};
WordTotals countWordTotals(const RecordFile& file, int eofRecord);

} // namespace book
