#include "learning.h"

#include "book.h"

#include <algorithm>

namespace book {

qint16 saturatedCounter(long long value) {
    return qint16(std::clamp<long long>(value, -kCounterLimit, kCounterLimit));
}

qint16 stateAfterCorrect(qint16) { return kMemorisedMark; }

qint16 stateAfterMiss(qint16 state) {
    if (isMemorised(state))
        return -1;
    return state >= 0 ? saturatedCounter(state + 1LL) : saturatedCounter(state - 1LL);
}

namespace {

// Remembers the first failed write of a series of writes.
struct WriteLog {
    WriteStatus first = WriteStatus::Ok;
    void operator()(WriteStatus status) {
        if (first == WriteStatus::Ok)
            first = status;
    }
};

void addToCounter(RecordFile& file, int recordNo, int mode, long long delta, WriteLog& log) {
    WordRecord record = file.read(recordNo);
    record.modeCount[mode] = saturatedCounter(record.modeCount[mode] + delta);
    log(file.write(recordNo, record));
}

// Rewrites the word with trimmed texts and returns it, as every answer does first.
WordRecord rewriteTrimmed(RecordFile& file, int wordRecord, WriteLog& log) {
    WordRecord word = file.read(wordRecord).trimmed();
    log(file.write(wordRecord, word));
    return word;
}

} // namespace

AnswerBooking bookCorrectAnswer(RecordFile& file, int eofRecord, int wordRecord, int mode) {
    WriteLog log;
    WordRecord word = rewriteTrimmed(file, wordRecord, log);
    const qint16 before = word.modeCount[mode];
    if (isMemorised(before))
        return {false, log.first};

    const long long repetitions = before >= 0 ? before : -static_cast<long long>(before);
    if (isForgotten(before))
        addToCounter(file, trailerRecord(eofRecord, Trailer::ForgottenTotal), mode, -1, log);
    word.modeCount[mode] = stateAfterCorrect(before);
    log(file.write(wordRecord, word));
    addToCounter(file, trailerRecord(eofRecord, Trailer::MemorisedTotal), mode, +1, log);
    addToCounter(file, trailerRecord(eofRecord, Trailer::Repetition), mode, repetitions, log);
    return {true, log.first};
}

AnswerBooking bookMiss(RecordFile& file, int eofRecord, int wordRecord, int mode) {
    WriteLog log;
    WordRecord word = rewriteTrimmed(file, wordRecord, log);
    const qint16 before = word.modeCount[mode];
    word.modeCount[mode] = stateAfterMiss(before);
    log(file.write(wordRecord, word));
    if (!isMemorised(before))
        return {false, log.first};

    addToCounter(file, trailerRecord(eofRecord, Trailer::ForgottenTotal), mode, +1, log);
    addToCounter(file, trailerRecord(eofRecord, Trailer::MemorisedTotal), mode, -1, log);
    return {true, log.first};
}

DrillEndBooking bookDrillEnd(RecordFile& file, int eofRecord, int classHeader, int mode,
                             double elapsedSeconds) {
    WriteLog log;
    if (classHeader >= 1) {
        WordRecord header = file.read(classHeader).trimmed();
        header.modeCount[mode] = saturatedCounter(header.modeCount[mode] + 1LL);
        log(file.write(classHeader, header));
    }

    const qint16 memorisedTotal =
        file.read(trailerRecord(eofRecord, Trailer::MemorisedTotal)).modeCount[mode];

    addToCounter(file, trailerRecord(eofRecord, Trailer::Speed), mode, +1, log);

    const int studyRecord = trailerRecord(eofRecord, Trailer::StudyTime);
    WordRecord study = file.read(studyRecord);
    study.modeCount[mode] = saturatedCounter(roundHalfEven(study.modeCount[mode] + elapsedSeconds));
    log(file.write(studyRecord, study));

    const int classesRecord = trailerRecord(eofRecord, Trailer::MemorisedClasses);
    WordRecord classes = file.read(classesRecord);
    classes.modeCount[mode] =
        saturatedCounter(countWordTotals(file, eofRecord).memorisedClasses[mode]);
    log(file.write(classesRecord, classes));

    return {memorisedTotal, log.first};
}

WordTotals countWordTotals(const RecordFile& file, int eofRecord) {
    WordTotals totals;
    const int classes = classCount(eofRecord);
    for (int k = 0; k < classes; ++k) {
        std::array<int, 3> memorisedInClass{};
        for (int r = firstWordRecord(k); r < firstWordRecord(k) + kWordsPerClass; ++r) {
            const auto counters = file.readCounters(r);
            for (int m = 0; m < kModeCount; ++m) {
                memorisedInClass[m] += isMemorised(counters[m]);
                totals.forgotten[m] += isForgotten(counters[m]);
            }
        }
        for (int m = 0; m < kModeCount; ++m) {
            totals.memorised[m] += memorisedInClass[m];
            totals.memorisedClasses[m] += memorisedInClass[m] == kWordsPerClass;
        }
    }
    return totals;
}

} // namespace book
