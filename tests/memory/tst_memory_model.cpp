#include "memory/due_words.h"
#include "memory/memory_states.h"

#include <QTest>
#include <QTimeZone>

#include <cmath>
#include <numeric>

using namespace memory;
using namespace Qt::StringLiterals;

namespace {

constexpr qint64 kDayMs = 86400000;
// 2026-12-01 10:00 in Tokyo.
const QDateTime kStart(QDate(2026, 12, 1), QTime(10, 0), QTimeZone(9 * 3600));

// A compact answer sequence: "g0 h5 a25" = Good on day 0, Hard on day 5, Again on day 25
// (days since the first answer; fractions allowed). Good is a right answer in 3 s, Hard one
// in 15 s, Again a miss.
QList<Answer> sequence(const QString& text, const WordKey& word = {2, u"apple"_s, u"りんご"_s}) {
    QList<Answer> answers;
    for (const QString& step : text.split(u' ', Qt::SkipEmptyParts)) {
        const double day = step.mid(1).toDouble();
        const char kind = step.at(0).toLatin1();
        answers.append({kStart.toMSecsSinceEpoch() + std::llround(day * kDayMs), word, 0,
                        kind == 'a' ? Outcome::Missed : Outcome::Right, kind == 'h' ? 15.0 : 3.0});
    }
    return answers;
}

StudyWord word(int record, bool memorised = false) {
    return {{record, u"w%1"_s.arg(record), u"語%1"_s.arg(record)}, (record - 2) / 51, memorised};
}

} // namespace

