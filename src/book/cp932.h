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

// The text as CP932 bytes, with '?' for each character that has no CP932 form.
QByteArray encodeCp932Lossy(const QString& text);

// Decodes CP932 bytes as far as they make sense; a byte that starts no valid
// character, or a lead byte cut off at the end, becomes U+FFFD.
QString decodeCp932(QByteArrayView bytes);

// Removes leading and trailing U+0020 only: U+3000, tabs and line ends are text here.
QString trimBlanks(const QString& text);

} // namespace book
