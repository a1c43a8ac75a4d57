#pragma once

#include "record_file.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace book {

struct BookWord {
    QString english;
    QString japanese;
    bool operator==(const BookWord&) const = default;
};

struct BookClass {
    QString name;
    QList<BookWord> words; // exactly 50 in a book the program plays
    bool operator==(const BookClass&) const = default;
};

struct BookContent {
    QString title;
    QList<BookClass> classes;
};

// The English text of class k's header record, which nothing but the search shows.
QString classHeaderEnglish(int classIndex);

// Writes a fresh book from record 1 on: each class's header and words, the end record
// "EOF", the title, and the 18 statistics and settings records as a data reset leaves
// them. Stops at the first record that does not fit its slot.
WriteStatus writeBookRecords(RecordFile& file, const BookContent& content);

// The bytes of the book file holding `content`, built in memory; nothing when a record
// does not fit its slot. velbook and the program's Open of a list both write these.
std::optional<QByteArray> bookFileBytes(const BookContent& content);

} // namespace book
