#pragma once

#include "weak_words.h"

#include "book/record_file.h"

#include <QStringList>

#include <optional>

namespace views {

struct ClassListing {
    QStringList lines;
    bool allMemorised = false; // every word of the class memorised in the mode: shown grey
    bool classFound = false;   // the name named a class, whose words are listed
};

// The word list of one class for one drill mode: three heading lines with the play,
// memorised and forgotten counts, then (when the class was found by name) a line per
// word with its state, followed by its text of `nextReviews` (the next review) when it
// has one, and a footer with the class number.
ClassListing buildClassListing(const book::RecordFile& file, int classFirstRecord,
                               std::optional<int> classIndex, book::Mode mode,
                               const QStringList& nextReviews = {});

// The word list of a review: the same headings with the book's counts of weak and of
// forgotten words (listed or not) and the class column, then the weak words in review order, each
// with its class, in the columns and state marks of a class's list; a line that says so when there
// is nothing to review.
ClassListing buildReviewListing(const book::RecordFile& file, int eofRecord, const WeakWords& weak,
                                book::Mode mode);

// A word of 「今日の復習」 as its list shows it.
struct DueWordRow {
    int record = 0;
    int classIndex = 0;
    std::optional<double> recall; // predicted recall now; none for ☆ with no answer logged
};

// The word list of 「今日の復習」: the count of words due now (`dueNow`), the column
// headings with the predicted recall and the class, and `nextDue`, the sentence that says
// when the next words fall due; then the words in review order, each with its state, its
// predicted recall in whole per cent (rounded down, so that a due word never shows the
// target; "－" when it has none) and its class; a line that says so when nothing is due.
ClassListing buildDueListing(const book::RecordFile& file, int eofRecord,
                             const QList<DueWordRow>& words, int dueNow, const QString& nextDue,
                             book::Mode mode);

} // namespace views
