#pragma once

#include "book/record_map.h"
#include "book/whole_file.h"
#include "book/word_record.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace folder {

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

// A row as the charts read it: its texts left as the line holds them (UTF-8), its start
// as the local date and time the line names, so that a long history reads quickly.
struct HistoryEntry {
    QDate day;
    QTime time;
    QByteArrayView bookTitle;
    QByteArrayView className;
    book::Mode mode = book::Reading;
    int seconds = 0;
    int right = 0;
    int misses = 0;
    int classMemorised = 0;
    int bookMemorised = 0;
};
// The entry a line holds, or nothing for the header, for anything unreadable and for
// values no drill produces: more than a day's seconds, more memorised words than a class
// or a book can hold, a date before 2000.
std::optional<HistoryEntry> parseHistoryEntry(QByteArrayView line);
// The same as a row.
std::optional<HistoryRow> parseHistoryLine(QByteArrayView line);

// Appends the row to the file, the header first when the file is new or empty, and
// flushes it. A row left unfinished by an earlier run is ended first, so that the new
// row stays readable. False, with the reason, when it could not be written.
bool appendHistoryRow(const QString& path, const HistoryRow& row, book::FileFailure* failure);

// Hands each readable entry of the lines to `take`, in order; the last line may lack its
// line end.
void forEachHistoryEntry(QByteArrayView lines,
                         const std::function<void(const HistoryEntry&)>& take);

// Hands each readable entry of the file to `take`, in file order, reading the file a
// piece at a time; of a file larger than `maxBytes`, only the rows in its last `maxBytes`.
// Nothing when there is no file or it is no regular file.
inline constexpr qint64 kMaxHistoryBytes = 256 * 1024 * 1024; // far more than anyone plays
void scanHistory(const QString& path, const std::function<void(const HistoryEntry&)>& take,
                 qint64 maxBytes = kMaxHistoryBytes);

// The readable rows of the file in file order; none when there is no file.
QList<HistoryRow> readHistory(const QString& path);

} // namespace folder
