#include "drill_rig.h"
#include "test_book.h"

#include "book/word_record.h"

#include <QTest>

using namespace drill;
using namespace drilltest;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(book::Mode)
Q_DECLARE_METATYPE(book::InputMode)

namespace {

enum Answer { Correct, Unknown, OtherTranslation };

// Drop 0 alone in the field at `top`, picked (reading, writing) or announced (listening).
void pickDrop0(DrillRig& rig, double top = -150) {
    rig.isolate(0, top);
    if (rig.s().mode == book::Listening)
        rig.enter();
    else
        rig.select(rig.s().drops[0].caption);
}

QString answerText(DrillRig& rig, Answer answer) {
    switch (answer) {
    case Correct:
        return rig.s().drops[0].answer;
    case Unknown:
        return u"？"_s;
    case OtherTranslation:
        return rig.s().drops[1].answer;
    }
    return {};
}

} // namespace

class TestDrillAnswer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void judgement_data();
    void judgement();
    void pickOnlyFromThePickableLine_data();
    void pickOnlyFromThePickableLine();
    void strandedDropIsNeverJudged();
    void listeningSelectionNeedsAnAnnouncement();
    void learningEvents_data();
    void learningEvents();
    void speechAndInputMode_data();
    void speechAndInputMode();
    void correctAnswerThatEndsTheDrill();
};

void TestDrillAnswer::judgement_data() {
    QTest::addColumn<book::Mode>("mode");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("correct");

    QTest::newRow("reading, meaning") << book::Reading << int(Correct) << true;
    QTest::newRow("reading, ？") << book::Reading << int(Unknown) << false;
    QTest::newRow("reading, another meaning") << book::Reading << int(OtherTranslation) << false;
    QTest::newRow("writing, English word") << book::Writing << int(Correct) << true;
    QTest::newRow("writing, ？ is not the mark ?") << book::Writing << int(Unknown) << false;
    QTest::newRow("listening, meaning") << book::Listening << int(Correct) << true;
    QTest::newRow("listening, ？") << book::Listening << int(Unknown) << false;
}

void TestDrillAnswer::judgement() {
    QFETCH(book::Mode, mode);
    QFETCH(int, answer);
    QFETCH(bool, correct);

    DrillRig rig;
    rig.start(mode);
    pickDrop0(rig);
    const QString mark = mode == book::Writing ? u"?"_s : u"？"_s;
    QCOMPARE(rig.s().drops[0].caption, mark);
    QCOMPARE(rig.s().answerBox.entries.size(), 6);
    QCOMPARE(rig.s().answerBox.entries.last(), u"？"_s);
    QVERIFY(rig.s().answerBox.entries.contains(rig.s().drops[0].answer));

    const book::WordRecord word = rig.wordOf(0);
    const QString english = word.english;
    const QString japanese = word.japanese;
    rig.select(answerText(rig, Answer(answer)));

    const book::WordRecord after = testsupport::readRecord(rig.bookPath, word.id);
    // Each result line reads the word the learner saw first, then its translation.
    const QString shown = mode == book::Writing ? japanese : english;
    const QString translation = mode == book::Writing ? english : japanese;
    QCOMPARE(rig.s().selectedDrop, kNoDrop);
    if (correct) {
        QCOMPARE(after.modeCount[mode], book::kMemorisedMark);
        QCOMPARE(rig.s().stock.count(), 49);
        QVERIFY(rig.s().drops[0].word.recordNo != word.id);
        QVERIFY(rig.s().drops[0].selectable);
        QCOMPARE(rig.resultLines().last(), u" ☆ "_s + shown + u"    "_s + translation);
    } else {
        QCOMPARE(after.modeCount[mode], qint16(1));
        QCOMPARE(rig.s().stock.count(), 50);
        QCOMPARE(rig.s().drops[0].caption, translation);
        QVERIFY(!rig.s().drops[0].selectable);
        QCOMPARE(rig.resultLines().last(), u" 　 "_s + shown + u"    "_s + translation);
    }
}

