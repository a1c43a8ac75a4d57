// The study history a session keeps in history.tsv, and the progress view's numbers
// built from the book and that history.
#include "drill_test_access.h"
#include "session/book_session.h"
#include "session_rig.h"
#include "test_book.h"
#include "test_doubles.h"

#include "book/learning.h"
#include "book/record_map.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(book::Mode)

namespace {

class FixedCalendar : public folder::Calendar {
public:
    QDateTime now{QDate(2026, 12, 7), QTime(9, 30)};
    QDateTime localNow() const override { return now; }
};

const QByteArray kHeader = "start\tbook\tclass\tmode\tseconds\tright\tmisses\tclass_memorised\t"
                           "book_memorised\n";

} // namespace

class TestStudyHistory : public QObject, private testsupport::SessionRig {
    Q_OBJECT

    FixedCalendar fixedCalendar;
    std::unique_ptr<session::BookSession> session;
    int eof = 0;

    QString path(const QString& name) const { return dir->filePath(name); }
    const drill::DrillState& s() { return session->engine()->state(); }
    drill::DrillEngine& engine() { return *session->engine(); }

    // Drop 0 alone in the field, picked (reading, writing) or announced (listening),
    // then answered.
    void answerDrop0(const QString& answer) {
        for (int i = 0; i < drill::kDropCount; ++i)
            drill::DrillTestAccess(engine()).state().drops[i].top = i == 0 ? -150 : -100000;
        if (s().mode == book::Listening) {
            engine().announceNextWord();
        } else {
            engine().selectEntry(s().drops[0].caption);
        }
        engine().selectEntry(answer == u"right"_s ? s().drops[0].answer : answer);
    }

    // A drill of `seconds` in class 1: one right answer and one "？", or none.
    void playDrill(book::Mode mode, double seconds, bool answer = true) {
        clock.now = 36000;
        QCOMPARE(session->startDrill(session::ClassChoice::ofClass(1), mode),
                 drill::StartResult::Started);
        if (answer) {
            answerDrop0(u"right"_s);
            answerDrop0(u"？"_s);
        }
        clock.now += seconds;
        session->endDrill();
        QVERIFY(!s().running);
    }

private Q_SLOTS:
    void init() {
        initRig();
        eof = testsupport::writeBook(path(u"Word.dat"_s), 2);
        fixedCalendar = FixedCalendar{};
        calendar = &fixedCalendar;
        session = openSession();
    }

    void cleanup() { session.reset(); }

    void rowAfterEveryDrill_data() {
        QTest::addColumn<book::Mode>("mode");
        QTest::addColumn<QByteArray>("modeName");
        QTest::newRow("reading") << book::Reading << QByteArray("reading");
        QTest::newRow("writing") << book::Writing << QByteArray("writing");
        QTest::newRow("listening") << book::Listening << QByteArray("listening");
    }

    void rowAfterEveryDrill() {
        QFETCH(book::Mode, mode);
        QFETCH(QByteArray, modeName);
        // The book's total is its own record, kept apart from the class's words.
        const int totalRecord = book::trailerRecord(eof, book::Trailer::MemorisedTotal);
        book::WordRecord total = testsupport::readRecord(path(u"Word.dat"_s), totalRecord);
        total.modeCount[mode] = 10;
        testsupport::writeRecord(path(u"Word.dat"_s), totalRecord, total);
        session->load();

        playDrill(mode, 95.5);
        fixedCalendar.now = fixedCalendar.now.addSecs(600);
        playDrill(mode, 20.4, false);

        QCOMPARE(failures.size(), 0);
        const QByteArray rows = "2026-12-07T09:30:00\tテスト\tクラス１\t" + modeName +
                                "\t96\t1\t1\t1\t11\n"
                                "2026-12-07T09:40:00\tテスト\tクラス１\t" +
                                modeName + "\t20\t0\t0\t1\t11\n";
        QCOMPARE(testsupport::fileBytes(path(u"history.tsv"_s)), kHeader + rows);
    }

