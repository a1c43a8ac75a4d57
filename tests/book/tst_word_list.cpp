// Spreadsheet word lists: how their bytes are read, what is refused and how, and cells
// that a spreadsheet would take for formulas.
#include "book/list_writer.h"
#include "book/word_list.h"
#include "test_book.h"

#include <QtTest>

using namespace book;
using namespace Qt::StringLiterals;

namespace {

// One class of 50 rows, "c<TAB>wN<TAB>" + meaning + N; row N is line N.
QByteArray classRows(const QByteArray& meaning, const QByteArray& name = "c") {
    QByteArray list;
    for (int i = 1; i <= 50; ++i)
        list +=
            name + "\tw" + QByteArray::number(i) + '\t' + meaning + QByteArray::number(i) + '\n';
    return list;
}

QByteArray withLine(QByteArray list, int line, const QByteArray& text) {
    QList<QByteArray> lines = list.split('\n');
    lines[line - 1] = text;
    return lines.join('\n');
}

} // namespace

class TestClassListing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusedList_data();
    void refusedList();
    void formulaCellsReadBack_data();
    void formulaCellsReadBack();
};

void TestClassListing::refusedList_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason"); // the first problem's, in English
    QTest::addColumn<int>("count");

    // 行く in UTF-8 happens to be CP932 too (陦後￥): the file as a whole decodes as CP932.
    const QByteArray utf8 = classRows("行く");
    QTest::newRow("UTF-8 list, one line of CP932")
        << withLine(utf8, 26, "c\tw26\t\x82\xa0") << 26 << u"the line is not valid UTF-8"_s << 1;
    QTest::newRow("UTF-8 list, a line ending in half a character")
        << withLine(utf8, 7, "c\tw7\t\xe3") << 7 << u"the line is not valid UTF-8"_s << 1;
    const QByteArray cp932 = classRows("\x8d\x73\x82\xad"); // 行く in CP932
    QTest::newRow("CP932 list, one line of UTF-8")
        << withLine(cp932, 3, "c\tw3\t日本語3") << 3 << u"the line is not valid Shift-JIS (CP932)"_s
        << 1;
    QTest::newRow("CP932 list, a line ending in half a character")
        << withLine(cp932, 5, "c\tw5\t\x8d") << 5 << u"the line is not valid Shift-JIS (CP932)"_s
        << 1;
    QTest::newRow("Latin-1 list") << QByteArray("caf\xe9\tcoffee\tkohi\n") << 1
                                  << u"the line is neither UTF-8 nor Shift-JIS (CP932) text"_s << 1;

    const QByteArray ascii = classRows("m");
    QTest::newRow("stray quote opening line 1")
        << '"' + ascii << 1 << u"the quote (\") that opens a field on this line is never closed"_s
        << 1;
    QTest::newRow("quote opening on the second line of a row")
        << withLine(ascii, 50, "c\t\"w\n50\"\t\"m50") << 51
        << u"the quote (\") that opens a field on this line is never closed"_s << 1;
    QTest::newRow("class name cut short in the message")
        << ascii + QByteArray(300, 'k') + "\tw\tm\n"
        << 51 << u"class name \""_s + QString(31, u'k') + u"…\": the texts take"_s << 1;
    QTest::newRow("class name holding %1")
        << QByteArray("%1%2\tw1\tm1\n%1%2\tw2\tm2\n%1%2\tw3\tm3\n") << 1
        << u"class \"%1%2\" has only 3 rows; a class has exactly 50"_s << 1;
    // A name or word holding "%1" or "%2" is quoted as it is, whatever else the message says.
    const QByteArray percent = classRows("m", "%1");
    QTest::newRow("English word twice, class name holding %1")
        << withLine(percent, 2, "%1\tw1\tm2") << 2
        << u"class \"%1\" already has the English word \"w1\" (line 1)"_s << 1;
    QTest::newRow("Japanese meaning twice, meaning holding %2")
        << withLine(classRows("m"), 2, "c\tw2\t%2").replace("\tm1\n", "\t%2\n") << 2
        << u"class \"c\" already has the Japanese meaning \"%2\" (line 1)"_s << 1;
    QTest::newRow("class of 51 rows, named %1") << percent + "%1\tw51\tm51\n"
                                                << 51
                                                << u"class \"%1\" has more than 50 rows (its first "
                                                   "row is line 1); a class has exactly 50"_s
                                                << 1;
    QByteArray classes;
    for (int k = 1; k <= 24; ++k)
        classes += classRows("m", 'c' + QByteArray::number(k));
    QTest::newRow("25th class, named %1")
        << classes + "%1\tw\tm\n"
        << 1201 << u"class \"%1\" would be class 25; a book holds at most 24 classes"_s << 1;
    QTest::newRow("26 classes, the 25th named %2")
        << classes + "%2\tw\tm\nx\tw\tm\n"
        << 1201
        << u"class \"%2\" and 1 more would be classes 25 to 26; a book holds at most 24 classes"_s
        << 1;
    QByteArray empty;
    for (int i = 0; i < 1000; ++i)
        empty += " \tw\tm\n";
    QTest::newRow("problems past the kept ones only counted")
        << empty << 1 << u"the class name is empty"_s << 1000;
}

