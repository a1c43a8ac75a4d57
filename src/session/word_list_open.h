#pragma once

#include "book/book_writer.h"
#include "book/word_list.h"

#include <QString>
#include <QStringList>

namespace session {

// A row of a list that gives no meaning, with the dictionaries' proposals for it.
struct MeaningToChoose {
    int line = 0;
    QString english;
    QStringList proposals; // best first; empty when the dictionaries have none
    QString meaning;       // the proposal the row takes; empty when none fits
};

// A word list read to become the working book: chosen with Open, or named on the command
// line. Lists are checked exactly as velbook create checks them, so the same list makes
// the same book either way.
struct ListToOpen {
    QString path;
    QString title;             // the proposal: the list's title line, else the file's name
    book::BookContent content; // its classes of 50 words, in order, when it passes
    QStringList problems; // each refusal as 「行 N：…」; one of the whole file without a line
    int problemCount = 0; // problems holds the first of them (book::kKeptProblems)
    QByteArray bytes;     // the list as read
    // The rows without a meaning, while the learner has not chosen theirs (withMeanings):
    // until then the content is not the book's.
    QList<MeaningToChoose> toChoose;
    QString sources; // where the proposals came from

    bool accepted() const { return problems.isEmpty(); }
};

// Reads and checks the list at `path`. Nothing is written.
ListToOpen readListToOpen(const QString& path);

// Each problem of a read list as 「行 N：…」.
QStringList listProblemTexts(const book::ParsedList& parsed);

// As readListToOpen, on a thread of its own while the caller's event loop goes on (the
// window paints and answers the desktop) and keeps the learner's input until the list is
// read: a list of many megabytes takes a good part of a second.
ListToOpen readListToOpenAside(const QString& path);

// Whether Open takes the file as a word list (*.csv, *.tsv, *.txt) rather than a book.
bool isWordListPath(const QString& path);

// The refusal: the list's path, a heading, the first ten problems, then 「ほか M 件」.
QString listRefusalText(const ListToOpen& list);

// The confirmation's text: where the book comes from, then one line 「NAME（50語）」 a class.
QString listConfirmationText(const ListToOpen& list);

// Why a title typed in the confirmation cannot be the book's; empty when it can.
QString listTitleProblem(const QString& title);

} // namespace session
