#pragma once

#include "book_writer.h"
#include "record_file.h"
#include "word_list.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace book {

// Builds a book from the word list at `listPath` and puts it at `outPath` in one step:
// on any problem, a full disk too, the old `outPath` stays as it was. `title` replaces the
// list's own title; without either the title is the list's file name without extension.
// Returns the messages of the refusal ("FILE:LINE: reason"), empty on success.
// With `meanings`, rows without a meaning take one (parseWordList).
QStringList createBookFromList(const QString& listPath, const QString& outPath,
                               const std::optional<QString>& title = std::nullopt,
                               ListMeanings* meanings = nullptr);

// The title a book made from the list at `path` takes without another: the list's title
// line, else the file's name without extension.
QString listTitle(const ParsedList& list, const QString& path);

// The title, classes and words of a book with a valid end record; nothing, with a
// reason, for a file that is no such book.
std::optional<BookContent> readBookContent(const RecordFile& file, QString* error);

// The word list of the book at `bookPath`; nothing, with a reason, when the file is
// not a valid book (as checkBook tells) or its words would not read back from a list.
std::optional<QByteArray> exportBookTsv(const QString& bookPath, QString* error);

} // namespace book
