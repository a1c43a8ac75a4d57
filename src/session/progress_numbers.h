#pragma once

#include "folder/study_history.h"

#include "book/record_file.h"
#include "memory/due_words.h"

#include <QDate>
#include <QList>
#include <QMap>
#include <QString>

#include <array>

namespace session {

// What the progress view shows for one book and one mode.
struct ClassProgress {
    QString name;
    int memorised = 0; // of the class's 50 words
    bool operator==(const ClassProgress&) const = default;
};
struct TotalPoint {
    QDate day;     // the drill's start, local date
    QTime time;    // and time
    int total = 0; // the book's memorised total after it
    bool operator==(const TotalPoint&) const = default;
};
struct DayStudy {
    QDate day;
    qint64 seconds = 0; // of any number of drills
    bool operator==(const DayStudy&) const = default;
};
struct ProgressNumbers {
    QString bookTitle;
    book::Mode mode = book::Reading;
    QList<ClassProgress> classes;
    QList<TotalPoint> totals; // one per drill, in the order they were played
    QList<DayStudy> days;     // the last kStudyDays days, oldest first, today last
    int studySeconds = 0;     // the book's study time in the mode
    int weakWords = 0;        // the mode's weak words, which a review drills
    QDate today;
    double targetRetention = 0;
    int dueNow = 0;         // the words below the target retention now
    QList<int> dueForecast; // words falling due on each of the next 30 days, today first
    // The estimated retention of the learned words at the end of each day, today last.
    QList<memory::RetentionPoint> retention;
    // Cheap while nothing changed: the totals of one reading of the history are shared.
    bool operator==(const ProgressNumbers&) const = default;
};

inline constexpr int kStudyDays = 30;

// The memorised words of class `classIndex` in the mode.
int memorisedInClass(const book::RecordFile& file, int classIndex, book::Mode mode);
// The memorised words among the records in the mode.
int memorisedAmong(const book::RecordFile& file, const QList<int>& records, book::Mode mode);
// The memorised words of each class of the book, in class order.
QList<ClassProgress> memorisedPerClass(const book::RecordFile& file, int eofRecord,
                                       book::Mode mode);

// What the progress view charts of history.tsv for one book, per drill mode: the book's
// memorised total after each drill, in the order they were played, and the study time of
// each day. The file is read once per change of the file, the book or the day, however
// often the numbers are asked for.
class BookHistory {
public:
    // Reads the file again when it, the book (its title, its number of words) or `today`
    // changed since the last call. Rows of other books are left out, and so are rows a
    // drill of this book cannot have written: dated after today, or with more memorised
    // words than the book has.
    void update(const QString& path, const QString& bookTitle, int bookWords, QDate today);
    // The same from the history's bytes, read always.
    void read(QByteArrayView history, const QString& bookTitle, int bookWords, QDate today);
    const QList<TotalPoint>& totals(book::Mode mode) const { return totals_[mode]; }
    // The time spent on drills in the mode on each of the `days` days up to today; a drill
    // counts on the day it started.
    QList<DayStudy> studyTimePerDay(book::Mode mode, int days = kStudyDays) const;

private:
    // Counts the rows that `scan` hands over, for the book on the day.
    void
    count(const QString& bookTitle, int bookWords, QDate today,
          const std::function<void(const std::function<void(const folder::HistoryEntry&)>&)>& scan);

    // What the numbers were read from.
    struct Source {
        QString path{};
        QString bookTitle{};
        int bookWords = 0;
        QDate today{};
        qint64 size = -1;
        QDateTime modified{};
        bool operator==(const Source&) const = default;
    };
    Source source_;
    std::array<QList<TotalPoint>, book::kModeCount> totals_;
    std::array<QMap<QDate, qint64>, book::kModeCount> secondsPerDay_;
};

// A duration as people read it: "0分", "45秒", "12分", "1時間5分", "2時間".
QString readableDuration(qint64 seconds);

} // namespace session
