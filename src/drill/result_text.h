#pragma once

#include "book/record_map.h"

#include <QString>
#include <QStringList>

namespace drill {

// The lines of result.txt: the class line at Start, one line per answer, the summary.

enum class AnswerMark {
    NewlyMemorised, // " ☆ "
    Plain,          // " 　 ": a correct answer to a memorised word, or a plain miss
    NewlyForgotten, // " ？ "
};

QString startLine(const QString& className);
QString answerLine(AnswerMark mark, const QString& shownWord, const QString& answer);
QStringList summaryLines(int forgotten, int memorised, int memorisedTotal, book::Mode mode);

} // namespace drill
