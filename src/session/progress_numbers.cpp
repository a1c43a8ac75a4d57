#include "progress_numbers.h"

#include "book/book.h"
#include "book/learning.h"
#include "drill/word_stock.h"

namespace session {

namespace {

bool belongs(const HistoryRow& row, const QString& bookTitle, book::Mode mode) {
    return row.mode == mode && row.bookTitle == bookTitle;
}

} // namespace

int memorisedInClass(const book::RecordFile& file, int classIndex, book::Mode mode) {
    return memorisedAmong(file, drill::classWordRecords(book::firstWordRecord(classIndex)), mode);
}

int memorisedAmong(const book::RecordFile& file, const QList<int>& records, book::Mode mode) {
    int memorised = 0;
    for (const int r : records)
        memorised += book::isMemorised(file.readCounters(r)[mode]);
    return memorised;
}

QList<ClassProgress> memorisedPerClass(const book::RecordFile& file, int eofRecord,
                                       book::Mode mode) {
    QList<ClassProgress> classes;
    if (eofRecord <= 0)
        return classes;
    const QStringList names = book::listClasses(file, eofRecord);
    for (int k = 0; k < names.size(); ++k)
        classes.append({names[k], memorisedInClass(file, k, mode)});
    return classes;
}

QList<TotalPoint> memorisedTotalOverTime(const QList<HistoryRow>& rows, const QString& bookTitle,
                                         book::Mode mode) {
    QList<TotalPoint> points;
    for (const HistoryRow& row : rows) {
        if (belongs(row, bookTitle, mode))
            points.append({row.start, row.bookMemorised});
    }
    return points;
}

QList<DayStudy> studyTimePerDay(const QList<HistoryRow>& rows, const QString& bookTitle,
                                book::Mode mode, QDate today, int days) {
    QList<DayStudy> perDay;
    const QDate first = today.addDays(1 - days);
    for (int i = 0; i < days; ++i)
        perDay.append({first.addDays(i), 0});
    for (const HistoryRow& row : rows) {
        const qint64 index = first.daysTo(row.start.date());
        if (belongs(row, bookTitle, mode) && index >= 0 && index < days)
            perDay[index].seconds += row.seconds;
    }
    return perDay;
}

QString readableDuration(int seconds) {
    // A day without study reads as minutes, like the days around it.
    if (seconds <= 0)
        return QStringLiteral("0分");
    if (seconds < 60)
        return QStringLiteral("%1秒").arg(seconds);
    const int minutes = (seconds + 30) / 60;
    if (minutes < 60)
        return QStringLiteral("%1分").arg(minutes);
    if (minutes % 60 == 0)
        return QStringLiteral("%1時間").arg(minutes / 60);
    return QStringLiteral("%1時間%2分").arg(minutes / 60).arg(minutes % 60);
}

} // namespace session
