#pragma once

#include "book/record_map.h"
#include "book/whole_file.h"
#include "book/word_record.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace session {

// One finished drill, as history.tsv keeps it.
struct HistoryRow {
    QDateTime start; // local date and time of Start
    QString bookTitle;
    QString className;
    book::Mode mode = book::Reading;
    int seconds = 0;        // how long the drill ran
    int right = 0;          // right answers
    int misses = 0;         // wrong answers and "？"
    int classMemorised = 0; // the class's memorised words in the mode, after the drill
    int bookMemorised = 0;  // the book's memorised total in the mode, after the drill
};

// A text as a row keeps it: tabs and line ends become blanks, so that a row always
// stays one row.
QString historyText(QString text);

// The first line of a new history file.
QByteArray historyHeader();
// One row of the file, ended by a line feed.
QByteArray historyLine(const HistoryRow& row);
// The row a line holds, or nothing for the header and for anything unreadable.
std::optional<HistoryRow> parseHistoryLine(QByteArrayView line);

// Appends the row to the file, the header first when the file is new or empty, and
// flushes it. A row left unfinished by an earlier run is ended first, so that the new
// row stays readable. False, with the reason, when it could not be written.
bool appendHistoryRow(const QString& path, const HistoryRow& row, book::FileFailure* failure);

// The readable rows of the file in file order; none when there is no file.
QList<HistoryRow> readHistory(const QString& path);

} // namespace session
