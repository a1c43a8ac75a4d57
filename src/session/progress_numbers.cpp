#include "progress_numbers.h"

#include "book/book.h"
#include "book/learning.h"
#include "drill/word_stock.h"

#include <QFileInfo>

#include <algorithm>
#include <tuple>

namespace session {

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

void BookHistory::update(const QString& path, const QString& bookTitle, int bookWords,
                         QDate today) {
    const QFileInfo file(path);
    Source source{
        path, bookTitle, bookWords, today, file.exists() ? file.size() : -1, file.lastModified()};
    if (source == source_)
        return;
    source_ = std::move(source);
    count(bookTitle, bookWords, today,
          [&path](const auto& take) { folder::scanHistory(path, take); });
}

void BookHistory::read(QByteArrayView history, const QString& bookTitle, int bookWords,
                       QDate today) {
    source_ = {.bookTitle = bookTitle, .bookWords = bookWords, .today = today};
    count(bookTitle, bookWords, today,
          [history](const auto& take) { folder::forEachHistoryEntry(history, take); });
}

void BookHistory::count(
    const QString& bookTitle, int bookWords, QDate today,
    const std::function<void(const std::function<void(const folder::HistoryEntry&)>&)>& scan) {
    for (int mode = 0; mode < book::kModeCount; ++mode) {
        totals_[mode].clear();
        secondsPerDay_[mode].clear();
    }
    // The title as the rows hold it.
    const QByteArray title = folder::historyText(bookTitle).toUtf8();
    scan([&](const folder::HistoryEntry& row) {
        if (row.bookTitle != title || row.day > today || row.bookMemorised > bookWords)
            return;
        totals_[row.mode].append({row.day, row.time, row.bookMemorised});
        secondsPerDay_[row.mode][row.day] += row.seconds;
    });
    // A clock put back, or rows copied in by hand, can leave the file out of order.
    const auto earlier = [](const TotalPoint& a, const TotalPoint& b) {
        return std::tie(a.day, a.time) < std::tie(b.day, b.time);
    };
    for (QList<TotalPoint>& totals : totals_) {
        if (!std::is_sorted(totals.cbegin(), totals.cend(), earlier))
            std::stable_sort(totals.begin(), totals.end(), earlier);
    }
}

QList<DayStudy> BookHistory::studyTimePerDay(book::Mode mode, int days) const {
    QList<DayStudy> perDay;
    const QDate first = source_.today.addDays(1 - days);
    for (int i = 0; i < days; ++i)
        perDay.append({first.addDays(i), secondsPerDay_[mode].value(first.addDays(i))});
    return perDay;
}

QString readableDuration(qint64 seconds) {
    // A day without study reads as minutes, like the days around it.
    if (seconds <= 0)
        return QStringLiteral("0分");
    if (seconds < 60)
        return QStringLiteral("%1秒").arg(seconds);
    const qint64 minutes = (seconds + 30) / 60;
    if (minutes < 60)
        return QStringLiteral("%1分").arg(minutes);
    if (minutes % 60 == 0)
        return QStringLiteral("%1時間").arg(minutes / 60);
    return QStringLiteral("%1時間%2分").arg(minutes / 60).arg(minutes % 60);
}

} // namespace session
