// The shape of a book: end record search, classes, and the data reset.
#include "book/book.h"
#include "test_book.h"

#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace book;
using namespace testsupport;

Q_DECLARE_METATYPE(book::BookState)

using RecordTexts = QList<QPair<int, QString>>;

class TestBookStructure : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void endRecordSearch_data();
    void endRecordSearch();
    void fullBookOf24Classes();
    void classCountRounding_data();
    void classCountRounding();
    void roundingIsHalfToEven();
    void classByName_data();
    void classByName();
    void resetRewritesExactlyTheBooksRecords();
    void resetGrowsAShortFile();
    void resetWithoutEndRecordWritesNothing();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path_;
};

void TestBookStructure::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    path_ = dir_->filePath(QStringLiteral("Word.dat"));
}

void TestBookStructure::endRecordSearch_data() {
    QTest::addColumn<RecordTexts>("englishTexts"); // written into a file of 1,300 word records
    QTest::addColumn<int>("record");
    QTest::addColumn<BookState>("state");

    const auto eof = QStringLiteral("EOF");
    const auto fin = QStringLiteral("Fin.");
    QTest::newRow("plain EOF") << RecordTexts{{103, eof}} << 103 << BookState::Valid;
    QTest::newRow("EOF within blanks")
        << RecordTexts{{103, QStringLiteral("  EOF ")}} << 103 << BookState::Valid;
    QTest::newRow("lower case eof")
        << RecordTexts{{103, QStringLiteral("eof")}} << 0 << BookState::NoEndRecord;
    QTest::newRow("ideographic space is not a blank")
        << RecordTexts{{103, QStringLiteral("\u3000EOF")}} << 0 << BookState::NoEndRecord;
    QTest::newRow("Fin. after EOF")
        << RecordTexts{{103, eof}, {120, fin}} << 103 << BookState::Valid;
    QTest::newRow("Fin. first") << RecordTexts{{52, fin}, {103, eof}} << 52 << BookState::Obsolete;
    QTest::newRow("Fin. within blanks")
        << RecordTexts{{1, QStringLiteral(" Fin. ")}} << 1 << BookState::Obsolete;
    QTest::newRow("nothing in 1 to 1241") << RecordTexts{} << 0 << BookState::NoEndRecord;
    QTest::newRow("EOF at the last searched record")
        << RecordTexts{{1241, eof}} << 1241 << BookState::Valid;
    QTest::newRow("EOF at record 1242 is not searched")
        << RecordTexts{{1242, eof}} << 0 << BookState::NoEndRecord;
}

void TestBookStructure::endRecordSearch() {
    QFETCH(RecordTexts, englishTexts);
    QFETCH(int, record);
    QFETCH(BookState, state);

    RecordFile file(path_);
    QVERIFY(file.open(RecordFile::Access::Create));
    for (int r = 1; r <= 1300; ++r)
        QCOMPARE(file.write(r, WordRecord{r, QStringLiteral("word"), QStringLiteral("EOF"), {}}),
                 WriteStatus::Ok);
    for (const auto& [r, english] : englishTexts)
        QCOMPARE(file.write(r, WordRecord{r, english, QString(), {}}), WriteStatus::Ok);

    const EndRecord end = findEndRecord(file);
    QCOMPARE(end.record, record);
    QCOMPARE(end.state, state);
}

void TestBookStructure::fullBookOf24Classes() {
    QCOMPARE(writeBook(path_, 24), 1225);
    RecordFile file(path_);
    QVERIFY(file.open(RecordFile::Access::ReadOnly));
    QCOMPARE(file.recordCount(), 1225 + 19);

    const EndRecord end = findEndRecord(file);
    QCOMPARE(end.record, 1225);
    QVERIFY(end.isValid());
    QCOMPARE(classCount(end.record), 24);
    const QStringList names = listClasses(file, end.record);
    QCOMPARE(names.size(), 24);
    QCOMPARE(names.first(), QStringLiteral("クラス０"));
    QCOMPARE(names.last(), QStringLiteral("クラス２３"));
    QCOMPARE(file.read(1224).english, QStringLiteral("w23_50"));
    QCOMPARE(file.read(1226).english, QStringLiteral("テスト"));

    // One class more puts the end record out of reach of the search.
    const QString bigger = dir_->filePath(QStringLiteral("big.vel"));
    QCOMPARE(writeBook(bigger, 25), 1276);
    RecordFile big(bigger);
    QVERIFY(big.open(RecordFile::Access::ReadOnly));
    QCOMPARE(findEndRecord(big).state, BookState::NoEndRecord);
}

