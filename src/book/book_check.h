#pragma once

#include "record_map.h"
#include "word_record.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

namespace book {

enum class BookVerdict {
    Valid,    // the program can load and play it
    Obsolete, // "Fin." ends the search before any "EOF"
    Broken,   // anything else that keeps it from being a sound book
};

struct BookCheck {
    BookVerdict verdict = BookVerdict::Broken;
    QStringList problems; // why it is not valid, one sentence each
    // What is amiss in a book that stays valid: statistics that disagree with the word
    // records, as an interrupted drill leaves them.
    QStringList warnings;
    int classes = 0; // of a book with an end record
    QString title;
};

// Looks at a word book as a whole: its size, every slot's string lengths and encoding,
// the end record, the records behind it, and whether the statistics records agree with
// the word records. Reads at most kMaxBookBytes + 1 bytes from the device's position.
BookCheck checkBook(QIODevice& device);
// The same for the file at `path`; a folder, FIFO or device is refused unopened.
BookCheck checkBook(const QString& path);

} // namespace book
