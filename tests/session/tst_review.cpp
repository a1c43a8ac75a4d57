// The review of weak words: which words it takes and in what order, and that it is booked
// as a class drill is.
#include "drill_test_access.h"
#include "session/book_session.h"
#include "session_rig.h"
#include "test_book.h"

#include "book/text_file.h"

#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(book::Mode)

namespace {

using States = QList<std::pair<int, qint16>>; // record, state in the tested mode

constexpr std::array kModes{book::Reading, book::Writing, book::Listening};

} // namespace

class TestReview : public QObject, private testsupport::SessionRig {
    Q_OBJECT

    std::unique_ptr<session::BookSession> session;
    int eof = 0;

    const drill::DrillState& s() { return session->engine()->state(); }

    void setState(int record, book::Mode mode, qint16 state) {
        book::WordRecord word = testsupport::readRecord(bookPath(), record);
        word.modeCount[mode] = state;
        testsupport::writeRecord(bookPath(), record, word);
    }
    // Words 2, 3, ... of the book missed once, in book order.
    void makeWeak(int count, book::Mode mode) {
        for (int i = 0, r = 2; i < count; ++i, ++r) {
            if (r % book::kRecordsPerClass == 1)
                ++r; // a class header
            setState(r, mode, 1);
        }
        session->load();
    }

    // The drop alone in the field, picked (or announced) and answered.
    void answerDrop(int drop, bool right) {
        drill::DrillEngine& engine = *session->engine();
        for (int i = 0; i < drill::kDropCount; ++i)
            drill::DrillTestAccess(engine).state().drops[i].top = i == drop ? -150 : -100000;
        if (s().mode == book::Listening)
            engine.announceNextWord();
        else
            engine.selectEntry(s().drops[drop].caption);
        engine.selectEntry(right ? s().drops[drop].answer : u"？"_s);
    }
    void answerDrop0(bool right) { answerDrop(0, right); }

    // The same scripted drill: right, miss, right, right, miss (a missed drop shows its
    // answer until it falls out), then the stop command.
    void playScript(session::ClassChoice choice, book::Mode mode) {
        random = testsupport::ScriptedRandom{};
        clock.now = 36000;
        QCOMPARE(session->startDrill(choice, mode), drill::StartResult::Started);
        for (const auto& [drop, right] :
             {std::pair{0, true}, {1, false}, {2, true}, {0, true}, {3, false}})
            answerDrop(drop, right);
        clock.now += 42.6;
        session->endDrill();
    }

    QStringList resultLines() const {
        return book::readCp932File(dir->filePath(u"result.txt"_s)).split(u"\r\n"_s);
    }

private Q_SLOTS:
    void init() {
        initRig();
        eof = testsupport::writeBook(bookPath(), 2);
        session = openSession();
    }

    void cleanup() { session.reset(); }

    void weakWordsInReviewOrder_data() {
        QTest::addColumn<States>("states");
        QTest::addColumn<QList<int>>("expected");
        QTest::addColumn<int>("total");
        QTest::newRow("forgotten before unlearned")
            << States{{2, 9}, {3, -1}, {60, 1}, {61, -2}} << QList<int>{61, 3, 2, 60} << 4;
        QTest::newRow("most misses first")
            << States{{2, 2}, {3, 5}, {4, 3}, {5, -1}, {6, -4}} << QList<int>{6, 5, 3, 4, 2} << 5;
        QTest::newRow("ties in book order")
            << States{{90, 2}, {40, 2}, {53, -3}, {7, -3}} << QList<int>{7, 53, 40, 90} << 4;
        QTest::newRow("memorised and new words are not weak")
            << States{{2, book::kMemorisedMark}, {3, 0}, {4, -32767}, {5, 32767}}
            << QList<int>{4, 5} << 2;
        States many;
        QList<int> firstFifty;
        for (int r = 2; r <= 102; ++r) {
            if (r == 52)
                continue;
            many.append({r, qint16(r < 40 ? 1 : 2)}); // the later words missed more
        }
        for (int r = 40; r <= 102 && firstFifty.size() < 50; ++r)
            if (r != 52)
                firstFifty << r;
        QTest::newRow("at most 50") << many << firstFifty << 100;
    }

    void weakWordsInReviewOrder() {
        QFETCH(States, states);
        QFETCH(QList<int>, expected);
        QFETCH(int, total);
        // Each mode on its own: the other two modes hold weak words the list must not take.
        for (const book::Mode mode : kModes) {
            testsupport::writeBook(bookPath(), 2);
            for (const book::Mode other : kModes) {
                if (other != mode)
                    for (int r = 2; r <= 102; r += 5)
                        setState(r, other, -7);
            }
            for (const auto& [record, state] : states)
                setState(record, mode, state);
            session->load();
            const views::WeakWords weak = session->weakWords(mode);
            QCOMPARE(weak.records(), expected);
            QCOMPARE(weak.total, total);
            QCOMPARE(session->progress(mode).weakWords, total);
        }
    }

    void reviewIsBookedAsAClassDrill_data() {
        QTest::addColumn<book::Mode>("mode");
        QTest::addColumn<qint16>("state");
        for (const book::Mode mode : kModes) {
            QTest::addRow("mode %d, unlearned", mode) << mode << qint16(1);
            QTest::addRow("mode %d, forgotten", mode) << mode << qint16(-2);
        }
    }

