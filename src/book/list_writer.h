#pragma once

#include "book_writer.h"
#include "list_reason.h"

#include <QByteArray>
#include <QByteArrayView>

namespace book {

// The word list of a book as velbook exports it: UTF-8, a "# title:" line, then one
// row class<TAB>english<TAB>japanese a word.
QByteArray bookToTsv(const BookContent& content);

// The word list of a book as spreadsheets open it: UTF-8 with a byte order mark, CR LF,
// a header row class,english,japanese, then one row a word. The title is the file's name.
QByteArray bookToCsv(const BookContent& content);

// Why `list`, written from `content`, would not read back to the same classes and words;
// empty when it would.
Reason listReadBackProblem(const BookContent& content, QByteArrayView list);

} // namespace book
