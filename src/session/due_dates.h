#pragma once

#include "memory/due_words.h"

#include <QDate>
#include <QString>
#include <QStringList>

namespace session {

// A day as the learner reads it beside `today`: "今日", "明日", "12月15日", and with the
// year when it is not this year's ("2027年1月5日").
QString dueDayText(QDate day, QDate today);

// What a class's word list says of each word's next review: "復習：今日" for a word due
// today (now or later today), "復習：明日" or "復習：12月15日" for a later one; empty for a
// word not yet learned.
QStringList nextReviewTexts(const QList<memory::WordOutlook>& words, QDate today);

// When the next words fall due: "次は明日 12語です。", or that none wait for a later day.
QString nextDueText(const memory::DueWords& due, QDate today);

// Why 「今日の復習」 does not start: how many words are due and when the next ones are.
QString tooFewDueWordsText(const memory::DueWords& due, QDate today);

} // namespace session
