#include "drill_rig.h"
#include "test_book.h"

#include <QTest>

using namespace drill;
using namespace drilltest;

class TestDrillField : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reachesBottomOnTick_data();
    void reachesBottomOnTick();
    void exactlyOnTheBottomLineFallsOutNextTick();
    void placeAboveField_data();
    void placeAboveField();
    void bringDropIn_data();
    void bringDropIn();
    void listeningEnter_data();
    void listeningEnter();
    void enterWaitsForTheAnnouncedDrop();
    void drillAcrossMidnight();
};

void TestDrillField::reachesBottomOnTick_data() {
    QTest::addColumn<double>("dropSpeed");
    QTest::addColumn<int>("tick");
    QTest::newRow("speed 1") << 5.0 << 671;
    QTest::newRow("speed 5") << 25.0 << 135;
}

void TestDrillField::reachesBottomOnTick() {
    QFETCH(double, dropSpeed);
    QFETCH(int, tick);

    DrillRig rig;
    rig.start(book::Reading);
    rig.isolate(0, 0);
    rig.random.push(0.01);
    rig.steps().placeAboveField(0);
    QCOMPARE(rig.s().drops[0].top, -500.0);

    int ticks = 0;
    while (rig.s().stock.count() == 50 && ticks < 1000) {
        rig.tick(dropSpeed);
        ++ticks;
    }
    QCOMPARE(ticks, tick);
}

void TestDrillField::exactlyOnTheBottomLineFallsOutNextTick() {
    DrillRig rig;
    rig.start(book::Reading);
    rig.isolate(0, 6180);
    const QString word = rig.s().drops[0].caption;

    rig.tick(10);
    QCOMPARE(rig.s().drops[0].top, 6200.0);
    QCOMPARE(rig.s().stock.count(), 50);
    QCOMPARE(rig.s().drops[0].caption, word);

    rig.tick(10);
    QCOMPARE(rig.s().stock.count(), 49);
    QVERIFY(rig.s().drops[0].top <= -500);
    QCOMPARE(rig.s().drops[0].left, 120);
    QVERIFY(rig.s().drops[0].selectable && rig.s().speakReady);
}

void TestDrillField::placeAboveField_data() {
    QTest::addColumn<double>("r");
    QTest::addColumn<double>("top");
    QTest::newRow("r 0") << 0.0 << -500.0;
    QTest::newRow("r just below 0.05") << 0.0499 << -500.0;
    QTest::newRow("r 0.05") << 0.05 << -500.0;
    QTest::newRow("r 0.5") << 0.5 << -2750.0;
    QTest::newRow("r near 1") << 0.9999 << -5249.5;
}

void TestDrillField::placeAboveField() {
    QFETCH(double, r);
    QFETCH(double, top);

    DrillRig rig;
    rig.start(book::Writing);
    rig.random.push(r);
    rig.steps().placeAboveField(3);
    QCOMPARE(rig.s().drops[3].top, top);
    QCOMPARE(rig.s().drops[3].left, 2640);

    const Drop before = rig.s().drops[4];
    const int draws = rig.random.draws();
    rig.steps().placeAboveField(5);
    QCOMPARE(rig.random.draws(), draws);
    QCOMPARE(rig.s().drops[4].top, before.top);
}

void TestDrillField::bringDropIn_data() {
    QTest::addColumn<QList<double>>("tops");
    QTest::addColumn<double>("r");
    QTest::addColumn<int>("broughtIn");

    const QList<double> allHigh{-300, -251, -5000, -300, -300};
    QTest::newRow("first third: drop 2") << allHigh << 0.1 << 2;
    QTest::newRow("second third: drop 4") << allHigh << 0.5 << 4;
    QTest::newRow("last third: drop 0") << allHigh << 0.9 << 0;
    QTest::newRow("drop 1 at -250") << QList<double>{-300, -250, -300, -300, -300} << 0.1 << -1;
    QTest::newRow("drop 3 in the field") << QList<double>{-300, -300, -300, 10, -300} << 0.1 << -1;
}

