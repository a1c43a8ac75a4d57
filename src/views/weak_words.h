#pragma once

#include "book/record_file.h"
#include "book/record_map.h"

#include <QList>
#include <QString>

namespace views {

// The class box's last entry: a review of the weak words of the whole book. No class of
// the book; only the main window's class box offers it.
inline const QString kWeakWordsEntry = QStringLiteral("苦手な単語");
// The entry after it: a review of the words the memory model finds due.
inline const QString kDueWordsEntry = QStringLiteral("今日の復習");
// A review drills at most a class's worth of words.
inline constexpr int kMostReviewWords = book::kWordsPerClass;

struct WeakWord {
    int record = 0;
    int classIndex = 0;
    qint16 state = 0; // forgotten (negative) or missed and never memorised (positive)
};

struct WeakWords {
    QList<WeakWord> words; // the review's words in review order, at most kMostReviewWords
    int total = 0;         // every weak word of the book in the mode
    int forgotten = 0;     // every forgotten word of the book in the mode, listed or not
    QList<int> records() const;
};

// The weak words of the whole book in `mode`: forgotten words first, then words missed and
// never memorised, each with the most misses first, ties in book order.
WeakWords findWeakWords(const book::RecordFile& file, int eofRecord, book::Mode mode);

} // namespace views
