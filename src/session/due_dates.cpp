#include "due_dates.h"

#include "drill/drill_state.h"
#include "views/weak_words.h"

namespace session {

QString dueDayText(QDate day, QDate today) {
    const qint64 days = today.daysTo(day);
    if (days <= 0)
        return QStringLiteral("今日");
    if (days == 1)
        return QStringLiteral("明日");
    if (day.year() == today.year())
        return QStringLiteral("%1月%2日").arg(day.month()).arg(day.day());
    return QStringLiteral("%1年%2月%3日").arg(day.year()).arg(day.month()).arg(day.day());
}

QStringList nextReviewTexts(const QList<memory::WordOutlook>& words, QDate today) {
    QStringList texts;
    texts.reserve(words.size());
    for (const memory::WordOutlook& word : words)
        texts << (word.inReview ? QStringLiteral("復習：") + dueDayText(word.due.date(), today)
                                : QString());
    return texts;
}

QString nextDueText(const memory::DueWords& due, QDate today) {
    if (!due.nextDay.isValid()) // only drills bring words here
        return QStringLiteral("次に復習する単語はまだありません。");
    return QStringLiteral("次は%1 %2語です。")
        .arg(dueDayText(due.nextDay, today))
        .arg(due.nextDayCount);
}

QString tooFewDueWordsText(const memory::DueWords& due, QDate today) {
    return views::kDueWordsEntry + QStringLiteral("は%1語です。").arg(due.dueNow) +
           nextDueText(due, today) + QStringLiteral("\r\n") + views::kDueWordsEntry +
           QStringLiteral("には%1語以上が必要です。").arg(drill::kFewestWords);
}

} // namespace session
