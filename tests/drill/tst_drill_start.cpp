#include "drill_rig.h"
#include "test_book.h"

#include <QFile>
#include <QSet>
#include <QTest>

using namespace drill;
using namespace drilltest;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(book::Mode)

class TestDrillStart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void firstFiveWordsSkipTheLastAndNeverRepeat();
    void repeatedDrawsLeaveFiveEntriesInSlotOrder();
    void startPositions_data();
    void startPositions();
    void answerBoxAtStart_data();
    void answerBoxAtStart();
    void startWritesClassLineAndShowsModeTotal();
    void unknownClassStartsNothing();
};

void TestDrillStart::firstFiveWordsSkipTheLastAndNeverRepeat() {
    DrillRig rig;
    for (unsigned seed = 0; seed < 300; ++seed) {
        rig.random.seed(seed);
        QCOMPARE(rig.start(book::Reading), StartResult::Started);
        QSet<int> indices;
        for (int i = 0; i < kDropCount; ++i) {
            const int index = rig.s().drops[i].stockIndex;
            QVERIFY(index >= 0 && index < 49);
            indices.insert(index);
        }
        QCOMPARE(indices.size(), kDropCount);
    }
}

void TestDrillStart::repeatedDrawsLeaveFiveEntriesInSlotOrder() {
    DrillRig rig;
    // Slot 1 and slot 3 land on words already shown before a free one is found.
    rig.random.script({0.9999, 0.1});                     // slot 0: index 48
    rig.random.script({0.9999, 0.9999, 0.0, 0.1, 0.1});   // slot 1: 48, 48, then 0
    rig.random.script({indexDraw(7, 49), 0.1});           // slot 2
    rig.random.script({0.0, indexDraw(9, 49), 0.1, 0.1}); // slot 3: 0, then 9
    rig.random.script({indexDraw(20, 49), 0.1});          // slot 4
    rig.start(book::Reading);

    const std::array<int, 5> expected{48, 0, 7, 9, 20};
    QStringList words;
    for (int i = 0; i < kDropCount; ++i) {
        QCOMPARE(rig.s().drops[i].stockIndex, expected[i]);
        words << QStringLiteral("w0_%1").arg(expected[i] + 1);
        QCOMPARE(rig.s().drops[i].caption, words.last());
    }
    QCOMPARE(rig.s().answerBox.entries, words);
}

void TestDrillStart::startPositions_data() {
    QTest::addColumn<double>("patternDraw");
    QTest::addColumn<QList<int>>("tops");

    // Left draws 0.1 .. 0.5, slot 1 draws 0.5001, slot 3 0.9999, the pattern's two
    // random tops 0.2505 and 0.7505: every top is rounded down, never towards zero.
    QTest::newRow("pattern 1") << 0.1 << QList<int>{-4126, -5751, -220, -6500, -2376};
    QTest::newRow("pattern 2") << 0.5 << QList<int>{-2126, -5751, -4376, -6500, -220};
    QTest::newRow("pattern 3") << 0.9 << QList<int>{-220, -5751, -2126, -6500, -4376};
}

void TestDrillStart::startPositions() {
    QFETCH(double, patternDraw);
    QFETCH(QList<int>, tops);

    DrillRig rig;
    rig.random.script({indexDraw(0, 49), 0.1});
    rig.random.script({indexDraw(1, 49), 0.2, 0.5001});
    rig.random.script({indexDraw(2, 49), 0.3});
    rig.random.script({indexDraw(3, 49), 0.4, 0.9999});
    rig.random.script({indexDraw(4, 49), 0.5});
    rig.random.script({patternDraw, 0.2505, 0.7505});
    rig.start(book::Writing);

    QCOMPARE(rig.random.scriptLeft(), 0);
    const QList<int> lefts{160, 1420, 2880, 2540, 2400};
    for (int i = 0; i < kDropCount; ++i) {
        QCOMPARE(rig.s().drops[i].left, lefts[i]);
        QCOMPARE(rig.s().drops[i].top, double(tops[i]));
        QVERIFY(rig.s().drops[i].visible && rig.s().drops[i].enabled);
    }
}