class TestMemoryModel : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Stability and difficulty after a few answer sequences, against values worked out by
    // hand from the published FSRS-5 formulas and default parameters.
    void stateAfterAnswers_data() {
        QTest::addColumn<QString>("answers");
        QTest::addColumn<double>("stability");
        QTest::addColumn<double>("difficulty");
        QTest::newRow("first Good") << u"g0"_s << 3.173 << 5.282434422319005;
        QTest::newRow("first Again") << u"a0"_s << 0.40255 << 7.1949;
        QTest::newRow("Good, Good 3 days later")
            << u"g0 g3"_s << 10.73892584613159 << 5.272967931287446;
        QTest::newRow("Good, Hard after 5 days, Again after 20 more")
            << u"g0 h5 a25"_s << 2.1850206222481496 << 7.302893764397073;
        // The second answer comes 10 minutes later: the same-day formula.
        QTest::newRow("Again, Good the same day, Good 2 days later")
            << u"a0 g0.006944444444444444 g2.006944444444444"_s << 3.872130062964532
            << 7.158456348252584;
    }
    void stateAfterAnswers() {
        QFETCH(QString, answers);
        QFETCH(double, stability);
        QFETCH(double, difficulty);
        MemoryStates states;
        const QList<Answer> all = sequence(answers);
        for (const Answer& answer : all)
            states.apply(answer);
        const WordMemory* memory = states.find(all.first().word, 0);
        QVERIFY(memory);
        QVERIFY2(qAbs(memory->state.stability - stability) < 1e-9 * stability,
                 qPrintable(QString::number(memory->state.stability, 'g', 17)));
        QVERIFY2(qAbs(memory->state.difficulty - difficulty) < 1e-9,
                 qPrintable(QString::number(memory->state.difficulty, 'g', 17)));
        QCOMPARE(memory->answers, all.size());
    }

    void forgettingCurve() {
        QCOMPARE(MemoryModel::recall(3.173, 3.173), 0.9);
        QVERIFY(qAbs(MemoryModel::recall(10, 3.173) - 0.7582588166545682) < 1e-12);
        QVERIFY(qAbs(MemoryModel::daysUntil(0.8, 3.173) - 7.6089375) < 1e-9);
    }

    void outcomeToRating_data() {
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<Rating>("rating");
        QTest::newRow("right at once") << Outcome::Right << 0.5 << Rating::Good;
        QTest::newRow("right at 10 s") << Outcome::Right << 10.0 << Rating::Good;
        QTest::newRow("right later") << Outcome::Right << 10.1 << Rating::Hard;
        QTest::newRow("missed") << Outcome::Missed << 2.0 << Rating::Again;
        QTest::newRow("？") << Outcome::Unknown << 2.0 << Rating::Again;
        QTest::newRow("fell out") << Outcome::FellOut << 32.0 << Rating::Again;
    }
    void outcomeToRating() {
        QFETCH(Outcome, outcome);
        QFETCH(double, seconds);
        QFETCH(Rating, rating);
        QCOMPARE(ratingFor(outcome, seconds), rating);
    }

    // Which words a review takes and in what order; what it says of the next ones.
    void dueSelection_data() {
        QTest::addColumn<QList<StudyWord>>("words");
        // Per record: "g0" style answers, each relative to kStart.
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<double>("daysLater");
        QTest::addColumn<QList<int>>("review");
        QTest::addColumn<int>("dueNow");
        QTest::addColumn<QDate>("nextDay");
        QTest::addColumn<int>("nextDayCount");

        const QList<StudyWord> four{word(2, true), word(3), word(4, true), word(5)};
        QTest::newRow("☆ without answers are due; new words are not")
            << four << QStringList{u""_s, u""_s, u""_s, u""_s} << 0.0 << QList<int>{2, 4} << 2
            << QDate() << 0;
        // Good on day 0: recall stays above 90 % until day 3.173 (Dec 4, 14:09 in Tokyo).
        QTest::newRow("nothing due yet, next in three days")
            << four << QStringList{u"g0"_s, u"g0"_s, u"g0"_s, u""_s} << 1.0 << QList<int>{} << 0
            << QDate(2026, 12, 4) << 3;
        QTest::newRow("lowest recall first, ties in book order, ☆ without answers last")
            << QList<StudyWord>{word(2), word(3), word(4), word(5, true), word(6)}
            << QStringList{u"g0"_s, u"a0 a2"_s, u"g0"_s, u""_s, u"g0 g3"_s} << 5.0
            << QList<int>{3, 2, 4, 5} << 4 << QDate(2026, 12, 15) << 1;
    }
    void dueSelection() {
        QFETCH(QList<StudyWord>, words);
        QFETCH(QStringList, answers);
        QFETCH(double, daysLater);
        QFETCH(QList<int>, review);
        QFETCH(int, dueNow);
        QFETCH(QDate, nextDay);
        QFETCH(int, nextDayCount);
        MemoryStates states;
        for (int i = 0; i < words.size(); ++i) {
            for (const Answer& answer : sequence(answers.value(i), words[i].word))
                states.apply(answer);
        }
        const QDateTime now = kStart.addMSecs(qint64(daysLater * kDayMs));
        const DueWords due = selectDueWords(outlook(words, states, 0, now, 0.9), 0.9);
        QCOMPARE(due.records(), review);
        QCOMPARE(due.dueNow, dueNow);
        QCOMPARE(due.nextDay, nextDay);
        QCOMPARE(due.nextDayCount, nextDayCount);
    }

    void reviewTakesFiftyAndForecastCountsDays() {
        QList<StudyWord> words;
        MemoryStates states;
        for (int r = 2; r < 2 + 60; ++r)
            words.append(word(r, true));
        // Ten more learned words, answered right on day 0: due on day 3.
        for (int r = 100; r < 110; ++r) {
            words.append(word(r));
            for (const Answer& answer : sequence(u"g0"_s, words.last().word))
                states.apply(answer);
        }
        const QList<WordOutlook> look = outlook(words, states, 0, kStart, 0.9);
        const DueWords due = selectDueWords(look, 0.9);
        QCOMPARE(due.words.size(), 50);
        QCOMPARE(due.dueNow, 60);
        QCOMPARE(due.words.first().record, 2);
        QCOMPARE(due.words.last().record, 51);
        const QList<int> forecast = dueForecast(look, kStart);
        QCOMPARE(forecast.size(), 30);
        QCOMPARE(forecast[0], 60);
        QCOMPARE(forecast[3], 10);
        QCOMPARE(std::accumulate(forecast.begin(), forecast.end(), 0), 70);
    }

    void retentionOverTime() {
        // One word right on day 0 and again on day 3; a second one only missed.
        QList<Answer> answers = sequence(u"g0 g3"_s);
        answers.insert(1, sequence(u"a0"_s, {3, u"pear"_s, u"なし"_s}).first());
        const QList<RetentionPoint> points =
            retentionHistory(answers, 0, kStart.addMSecs(qint64(4.5 * kDayMs)));
        QCOMPARE(points.size(), 5);
        QCOMPARE(points.first().day, QDate(2026, 12, 1));
        QCOMPARE(points.last().day, QDate(2026, 12, 5));
        for (const RetentionPoint& point : points)
            QCOMPARE(point.learned, 1);
        // End of Dec 1 (14 hours after the answer, stability 3.173).
        QVERIFY(qAbs(points[0].retention - MemoryModel::recall(14.0 / 24, 3.173)) < 1e-9);
        // Now: 1.5 days after the second answer (stability 10.7389).
        QVERIFY(qAbs(points[4].retention - MemoryModel::recall(1.5, 10.73892584613159)) < 1e-9);
    }
};

QTEST_GUILESS_MAIN(TestMemoryModel)
#include "tst_memory_model.moc"