void TestBookStructure::classCountRounding_data() {
    QTest::addColumn<int>("eofRecord");
    QTest::addColumn<int>("classes");

    QTest::newRow("no end record") << 0 << 0;
    QTest::newRow("end record first") << 1 << 0;
    QTest::newRow("one class") << 52 << 1;
    QTest::newRow("two classes") << 103 << 2;
    QTest::newRow("24 classes") << 1225 << 24;
    QTest::newRow("25/51 rounds down") << 77 << 1;
    QTest::newRow("26/51 rounds up") << 78 << 2;
    QTest::newRow("76/51 rounds down") << 128 << 2;
    QTest::newRow("77/51 rounds up") << 129 << 3;
    QTest::newRow("Fin. at the first word") << 2 << 0;
    QTest::newRow("one record short of a class") << 1224 << 24;
}

void TestBookStructure::classCountRounding() {
    QFETCH(int, eofRecord);
    QFETCH(int, classes);
    QCOMPARE(classCount(eofRecord), classes);
}

void TestBookStructure::roundingIsHalfToEven() {
    QCOMPARE(roundHalfEven(0.5), 0LL);
    QCOMPARE(roundHalfEven(1.5), 2LL);
    QCOMPARE(roundHalfEven(2.5), 2LL);
    QCOMPARE(roundHalfEven(2.5000001), 3LL);
    QCOMPARE(roundHalfEven(-0.5), 0LL);
    QCOMPARE(roundHalfEven(-1.5), -2LL);
    QCOMPARE(roundHalfEven(112.5), 112LL);
}

void TestBookStructure::classByName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("classIndex"); // -1: not found

    QTest::newRow("first class") << QStringLiteral("クラス０") << 0;
    QTest::newRow("header stored with blanks") << QStringLiteral("クラス１") << 1;
    QTest::newRow("same name twice gives the first") << QStringLiteral("同名") << 2;
    QTest::newRow("half-width digit is another name") << QStringLiteral("クラス0") << -1;
    QTest::newRow("blanks are not part of the name") << QStringLiteral(" クラス１") << -1;
    QTest::newRow("class behind the end record") << QStringLiteral("クラス４") << -1;
}

void TestBookStructure::classByName() {
    QFETCH(QString, name);
    QFETCH(int, classIndex);

    BookContent content = makeBookContent(5);
    content.classes[1].name = QStringLiteral("  クラス１ ");
    content.classes[2].name = QStringLiteral("同名");
    content.classes[3].name = QStringLiteral("同名");
    writeBook(path_, content);
    // Cut the book to four classes: the fifth class's records are still in the file.
    writeRecord(path_, endRecordFor(4), WordRecord{endRecordFor(4), QStringLiteral("EOF"), {}, {}});

    RecordFile file(path_);
    QVERIFY(file.open(RecordFile::Access::ReadOnly));
    const std::optional<int> found = findClassByName(file, endRecordFor(4), name);
    QCOMPARE(found.value_or(-1), classIndex);
    QCOMPARE(listClasses(file, endRecordFor(4)),
             (QStringList{QStringLiteral("クラス０"), QStringLiteral("クラス１"),
                          QStringLiteral("同名"), QStringLiteral("同名")}));
}