void TestDrillStart::answerBoxAtStart_data() {
    QTest::addColumn<book::Mode>("mode");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("entries");

    const QStringList english{u"w0_1"_s, u"w0_2"_s, u"w0_3"_s, u"w0_4"_s, u"w0_5"_s};
    const QStringList japanese{u"訳０＿１"_s, u"訳０＿２"_s, u"訳０＿３"_s, u"訳０＿４"_s,
                               u"訳０＿５"_s};
    QTest::newRow("reading") << book::Reading << english << english;
    QTest::newRow("writing") << book::Writing << japanese << japanese;
    // Shuffle draws 0.9, 0.0, 0.5, 0.9, 0.0 take the 5th, 1st, 2nd, 3rd, 4th text.
    QTest::newRow("listening") << book::Listening << QStringList(5, QStringLiteral("？"))
                               << QStringList{japanese[4], japanese[0], japanese[1],
                                              japanese[2], japanese[3], QStringLiteral("？")};
}

void TestDrillStart::answerBoxAtStart() {
    QFETCH(book::Mode, mode);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, entries);

    DrillRig rig;
    for (int i = 0; i < kDropCount; ++i) {
        rig.random.push(indexDraw(i, 49));
        rig.random.script(i == 1 || i == 3 ? std::initializer_list<double>{0.0, 0.0}
                                           : std::initializer_list<double>{0.0});
    }
    rig.random.script({0.0, 0.0, 0.0});
    rig.random.script({0.9, 0.0, 0.5, 0.9, 0.0});
    rig.start(mode);

    for (int i = 0; i < kDropCount; ++i) {
        QCOMPARE(rig.s().drops[i].caption, captions[i]);
        QCOMPARE(rig.s().drops[i].word.recordNo, 2 + i);
    }
    QCOMPARE(rig.s().answerBox.entries, entries);
    if (mode == book::Listening)
        QCOMPARE(rig.s().drops[2].speech, QStringLiteral("w0_3"));
}

void TestDrillStart::startWritesClassLineAndShowsModeTotal() {
    DrillRig rig(2);
    book::WordRecord total =
        testsupport::readRecord(rig.bookPath, rig.trailer(book::Trailer::MemorisedTotal));
    total.modeCount = {7, 8, 9};
    testsupport::writeRecord(rig.bookPath, rig.trailer(book::Trailer::MemorisedTotal), total);

    QCOMPARE(rig.start(book::Writing, QStringLiteral("クラス１")), StartResult::Started);

    QCOMPARE(testsupport::fileBytes(rig.resultPath),
             testsupport::cp932Lines({QStringLiteral(" 単語クラス：クラス１を選択しました。")}));
    QCOMPARE(rig.s().shownMemorisedTotal, 8);
    QCOMPARE(rig.s().classFirstRecord, 53);
    QCOMPARE(rig.s().stock.count(), 50);
    QCOMPARE(rig.s().stock[49].recordNo, 102);
    QVERIFY(rig.s().timerOn && rig.s().speakReady);
    QCOMPARE(rig.s().selectedDrop, 0);
}

void TestDrillStart::unknownClassStartsNothing() {
    DrillRig rig;
    QCOMPARE(rig.start(book::Reading, QStringLiteral("クラス９")), StartResult::NoClassFound);
    QVERIFY(!rig.s().running && !rig.s().timerOn);
    QCOMPARE(rig.s().classFirstRecord, 0);
    QVERIFY(!QFile::exists(rig.resultPath));
    QCOMPARE(rig.random.draws(), 0);
}

QTEST_GUILESS_MAIN(TestDrillStart)
#include "tst_drill_start.moc"
