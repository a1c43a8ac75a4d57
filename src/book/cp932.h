#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

namespace book {

// The code page of every file the program reads and writes (Windows' Shift-JIS).
inline constexpr const char* kCodePage = "CP932";

// The text as CP932 bytes, or nothing when a character has no CP932 form.
std::optional<QByteArray> encodeCp932(QStringView text);

// How many bytes the text takes in CP932, or nothing when a character has no CP932 form.
// Counted on the stack: checking a text costs no allocation.
std::optional<qsizetype> cp932Size(QStringView text);

// The text as CP932 bytes, with '?' for each character that has no CP932 form.
QByteArray encodeCp932Lossy(const QString& text);

// Decodes CP932 bytes as far as they make sense; a byte that starts no valid
// character, or a lead byte cut off at the end, becomes U+FFFD.
QString decodeCp932(QByteArrayView bytes);
// The same, appended to the text.
void appendCp932(QString& text, QByteArrayView bytes);

// Appends the text of CP932 bytes that decode without error and encode back to the same
// bytes; false, appending nothing, for any other bytes. A line of a list is decoded on the
// stack: only its text is copied.
bool appendCp932Exactly(QString& text, QByteArrayView bytes);

// Whether appendCp932Exactly takes the bytes; checked on the stack.
bool isExactCp932(QByteArrayView bytes);

// The first control character (C0, DEL or C1) of the text as "U+0000"; empty when it has
// none. Such a character is never part of a word, and a NUL or a tab in a book's text
// would come back out of it as a broken word list.
QString firstControlCharacter(QStringView text);

// A character as "U+00E9".
QString codePointName(char32_t codePoint);

// Removes leading and trailing U+0020 only: U+3000, tabs and line ends are text here.
QString trimBlanks(const QString& text);
QStringView trimBlanks(QStringView text);

} // namespace book
