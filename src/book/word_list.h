#pragma once

#include "book_writer.h"
#include "list_reason.h"

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace book {

// A word list as people keep it, in a spreadsheet or a text editor: CSV or TSV (the
// delimiter found from the first rows), UTF-8 or CP932 (found from the bytes), quoted as
// spreadsheets quote. Each row is class, English, Japanese; or, in a list of two columns,
// English, Japanese, every 50 rows making the next class "クラス1", "クラス2", ….
// An optional first row "# title: TEXT" gives the title; other rows whose first field
// starts with '#' are comments; a first row of column names (english/英語 …,
// japanese/日本語 …) is skipped; blank rows are skipped.
inline constexpr QStringView kTitlePrefix = u"# title:";
// A list of 24 classes of 50 rows takes some 100 KB; anything larger than this is not one.
inline constexpr qint64 kMaxListBytes = 16 << 20;

// Problems beyond these are only counted: a list of nothing but mistakes must cost no more
// than what a message can show.
inline constexpr int kKeptProblems = 200;

struct ParsedList {
    BookContent content;
    bool hasTitleLine = false;
    // The first kKeptProblems problems in line order; empty when the content can be a book.
    QList<ListProblem> problems;
    int problemCount = 0; // all of them
};

// Meanings for the rows of a list that have none (the list read "with meanings").
struct ListMeanings {
    // The meanings proposed for an English word, best first.
    std::function<QStringList(const QString& english)> proposals;
    // Meanings the learner chose for rows without one, by line, taken as the list's own.
    QHash<int, QString> chosen;

    // Filled in by the reading: each row given a meaning, and each row left without one
    // (its japanese empty).
    struct Row {
        int line = 0;
        QString english;
        QString japanese;
    };
    QList<Row> filled;
    QList<Row> unfilled;
};

// Reads a word list and checks it against everything a book needs: classes in order of
// first appearance with exactly 50 rows each, 1 to 24 classes, no empty text, no
// control character, no English or Japanese text twice within a class, every record
// within its slot in CP932. The title is checked where it is finally chosen
// (titleProblem).
//
// With `meanings`, a row whose Japanese is missing or empty takes the first proposal
// that fits its slot and is not yet in its class, and a list of English words alone (one
// column) is read as a list of two columns with the Japanese missing. A row without a
// fitting proposal is refused.
ParsedList parseWordList(QByteArrayView bytes, ListMeanings* meanings = nullptr);

// A text of a list as a message quotes it: cut to a few dozen characters, as a stray quote
// can make a whole file one field, and with '?' for each control character, which would
// act on the terminal.
QString quotedText(QStringView text);

// Why the text cannot go into a word book because of a control character (a tab pasted
// into a field, say); empty when it has none.
Reason controlCharacterProblem(QStringView text);

// Why a title cannot be stored in the title record; empty when it can.
Reason titleProblem(const QString& title);

} // namespace book
