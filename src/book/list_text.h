#pragma once

#include "list_reason.h"

#include <QByteArrayView>
#include <QList>
#include <QSet>
#include <QString>

namespace book {

enum class ListEncoding { Utf8, Cp932 };

// A word list's bytes as text. Spreadsheets save lists as UTF-8 (with or without a byte
// order mark) or, in Japan, as CP932.
struct ListText {
    QString text; // lines joined by '\n', whatever the file's line ends
    ListEncoding encoding = ListEncoding::Utf8;
    QSet<int> brokenLines;       // lines that are no text in the encoding (U+FFFD in `text`)
    QList<ListProblem> problems; // why each broken line, or the whole file, is not text
};

// Decodes a word list. A byte order mark makes it UTF-8; otherwise it is UTF-8 when all
// of it is valid UTF-8, else CP932 when all of it decodes and encodes back to the same
// bytes. A list that is neither is read in the encoding of its first line that is not
// plain ASCII, and every line that is no text in that encoding is named. A UTF-16 or
// UTF-32 file is refused as a whole.
ListText decodeList(QByteArrayView bytes);

} // namespace book
