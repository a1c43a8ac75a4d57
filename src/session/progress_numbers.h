#pragma once

#include "study_history.h"

#include "book/record_file.h"

#include <QDate>
#include <QList>
#include <QString>

namespace session {

// What the progress view shows for one book and one mode.
struct ClassProgress {
    QString name;
    int memorised = 0; // of the class's 50 words
};
struct TotalPoint {
    QDateTime start; // the drill's start
    int total = 0;   // the book's memorised total after it
};
struct DayStudy {
    QDate day;
    int seconds = 0;
};
struct ProgressNumbers {
    QString bookTitle;
    book::Mode mode = book::Reading;
    QList<ClassProgress> classes;
    QList<TotalPoint> totals; // one per drill, in the order they were played
    QList<DayStudy> days;     // the last kStudyDays days, oldest first, today last
    int studySeconds = 0;     // the book's study time in the mode
    int weakWords = 0;        // the mode's weak words, which a review drills
};

inline constexpr int kStudyDays = 30;

// The memorised words of class `classIndex` in the mode.
int memorisedInClass(const book::RecordFile& file, int classIndex, book::Mode mode);
// The memorised words among the records in the mode.
int memorisedAmong(const book::RecordFile& file, const QList<int>& records, book::Mode mode);
// The memorised words of each class of the book, in class order.
QList<ClassProgress> memorisedPerClass(const book::RecordFile& file, int eofRecord,
                                       book::Mode mode);

// The book's memorised total after each drill of the book in the mode.
QList<TotalPoint> memorisedTotalOverTime(const QList<HistoryRow>& rows, const QString& bookTitle,
                                         book::Mode mode);

// The time spent on drills of the book in the mode on each of the `days` days up to
// `today`; a drill counts on the day it started.
QList<DayStudy> studyTimePerDay(const QList<HistoryRow>& rows, const QString& bookTitle,
                                book::Mode mode, QDate today, int days = kStudyDays);

// A duration as people read it: "0分", "45秒", "12分", "1時間5分", "2時間".
QString readableDuration(int seconds);

} // namespace session
