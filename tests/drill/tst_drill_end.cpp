#include "drill_rig.h"
#include "test_book.h"

#include "book/word_record.h"

#include <QTest>

using namespace drill;
using namespace drilltest;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(book::Mode)

namespace {

const QString kIndent = u" "_s + QString(12, QChar(0x3000));

// What happens after drop 0 has missed its word and drop 1 may have drawn it.
enum Then { NobodyDrewIt, RevealedFallsFirst, OtherAnswersFirst, OtherFallsFirst };

void missDrop(DrillRig& rig, int drop) {
    rig.isolate(drop, -150);
    rig.select(rig.s().drops[drop].caption);
    rig.select(u"？"_s);
}

void answerDrop(DrillRig& rig, int drop) {
    rig.isolate(drop, -150);
    rig.select(rig.s().drops[drop].caption);
    rig.select(rig.s().drops[drop].answer);
}

void setModeCounts(DrillRig& rig, int recordNo, std::array<qint16, 3> counts) {
    book::WordRecord record = testsupport::readRecord(rig.bookPath, recordNo);
    record.modeCount = counts;
    testsupport::writeRecord(rig.bookPath, recordNo, record);
}

} // namespace

class TestDrillEnd : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fallOutBooksNothing();
    void fortiethFallOutStopsTheDrill();
    void bottomChangesOnlyTheDrillsMode_data();
    void bottomChangesOnlyTheDrillsMode();
    void memorisedClassesAreRecounted_data();
    void memorisedClassesAreRecounted();
    void summaryLines_data();
    void summaryLines();
    void revealedDropWhoseWordWasDrawnAgain_data();
    void revealedDropWhoseWordWasDrawnAgain();
    void dropOfTheMovedEntryFollowsIt();
    void drawEndsOnTheFirstFreeEntry();
    void writeFailuresAreReportedOnce_data();
    void writeFailuresAreReportedOnce();
};

void TestDrillEnd::fallOutBooksNothing() {
    DrillRig rig;
    rig.start(book::Writing);
    missDrop(rig, 1);
    const QByteArray book = testsupport::fileBytes(rig.bookPath);
    const QByteArray result = testsupport::fileBytes(rig.resultPath);

    rig.isolate(0, 6199);
    rig.tick(5);

    QCOMPARE(rig.s().stock.count(), 49);
    QCOMPARE(testsupport::fileBytes(rig.bookPath), book);
    QCOMPARE(testsupport::fileBytes(rig.resultPath), result);
    QCOMPARE(rig.s().newlyForgotten + rig.s().newlyMemorised, 0);
    QVERIFY(rig.s().answerBox.text.isEmpty());
}

void TestDrillEnd::fortiethFallOutStopsTheDrill() {
    DrillRig rig;
    rig.start(book::Reading);
    for (int tick = 0; tick < 20000 && rig.ends == 0; ++tick)
        rig.tick(25);

    QCOMPARE(rig.ends, 1);
    QCOMPARE(rig.s().stock.count(), 10);
    QVERIFY(!rig.s().timerOn);
    const auto speed = testsupport::readRecord(rig.bookPath, rig.trailer(book::Trailer::Speed));
    QCOMPARE(speed.modeCount[book::Reading], qint16(1));
    QCOMPARE(rig.resultLines().last(), kIndent + QString(12, u' ') + u"-- リーディング編 --"_s);

    // The drop that fell out last got its next word after the stop, and the box the
    // five words of the drops.
    int replaced = -1;
    for (int i = 0; i < kDropCount; ++i) {
        if (rig.s().drops[i].caption != kStoppedCaption)
            replaced = replaced == -1 ? i : 99;
    }
    QVERIFY(replaced >= 0 && replaced < kDropCount);
    QCOMPARE(rig.s().answerBox.entries.size(), 5);
    QCOMPARE(rig.s().answerBox.entries[replaced], rig.s().drops[replaced].caption);
    QCOMPARE(rig.s().drops[replaced].left, kDropColumns[replaced]);
}

void TestDrillEnd::bottomChangesOnlyTheDrillsMode_data() {
    QTest::addColumn<book::Mode>("mode");
    QTest::newRow("reading") << book::Reading;
    QTest::newRow("writing") << book::Writing;
    QTest::newRow("listening") << book::Listening;
}

