#pragma once

namespace book {

// Where things live in a word book: classes of one header and 50 words, then the
// end record, then the title, statistics and settings records.
inline constexpr int kWordsPerClass = 50;
inline constexpr int kRecordsPerClass = kWordsPerClass + 1;
inline constexpr int kMaxClasses = 24;
// The end record is looked for among records 1 to this one.
inline constexpr int kEndSearchLimit = 1241;
// Records behind the end record: title, statistics, settings and reserved ones.
inline constexpr int kTrailerRecords = 19;

constexpr int classHeaderRecord(int classIndex) { return kRecordsPerClass * classIndex + 1; }
constexpr int firstWordRecord(int classIndex) { return kRecordsPerClass * classIndex + 2; }
constexpr int classOfRecord(int recordNo) { return (recordNo - 1) / kRecordsPerClass; }
constexpr int endRecordFor(int classCount) { return kRecordsPerClass * classCount + 1; }

// Records behind the end record, by their distance from it.
enum class Trailer : int {
    Title = 1,
    MemorisedClasses = 3,
    Repetition = 4,
    MemorisedTotal = 5,
    ForgottenTotal = 6,
    InputMode = 8,
    Voice = 9,
    Speed = 11,
    StudyTime = 12,
};

constexpr int trailerRecord(int eofRecord, Trailer which) {
    return eofRecord + static_cast<int>(which);
}

// The drill modes, as the index of the mode buttons and of every per-mode counter.
enum Mode : int { Reading = 0, Writing = 1, Listening = 2 };

} // namespace book