    // Every word of class 0 is weak alike, so the review holds the class's words in book
    // order, and the same random numbers give the same drops.
    void reviewIsBookedAsAClassDrill() {
        QFETCH(book::Mode, mode);
        QFETCH(qint16, state);
        for (int r = 2; r <= 51; ++r)
            setState(r, mode, state);
        const QByteArray before = testsupport::fileBytes(bookPath());

        session->load();
        playScript(session::ClassChoice::ofClass(0), mode);
        const QByteArray afterClass = testsupport::fileBytes(bookPath());
        const QStringList classLines = resultLines();

        session.reset();
        QFile file(bookPath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
        file.close();
        session = openSession();
        playScript(session::ClassChoice::weakWords(), mode);
        QVERIFY(s().review);
        QCOMPARE(failures.size(), 0);

        // Only the class's play count differs: a review played no class.
        QCOMPARE(testsupport::slotBytes(bookPath(), 1), before.mid(0, 128));
        QVERIFY(afterClass.mid(0, 128) != before.mid(0, 128));
        QCOMPARE(testsupport::fileBytes(bookPath()).mid(128), afterClass.mid(128));
        QVERIFY(afterClass.mid(128) != before.mid(128));
        const QStringList reviewLines = resultLines();
        QCOMPARE(reviewLines.value(0), u" 単語クラス：苦手な単語を選択しました。"_s);
        QCOMPARE(classLines.value(0), u" 単語クラス：クラス０を選択しました。"_s);
        QCOMPARE(reviewLines.mid(1), classLines.mid(1));
        QCOMPARE(reviewLines.size(), 1 + 5 + 8 + 1); // and the end of the last line
    }

    void reviewEndsWithMaxOf5AndNMinus40Left_data() {
        QTest::addColumn<int>("words");
        QTest::addColumn<int>("departures");
        QTest::newRow("6 words") << 6 << 1;
        QTest::newRow("30 words") << 30 << 25;
        QTest::newRow("45 words") << 45 << 40;
        QTest::newRow("46 words") << 46 << 40;
        QTest::newRow("60 words, 50 drilled") << 60 << 40;
    }

    void reviewEndsWithMaxOf5AndNMinus40Left() {
        QFETCH(int, words);
        QFETCH(int, departures);
        makeWeak(words, book::Writing);
        QCOMPARE(session->startDrill(session::ClassChoice::weakWords(), book::Writing),
                 drill::StartResult::Started);
        int answered = 0;
        while (s().running && answered < 60) {
            answerDrop0(true);
            ++answered;
        }
        QCOMPARE(answered, departures);
        QCOMPARE(s().stock.count(), std::max(5, std::min(words, 50) - 40));
        QCOMPARE(session->weakWords(book::Writing).total, words - departures);
    }

    void reviewNeedsSixWords_data() {
        QTest::addColumn<int>("words");
        QTest::newRow("none") << 0;
        QTest::newRow("five") << 5;
    }

    void reviewNeedsSixWords() {
        QFETCH(int, words);
        makeWeak(words, book::Reading);
        const QByteArray before = testsupport::fileBytes(bookPath());
        QCOMPARE(session->startDrill(session::ClassChoice::weakWords(), book::Reading),
                 drill::StartResult::TooFewWords);
        QVERIFY(!s().running);
        QCOMPARE(testsupport::fileBytes(bookPath()), before);
        QVERIFY(!QFile::exists(dir->filePath(u"result.txt"_s)));
    }

    void reviewStoppedAtOnceChangesNoRecord() {
        makeWeak(8, book::Listening);
        const QByteArray before = testsupport::fileBytes(bookPath());
        QCOMPARE(session->startDrill(session::ClassChoice::weakWords(), book::Listening),
                 drill::StartResult::Started);
        session->endDrill();
        QCOMPARE(testsupport::fileBytes(bookPath()), before);
        QVERIFY(!QFile::exists(dir->filePath(u"history.tsv"_s)));
        QCOMPARE(resultLines().value(0), u" 単語クラス：苦手な単語を選択しました。"_s);
    }

    // The review's row names it, and counts the memorised among its words.
    void historyRowOfAReview() {
        makeWeak(7, book::Reading);
        QCOMPARE(session->startDrill(session::ClassChoice::weakWords(), book::Reading),
                 drill::StartResult::Started);
        answerDrop0(true);
        answerDrop0(false);
        session->endDrill();
        const QList<session::HistoryRow> rows =
            session::readHistory(dir->filePath(u"history.tsv"_s));
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].className, views::kWeakWordsEntry);
        QCOMPARE(rows[0].right, 1);
        QCOMPARE(rows[0].misses, 1);
        QCOMPARE(rows[0].classMemorised, 1);
        QCOMPARE(rows[0].bookMemorised, 1);
    }

    // The book a review leaves behind is whole: velbook finds its statistics in step with
    // its words, and no class beyond the book's own.
    void velbookSeesNoReview() {
        makeWeak(12, book::Reading);
        QCOMPARE(session->startDrill(session::ClassChoice::weakWords(), book::Reading),
                 drill::StartResult::Started);
        for (const bool right : {true, true, false})
            answerDrop0(right);
        session->endDrill();
        session.reset();

        QProcess velbook;
        velbook.start(QStringLiteral(VELBOOK_EXECUTABLE), {u"check"_s, bookPath()});
        QVERIFY(velbook.waitForFinished(10000));
        QVERIFY2(velbook.exitCode() == 0, velbook.readAllStandardOutput().constData());
        velbook.start(QStringLiteral(VELBOOK_EXECUTABLE), {u"export"_s, bookPath()});
        QVERIFY(velbook.waitForFinished(10000) && velbook.exitCode() == 0);
        const QString exported = QString::fromUtf8(velbook.readAllStandardOutput());
        QVERIFY(!exported.contains(views::kWeakWordsEntry));
        QCOMPARE(exported.count(u"\tw"_s), 100);
    }
};

QTEST_GUILESS_MAIN(TestReview)
#include "tst_review.moc"
