// Slots on disk: byte layout, CP932 texts, refused writes, damaged files, shared handles.
#include "book/cp932.h"
#include "book/record_file.h"
#include "book/text_file.h"
#include "book/word_record.h"
#include "test_book.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <memory>

using namespace book;
using namespace testsupport;

Q_DECLARE_METATYPE(book::WordRecord)
Q_DECLARE_METATYPE(book::WriteStatus)

namespace book {
char* toString(const WordRecord& r) {
    return QTest::toString(QStringLiteral("{%1, \"%2\", \"%3\", %4 %5 %6}")
                               .arg(r.id)
                               .arg(r.english, r.japanese)
                               .arg(r.modeCount[0])
                               .arg(r.modeCount[1])
                               .arg(r.modeCount[2]));
}
} // namespace book

namespace {

QByteArray le16(int value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian<qint16>(qint16(value), bytes.data());
    return bytes;
}

QByteArray le32(int value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian<qint32>(value, bytes.data());
    return bytes;
}

// A slot put together byte by byte, as another program would have written it.
QByteArray rawSlot(int id, const QByteArray& english, const QByteArray& japanese,
                   std::array<int, 3> counts = {}) {
    QByteArray slot =
        le32(id) + le16(int(english.size())) + english + le16(int(japanese.size())) + japanese;
    for (int c : counts)
        slot += le16(c);
    return slot.leftJustified(kSlotSize, '\0', true);
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

} // namespace

class TestBookRecords : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void writeIsSeenThroughAnotherOpenHandle();
    void slotLayout_data();
    void slotLayout();
    void refusedWriteChangesNothing_data();
    void refusedWriteChangesNothing();
    void writePastTheEndFillsTheGapWithEmptySlots();
    void damagedSlotReadsAsFarAsItMakesSense_data();
    void damagedSlotReadsAsFarAsItMakesSense();
    void truncatedLastSlotStillCounts();
    void missingAndEmptyFiles();
    void textFileIsCp932WithCrLf();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
};

void TestBookRecords::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    path_ = dir_->filePath(QStringLiteral("Word.dat"));
}

void TestBookRecords::writeIsSeenThroughAnotherOpenHandle() {
    writeBook(path_, 1);
    RecordFile drill(path_);
    RecordFile editor(path_);
    QVERIFY(drill.open());
    QVERIFY(editor.open());

    const WordRecord first{
        3, QStringLiteral("apple"), QStringLiteral("りんご"), {kMemorisedMark, 2, -1}};
    QCOMPARE(editor.write(3, first), WriteStatus::Ok);
    QCOMPARE(drill.read(3), first);

    // And back the other way, with a record past the old end of the file.
    const WordRecord second{200, QStringLiteral("pear"), QStringLiteral("洋なし"), {1, 0, 0}};
    QCOMPARE(drill.write(200, second), WriteStatus::Ok);
    QCOMPARE(editor.read(200), second);
    QCOMPARE(editor.recordCount(), 200);
    QCOMPARE(readRecord(path_, 200), second);
}

void TestBookRecords::slotLayout_data() {
    QTest::addColumn<WordRecord>("record");
    QTest::addColumn<QByteArray>("englishBytes");
    QTest::addColumn<QByteArray>("japaneseBytes");

    QTest::newRow("symbols and ideographic space")
        << WordRecord{7, QStringLiteral("star"), QStringLiteral("～①☆？\u3000星"), {0, 5, -1}}
        << QByteArray("star") << QByteArray::fromHex("8160874081998148814090af");
    QTest::newRow("memorised mark and limits") << WordRecord{-2,
                                                             QStringLiteral("a"),
                                                             QStringLiteral("あ"),
                                                             {kMemorisedMark, 32767, -32767}}
                                               << QByteArray("a") << QByteArray::fromHex("82a0");
    QTest::newRow("half-width katakana take one byte")
        << WordRecord{1225, QStringLiteral("EOF"), QStringLiteral("ﾘｰﾃﾞｨﾝｸﾞ"), {}}
        << QByteArray("EOF") << QByteArray::fromHex("d8b0c3dea8ddb8de");
    QTest::newRow("backslash and tilde stay ASCII")
        << WordRecord{1, QStringLiteral("a\\b~c"), QString(), {}} << QByteArray("a\\b~c")
        << QByteArray();
    QTest::newRow("exactly 114 bytes of text")
        << WordRecord{9, QString(100, u'x'), QString(7, u'語'), {1, 2, 3}} << QByteArray(100, 'x')
        << QByteArray::fromHex("8cea").repeated(7);
}