void TestDrillAnswer::pickOnlyFromThePickableLine_data() {
    QTest::addColumn<book::Mode>("mode");
    QTest::addColumn<double>("top");
    QTest::addColumn<bool>("picked");
    QTest::newRow("reading at -250") << book::Reading << -250.0 << false;
    QTest::newRow("reading at -200") << book::Reading << -200.0 << true;
    QTest::newRow("writing at -201") << book::Writing << -201.0 << false;
    QTest::newRow("writing at -150") << book::Writing << -150.0 << true;
}

void TestDrillAnswer::pickOnlyFromThePickableLine() {
    QFETCH(book::Mode, mode);
    QFETCH(double, top);
    QFETCH(bool, picked);

    DrillRig rig;
    rig.start(mode);
    const QString caption = rig.s().drops[0].caption;
    const QStringList pickList = rig.s().answerBox.entries;
    pickDrop0(rig, top);

    if (!picked) {
        QCOMPARE(rig.s().drops[0].caption, caption);
        QCOMPARE(rig.s().answerBox.entries, pickList);
        QCOMPARE(rig.s().answerBox.text, caption);
        QCOMPARE(rig.s().selectedDrop, kNoDrop);
        QVERIFY(rig.speaker.spoken.isEmpty());
        return;
    }
    QCOMPARE(rig.s().selectedDrop, 0);
    QCOMPARE(rig.s().drops[0].shownWord, caption);
    QVERIFY(!rig.s().drops[0].selectable);
    QCOMPARE(rig.speaker.spoken, mode == book::Reading ? QStringList{caption} : QStringList{});
}

void TestDrillAnswer::strandedDropIsNeverJudged() {
    DrillRig rig;
    rig.start(book::Reading);
    for (int i = 0; i < kDropCount; ++i)
        rig.s().drops[i].top = i * 100;
    const QString word0 = rig.s().drops[0].caption;
    const int record0 = rig.s().drops[0].word.recordNo;
    rig.select(word0);
    QCOMPARE(rig.s().selectedDrop, 0);

    rig.s().drops[1].top = 6195;
    rig.tick(5);
    QCOMPARE(rig.s().answerBox.entries.size(), 5);
    QCOMPARE(rig.s().answerBox.entries[0], word0);

    rig.select(word0);
    QCOMPARE(rig.s().drops[0].caption, u"？"_s);
    QCOMPARE(rig.s().selectedDrop, kNoDrop);

    const QString word2 = rig.s().drops[2].caption;
    rig.select(word2);
    QCOMPARE(rig.s().selectedDrop, 2);
    rig.select(rig.s().drops[2].answer);
    QCOMPARE(rig.resultLines().size(), 2);
    QCOMPARE(testsupport::readRecord(rig.bookPath, record0).modeCount[0], qint16(0));
    QCOMPARE(rig.s().drops[0].caption, u"？"_s);
}

void TestDrillAnswer::listeningSelectionNeedsAnAnnouncement() {
    DrillRig rig;
    rig.start(book::Listening);
    rig.isolate(0, -150);
    const QString meaning = rig.s().drops[0].answer;
    const QStringList list = rig.s().answerBox.entries;

    rig.select(meaning);
    QCOMPARE(rig.s().answerBox.entries, list);
    QCOMPARE(rig.resultLines().size(), 1);

    rig.enter();
    rig.select(meaning);
    QCOMPARE(rig.resultLines().size(), 2);
    QVERIFY(rig.s().speakReady);
    QCOMPARE(rig.s().answerBox.entries.last(), u"？"_s);
}

