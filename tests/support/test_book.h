#pragma once

#include "book/book_writer.h"

#include <QByteArray>
#include <QString>

namespace testsupport {

// A book of `classCount` classes of 50 words: class k is named "クラスk", its word i
// (1 to 50) is "wk_i" meaning "訳k_i" (digits full-width in the Japanese).
book::BookContent makeBookContent(int classCount, const QString& title = QStringLiteral("テスト"));

// Writes the book to `path` and returns its end record.
int writeBook(const QString& path, const book::BookContent& content);
int writeBook(const QString& path, int classCount);

QByteArray fileBytes(const QString& path);
// The raw 128 bytes of one record.
QByteArray slotBytes(const QString& path, int recordNo);

// Reads or rewrites one record of a book on disk, through a handle of its own.
book::WordRecord readRecord(const QString& path, int recordNo);
void writeRecord(const QString& path, int recordNo, const book::WordRecord& record);

// Lines of a CP932 text file with CR LF ends, as the program writes them.
QByteArray cp932Lines(const QStringList& lines);

} // namespace testsupport