void TestBookRecords::slotLayout() {
    QFETCH(WordRecord, record);
    QFETCH(QByteArray, englishBytes);
    QFETCH(QByteArray, japaneseBytes);

    {
        RecordFile file(path_);
        QVERIFY(file.open(RecordFile::Access::Create));
        QCOMPARE(file.write(2, record), WriteStatus::Ok);
    }
    const QByteArray expected =
        rawSlot(record.id, englishBytes, japaneseBytes,
                {record.modeCount[0], record.modeCount[1], record.modeCount[2]});
    QCOMPARE(fileBytes(path_).size(), 2 * kSlotSize);
    QCOMPARE(slotBytes(path_, 2).toHex(), expected.toHex());
    QCOMPARE(readRecord(path_, 2), record);
}

void TestBookRecords::refusedWriteChangesNothing_data() {
    QTest::addColumn<int>("recordNo");
    QTest::addColumn<WordRecord>("record");
    QTest::addColumn<WriteStatus>("status");

    QTest::newRow("115 bytes of text")
        << 2 << WordRecord{2, QString(101, u'x'), QString(7, u'語'), {}} << WriteStatus::TooLong;
    QTest::newRow("58 full-width characters")
        << 2 << WordRecord{2, QString(), QString(58, u'語'), {}} << WriteStatus::TooLong;
    QTest::newRow("Hangul in the Japanese text")
        << 2 << WordRecord{2, QStringLiteral("hello"), QStringLiteral("안녕"), {}}
        << WriteStatus::NotEncodable;
    QTest::newRow("emoji in the English text")
        << 3 << WordRecord{3, QStringLiteral("smile\U0001F600"), QStringLiteral("笑顔"), {}}
        << WriteStatus::NotEncodable;
    QTest::newRow("record 0") << 0 << WordRecord{0, QStringLiteral("a"), QStringLiteral("あ"), {}}
                              << WriteStatus::BadRecordNumber;
    QTest::newRow("record -51") << -51 << WordRecord{} << WriteStatus::BadRecordNumber;
    QTest::newRow("past the end, too long")
        << 500 << WordRecord{500, QString(115, u'x'), QString(), {}} << WriteStatus::TooLong;
}

void TestBookRecords::refusedWriteChangesNothing() {
    QFETCH(int, recordNo);
    QFETCH(WordRecord, record);
    QFETCH(WriteStatus, status);

    writeBook(path_, 1);
    const QByteArray before = fileBytes(path_);
    RecordFile file(path_);
    QVERIFY(file.open());
    QCOMPARE(file.write(recordNo, record), status);
    QCOMPARE(fileBytes(path_), before);
}

void TestBookRecords::writePastTheEndFillsTheGapWithEmptySlots() {
    RecordFile file(path_);
    QVERIFY(file.open(RecordFile::Access::Create));
    QCOMPARE(file.write(5, WordRecord{5, QStringLiteral("e"), QStringLiteral("え"), {}}),
             WriteStatus::Ok);
    const QByteArray bytes = fileBytes(path_);
    QCOMPARE(bytes.size(), 5 * kSlotSize);
    QCOMPARE(bytes.left(4 * kSlotSize), QByteArray(4 * kSlotSize, '\0'));
    QCOMPARE(file.read(3), WordRecord{});
    QCOMPARE(file.read(5).english, QStringLiteral("e"));
}

