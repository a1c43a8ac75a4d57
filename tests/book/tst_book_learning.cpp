// Learning events and end-of-drill statistics, checked in the bytes of the book.
#include "book/book.h"
#include "book/cp932.h"
#include "book/learning.h"
#include "book/settings.h"
#include "test_book.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <memory>

using namespace book;
using namespace testsupport;

namespace {

constexpr int kEof = 103; // a two-class book
constexpr int kWord = 60; // class 1, word 8
const QString kEnglish = QStringLiteral("w1_8");
const QString kJapanese = QStringLiteral("訳１＿８");

// The counter of `mode` in a record's raw bytes, found behind its two texts.
int counterInSlot(const QByteArray& slot, int mode) {
    const int englishLength = qFromLittleEndian<quint16>(slot.constData() + 4);
    const int japaneseAt = 6 + englishLength;
    const int japaneseLength = qFromLittleEndian<quint16>(slot.constData() + japaneseAt);
    return qFromLittleEndian<qint16>(slot.constData() + japaneseAt + 2 + japaneseLength + 2 * mode);
}

} // namespace

class TestBookLearning : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void answerEvent_data();
    void answerEvent();
    void drillEnd_data();
    void drillEnd();
    void settingWriteKeepsTheOtherField();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
};

void TestBookLearning::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    path_ = dir_->filePath(QStringLiteral("Word.dat"));
    QCOMPARE(writeBook(path_, 2), kEof);
}

void TestBookLearning::answerEvent_data() {
    QTest::addColumn<bool>("correct");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    // Statistics records before and after: forgotten total, repetition, memorised total.
    QTest::addColumn<QList<int>>("statsBefore");
    QTest::addColumn<QList<int>>("statsAfter");
    QTest::addColumn<bool>("changedState");

    const int mark = kMemorisedMark;
    QTest::newRow("correct, new") << true << 0 << 0 << mark << QList{4, 10, 20} << QList{4, 10, 21}
                                  << true;
    QTest::newRow("correct, unlearned")
        << true << 1 << 5 << mark << QList{4, 10, 20} << QList{4, 15, 21} << true;
    QTest::newRow("correct, first forgotten")
        << true << 2 << -1 << mark << QList{4, 10, 20} << QList{3, 11, 21} << true;
    QTest::newRow("correct, forgotten")
        << true << 0 << -7 << mark << QList{4, 10, 20} << QList{3, 17, 21} << true;
    QTest::newRow("correct, memorised")
        << true << 1 << mark << mark << QList{4, 10, 20} << QList{4, 10, 20} << false;
    QTest::newRow("correct, repetition saturates")
        << true << 2 << -32767 << mark << QList{1, 100, 20} << QList{0, 32767, 21} << true;
    QTest::newRow("correct, memorised total saturates")
        << true << 0 << 3 << mark << QList{0, 0, 32767} << QList{0, 3, 32767} << true;
    QTest::newRow("miss, new gives 1")
        << false << 0 << 0 << 1 << QList{4, 10, 20} << QList{4, 10, 20} << false;
    QTest::newRow("miss, unlearned")
        << false << 1 << 6 << 7 << QList{4, 10, 20} << QList{4, 10, 20} << false;
    QTest::newRow("miss, unlearned at the limit")
        << false << 2 << 32767 << 32767 << QList{4, 10, 20} << QList{4, 10, 20} << false;
    QTest::newRow("miss, forgotten")
        << false << 0 << -1 << -2 << QList{4, 10, 20} << QList{4, 10, 20} << false;
    QTest::newRow("miss, forgotten stops at -32767")
        << false << 1 << -32767 << -32767 << QList{4, 10, 20} << QList{4, 10, 20} << false;
    QTest::newRow("miss, memorised")
        << false << 2 << mark << -1 << QList{4, 10, 20} << QList{5, 10, 19} << true;
    QTest::newRow("miss, totals stop at -32767")
        << false << 0 << mark << -1 << QList{32767, 0, -32767} << QList{32767, 0, -32767} << true;
}

void TestBookLearning::answerEvent() {
    QFETCH(bool, correct);
    QFETCH(int, mode);
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(QList<int>, statsBefore);
    QFETCH(QList<int>, statsAfter);
    QFETCH(bool, changedState);

    const std::array<Trailer, 3> stats{Trailer::ForgottenTotal, Trailer::Repetition,
                                       Trailer::MemorisedTotal};
    // The word is stored with blanks around its texts; every event stores them trimmed.
    WordRecord word{kWord, u' ' + kEnglish + u' ', kJapanese + u' ', {11, 12, 13}};
    word.modeCount[mode] = qint16(before);
    writeRecord(path_, kWord, word);
    for (int i = 0; i < 3; ++i) {
        const int r = trailerRecord(kEof, stats[i]);
        writeRecord(
            path_, r,
            WordRecord{r,
                       QStringLiteral("0"),
                       QStringLiteral("0"),
                       {qint16(statsBefore[i]), qint16(statsBefore[i]), qint16(statsBefore[i])}});
    }
    const QByteArray fileBefore = fileBytes(path_);

    RecordFile file(path_);
    QVERIFY(file.open());
    const AnswerBooking booking =
        correct ? bookCorrectAnswer(file, kEof, kWord, mode) : bookMiss(file, kEof, kWord, mode);
    QCOMPARE(booking.status, WriteStatus::Ok);
    QCOMPARE(booking.changedState, changedState);

    const QByteArray wordSlot = slotBytes(path_, kWord);
    WordRecord expected{kWord, kEnglish, kJapanese, {11, 12, 13}};
    expected.modeCount[mode] = qint16(after);
    QCOMPARE(wordSlot.toHex(), encodeSlot(expected).bytes.toHex());
    QCOMPARE(counterInSlot(wordSlot, mode), after);

    for (int i = 0; i < 3; ++i) {
        const QByteArray slot = slotBytes(path_, trailerRecord(kEof, stats[i]));
        for (int m = 0; m < 3; ++m)
            QCOMPARE(counterInSlot(slot, m), m == mode ? statsAfter[i] : statsBefore[i]);
    }
    // Nothing else in the file moved.
    QByteArray fileAfter = fileBytes(path_);
    for (int r : {kWord, trailerRecord(kEof, stats[0]), trailerRecord(kEof, stats[1]),
                  trailerRecord(kEof, stats[2])}) {
        fileAfter.replace((r - 1) * 128, 128, fileBefore.mid((r - 1) * 128, 128));
    }
    QVERIFY(fileAfter == fileBefore);
}