void TestClassListing::refusedList() {
    QFETCH(QByteArray, list);
    QFETCH(int, line);
    QFETCH(QString, reason);
    QFETCH(int, count);

    const ParsedList parsed = parseWordList(list);
    QCOMPARE(parsed.problemCount, count);
    QCOMPARE(parsed.problems.size(), std::min(count, kKeptProblems));
    QCOMPARE(parsed.problems.first().line, line);
    QVERIFY2(parsed.problems.first().reason.english.startsWith(reason),
             qPrintable(parsed.problems.first().reason.english));
    QVERIFY(parsed.problems.first().reason.english.size() < 120);
    QVERIFY(parsed.problems.last().line >= parsed.problems.first().line);
}

// A text that starts a formula is written so that a spreadsheet shows it as text, and
// reads back as it was, from a CSV and a TSV list alike.
void TestClassListing::formulaCellsReadBack_data() {
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("cell"); // as the CSV list holds it

    QTest::newRow("sum") << u"=1+1"_s << u"'=1+1"_s;
    QTest::newRow("link") << u"=HYPERLINK(\"http://x.example\",\"y\")"_s
                          << u"\"'=HYPERLINK(\"\"http://x.example\"\",\"\"y\"\")\""_s;
    QTest::newRow("plus") << u"+81"_s << u"'+81"_s;
    QTest::newRow("suffix") << u"-ness"_s << u"'-ness"_s;
    QTest::newRow("at") << u"@home"_s << u"'@home"_s;
    QTest::newRow("quote, then a formula") << u"'=x"_s << u"''=x"_s;
    QTest::newRow("quote alone") << u"'em"_s << u"'em"_s;
    QTest::newRow("full-width equals") << u"＝"_s << u"＝"_s;
}

void TestClassListing::formulaCellsReadBack() {
    QFETCH(QString, word);
    QFETCH(QString, cell);

    BookContent content = testsupport::makeBookContent(1);
    content.classes[0].name = word;
    content.classes[0].words[7].english = word;
    content.classes[0].words[9].japanese = word;
    const QByteArray csv = bookToCsv(content);
    QVERIFY2(QString::fromUtf8(csv).contains(u"\r\n"_s + cell + u',' + cell + u",訳０＿８\r\n"_s),
             csv.constData());
    for (const QByteArray& list : {csv, bookToTsv(content)}) {
        const ParsedList parsed = parseWordList(list);
        QCOMPARE(parsed.problemCount, 0);
        QCOMPARE(parsed.content.classes, content.classes);
        QCOMPARE(bookToCsv(parsed.content), csv);
    }
}

QTEST_GUILESS_MAIN(TestClassListing)
#include "tst_word_list.moc"
