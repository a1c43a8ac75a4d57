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
// word with its state and a footer with the class number.
ClassListing buildClassListing(const book::RecordFile& file, int classFirstRecord,
                               std::optional<int> classIndex, book::Mode mode);

// The word list of a review: the same headings with the book's counts of weak and of
// forgotten words (listed or not) and the class column, then the weak words in review order, each
// with its class, in the columns and state marks of a class's list; a line that says so when there
// is nothing to review.
ClassListing buildReviewListing(const book::RecordFile& file, int eofRecord, const WeakWords& weak,
                                book::Mode mode);

} // namespace views