void TestDrillField::bringDropIn() {
    QFETCH(QList<double>, tops);
    QFETCH(double, r);
    QFETCH(int, broughtIn);

    DrillRig rig;
    rig.start(book::Reading);
    for (int i = 0; i < kDropCount; ++i)
        rig.s().drops[i].top = tops[i];
    rig.random.push(r);
    rig.steps().bringInDrop();

    for (int i = 0; i < kDropCount; ++i)
        QCOMPARE(rig.s().drops[i].top, i == broughtIn ? -250.0 : tops[i]);
}

void TestDrillField::listeningEnter_data() {
    QTest::addColumn<bool>("voice");
    QTest::addColumn<QList<double>>("tops");
    QTest::addColumn<int>("announced");

    // Drop 3 is lower on the screen, drop 1 has the lower index.
    QTest::newRow("lowest index wins")
        << true << QList<double>{-1000, 100, -1000, 3000, -1000} << 1;
    QTest::newRow("voice off") << false << QList<double>{-1000, 100, -1000, 3000, -1000} << 5;
    QTest::newRow("at -200 not yet")
        << true << QList<double>{-1000, -200, -1000, -1000, -1000} << 5;
    QTest::newRow("just below -200")
        << true << QList<double>{-1000, -199, -1000, -1000, -1000} << 1;
}

void TestDrillField::listeningEnter() {
    QFETCH(bool, voice);
    QFETCH(QList<double>, tops);
    QFETCH(int, announced);

    DrillRig rig;
    rig.settings.voiceOn = voice;
    rig.start(book::Listening);
    for (int i = 0; i < kDropCount; ++i)
        rig.s().drops[i].top = tops[i];
    rig.enter();

    if (announced == kNoDrop) {
        QVERIFY(rig.speaker.spoken.isEmpty());
        QVERIFY(rig.s().speakReady);
        QCOMPARE(rig.s().selectedDrop, voice ? kNoDrop : 0);
        return;
    }
    QCOMPARE(rig.speaker.spoken, QStringList{rig.s().drops[announced].speech});
    QCOMPARE(rig.s().selectedDrop, announced);
    QVERIFY(!rig.s().drops[announced].selectable && !rig.s().drops[announced].unspoken);
    QVERIFY(!rig.s().speakReady);
}

void TestDrillField::enterWaitsForTheAnnouncedDrop() {
    DrillRig rig;
    rig.start(book::Listening);
    const QList<double> tops{-1000, 100, -1000, 3000, -1000};
    for (int i = 0; i < kDropCount; ++i)
        rig.s().drops[i].top = tops[i];
    rig.enter();
    rig.enter();
    QCOMPARE(rig.speaker.spoken.size(), 1);

    rig.s().drops[1].top = 6195;
    rig.tick(5);
    QVERIFY(rig.s().speakReady);
    rig.enter();
    QCOMPARE(rig.speaker.spoken.size(), 2);
    QCOMPARE(rig.speaker.spoken.last(), rig.s().drops[3].speech);
    QCOMPARE(rig.s().selectedDrop, 3);
}

void TestDrillField::drillAcrossMidnight() {
    DrillRig rig;
    rig.clock.now = 86390;
    rig.start(book::Listening);
    rig.clock.now = 5;
    rig.tick(10);
    QCOMPARE(rig.s().elapsed, 15.0);

    rig.clock.now = 10;
    rig.engine->endDrill();
    QCOMPARE(rig.s().elapsed, 20.0);
    const auto studyTime =
        testsupport::readRecord(rig.bookPath, rig.trailer(book::Trailer::StudyTime));
    QCOMPARE(studyTime.modeCount[book::Listening], qint16(20));
}

QTEST_GUILESS_MAIN(TestDrillField)
#include "tst_drill_field.moc"
