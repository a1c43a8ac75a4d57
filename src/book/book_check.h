#pragma once

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
    int classes = 0;      // of a book with an end record
    QString title;
};

// Looks at a word book file as a whole: the file size, every slot's string lengths and
// encoding, the end record, the records behind it, and whether the statistics records
// agree with the word records.
BookCheck checkBook(const QString& path);

} // namespace book
