#pragma once

#include "book/record_file.h"

#include <QStringList>

#include <optional>

namespace session {

struct WordListView {
    QStringList lines;
    bool allMemorised = false; // every word of the class memorised in the mode: shown grey
    bool classFound = false;   // the name named a class, whose words are listed
};

// The word list of one class for one drill mode: three heading lines with the play,
// memorised and forgotten counts, then (when the class was found by name) a line per
// word with its state and a footer with the class number.
WordListView buildWordListView(const book::RecordFile& file, int classFirstRecord,
                               std::optional<int> classIndex, int mode);

} // namespace session
