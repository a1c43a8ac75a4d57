#pragma once

#include "list_reason.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace book {

enum class ListEncoding { Utf8, Cp932 };

// A word list's bytes as text. Spreadsheets save lists as UTF-8 (with or without a byte
// order mark) or, in Japan, as CP932.
struct ListText {
    QString text; // lines joined by '\n', whatever the file's line ends
    ListEncoding encoding = ListEncoding::Utf8;
    Reason refusal;          // why the file is no text at all; empty when it is text
    QList<int> brokenLines;  // in order: the lines that are no text in the encoding
    Reason brokenLineReason; // why each of them is not (U+FFFD stands for the bad bytes)
};

// Decodes a word list. A byte order mark makes it UTF-8. Otherwise the lines that hold a
// byte beyond ASCII decide: the list is CP932 only when more of them read as CP932 than
// as UTF-8 and at most half of them read as UTF-8; it is UTF-8 in every other case. So a
// UTF-8 list with a few damaged or pasted lines stays UTF-8 even when its bytes as a
// whole happen to decode as CP932 (UTF-8's Japanese often does, into nonsense), and each
// line that is no text in the chosen encoding is named. A UTF-16 or UTF-32 file is
// refused as a whole.
ListText decodeList(QByteArrayView bytes);

} // namespace book