void TestBookRecords::damagedSlotReadsAsFarAsItMakesSense_data() {
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<WordRecord>("expected");

    QByteArray pastEnglish = le32(4) + le16(300) + QByteArray(122, 'q');
    QTest::newRow("English length runs past the slot")
        << pastEnglish << WordRecord{4, QString(122, u'q'), QString(), {}};

    QByteArray pastJapanese = le32(5) + le16(3) + "dog" + le16(200) + QByteArray::fromHex("8ca2");
    pastJapanese = pastJapanese.leftJustified(kSlotSize, '\0');
    QTest::newRow("Japanese length runs past the slot")
        << pastJapanese
        << WordRecord{
               5, QStringLiteral("dog"), QStringLiteral("犬") + QString(kSlotSize - 13, u'\0'), {}};

    // The second counter has only its low byte inside the slot: it is not there.
    QTest::newRow("counters cut off by the slot end")
        << (le32(6) + le16(3) + "cat" + le16(114) + QByteArray(114, 'n') + le16(9) + "\x05")
        << WordRecord{6, QStringLiteral("cat"), QString(114, u'n'), {9, 0, 0}};

    QTest::newRow("invalid trail byte does not swallow the next character")
        << rawSlot(7, QByteArray::fromHex("812061"), QByteArray("ok"), {1, 2, 3})
        << WordRecord{7, QStringLiteral("\uFFFD a"), QStringLiteral("ok"), {1, 2, 3}};
    QTest::newRow("lone lead byte at the end of a text")
        << rawSlot(8,
                   QByteArray::fromHex("6162"
                                       "82"),
                   QByteArray::fromHex("82a0"), {4, 5, 6})
        << WordRecord{8, QStringLiteral("ab\uFFFD"), QStringLiteral("あ"), {4, 5, 6}};
}

void TestBookRecords::damagedSlotReadsAsFarAsItMakesSense() {
    QFETCH(QByteArray, slot);
    QFETCH(WordRecord, expected);

    QCOMPARE(decodeSlot(slot), expected);
    // The same slot on disk, followed by a sound one that must not be disturbed.
    const WordRecord next{2, QStringLiteral("next"), QStringLiteral("次"), {1, 1, 1}};
    writeBytes(path_, slot.leftJustified(kSlotSize, '\0', true) + encodeSlot(next).bytes);
    RecordFile file(path_);
    QVERIFY(file.open(RecordFile::Access::ReadOnly));
    QCOMPARE(file.read(1), expected);
    QCOMPARE(file.read(2), next);
}

void TestBookRecords::truncatedLastSlotStillCounts() {
    const QByteArray whole = rawSlot(1, "one", "一", {1, 1, 1});
    const QByteArray second = rawSlot(2, "two", QByteArray::fromHex("93f1"), {2, 2, 2});
    writeBytes(path_, whole + second.left(13));
    RecordFile file(path_);
    QVERIFY(file.open(RecordFile::Access::ReadOnly));
    QCOMPARE(file.recordCount(), 2);
    QCOMPARE(file.read(2), (WordRecord{2, QStringLiteral("two"), QStringLiteral("二"), {}}));
    QCOMPARE(file.read(3), WordRecord{});
}

void TestBookRecords::missingAndEmptyFiles() {
    RecordFile missing(path_);
    QVERIFY(!missing.open(RecordFile::Access::ReadOnly));
    QVERIFY(!missing.open(RecordFile::Access::ReadWrite));
    QVERIFY(!QFile::exists(path_)); // opening for writing must not make a book out of nothing
    QCOMPARE(missing.read(1), WordRecord{});
    QCOMPARE(missing.recordCount(), 0);
    QCOMPARE(missing.write(1, WordRecord{1, QStringLiteral("a"), QString(), {}}),
             WriteStatus::IoError);

    writeBytes(path_, {});
    RecordFile empty(path_);
    QVERIFY(empty.open(RecordFile::Access::ReadOnly));
    QCOMPARE(empty.recordCount(), 0);
    QCOMPARE(empty.read(1), WordRecord{});
    QCOMPARE(empty.write(1, WordRecord{1, QStringLiteral("a"), QString(), {}}),
             WriteStatus::IoError);
    QCOMPARE(fileBytes(path_), QByteArray());
}

void TestBookRecords::textFileIsCp932WithCrLf() {
    const QString path = dir_->filePath(QStringLiteral("display.txt"));
    QVERIFY(writeTextFile(
        path, {QStringLiteral("☆ apple\u3000りんご"), QString(), QStringLiteral("안 x")}));
    QCOMPARE(fileBytes(path),
             QByteArray::fromHex("8199206170706c65814082e882f182b2") + "\r\n\r\n? x\r\n");
    QCOMPARE(readCp932File(path), QStringLiteral("☆ apple\u3000りんご\r\n\r\n? x\r\n"));
}

QTEST_GUILESS_MAIN(TestBookRecords)
#include "tst_book_records.moc"
