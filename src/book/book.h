#pragma once

#include "record_file.h"
#include "record_map.h"

#include <QStringList>

#include <optional>

namespace book {

enum class BookState {
    NoEndRecord, // missing, empty, or neither "EOF" nor "Fin." in records 1 to 1241
    Valid,       // "EOF" found
    Obsolete,    // "Fin." found first: an old book the program must not play or change
};

struct EndRecord {
    int record = 0; // 0 when none was found
    BookState state = BookState::NoEndRecord;

    bool isValid() const { return state == BookState::Valid; }
};

// Looks at records 1 to 1241 for the first trimmed English text "EOF" or "Fin.".
EndRecord findEndRecord(const RecordFile& file);

// (eofRecord - 52) / 51 rounded half to even, plus 1: the class count of a book.
int classCount(int eofRecord);

// Class names (trimmed Japanese of each header record) in record order.
QStringList listClasses(const RecordFile& file, int eofRecord);

// The index of the first class with this exact name.
std::optional<int> findClassByName(const RecordFile& file, int eofRecord, const QString& name);

// Zeroes every counter up to the title record (texts survive, trimmed) and writes
// the 18 statistics and settings records as {id, "0", "0", 0, 0, 0}. Refuses, writing
// nothing, when no end record was found (eofRecord below 1).
WriteStatus resetLearningData(RecordFile& file, int eofRecord);

// Rounds half to even, as the book's statistics and class count round.
long long roundHalfEven(double value);

} // namespace book