void TestDrillEnd::bottomChangesOnlyTheDrillsMode() {
    QFETCH(book::Mode, mode);

    DrillRig rig(2);
    const int header = book::classHeaderRecord(1);
    setModeCounts(rig, header, {3, 3, 3});
    setModeCounts(rig, rig.trailer(book::Trailer::Speed), {5, 5, 5});
    setModeCounts(rig, rig.trailer(book::Trailer::StudyTime), {4, 4, 4});
    setModeCounts(rig, rig.trailer(book::Trailer::MemorisedClasses), {7, 7, 7});
    QByteArray expected = testsupport::fileBytes(rig.bookPath);

    rig.clock.now = 1000;
    rig.start(mode, u"クラス１"_s);
    rig.clock.now = 1012.5; // 4 + 12.5 rounds to the even 16
    rig.engine->endDrill();

    auto expectRecord = [&](int recordNo, qint16 value) {
        book::WordRecord record = testsupport::readRecord(rig.bookPath, recordNo);
        QCOMPARE(record.modeCount[mode], value);
        expected.replace((recordNo - 1) * 128, 128, book::encodeSlot(record).bytes);
    };
    expectRecord(header, 4);
    expectRecord(rig.trailer(book::Trailer::Speed), 6);
    expectRecord(rig.trailer(book::Trailer::StudyTime), 16);
    expectRecord(rig.trailer(book::Trailer::MemorisedClasses), 0);
    QCOMPARE(testsupport::fileBytes(rig.bookPath), expected);
}

void TestDrillEnd::memorisedClassesAreRecounted_data() {
    QTest::addColumn<int>("memorisedInClass0");
    QTest::addColumn<int>("memorisedInClass1");
    QTest::addColumn<int>("storedBefore");
    QTest::addColumn<int>("count");
    QTest::newRow("50 memorised") << 50 << 0 << 0 << 1;
    QTest::newRow("49 memorised") << 49 << 0 << 0 << 0;
    QTest::newRow("both classes") << 50 << 50 << 0 << 2;
    QTest::newRow("a class fell back") << 49 << 50 << 2 << 1;
}

void TestDrillEnd::memorisedClassesAreRecounted() {
    QFETCH(int, memorisedInClass0);
    QFETCH(int, memorisedInClass1);
    QFETCH(int, storedBefore);
    QFETCH(int, count);

    DrillRig rig(2);
    const qint16 mark = book::kMemorisedMark;
    for (int k = 0; k < 2; ++k) {
        const int memorised = k == 0 ? memorisedInClass0 : memorisedInClass1;
        for (int i = 0; i < 50; ++i)
            setModeCounts(rig, book::firstWordRecord(k) + i,
                          {0, i < memorised ? mark : qint16(-1), 0});
    }
    setModeCounts(rig, rig.trailer(book::Trailer::MemorisedClasses), {9, qint16(storedBefore), 9});

    rig.start(book::Writing);
    rig.engine->endDrill();
    const auto classes =
        testsupport::readRecord(rig.bookPath, rig.trailer(book::Trailer::MemorisedClasses));
    QCOMPARE(classes.modeCount, (std::array<qint16, 3>{9, qint16(count), 9}));
}

void TestDrillEnd::summaryLines_data() {
    QTest::addColumn<book::Mode>("mode");
    QTest::addColumn<int>("forgotten");
    QTest::addColumn<int>("memorised");
    QTest::addColumn<int>("total");
    QTest::addColumn<QStringList>("numbers");
    QTest::addColumn<QString>("banner");

    QTest::newRow("reading") << book::Reading << 2 << 1 << 123
                             << QStringList{u" 2"_s, u" 1"_s, u" 123"_s}
                             << u"-- リーディング編 --"_s;
    QTest::newRow("writing, nothing")
        << book::Writing << 0 << 0 << 0 << QStringList{u" 0"_s, u" 0"_s, u" 0"_s}
        << u"-- ライティング編 -- "_s;
    QTest::newRow("listening, a negative total")
        << book::Listening << 0 << 3 << -3 << QStringList{u" 0"_s, u" 3"_s, u"-3"_s}
        << u"-- リスニング編 -- "_s;
}

