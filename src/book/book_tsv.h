#pragma once

#include "book_writer.h"
#include "record_file.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace book {

// A word list in the text form that people edit: UTF-8, an optional first line
// "# title: TEXT", other lines starting with '#' are comments, empty lines are skipped,
// and every other line is a row class<TAB>english<TAB>japanese.
inline constexpr QStringView kTitlePrefix = u"# title:";
// A list of 24 classes of 50 rows takes some 100 KB; anything larger than this is not one.
inline constexpr qint64 kMaxListBytes = 16 << 20;

// Why a line of a word list cannot go into a book. Line 0 stands for the whole list.
struct TsvProblem {
    int line = 0;
    QString reason;
};

struct ParsedBook {
    BookContent content;
    bool hasTitleLine = false;
    QList<TsvProblem> problems; // empty when the content can be written as a book
};

// Reads a word list and checks it against everything a book needs: classes in order of
// first appearance with exactly 50 rows each, 1 to 24 classes, no empty text, no
// English or Japanese text twice within a class, every record within its slot in CP932.
// The title is checked where it is finally chosen (createBookFromTsv).
ParsedBook parseBookTsv(QByteArrayView utf8);

// Why a title cannot be stored in the title record; empty when it can.
QString titleProblem(const QString& title);

// The word list of a book, in the form parseBookTsv reads.
QByteArray bookToTsv(const BookContent& content);

// Builds a book from the word list at `tsvPath` and puts it at `outPath` in one step:
// on any problem, a full disk too, the old `outPath` stays as it was. `title` replaces the list's
// own title; without either the title is the list's file name without extension. Returns the
// messages of the refusal ("FILE:LINE: reason"), empty on success.
QStringList createBookFromTsv(const QString& tsvPath, const QString& outPath,
                              const std::optional<QString>& title = std::nullopt);

// The title, classes and words of a book with a valid end record; nothing, with a
// reason, for a file that is no such book.
std::optional<BookContent> readBookContent(const RecordFile& file, QString* error);

// The word list of the book at `bookPath`; nothing, with a reason, when the file is
// not a valid book (as checkBook tells) or holds a text that a word list line cannot
// carry.
std::optional<QByteArray> exportBookTsv(const QString& bookPath, QString* error);

} // namespace book
