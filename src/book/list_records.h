#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace book {

// One row of a word list as a spreadsheet wrote it.
struct ListRecord {
    int line = 0; // where the row starts
    QStringList fields;
    bool openQuote = false; // its last field opens a quote that the text never closes
};

// A tab when at least as many of the first five rows hold a tab as hold a comma (and one
// does); a comma otherwise. Meanings often hold a comma, words never a tab.
QChar listDelimiter(QStringView text);

// Splits '\n'-separated text into rows as spreadsheets write CSV and TSV: a field that
// starts with '"' is quoted, runs over delimiters and line ends up to the next lone '"',
// and reads "" as one '"'; anything after its closing quote is taken as it stands, as is
// a '"' inside an unquoted field.
QList<ListRecord> splitListRecords(QStringView text, QChar delimiter);

} // namespace book