void TestDrillEnd::summaryLines() {
    QFETCH(book::Mode, mode);
    QFETCH(int, forgotten);
    QFETCH(int, memorised);
    QFETCH(int, total);
    QFETCH(QStringList, numbers);
    QFETCH(QString, banner);

    DrillRig rig;
    setModeCounts(rig, rig.trailer(book::Trailer::MemorisedTotal), {0, 0, 0});
    rig.start(mode);
    setModeCounts(rig, rig.trailer(book::Trailer::MemorisedTotal), {1, 1, 1});
    book::WordRecord totals =
        testsupport::readRecord(rig.bookPath, rig.trailer(book::Trailer::MemorisedTotal));
    totals.modeCount[mode] = qint16(total);
    testsupport::writeRecord(rig.bookPath, rig.trailer(book::Trailer::MemorisedTotal), totals);
    rig.s().newlyForgotten = forgotten;
    rig.s().newlyMemorised = memorised;
    rig.engine->endDrill();

    const QByteArray expected = testsupport::cp932Lines({
        u" 単語クラス：クラス０を選択しました。"_s,
        QString(),
        kIndent + u"    < ☆：記憶単語、?：失念単語 >"_s,
        u" 結果は以下のとおりです。"_s,
        u" ・ 失念単語数："_s + numbers[0],
        u" ・ 記憶単語数："_s + numbers[1],
        u" ・ 記憶単語総数："_s + numbers[2],
        QString(),
        kIndent + QString(12, u' ') + banner,
    });
    QCOMPARE(testsupport::fileBytes(rig.resultPath), expected);
}

void TestDrillEnd::revealedDropWhoseWordWasDrawnAgain_data() {
    QTest::addColumn<int>("then");
    QTest::newRow("nobody drew it") << int(NobodyDrewIt);
    QTest::newRow("revealed drop falls first") << int(RevealedFallsFirst);
    QTest::newRow("other drop answers first") << int(OtherAnswersFirst);
    QTest::newRow("other drop falls first") << int(OtherFallsFirst);
}

// A missed word that another drop has drawn since stays in the stock while any drop
// shows it; a fall-out then takes nothing out, and the word leaves exactly once.
void TestDrillEnd::revealedDropWhoseWordWasDrawnAgain() {
    QFETCH(int, then);

    DrillRig rig;
    rig.start(book::Reading);
    missDrop(rig, 0);
    const int word = rig.s().drops[0].word.recordNo;
    const int index = rig.s().drops[0].stockIndex;
    QVERIFY(!rig.s().stock[index].inUse);
    auto checkStock = [&rig] {
        QVERIFY2(stockProblem(rig.s()).isEmpty(), qPrintable(stockProblem(rig.s())));
    };

    // Drop 1 leaves and draws the missed word, or another one.
    rig.random.push(indexDraw(then == NobodyDrewIt ? (index == 0 ? 1 : 0) : index, 48));
    rig.steps().fallOut(1);
    QCOMPARE(rig.s().stock.count(), 49);
    QCOMPARE(rig.s().drops[1].word.recordNo == word, then != NobodyDrewIt);
    checkStock();

    if (then == OtherAnswersFirst) {
        answerDrop(rig, 1);
        QCOMPARE(rig.s().stock.count(), 48);
        QCOMPARE(rig.s().drops[0].stockIndex, -1);
    } else if (then == OtherFallsFirst) {
        int other = 0;
        while (other == index || rig.s().stock[other].inUse)
            ++other;
        rig.random.push(indexDraw(other, 48));
        rig.isolate(1, 6199);
        rig.tick(5);
        QCOMPARE(rig.s().stock.count(), 49);
        QCOMPARE(rig.s().drops[0].stockIndex, index);
        QVERIFY(!rig.s().stock[index].inUse);
    }
    checkStock();

    const int countBefore = rig.s().stock.count();
    rig.isolate(0, 6199);
    rig.tick(5);
    checkStock();

    switch (then) {
    case NobodyDrewIt:
    case OtherFallsFirst:
        QCOMPARE(rig.s().stock.count(), countBefore - 1);
        break;
    case OtherAnswersFirst:
        QCOMPARE(rig.s().stock.count(), countBefore);
        break;
    case RevealedFallsFirst:
        // The word stays with drop 1 and leaves with it.
        QCOMPARE(rig.s().stock.count(), countBefore);
        QCOMPARE(rig.s().stock[rig.s().drops[1].stockIndex].recordNo, word);
        QVERIFY(rig.s().stock[rig.s().drops[1].stockIndex].inUse);
        answerDrop(rig, 1);
        QCOMPARE(rig.s().stock.count(), countBefore - 1);
        break;
    }
    QCOMPARE(rig.s().stock.indexOfRecord(word), -1);
}