void TestBookLearning::drillEnd_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("counterBefore"); // class plays, drills of the mode
    QTest::addColumn<int>("studyBefore");
    QTest::addColumn<double>("seconds");
    QTest::addColumn<int>("studyAfter");
    QTest::addColumn<int>("memorisedClasses");

    QTest::newRow("half rounds to even, down") << 0 << 0 << 100 << 12.5 << 112 << 2;
    QTest::newRow("half rounds to even, up") << 1 << 4 << 101 << 12.5 << 114 << 1;
    QTest::newRow("fraction rounds to nearest") << 2 << 7 << 0 << 59.7 << 60 << 0;
    QTest::newRow("study time stops at 32767") << 1 << 32767 << 32700 << 300.0 << 32767 << 1;
}

void TestBookLearning::drillEnd() {
    QFETCH(int, mode);
    QFETCH(int, counterBefore);
    QFETCH(int, studyBefore);
    QFETCH(double, seconds);
    QFETCH(int, studyAfter);
    QFETCH(int, memorisedClasses);

    // Mode 0: both classes fully memorised; mode 1: class 0 lacks one word; mode 2: none.
    for (int r = 2; r <= 102; ++r) {
        if (r == 52)
            continue;
        WordRecord word = readRecord(path_, r);
        word.modeCount = {kMemorisedMark, r == 2 ? qint16(-1) : kMemorisedMark, 0};
        writeRecord(path_, r, word);
    }
    const qint16 c = qint16(counterBefore);
    writeRecord(path_, 52,
                WordRecord{52, QStringLiteral("Class 2"), QStringLiteral("クラス１"), {c, c, c}});
    const int speed = trailerRecord(kEof, Trailer::Speed);
    writeRecord(path_, speed,
                WordRecord{speed, QStringLiteral("3"), QStringLiteral("0"), {c, c, c}});
    const int study = trailerRecord(kEof, Trailer::StudyTime);
    const qint16 s = qint16(studyBefore);
    writeRecord(path_, study,
                WordRecord{study, QStringLiteral("0"), QStringLiteral("0"), {s, s, s}});
    const int memorised = trailerRecord(kEof, Trailer::MemorisedTotal);
    writeRecord(path_, memorised,
                WordRecord{memorised, QStringLiteral("0"), QStringLiteral("0"), {99, 98, 97}});

    RecordFile file(path_);
    QVERIFY(file.open());
    const DrillEndBooking booking = bookDrillEnd(file, kEof, 52, mode, seconds);
    QCOMPARE(booking.status, WriteStatus::Ok);
    QCOMPARE(booking.memorisedTotal, qint16(99 - mode));

    const int played = std::min(counterBefore + 1, 32767);
    auto expectCounters = [mode](const WordRecord& record, int changed, int others) {
        for (int m = 0; m < 3; ++m)
            QCOMPARE(int(record.modeCount[m]), m == mode ? changed : others);
    };
    expectCounters(file.read(52), played, counterBefore);
    QCOMPARE(file.read(52).japanese, QStringLiteral("クラス１"));
    expectCounters(file.read(speed), played, counterBefore);
    QCOMPARE(file.read(speed).english, QStringLiteral("3"));
    expectCounters(file.read(study), studyAfter, studyBefore);
    QCOMPARE(int(file.read(trailerRecord(kEof, Trailer::MemorisedClasses)).modeCount[mode]),
             memorisedClasses);
}

void TestBookLearning::settingWriteKeepsTheOtherField() {
    const int voice = trailerRecord(kEof, Trailer::Voice);
    writeRecord(path_, voice,
                WordRecord{voice, QStringLiteral(" 0 "), QStringLiteral("0"), {1, 2, 3}});
    const QByteArray before = fileBytes(path_);
    RecordFile file(path_);
    QVERIFY(file.open());
    QCOMPARE(writeSetting(file, voice, SettingField::Japanese, storedVoiceText(false)),
             WriteStatus::Ok);
    QCOMPARE(file.read(voice),
             (WordRecord{voice, QStringLiteral("0"), QStringLiteral("1"), {1, 2, 3}}));
    QCOMPARE(voiceFromText(file.read(voice).japanese), std::optional<bool>(false));
    QCOMPARE(fileBytes(path_).left((voice - 1) * 128), before.left((voice - 1) * 128));
    QCOMPARE(fileBytes(path_).mid(voice * 128), before.mid(voice * 128));
    QCOMPARE(speedFromText(QStringLiteral("2")), std::nullopt);
    QCOMPARE(speedFromText(QStringLiteral("0")), std::optional<int>(1));
}

QTEST_GUILESS_MAIN(TestBookLearning)
#include "tst_book_learning.moc"