void TestDrillAnswer::learningEvents_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<QList<int>>("totals"); // repetition, memorised, forgotten after
    QTest::addColumn<QString>("mark");

    const int memorised = book::kMemorisedMark;
    QTest::newRow("correct, new") << int(Correct) << 0 << memorised << QList<int>{10, 11, 10}
                                  << u" ☆ "_s;
    QTest::newRow("correct, missed 3 times")
        << int(Correct) << 3 << memorised << QList<int>{13, 11, 10} << u" ☆ "_s;
    QTest::newRow("correct, forgotten -2")
        << int(Correct) << -2 << memorised << QList<int>{12, 11, 9} << u" ☆ "_s;
    QTest::newRow("correct, memorised")
        << int(Correct) << memorised << memorised << QList<int>{10, 10, 10} << u" 　 "_s;
    QTest::newRow("miss, new") << int(Unknown) << 0 << 1 << QList<int>{10, 10, 10} << u" 　 "_s;
    QTest::newRow("miss, forgotten -1")
        << int(OtherTranslation) << -1 << -2 << QList<int>{10, 10, 10} << u" 　 "_s;
    QTest::newRow("miss, memorised")
        << int(Unknown) << memorised << -1 << QList<int>{10, 9, 11} << u" ？ "_s;
    QTest::newRow("miss, unlearned at the limit")
        << int(Unknown) << 32767 << 32767 << QList<int>{10, 10, 10} << u" 　 "_s;
    QTest::newRow("miss, forgotten at the limit")
        << int(Unknown) << -32767 << -32767 << QList<int>{10, 10, 10} << u" 　 "_s;
}

void TestDrillAnswer::learningEvents() {
    QFETCH(int, answer);
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(QList<int>, totals);
    QFETCH(QString, mark);

    DrillRig rig;
    rig.start(book::Reading);
    const QList<book::Trailer> statistics{book::Trailer::Repetition, book::Trailer::MemorisedTotal,
                                          book::Trailer::ForgottenTotal};
    for (book::Trailer which : statistics)
        testsupport::writeRecord(rig.bookPath, rig.trailer(which),
                                 {rig.trailer(which), u"0"_s, u"0"_s, {10, 10, 10}});
    book::WordRecord word = rig.wordOf(0);
    word.modeCount = {qint16(before), 5, 6};
    testsupport::writeRecord(rig.bookPath, word.id, word);
    rig.s().shownMemorisedTotal = 10;

    pickDrop0(rig);
    const QString english = rig.s().drops[0].shownWord;
    rig.select(answerText(rig, Answer(answer)));

    word.modeCount[0] = qint16(after);
    QCOMPARE(testsupport::slotBytes(rig.bookPath, word.id), book::encodeSlot(word).bytes);
    for (int k = 0; k < statistics.size(); ++k) {
        const book::WordRecord record =
            testsupport::readRecord(rig.bookPath, rig.trailer(statistics[k]));
        QCOMPARE(record.modeCount, (std::array<qint16, 3>{qint16(totals[k]), 10, 10}));
    }
    QCOMPARE(rig.s().shownMemorisedTotal, totals[1]);
    QCOMPARE(rig.s().newlyMemorised, mark == u" ☆ "_s ? 1 : 0);
    QCOMPARE(rig.s().newlyForgotten, mark == u" ？ "_s ? 1 : 0);
    QCOMPARE(testsupport::fileBytes(rig.resultPath),
             testsupport::cp932Lines({u" 単語クラス：クラス０を選択しました。"_s,
                                      mark + english + u"    "_s + word.japanese}));
}

