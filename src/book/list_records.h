#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace book {

// One row of a word list as a spreadsheet wrote it. Its fields are views of the list's
// text, or of `unquoted` where a quoted field had to be put together.
struct ListRecord {
    int line = 0;     // where the row starts
    int lastLine = 0; // where it ends: a quoted field may run over several lines
    QList<QStringView> fields;
    int openQuoteLine = 0; // where a quote opens that the text never closes; 0 for none
    QStringList unquoted;  // the fields that are no part of the text as they stand
};

// A tab when at least as many of the first five rows hold a tab as hold a comma (and one
// does); a comma otherwise. Meanings often hold a comma, words never a tab.
QChar listDelimiter(QStringView text);

// Reads '\n'-separated text row by row as spreadsheets write CSV and TSV: a field that
// starts with '"' is quoted, runs over delimiters and line ends up to the next lone '"',
// and reads "" as one '"'; anything after its closing quote is taken as it stands, as is
// a '"' inside an unquoted field. One row at a time, so that a long list costs no more
// memory than its text.
class ListRecordReader {
public:
    // `text` must outlive the reader and the records it reads.
    ListRecordReader(QStringView text, QChar delimiter) : text_(text), delimiter_(delimiter) {}

    // Reads the next row into `record`; false at the end of the text.
    bool next(ListRecord& record);

private:
    QStringView quotedField(ListRecord& record);
    qsizetype nextOf(QChar c, qsizetype& found) const;

    QStringView text_;
    QChar delimiter_;
    qsizetype at_ = 0;
    int line_ = 1;
    qsizetype nextDelimiter_ = -1;
    qsizetype nextLineEnd_ = -1;
};

// A cell that starts with '=', '+', '-', '@', a tab or a CR starts a formula in a
// spreadsheet (=HYPERLINK(…) among them). Such a text is written with a ' before it, as
// spreadsheets mark a text that only looks like a formula, and shows as text; one ' is
// taken off any cell that is one or more ' and then such a character, so that every text
// reads back as it was, one that starts with ' too.
QString guardedCell(const QString& text);
QStringView unguardedCell(QStringView cell);

} // namespace book
