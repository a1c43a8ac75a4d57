// The session's answer log: every answer of a drill goes in with its outcome and time, the
// due words come out as 「今日の復習」, and Open, a reset and a restore decide which memory
// the book in use has.
#include "drill_test_access.h"
#include "session/book_session.h"
#include "session_rig.h"
#include "test_book.h"

#include "book/text_file.h"

#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

class FixedCalendar : public session::Calendar {
public:
    QDateTime now{QDate(2026, 12, 1), QTime(19, 0), QTimeZone(9 * 3600)};
    QDateTime localNow() const override { return now; }
};

} // namespace

class TestStudyMemory : public QObject, private testsupport::SessionRig {
    Q_OBJECT

    FixedCalendar days;
    std::unique_ptr<session::BookSession> session;

    drill::DrillEngine& engine() { return *session->engine(); }
    const drill::DrillState& s() { return session->engine()->state(); }

    // Drop `drop` alone in the field, pickable from the tick at 36000 s, answered `seconds`
    // later with `text` (its own answer when empty).
    int answer(int drop, double seconds, const QString& text = QString()) {
        for (int i = 0; i < drill::kDropCount; ++i)
            drill::DrillTestAccess(engine()).state().drops[i].top = i == drop ? -210 : -100000;
        clock.now = 36000;
        engine().tick();
        clock.now += seconds;
        const int record = s().drops[drop].word.recordNo;
        engine().selectEntry(s().drops[drop].caption);
        engine().selectEntry(text.isEmpty() ? s().drops[drop].answer : text);
        return record;
    }

private Q_SLOTS:
    void init() {
        initRig();
        calendar = &days;
        testsupport::writeBook(bookPath(), 2);
        session = openSession();
    }
    void cleanup() { session.reset(); }

    void everyAnswerIsLogged() {
        QCOMPARE(session->startDrill(session::ClassChoice::ofClass(0), book::Writing),
                 drill::StartResult::Started);
        const int quick = answer(0, 4);
        const int slow = answer(1, 12.5);
        const int unknown = answer(2, 3, u"？"_s);
        const int wrong = answer(3, 6, s().drops[4].answer);
        const int fell = s().drops[4].word.recordNo;
        drill::DrillTestAccess(engine()).fallOut(4);
        // A missed drop that falls out later was told as missed already.
        drill::DrillTestAccess(engine()).fallOut(3);
        session->endDrill();

        const QList<memory::Answer> log = session->studyLog().answers();
        QCOMPARE(log.size(), 5);
        const QList<std::tuple<int, memory::Outcome, double>> expected{
            {quick, memory::Outcome::Right, 4},
            {slow, memory::Outcome::Right, 12.5},
            {unknown, memory::Outcome::Unknown, 3},
            {wrong, memory::Outcome::Missed, 6},
            {fell, memory::Outcome::FellOut, 0}};
        for (int i = 0; i < 5; ++i) {
            const auto [record, outcome, seconds] = expected[i];
            QCOMPARE(log[i].word.record, record);
            QCOMPARE(log[i].outcome, outcome);
            if (outcome != memory::Outcome::FellOut)
                QCOMPARE(log[i].seconds, seconds);
            QCOMPARE(log[i].mode, int(book::Writing));
            QCOMPARE(log[i].utcMs, days.now.toMSecsSinceEpoch());
            const book::WordRecord word = testsupport::readRecord(bookPath(), record).trimmed();
            QCOMPARE(log[i].word.english, word.english);
            QCOMPARE(log[i].word.japanese, word.japanese);
        }
        QCOMPARE(failures.size(), 0);
    }

    // ☆ words memorised before the log are due; the review plays and is booked like the
    // review of weak words, under its own name.
    void dueWordsReview() {
        for (int r = 10; r < 16; ++r) {
            book::WordRecord word = testsupport::readRecord(bookPath(), r);
            word.modeCount[book::Reading] = book::kMemorisedMark;
            testsupport::writeRecord(bookPath(), r, word);
        }
        session->load();
        QCOMPARE(session->dueWords(book::Reading).records(), (QList<int>{10, 11, 12, 13, 14, 15}));
        QCOMPARE(session->dueWords(book::Writing).dueNow, 0);
        QCOMPARE(session->startDrill(session::ClassChoice::dueWords(), book::Reading),
                 drill::StartResult::Started);
        QVERIFY(s().review);
        QCOMPARE(s().words, (QList<int>{10, 11, 12, 13, 14, 15}));
        answer(0, 2);
        session->endDrill();
        QCOMPARE(book::readCp932File(dir->filePath(u"result.txt"_s)).split(u"\r\n"_s).value(0),
                 u" 単語クラス：今日の復習を選択しました。"_s);
        const QList<session::HistoryRow> rows =
            session::readHistory(dir->filePath(u"history.tsv"_s));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].className, views::kDueWordsEntry);
        // The word answered is known now, and not due again for days.
        QCOMPARE(session->dueWords(book::Reading).dueNow, 5);
        QCOMPARE(session->dueForecast(book::Reading).value(3), 1);
    }

    // A reset forgets the book's memory, restoring the copy taken before it brings it
    // back, and Open of another book starts without any.
    void resetRestoreAndOpen() {
        QCOMPARE(session->startDrill(session::ClassChoice::ofClass(1), book::Reading),
                 drill::StartResult::Started);
        answer(0, 2);
        session->endDrill();
        QCOMPARE(session->studyLog().states().size(), 1);

        QVERIFY(session->resetLearningData());
        session->load();
        QCOMPARE(session->studyLog().states().size(), 0);

        QVERIFY(session->restoreBackup(session->backups().first().path));
        session->load();
        QCOMPARE(session->studyLog().states().size(), 1);

        const QString other = dir->filePath(u"other.dat"_s);
        testsupport::writeBook(other, 3);
        QVERIFY(session->replaceBook(other));
        session->load();
        QCOMPARE(session->studyLog().states().size(), 0);
        QCOMPARE(failures.size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestStudyMemory)
#include "tst_study_memory.moc"