    void unreadableRowsAreSkipped_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("too few fields") << QByteArray("2026-12-07T09:30:00\tテスト\tK\twriting\t5");
        QTest::newRow("no date") << QByteArray("yesterday\tテスト\tK\twriting\t5\t1\t0\t1\t1");
        QTest::newRow("unknown mode")
            << QByteArray("2026-12-07T09:30:00\tテスト\tK\tspeaking\t5\t1\t0\t1\t1");
        QTest::newRow("negative seconds")
            << QByteArray("2026-12-07T09:30:00\tテスト\tK\twriting\t-5\t1\t0\t1\t1");
        QTest::newRow("not a number")
            << QByteArray("2026-12-07T09:30:00\tテスト\tK\twriting\t5\tone\t0\t1\t1");
        QTest::newRow("more than a class")
            << QByteArray("2026-12-07T09:30:00\tテスト\tK\twriting\t5\t1\t0\t51\t1");
        // Values no drill can produce.
        QTest::newRow("longer than a day")
            << QByteArray("2026-12-07T09:30:00\tテスト\tK\twriting\t86401\t1\t0\t1\t1");
        QTest::newRow("largest seconds")
            << QByteArray("2026-12-07T09:30:00\tテスト\tK\twriting\t2147483647\t1\t0\t1\t1");
        QTest::newRow("more than the book's words")
            << QByteArray("2026-12-07T09:30:00\tテスト\tK\twriting\t5\t1\t0\t1\t101");
        QTest::newRow("largest total")
            << QByteArray("2026-12-07T09:30:00\tテスト\tK\twriting\t5\t1\t0\t1\t2147483647");
        QTest::newRow("negative total")
            << QByteArray("2026-12-07T09:30:00\tテスト\tK\twriting\t5\t1\t0\t1\t-2147483647");
        QTest::newRow("before 2000")
            << QByteArray("1900-01-01T09:30:00\tテスト\tK\twriting\t5\t1\t0\t1\t1");
        QTest::newRow("tomorrow") << QByteArray(
            "2026-12-08T00:00:00\tテスト\tK\twriting\t5\t1\t0\t1\t1");
        QTest::newRow("far future")
            << QByteArray("2999-12-31T09:30:00\tテスト\tK\twriting\t5\t1\t0\t1\t1");
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe\t\t\t", 6);
        QTest::newRow("empty") << QByteArray();
    }

    void unreadableRowsAreSkipped() {
        QFETCH(QByteArray, line);
        const QByteArray good = "2026-12-06T21:00:00\tテスト\tK\twriting\t60\t3\t2\t4\t9\n";
        QFile file(path(u"history.tsv"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        // The bad line last, unfinished: a row appended next must still be read.
        file.write(kHeader + good + line);
        file.close();

        playDrill(book::Writing, 30);

        const session::ProgressNumbers numbers = session->progress(book::Writing);
        QCOMPARE(numbers.totals.size(), 2);
        QCOMPARE(numbers.totals[0].day, QDate(2026, 12, 6));
        QCOMPARE(numbers.totals[0].time, QTime(21, 0));
        QCOMPARE(numbers.totals[0].total, 9);
        QCOMPARE(numbers.days[28].seconds, 60);
        QCOMPARE(numbers.days[29].seconds, 30);
        const QList<folder::HistoryRow> rows = folder::readHistory(path(u"history.tsv"_s));
        QCOMPARE(rows.last().className, u"クラス１"_s);
        QCOMPARE(rows.last().misses, 1);
    }

    // Rows are charted in the order they were played, whatever order the file has them
    // in, and a day's time adds up however many drills it had.
    void chartsInDateOrderWithoutOverflow() {
        QByteArray rows = kHeader;
        rows += "2026-12-07T08:00:00\tテスト\tK\treading\t60\t1\t0\t1\t30\n"
                "2026-12-05T08:00:00\tテスト\tK\treading\t60\t1\t0\t1\t10\n"
                "2026-12-06T08:00:00\tテスト\tK\treading\t60\t1\t0\t1\t20\n";
        // More whole-day drills than a 32-bit sum holds.
        for (int i = 0; i < 25000; ++i)
            rows += "2026-12-01T08:00:00\tテスト\tK\twriting\t86400\t1\t0\t1\t1\n";
        QFile file(path(u"history.tsv"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(rows);
        file.close();

        QList<int> totals;
        for (const session::TotalPoint& point : session->progress(book::Reading).totals)
            totals << point.total;
        QCOMPARE(totals, (QList<int>{10, 20, 30}));
        const session::ProgressNumbers writing = session->progress(book::Writing);
        QCOMPARE(writing.days[23].day, QDate(2026, 12, 1));
        QCOMPARE(qint64(writing.days[23].seconds), 25000 * qint64(86400));
        QCOMPARE(session::readableDuration(writing.days[23].seconds), u"600000時間"_s);
    }

    // Of a history larger than any, the newest rows are read, from the first whole row.
    void longHistoryIsReadFromItsNewestPart_data() {
        QTest::addColumn<int>("cut"); // bytes before the end where the reading starts
        QTest::addColumn<int>("rows");
        const int row =
            int(QByteArray("2026-12-0dT09:30:00\tT\tK\treading\t60\t1\t0\t1\t1\n").size());
        QTest::newRow("at a row's start") << 2 * row << 2;
        QTest::newRow("a byte after it") << 2 * row - 1 << 1;
        QTest::newRow("a byte before it") << 2 * row + 1 << 2;
        QTest::newRow("the whole file") << 100 * row << 3;
    }

    void longHistoryIsReadFromItsNewestPart() {
        QFETCH(int, cut);
        QFETCH(int, rows);
        QFile file(path(u"history.tsv"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (char day : {'1', '2', '3'})
            file.write("2026-12-0" + QByteArray(1, day) +
                       "T09:30:00\tT\tK\treading\t60\t1\t0\t1\t1\n");
        file.close();
        QList<QDate> read;
        folder::scanHistory(
            file.fileName(), [&read](const folder::HistoryEntry& entry) { read << entry.day; },
            cut);
        QCOMPARE(read.size(), rows);
        QCOMPARE(read.last(), QDate(2026, 12, 3));
    }

    void writeFailureIsReportedOnce() {
        // A folder where the history should be: every append fails.
        QVERIFY(QDir(dir->path()).mkdir(u"history.tsv"_s));
        playDrill(book::Reading, 10);
        playDrill(book::Reading, 10);
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures[0].title, u"FILE WRITE ERROR"_s);
        QVERIFY(failures[0].text.contains(u"history.tsv"_s));
        // The drill itself ended and was booked as usual.
        QCOMPARE(testsupport::readRecord(path(u"Word.dat"_s),
                                         book::trailerRecord(eof, book::Trailer::Speed))
                     .modeCount[book::Reading],
                 2);
        QVERIFY(testsupport::fileBytes(path(u"result.txt"_s)).contains("-- "));

        // Once it could be written again, the next failure is told again.
        QVERIFY(QDir(dir->path()).rmdir(u"history.tsv"_s));
        playDrill(book::Reading, 10);
        QCOMPARE(folder::readHistory(path(u"history.tsv"_s)).size(), 1);
        QVERIFY(QFile::remove(path(u"history.tsv"_s)));
        QVERIFY(QDir(dir->path()).mkdir(u"history.tsv"_s));
        playDrill(book::Reading, 10);
        QCOMPARE(failures.size(), 2);
    }

    void progressNumbersFromBookAndHistory() {
        auto memorise = [this](int record, book::Mode mode) {
            book::WordRecord word = testsupport::readRecord(path(u"Word.dat"_s), record);
            word.modeCount[mode] = book::kMemorisedMark;
            testsupport::writeRecord(path(u"Word.dat"_s), record, word);
        };
        for (int i = 0; i < 3; ++i)
            memorise(book::firstWordRecord(0) + i, book::Writing);
        for (int i = 0; i < 50; ++i)
            memorise(book::firstWordRecord(1) + i, book::Writing);
        memorise(book::firstWordRecord(0), book::Reading);
        book::WordRecord study = testsupport::readRecord(
            path(u"Word.dat"_s), book::trailerRecord(eof, book::Trailer::StudyTime));
        study.modeCount[book::Writing] = 5400;
        testsupport::writeRecord(path(u"Word.dat"_s),
                                 book::trailerRecord(eof, book::Trailer::StudyTime), study);

        QFile file(path(u"history.tsv"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kHeader +
                   // 30 days before today: outside the last 30 days, still a point.
                   "2026-11-07T23:59:00\tテスト\tクラス０\twriting\t600\t5\t0\t5\t5\n"
                   "2026-11-08T00:01:00\tテスト\tクラス０\twriting\t120\t5\t0\t5\t8\n"
                   "2026-12-06T23:58:00\tテスト\tクラス１\twriting\t300\t5\t1\t50\t50\n"
                   "2026-12-07T08:00:00\tほかの本\tクラス１\twriting\t999\t5\t1\t50\t99\n"
                   "2026-12-07T08:10:00\tテスト\tクラス１\treading\t999\t5\t1\t1\t1\n"
                   "2026-12-07T09:00:00\tテスト\tクラス０\twriting\t90\t1\t4\t3\t53\n");
        file.close();
        session->load();

        const session::ProgressNumbers numbers = session->progress(book::Writing);
        QCOMPARE(numbers.classes.size(), 2);
        QCOMPARE(numbers.classes[0].name, u"クラス０"_s);
        QCOMPARE(numbers.classes[0].memorised, 3);
        QCOMPARE(numbers.classes[1].memorised, 50);

        QList<int> totals;
        for (const session::TotalPoint& point : numbers.totals)
            totals << point.total;
        QCOMPARE(totals, (QList<int>{5, 8, 50, 53}));

        QCOMPARE(numbers.days.size(), 30);
        QCOMPARE(numbers.days.first().day, QDate(2026, 11, 8));
        QCOMPARE(numbers.days.first().seconds, 120);
        QCOMPARE(numbers.days[28].seconds, 300); // counted on the day it started
        QCOMPARE(numbers.days.last().day, QDate(2026, 12, 7));
        QCOMPARE(numbers.days.last().seconds, 90);
        QCOMPARE(numbers.studySeconds, 5400);
        QCOMPARE(session->progress(book::Reading).classes[0].memorised, 1);
    }

    void readableDuration_data() {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << 0 << u"0分"_s;
        QTest::newRow("under a minute") << 59 << u"59秒"_s;
        QTest::newRow("minutes, rounded") << 89 << u"1分"_s;
        QTest::newRow("half a minute up") << 90 << u"2分"_s;
        QTest::newRow("just under an hour") << 3599 << u"1時間"_s;
        QTest::newRow("hours and minutes") << 5400 << u"1時間30分"_s;
        QTest::newRow("grade table's largest") << 32767 << u"9時間6分"_s;
    }

    void readableDuration() {
        QFETCH(int, seconds);
        QFETCH(QString, text);
        QCOMPARE(session::readableDuration(seconds), text);
    }
};

QTEST_GUILESS_MAIN(TestStudyHistory)
#include "tst_study_history.moc"