void TestDrillEnd::dropOfTheMovedEntryFollowsIt() {
    DrillRig rig;
    // Drop 2 shows entry 48, which becomes the last live entry after one departure.
    rig.random.script({indexDraw(0, 49), 0, indexDraw(1, 49), 0, 0, indexDraw(48, 49), 0});
    rig.start(book::Writing);
    QCOMPARE(rig.s().drops[2].stockIndex, 48);
    const int word = rig.s().drops[2].word.recordNo;

    rig.steps().fallOut(0); // entry 49 moves into hole 0
    rig.steps().fallOut(1); // entry 48, drop 2's word, moves into hole 1
    QCOMPARE(rig.s().drops[2].stockIndex, 1);
    QCOMPARE(rig.s().stock[1].recordNo, word);
    QVERIFY2(stockProblem(rig.s()).isEmpty(), qPrintable(stockProblem(rig.s())));

    answerDrop(rig, 2);
    QCOMPARE(rig.s().stock.indexOfRecord(word), -1);
    QCOMPARE(rig.s().stock.count(), 47);
    QVERIFY2(stockProblem(rig.s()).isEmpty(), qPrintable(stockProblem(rig.s())));
}

void TestDrillEnd::drawEndsOnTheFirstFreeEntry() {
    DrillRig rig;
    rig.random.script({indexDraw(0, 49), 0, indexDraw(1, 49), 0, 0, indexDraw(2, 49), 0,
                       indexDraw(3, 49), 0, 0, indexDraw(4, 49), 0});
    rig.start(book::Reading);
    // Every random draw lands on drop 1's word; the drop then takes the first free entry,
    // which is the one moved into the hole drop 0 left.
    for (int i = 0; i < WordStock::kRandomDrawLimit; ++i)
        rig.random.push(indexDraw(1, 48));
    const int draws = rig.random.draws();
    rig.steps().fallOut(0);

    QCOMPARE(rig.random.draws() - draws, WordStock::kRandomDrawLimit);
    QCOMPARE(rig.s().drops[0].stockIndex, 0);
    QCOMPARE(rig.s().drops[0].word.recordNo, 51);
    QVERIFY2(stockProblem(rig.s()).isEmpty(), qPrintable(stockProblem(rig.s())));
}

void TestDrillEnd::writeFailuresAreReportedOnce_data() {
    QTest::addColumn<bool>("bookReadOnly");
    QTest::newRow("Word.dat") << true;
    QTest::newRow("result.txt") << false;
}

void TestDrillEnd::writeFailuresAreReportedOnce() {
    QFETCH(bool, bookReadOnly);

    DrillRig rig;
    if (bookReadOnly) {
        rig.file->close();
        rig.file->open(book::RecordFile::Access::ReadOnly);
    } else {
        rig.resultPath = rig.dir.filePath(u"missing/result.txt"_s);
    }
    QCOMPARE(rig.start(book::Reading), StartResult::Started);
    answerDrop(rig, 0);
    missDrop(rig, 1);
    QCOMPARE(rig.s().stock.count(), 49);
    rig.engine->endDrill();

    QCOMPARE(rig.failures, QStringList{bookReadOnly ? rig.bookPath : rig.resultPath});
    QVERIFY(!rig.s().running);
}

QTEST_GUILESS_MAIN(TestDrillEnd)
#include "tst_drill_end.moc"