void TestBookStructure::resetRewritesExactlyTheBooksRecords() {
    const int eof = writeBook(path_, 2);
    QCOMPARE(eof, 103);
    // Learning data everywhere, blanks around texts, junk in the reserved records, and
    // records behind the book that the reset has no business touching.
    writeRecord(
        path_, 1,
        WordRecord{99, QStringLiteral(" Class 1 "), QStringLiteral(" クラス０ "), {3, 2, 1}});
    writeRecord(
        path_, 2,
        WordRecord{2, QStringLiteral(" w0_1"), QStringLiteral("訳 "), {kMemorisedMark, -5, 7}});
    writeRecord(path_, 103, WordRecord{103, QStringLiteral(" EOF "), QString(), {1, 1, 1}});
    writeRecord(path_, 104,
                WordRecord{104, QStringLiteral("題名 "), QStringLiteral("x"), {4, 4, 4}});
    writeRecord(path_, 108, WordRecord{108, QStringLiteral("12"), QStringLiteral("34"), {9, 9, 9}});
    writeRecord(path_, 114,
                WordRecord{114, QStringLiteral("3"), QStringLiteral("speed"), {8, 8, 8}});
    for (int r = 123; r <= 126; ++r)
        writeRecord(path_, r,
                    WordRecord{r, QStringLiteral("after"), QStringLiteral("後"), {5, 5, 5}});
    const QByteArray before = fileBytes(path_);

    RecordFile file(path_);
    QVERIFY(file.open());
    QCOMPARE(resetLearningData(file, eof), WriteStatus::Ok);

    const QByteArray after = fileBytes(path_);
    QCOMPARE(after.size(), before.size());
    QCOMPARE(after.mid(122 * 128), before.mid(122 * 128));
    QCOMPARE(file.read(1),
             (WordRecord{1, QStringLiteral("Class 1"), QStringLiteral("クラス０"), {}}));
    QCOMPARE(file.read(2), (WordRecord{2, QStringLiteral("w0_1"), QStringLiteral("訳"), {}}));
    QCOMPARE(file.read(103), (WordRecord{103, QStringLiteral("EOF"), QString(), {}}));
    QCOMPARE(file.read(104), (WordRecord{104, QStringLiteral("題名"), QStringLiteral("x"), {}}));
    for (int r = 1; r <= 104; ++r) {
        const WordRecord record = file.read(r);
        QCOMPARE(record.id, r);
        QCOMPARE(record.modeCount, (std::array<qint16, 3>{}));
    }
    for (int r = 105; r <= 122; ++r) {
        const QByteArray reserved = QByteArray::fromRawData(after.constData() + (r - 1) * 128, 128);
        QByteArray expected(128, '\0');
        expected[0] = char(r);
        expected.replace(4, 6, QByteArray::fromHex("0100300100 30"));
        QCOMPARE(reserved.toHex(), expected.toHex());
    }
}

void TestBookStructure::resetGrowsAShortFile() {
    const int eof = writeBook(path_, 1);
    QFile cut(path_);
    QVERIFY(cut.resize((eof + 3) * 128 - 50)); // trailer records missing, the last one cut
    RecordFile file(path_);
    QVERIFY(file.open());
    QCOMPARE(resetLearningData(file, eof), WriteStatus::Ok);
    QCOMPARE(file.recordCount(), eof + 19);
    QCOMPARE(file.read(eof + 19),
             (WordRecord{eof + 19, QStringLiteral("0"), QStringLiteral("0"), {}}));
    QCOMPARE(findEndRecord(file).record, eof);
}

void TestBookStructure::resetWithoutEndRecordWritesNothing() {
    writeBook(path_, 1);
    writeRecord(path_, 52, WordRecord{52, QStringLiteral("gone"), QString(), {}});
    const QByteArray before = fileBytes(path_);
    RecordFile file(path_);
    QVERIFY(file.open());
    const EndRecord end = findEndRecord(file);
    QCOMPARE(end.state, BookState::NoEndRecord);
    QVERIFY(resetLearningData(file, end.record) != WriteStatus::Ok);
    QCOMPARE(fileBytes(path_), before);
}

QTEST_GUILESS_MAIN(TestBookStructure)
#include "tst_book_structure.moc"