void TestDrillAnswer::speechAndInputMode_data() {
    QTest::addColumn<book::Mode>("mode");
    QTest::addColumn<book::InputMode>("menu");
    QTest::addColumn<bool>("voice");
    QTest::addColumn<bool>("correct");
    QTest::addColumn<int>("imeAfterPick");
    QTest::addColumn<int>("imeAfterAnswer");
    QTest::addColumn<int>("timesSpoken"); // always the drop's English word

    using IM = book::InputMode;
    QTest::newRow("reading, hiragana, correct")
        << book::Reading << IM::Hiragana << true << true << 4 << 8 << 1;
    QTest::newRow("reading, hiragana, miss")
        << book::Reading << IM::Hiragana << true << false << 4 << 4 << 1;
    QTest::newRow("reading, no conversion")
        << book::Reading << IM::Normal << true << true << 0 << 0 << 1;
    QTest::newRow("reading, voice off")
        << book::Reading << IM::Katakana << false << false << 5 << 5 << 0;
    QTest::newRow("writing, katakana, correct")
        << book::Writing << IM::Katakana << true << true << 8 << 5 << 1;
    QTest::newRow("writing, katakana, miss")
        << book::Writing << IM::Katakana << true << false << 8 << 8 << 1;
    QTest::newRow("writing, no conversion")
        << book::Writing << IM::Normal << true << true << 0 << 0 << 1;
    QTest::newRow("writing, voice off")
        << book::Writing << IM::Hiragana << false << true << 8 << 4 << 0;
    QTest::newRow("listening, correct")
        << book::Listening << IM::Hiragana << true << true << 0 << 4 << 1;
    QTest::newRow("listening, miss")
        << book::Listening << IM::Katakana << true << false << 0 << 0 << 1;
}

void TestDrillAnswer::speechAndInputMode() {
    QFETCH(book::Mode, mode);
    QFETCH(book::InputMode, menu);
    QFETCH(bool, voice);
    QFETCH(bool, correct);
    QFETCH(int, imeAfterPick);
    QFETCH(int, imeAfterAnswer);
    QFETCH(int, timesSpoken);

    DrillRig rig;
    rig.settings.inputMode = menu;
    rig.settings.voiceOn = voice;
    rig.start(mode);
    // Whatever focus asked for is cleared, so that "unchanged" shows as 0.
    rig.s().answerBox.imeMode = ImeNone;
    const QString english = rig.wordOf(0).english;

    pickDrop0(rig);
    QCOMPARE(rig.s().answerBox.imeMode, imeAfterPick);
    rig.select(answerText(rig, correct ? Correct : Unknown));
    QCOMPARE(rig.s().answerBox.imeMode, imeAfterAnswer);
    QCOMPARE(rig.speaker.spoken, QStringList(timesSpoken, english));
}

void TestDrillAnswer::correctAnswerThatEndsTheDrill() {
    DrillRig rig;
    rig.start(book::Reading);
    for (int i = 0; i < 39; ++i)
        rig.steps().fallOut(0);
    QCOMPARE(rig.s().stock.count(), 11);
    QCOMPARE(rig.ends, 0);

    pickDrop0(rig);
    rig.select(rig.s().drops[0].answer);

    QCOMPARE(rig.ends, 1);
    QCOMPARE(rig.s().stock.count(), 10);
    QVERIFY(!rig.s().running && !rig.s().timerOn);
    QCOMPARE(rig.resultLines().last(),
             u" "_s + QString(12, QChar(0x3000)) + QString(12, u' ') + u"-- リーディング編 --"_s);
    // The answered drop still got its next word and the box its pick list.
    QVERIFY(rig.s().drops[0].caption != kStoppedCaption);
    QCOMPARE(rig.s().drops[1].caption, kStoppedCaption);
    QCOMPARE(rig.s().answerBox.entries.size(), 5);
    QCOMPARE(rig.s().answerBox.entries[0], rig.s().drops[0].caption);

    // Nothing answers once the drill has ended.
    const QByteArray result = testsupport::fileBytes(rig.resultPath);
    rig.s().drops[0].top = 0;
    rig.select(rig.s().drops[0].caption);
    rig.tick(25);
    QCOMPARE(rig.s().drops[0].top, 0.0);
    QCOMPARE(rig.s().selectedDrop, kNoDrop);
    QCOMPARE(testsupport::fileBytes(rig.resultPath), result);
}

QTEST_GUILESS_MAIN(TestDrillAnswer)
#include "tst_drill_answer.moc"
