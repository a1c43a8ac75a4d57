#include "due_words.h"

#include "book/book.h"
#include "book/learning.h"

#include <QTimeZone>

#include <algorithm>
#include <tuple>

namespace memory {

QList<StudyWord> readStudyWords(const book::RecordFile& file, int eofRecord, int mode) {
    QList<StudyWord> words;
    if (eofRecord < 1)
        return words;
    const int classes = book::classCount(eofRecord);
    words.reserve(classes * book::kWordsPerClass);
    for (int k = 0; k < classes; ++k) {
        const int first = book::firstWordRecord(k);
        for (int r = first; r < first + book::kWordsPerClass; ++r) {
            const book::WordRecord record = file.read(r).trimmed();
            words.append({{r, record.english, record.japanese},
                          k,
                          book::isMemorised(record.modeCount[std::size_t(mode)])});
        }
    }
    return words;
}

QList<WordOutlook> outlook(const QList<StudyWord>& words, const MemoryStates& states, int mode,
                           const QDateTime& now, double target) {
    const qint64 nowMs = now.toMSecsSinceEpoch();
    const QTimeZone zone = now.timeZone();
    QList<WordOutlook> result;
    result.reserve(words.size());
    for (const StudyWord& word : words) {
        WordOutlook o;
        o.record = word.word.record;
        o.classIndex = word.classIndex;
        if (const WordMemory* memory = states.find(word.word, mode)) {
            o.inReview = true;
            o.recall = memory->recallAt(nowMs);
            o.due = QDateTime::fromMSecsSinceEpoch(memory->dueUtcMs(target), zone);
        } else if (word.memorised) {
            o.inReview = true;
            o.due = now;
        }
        result.append(o);
    }
    return result;
}

QList<int> DueWords::records() const {
    QList<int> numbers;
    numbers.reserve(words.size());
    for (const WordOutlook& word : words)
        numbers << word.record;
    return numbers;
}

namespace {

bool dueNow(const WordOutlook& word, double target) {
    return word.inReview && (!word.recall || *word.recall < target);
}

// Logged words by predicted recall, then the unlogged ☆ words; book order within.
bool comesFirst(const WordOutlook& a, const WordOutlook& b) {
    return std::tuple(!a.recall.has_value(), a.recall.value_or(0), a.record) <
           std::tuple(!b.recall.has_value(), b.recall.value_or(0), b.record);
}

} // namespace

DueWords selectDueWords(const QList<WordOutlook>& outlook, double target) {
    DueWords due;
    QList<WordOutlook> all;
    for (const WordOutlook& word : outlook) {
        if (dueNow(word, target)) {
            all.append(word);
        } else if (word.inReview) {
            const QDate day = word.due.date();
            if (!due.nextDay.isValid() || day < due.nextDay) {
                due.nextDay = day;
                due.nextDayCount = 1;
            } else if (day == due.nextDay) {
                ++due.nextDayCount;
            }
        }
    }
    due.dueNow = int(all.size());
    const auto cut = all.begin() + std::min<qsizetype>(all.size(), kMostDueWords);
    std::partial_sort(all.begin(), cut, all.end(), comesFirst);
    due.words = QList<WordOutlook>(all.begin(), cut);
    return due;
}

QList<int> dueForecast(const QList<WordOutlook>& outlook, const QDateTime& now) {
    QList<int> days(kForecastDays, 0);
    const QDate today = now.date();
    for (const WordOutlook& word : outlook) {
        if (!word.inReview)
            continue;
        const qint64 day = std::max<qint64>(0, today.daysTo(word.due.date()));
        if (day < kForecastDays)
            ++days[day];
    }
    return days;
}

QList<RetentionPoint> retentionHistory(const QList<Answer>& answers, int mode,
                                       const QDateTime& now) {
    QList<RetentionPoint> points;
    const QTimeZone zone = now.timeZone();
    QHash<WordKey, qsizetype> index;
    QList<WordMemory> memories;
    QList<qsizetype> learned;
    QDate day;
    qint64 dayEndMs = 0;
    const auto close = [&](qint64 atMs) {
        double sum = 0;
        for (const qsizetype i : std::as_const(learned))
            sum += memories[i].recallAt(atMs);
        points.append(
            {day, learned.isEmpty() ? 0 : sum / double(learned.size()), int(learned.size())});
        day = day.addDays(1);
        dayEndMs = day.addDays(1).startOfDay(zone).toMSecsSinceEpoch();
    };
    for (const Answer& answer : answers) {
        if (answer.mode != mode)
            continue;
        if (!day.isValid()) {
            day = QDateTime::fromMSecsSinceEpoch(answer.utcMs, zone).date();
            dayEndMs = day.addDays(1).startOfDay(zone).toMSecsSinceEpoch();
        }
        while (answer.utcMs >= dayEndMs)
            close(dayEndMs);
        const qsizetype i = index.value(answer.word, memories.size());
        if (i == memories.size()) {
            index.insert(answer.word, i);
            memories.append(WordMemory{});
        }
        const bool wasLearned = memories[i].rights > 0;
        memories[i] = memories[i].after(answer);
        if (!wasLearned && memories[i].rights > 0)
            learned.append(i);
    }
    if (!day.isValid())
        return points;
    const QDate today = now.date();
    while (day < today)
        close(dayEndMs);
    close(now.toMSecsSinceEpoch());
    return points;
}

} // namespace memory
