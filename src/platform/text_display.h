#pragma once

#include <QString>

class QPlainTextEdit;

namespace platform {

// The whole CP932 file as text; the empty string when there is no such file.
QString readTextFile(const QString& path);

// Puts a text read from one of the program's files into the box (CR LF line ends).
void showText(QPlainTextEdit* box, const QString& text);

// The number of lines the text box holds.
int lineCount(const QPlainTextEdit* box);

// Scrolls the box down by `lines` lines (up for a negative count); returns the lines
// actually scrolled.
int scrollLines(QPlainTextEdit* box, int lines);

} // namespace platform
