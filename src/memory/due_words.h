#pragma once

#include "answer.h"
#include "memory_states.h"

#include "book/record_file.h"

#include <QDate>
#include <QDateTime>
#include <QList>

#include <array>
#include <optional>

namespace memory {

// The retention a review keeps words above: 90 % unless the learner chose another.
inline constexpr double kDefaultTargetRetention = 0.90;
inline constexpr std::array<double, 4> kTargetRetentions{0.80, 0.85, 0.90, 0.95};
// A review drills at most a class's worth of words.
inline constexpr int kMostDueWords = 50;
// The forecast's days, today first.
inline constexpr int kForecastDays = 30;

// A word of the book as the review sees it in one mode.
struct StudyWord {
    WordKey word;
    int classIndex = 0;
    bool memorised = false; // ☆ in the mode, by the book's counter
};

// Every word of every class of the book, with its ☆ in `mode`.
QList<StudyWord> readStudyWords(const book::RecordFile& file, int eofRecord, int mode);

// Where a word stands: in review once it has a logged answer in the mode, or when it is ☆
// with none (memorised before the log existed: due at once, so that the first review
// checks it).
struct WordOutlook {
    int record = 0;
    int classIndex = 0;
    bool inReview = false;
    std::optional<double> recall; // predicted recall now; none for ☆ with no answer logged
    // When recall falls below the target, in now's time zone; invalid when not in review.
    QDateTime due;
};

// Each word of `words` in book order, as of `now`.
QList<WordOutlook> outlook(const QList<StudyWord>& words, const MemoryStates& states, int mode,
                           const QDateTime& now, double target);

struct DueWords {
    // The review's words in review order, at most kMostDueWords: the lowest predicted
    // recall first, ties in book order, then the ☆ words with no answer logged in book order.
    QList<WordOutlook> words;
    int dueNow = 0;       // every word below the target now
    QDate nextDay;        // the first day (in now's time zone) on which more words fall due
    int nextDayCount = 0; // how many fall due that day
    QList<int> records() const;
};

DueWords selectDueWords(const QList<WordOutlook>& outlook, double target);

// Words falling due on each of the next kForecastDays days, today (with every word due
// already) first.
QList<int> dueForecast(const QList<WordOutlook>& outlook, const QDateTime& now);

struct RetentionPoint {
    QDate day;
    double retention = 0; // the mean predicted recall of the learned words at the day's end
    int learned = 0;      // words answered right at least once by then
    bool operator==(const RetentionPoint&) const = default;
};

// The estimated retention of one mode's learned words at the end of each day from the
// first answer to `now` (today: at now). `answers` are one book's in the order given.
QList<RetentionPoint> retentionHistory(const QList<Answer>& answers, int mode,
                                       const QDateTime& now);

} // namespace memory
