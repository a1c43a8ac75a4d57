// The book tool: word lists to books and back, refused lists, and the book check.
#include "book/book.h"
#include "book/book_check.h"
#include "book/book_lists.h"
#include "book/cp932.h"
#include "book/learning.h"
#include "test_book.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace book;
using namespace Qt::StringLiterals;
using namespace testsupport;

Q_DECLARE_METATYPE(book::BookVerdict)

namespace {

// A word list of `classes` classes as makeBookContent builds them; word i of class k is
// on line 2 + 50k + (i - 1), behind the title line.
QStringList tsvLines(int classes) {
    QStringList lines{QStringLiteral("# title: 中学１年～①☆？")};
    const BookContent content = makeBookContent(classes);
    for (const BookClass& bookClass : content.classes) {
        for (const BookWord& word : bookClass.words)
            lines << bookClass.name + u'\t' + word.english + u'\t' + word.japanese;
    }
    return lines;
}

constexpr int lineOf(int classIndex, int word) { return 2 + 50 * classIndex + (word - 1); }

QByteArray joined(const QStringList& lines) { return (lines.join(u'\n') + u'\n').toUtf8(); }

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Rewrites raw bytes of one record of a book on disk.
void patchBytes(const QString& path, qint64 offset, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(offset));
    QCOMPARE(file.write(bytes), bytes.size());
}

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs velbook; with a file size limit, a write past it fails as on a full disk.
Run velbook(const QStringList& arguments, qint64 fileSizeLimit = 0) {
    QProcess process;
    if (fileSizeLimit > 0)
        process.setChildProcessModifier([fileSizeLimit] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{rlim_t(fileSizeLimit), rlim_t(fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    process.start(QStringLiteral(VELBOOK_EXECUTABLE), arguments);
    if (!process.waitForFinished(10000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class TestVelbook : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void createThenExportGivesTheSameList();
    void titleComesFromOptionOrFileName();
    void spreadsheetLists_data();
    void spreadsheetLists();
    void exportRefusesWhatWouldNotReadBack_data();
    void exportRefusesWhatWouldNotReadBack();
    void refusedList_data();
    void refusedList();
    void manyProblemsAreCounted();
    void check_data();
    void check();
    void checkReadsOnlyWhatABookCanHold();
    void checkAgreesWithTheProgramsOwnBookkeeping();
    void defaultBookIsValid();
    void commandLine_data();
    void commandLine();
    void fullDiskLeavesTheOldFile_data();
    void fullDiskLeavesTheOldFile();
    void refusedFiles_data();
    void refusedFiles();

private:
    QString path(const QString& name) const { return dir_->filePath(name); }
    // The folder's entries, a folder marked "/" and anything else not a file "|".
    QStringList listing() const;

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestVelbook::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
}

void TestVelbook::createThenExportGivesTheSameList() {
    QStringList lines = tsvLines(3);
    lines[lineOf(1, 7) - 1] = QStringLiteral("クラス１\tcan't\t～できない（ＣＡＮ’Ｔ）　①");
    // Cells a spreadsheet would take for formulas carry a ' that the book does not.
    lines[lineOf(2, 5) - 1] =
        QStringLiteral("クラス２\t\"'=HYPERLINK(\"\"http://x.example\"\")\"\t'-1");
    const QByteArray list = joined(lines);
    writeFile(path(QStringLiteral("book.tsv")), list);

    QCOMPARE(createBookFromList(path(QStringLiteral("book.tsv")), path(QStringLiteral("book.vel"))),
             QStringList());
    QString error;
    const std::optional<QByteArray> exported =
        exportBookTsv(path(QStringLiteral("book.vel")), &error);
    QVERIFY2(exported, qPrintable(error));
    QCOMPARE(QString::fromUtf8(*exported), QString::fromUtf8(list));

    // The book itself is what the program reads: the word on its record, the title behind "EOF".
    RecordFile file(path(QStringLiteral("book.vel")));
    QVERIFY(file.open(RecordFile::Access::ReadOnly));
    QCOMPARE(findEndRecord(file).record, 154);
    QCOMPARE(file.read(firstWordRecord(1) + 6).japanese,
             QStringLiteral("～できない（ＣＡＮ’Ｔ）　①"));
    QCOMPARE(file.read(firstWordRecord(2) + 4).english,
             QStringLiteral("=HYPERLINK(\"http://x.example\")"));
    QCOMPARE(file.read(firstWordRecord(2) + 4).japanese, QStringLiteral("-1"));
    QCOMPARE(file.read(155).english, QStringLiteral("中学１年～①☆？"));
    QCOMPARE(file.recordCount(), 154 + 19);
    QCOMPARE(checkBook(path(QStringLiteral("book.vel"))).verdict, BookVerdict::Valid);
}

void TestVelbook::titleComesFromOptionOrFileName() {
    QStringList lines = tsvLines(1);
    writeFile(path(QStringLiteral("book.tsv")), joined(lines));
    QCOMPARE(createBookFromList(path(QStringLiteral("book.tsv")), path(QStringLiteral("a.vel")),
                                QStringLiteral(" 高校入試 ")),
             QStringList());
    QCOMPARE(checkBook(path(QStringLiteral("a.vel"))).title, QStringLiteral("高校入試"));

    lines.removeFirst();
    writeFile(path(QStringLiteral("英検3級.tsv")), joined(lines));
    QCOMPARE(createBookFromList(path(QStringLiteral("英検3級.tsv")), path(QStringLiteral("b.vel"))),
             QStringList());
    QCOMPARE(checkBook(path(QStringLiteral("b.vel"))).title, QStringLiteral("英検3級"));
}

// Lists as spreadsheets save them: each makes the book that velbook's own list of the
// same words makes, byte for byte; a refused one names its lines as an editor counts them.
void TestVelbook::spreadsheetLists_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("classes");
    QTest::addColumn<QList<int>>("refusedLines");

    const QStringList one{QStringLiteral("基本動詞")};
    QTest::newRow("Excel, CP932, header row") << u"excel-cp932-header.csv"_s << one << QList<int>{};
    QTest::newRow("Excel, UTF-8 with BOM, blank row, padding")
        << u"excel-utf8-bom.csv"_s << one << QList<int>{};
    QTest::newRow("every field quoted, LF, no last line end")
        << u"libreoffice-quoted.csv"_s << one << QList<int>{};
    QTest::newRow("Excel tab-delimited text, CP932")
        << u"excel-cp932-tab.txt"_s << one << QList<int>{};
    QTest::newRow("two columns") << u"two-columns.csv"_s << QStringList{u"クラス1"_s, u"クラス2"_s}
                                 << QList<int>{};
    QTest::newRow("line end in a cell, then an empty meaning")
        << u"refused-line-break.csv"_s << QStringList{} << QList<int>{2, 6};
}

void TestVelbook::spreadsheetLists() {
    QFETCH(QString, file);
    QFETCH(QStringList, classes);
    QFETCH(QList<int>, refusedLines);

    const QString data = QStringLiteral(LIST_DATA_DIR "/");
    const QString reference = path(u"reference.vel"_s);
    QCOMPARE(createBookFromList(data + u"velbook.tsv"_s, reference), QStringList());
    RecordFile referenceFile(reference);
    QVERIFY(referenceFile.open(RecordFile::Access::ReadOnly));
    QString error;
    const std::optional<BookContent> expected = readBookContent(referenceFile, &error);
    QVERIFY2(expected, qPrintable(error));
    QCOMPARE(expected->title, u"基本の動詞"_s);
    const QList<BookWord>& words = expected->classes.value(0).words;
    QCOMPARE(words.value(1).japanese, u"～を取る, 連れて行く"_s);
    QCOMPARE(words.value(2).english, u"say \"hello\""_s);
    QCOMPARE(words.value(6).japanese, u"①番号Ⅲ"_s);
    QCOMPARE(words.value(8).japanese, u"全角　空白"_s);

    const QString out = path(u"out.vel"_s);
    const QStringList messages = createBookFromList(data + file, out, expected->title);
    QList<int> lines;
    for (const QString& message : messages)
        lines << message.section(u':', 1, 1).toInt();
    QCOMPARE(lines, refusedLines);
    if (!refusedLines.isEmpty())
        return;
    RecordFile made(out);
    QVERIFY(made.open(RecordFile::Access::ReadOnly));
    const std::optional<BookContent> content = readBookContent(made, &error);
    QVERIFY2(content, qPrintable(error));
    QStringList names;
    for (const BookClass& bookClass : content->classes)
        names << bookClass.name;
    QCOMPARE(names, classes);
    QCOMPARE(content->classes[0].words, words);
    if (classes == QStringList{u"基本動詞"_s})
        QCOMPARE(fileBytes(out), fileBytes(reference));
}

void TestVelbook::exportRefusesWhatWouldNotReadBack_data() {
    QTest::addColumn<int>("recordNo");
    QTest::addColumn<QString>("japanese");
    QTest::addColumn<QString>("reason");

    QTest::newRow("two classes of one name") << classHeaderRecord(2) << QStringLiteral("クラス０")
                                             << QStringLiteral("classes 1 and 3 are both named");
    QTest::newRow("class name starting with #")
        << classHeaderRecord(1) << QStringLiteral("#1") << QStringLiteral("class 2");
    QTest::newRow("tab in a meaning") << firstWordRecord(1) + 3 << QStringLiteral("a\tb")
                                      << QStringLiteral("record 56: its Japanese text holds the "
                                                        "control character U+0009");
}

void TestVelbook::exportRefusesWhatWouldNotReadBack() {
    QFETCH(int, recordNo);
    QFETCH(QString, japanese);
    QFETCH(QString, reason);

    const QString book = path(QStringLiteral("Word.dat"));
    writeBook(book, 3);
    WordRecord record = readRecord(book, recordNo);
    record.japanese = japanese;
    writeRecord(book, recordNo, record);
    QString error;
    QCOMPARE(exportBookTsv(book, &error), std::nullopt);
    QVERIFY2(error.contains(reason), qPrintable(error));
}

void TestVelbook::refusedList_data() {
    QTest::addColumn<QByteArray>("list");
    QTest::addColumn<int>("line"); // 0: the list as a whole
    QTest::addColumn<QString>("reason");

    const QStringList good = tsvLines(2);
    auto with = [&good](int line, const QString& text) {
        QStringList lines = good;
        lines[line - 1] = text;
        return joined(lines);
    };

    QStringList short49 = good;
    short49.removeAt(lineOf(1, 50) - 1);
    QTest::newRow("49 rows") << joined(short49) << lineOf(1, 1)
                             << QStringLiteral("has only 49 rows");
    QTest::newRow("51 rows") << joined(good + QStringList{QStringLiteral("クラス０\textra\t余分")})
                             << lineOf(2, 1) << QStringLiteral("more than 50 rows");
    QTest::newRow("25th class") << joined(tsvLines(25)) << lineOf(24, 1)
                                << QStringLiteral("at most 24 classes");
    QTest::newRow("27 classes")
        << joined(tsvLines(27)) << lineOf(24, 1)
        << QStringLiteral("and 2 more would be classes 25 to 27; a book holds at most 24");
    QTest::newRow("115 bytes") << with(lineOf(0, 9), QStringLiteral("クラス０\t") +
                                                         QString(59, u'a') + u'\t' +
                                                         QString(28, u'語'))
                               << lineOf(0, 9) << QStringLiteral("115 bytes");
    QTest::newRow("duplicate English")
        << with(lineOf(1, 20), QStringLiteral("クラス１\tw1_3\t別の訳")) << lineOf(1, 20)
        << QStringLiteral("already has the English word \"w1_3\" (line %1)").arg(lineOf(1, 3));
    QTest::newRow("duplicate Japanese")
        << with(lineOf(0, 50), QStringLiteral("クラス０\tother\t訳０＿１")) << lineOf(0, 50)
        << QStringLiteral("already has the Japanese meaning \"訳０＿１\" (line 2)");
    QTest::newRow("character CP932 lacks")
        << with(lineOf(1, 2), QStringLiteral("クラス１\tcafé\tカフェ")) << lineOf(1, 2)
        << QStringLiteral("\"é\" (U+00E9)");
    QTest::newRow("missing column") << with(lineOf(0, 4), QStringLiteral("クラス０\tw0_4"))
                                    << lineOf(0, 4) << QStringLiteral("Japanese column is missing");
    QTest::newRow("empty English word") << with(lineOf(1, 5), QStringLiteral("クラス１\t  \t訳"))
                                        << lineOf(1, 5) << QStringLiteral("English word is empty");
    // Reported once, not again as a class of 49 rows.
    QTest::newRow("not UTF-8")
        << with(lineOf(1, 5), QStringLiteral("@")).replace("\n@\n", "\nクラス１\tw1_5\t\xff\xfe\n")
        << lineOf(1, 5) << QStringLiteral("not valid UTF-8");
    QTest::newRow("class name too long")
        << joined(good + QStringList{QString(54, u'長') + QStringLiteral("\tw\t訳")})
        << lineOf(2, 1) << QStringLiteral("class name");
    QTest::newRow("title too long") << with(1, QStringLiteral("# title: ") + QString(58, u'題'))
                                    << 1 << QStringLiteral("the title");
    QStringList openQuote = good;
    openQuote.last() = QStringLiteral("クラス１\t\"w1_50\t訳");
    QTest::newRow("quote never closed")
        << joined(openQuote) << lineOf(1, 50) << QStringLiteral("never closed");
    QTest::newRow("line end in a field")
        << with(lineOf(0, 7), QStringLiteral("クラス０\t\"w0\n7\"\t訳０＿７")) << lineOf(0, 7)
        << QStringLiteral("line break");
    QByteArray cp932 = *encodeCp932(QString::fromUtf8(with(lineOf(0, 9), QStringLiteral("@"))));
    cp932.replace("\n@\n", "\n" + *encodeCp932(QStringLiteral("クラス０\tw0_9\t")) + "\x81 \n");
    QTest::newRow("CP932 list, a line not CP932")
        << cp932 << lineOf(0, 9) << QStringLiteral("not valid Shift-JIS (CP932)");
    QTest::newRow("neither UTF-8 nor CP932") << QByteArray("caf\xe9\tcoffee\tkohi\n") << 1
                                             << QStringLiteral("neither UTF-8 nor Shift-JIS");
    const QString utf16 = QString::fromUtf8(joined(good));
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFE") +
                                   QByteArray(reinterpret_cast<const char*>(utf16.utf16()),
                                              utf16.size() * 2)
                            << 0 << QStringLiteral("UTF-16");
    QStringList twoColumns;
    for (int i = 1; i <= 60; ++i)
        twoColumns << QStringLiteral("w%1\t訳%1").arg(i);
    QTest::newRow("two columns, a class short")
        << joined(twoColumns) << 51 << QStringLiteral("class \"クラス2\" has only 10 rows");
    twoColumns = twoColumns.mid(0, 50);
    twoColumns[6] += QStringLiteral("\tnote");
    QTest::newRow("two columns, a row of three")
        << joined(twoColumns) << 7 << QStringLiteral("the row has 3 columns; a row is English");
    // A control character would go into the book unseen and come back out of export.
    QTest::newRow("NUL in a field")
        << with(lineOf(0, 3), QStringLiteral("クラス０\tw0") + QChar(0) + QStringLiteral("_3\t訳"))
        << lineOf(0, 3) << QStringLiteral("control character U+0000");
    QTest::newRow("control character in a class name")
        << joined(good + QStringList{QStringLiteral("\x1b名\tw\t訳")}) << lineOf(2, 1)
        << QStringLiteral("class name \"?名\": the control character U+001B");
    QTest::newRow("control character in the title")
        << with(1, QStringLiteral("# title: a\x7f")) << 1 << QStringLiteral("U+007F");
    QTest::newRow("no rows") << QByteArray("# title: empty\n# nothing yet\n") << 0
                             << QStringLiteral("no word rows");
}

void TestVelbook::refusedList() {
    QFETCH(QByteArray, list);
    QFETCH(int, line);
    QFETCH(QString, reason);

    const QString tsv = path(QStringLiteral("list.tsv"));
    const QString out = path(QStringLiteral("out.vel"));
    writeFile(tsv, list);
    const QStringList messages = createBookFromList(tsv, out);
    const QString where =
        line > 0 ? QStringLiteral("%1:%2: ").arg(tsv).arg(line) : tsv + QStringLiteral(": ");
    QVERIFY2(messages.size() == 1, qPrintable(messages.join(u'\n')));
    QVERIFY2(messages.first().startsWith(where) && messages.first().contains(reason),
             qPrintable(messages.first()));
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("list.tsv")});

    // An existing book of that name is left as it was.
    writeFile(out, "old book");
    QVERIFY(!createBookFromList(tsv, out).isEmpty());
    QCOMPARE(fileBytes(out), QByteArray("old book"));
    QCOMPARE(QDir(dir_->path()).count(), 4u); // ".", "..", the list and the old book
}

// A list of nothing but mistakes is told in a few hundred lines and a count; a "%2" in the
// list's name stays as it is.
void TestVelbook::manyProblemsAreCounted() {
    const QString tsv = path(QStringLiteral("list%2.tsv"));
    writeFile(tsv, QByteArray(" \tw\t訳\n").repeated(1000));
    const QStringList messages = createBookFromList(tsv, path(QStringLiteral("out.vel")));
    QCOMPARE(messages.size(), 201);
    QCOMPARE(messages.value(199), tsv + QStringLiteral(":200: the class name is empty"));
    QCOMPARE(messages.last(), tsv + QStringLiteral(": 800 more problems not shown"));
}

void TestVelbook::check_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<BookVerdict>("verdict");
    QTest::addColumn<QString>("reason");

    QTest::newRow("valid") << QString() << BookVerdict::Valid << QString();
    QTest::newRow("obsolete") << QStringLiteral("Fin.") << BookVerdict::Obsolete
                              << QStringLiteral("obsolete");
    QTest::newRow("no end record")
        << QStringLiteral("END") << BookVerdict::Broken << QStringLiteral("no end record");
    QTest::newRow("length runs past the slot") << QStringLiteral("length") << BookVerdict::Broken
                                               << QStringLiteral("record 30: its string lengths");
    QTest::newRow("control character") << QStringLiteral("control") << BookVerdict::Broken
                                       << QStringLiteral("record 30: its English text holds the "
                                                         "control character U+0000");
    QTest::newRow("not CP932") << QStringLiteral("bytes") << BookVerdict::Broken
                               << QStringLiteral("record 30: its Japanese text is not");
    // An interrupted drill leaves the statistics so: a warning, not a broken book.
    QTest::newRow("statistics disagree") << QStringLiteral("statistics") << BookVerdict::Valid
                                         << QStringLiteral("the statistics record 108 counts 5 "
                                                           "memorised words in writing mode, but "
                                                           "the word records hold 0");
    QTest::newRow("memorised classes disagree")
        << QStringLiteral("classes") << BookVerdict::Valid
        << QStringLiteral("the statistics record 106 counts 2 fully memorised classes");
    QTest::newRow("size not whole slots")
        << QStringLiteral("tail") << BookVerdict::Broken << QStringLiteral("not a whole number");
    QTest::newRow("trailer cut short") << QStringLiteral("short") << BookVerdict::Broken
                                       << QStringLiteral("ends before record 122");
    QTest::newRow("empty file") << QStringLiteral("empty") << BookVerdict::Broken
                                << QStringLiteral("empty");
    QTest::newRow("missing file") << QStringLiteral("missing") << BookVerdict::Broken
                                  << QStringLiteral("cannot be opened");
    QTest::newRow("folder") << QStringLiteral("folder") << BookVerdict::Broken
                            << QStringLiteral("cannot be opened: it is a folder");
    QTest::newRow("FIFO") << QStringLiteral("fifo") << BookVerdict::Broken
                          << QStringLiteral("cannot be opened: it is a FIFO");
}

void TestVelbook::check() {
    QFETCH(QString, damage);
    QFETCH(BookVerdict, verdict);
    QFETCH(QString, reason);

    const QString book = path(QStringLiteral("Word.dat"));
    const int eof = writeBook(book, 2);
    if (damage == u"Fin." || damage == u"END")
        writeRecord(book, eof, WordRecord{eof, damage, QString(), {}});
    else if (damage == u"length")
        patchBytes(book, 29 * 128 + 4, QByteArray::fromHex("c800"));
    else if (damage == u"bytes")
        patchBytes(book, 29 * 128 + 13, QByteArray::fromHex("ff"));
    else if (damage == u"control")
        patchBytes(book, 29 * 128 + 6, QByteArray(1, '\0'));
    else if (damage == u"statistics" || damage == u"classes")
        writeRecord(book, damage == u"statistics" ? eof + 5 : eof + 3,
                    WordRecord{eof, QStringLiteral("0"), QStringLiteral("0"), {2, 5, 0}});
    else if (damage == u"tail")
        patchBytes(book, fileBytes(book).size(), "xyz");
    else if (damage == u"short")
        QVERIFY(QFile(book).resize((eof + 10) * 128));
    else if (damage == u"empty")
        QVERIFY(QFile(book).resize(0));
    else if (damage == u"missing")
        QVERIFY(QFile::remove(book));
    else if (damage == u"folder")
        QVERIFY(QFile::remove(book) && QDir().mkdir(book));
    else if (damage == u"fifo")
        QVERIFY(QFile::remove(book) && ::mkfifo(QFile::encodeName(book).constData(), 0600) == 0);

    const BookCheck result = checkBook(book);
    QCOMPARE(result.verdict, verdict);
    const QString said = (result.problems + result.warnings).join(u'\n');
    if (reason.isEmpty())
        QCOMPARE(said, QString());
    else
        QVERIFY2(said.contains(reason), qPrintable(said));
}

void TestVelbook::checkReadsOnlyWhatABookCanHold() {
    const QString book = path(QStringLiteral("Word.dat"));
    writeBook(book, 24);
    QVERIFY(QFile(book).resize(200 << 20));
    QFile file(book);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const BookCheck result = checkBook(file);
    QVERIFY2(file.pos() <= kMaxBookBytes + 1, qPrintable(QString::number(file.pos())));
    QCOMPARE(result.verdict, BookVerdict::Broken);
    QCOMPARE(result.problems,
             QStringList{QStringLiteral("the file is larger than any word book (at "
                                        "most 1260 records of 128 bytes)")});
}

void TestVelbook::checkAgreesWithTheProgramsOwnBookkeeping() {
    const QString book = path(QStringLiteral("Word.dat"));
    const int eof = writeBook(book, 2);
    RecordFile file(book);
    QVERIFY(file.open());
    for (int r = 2; r <= 51; ++r)
        bookCorrectAnswer(file, eof, r, Writing);
    bookMiss(file, eof, 2, Writing);
    bookMiss(file, eof, 3, Writing);
    bookCorrectAnswer(file, eof, 3, Writing);
    bookMiss(file, eof, 60, Reading);
    bookCorrectAnswer(file, eof, 61, Listening);
    bookDrillEnd(file, eof, 1, Writing, 95.2);
    QCOMPARE(checkBook(book).problems, QStringList());

    bookMiss(file, eof, 61, Listening); // forgotten, but the drill end has not recounted yet
    QCOMPARE(checkBook(book).verdict, BookVerdict::Valid);
}

void TestVelbook::defaultBookIsValid() {
    for (const QString& book :
         {QStringLiteral(DEFAULT_BOOK_FILE), QStringLiteral(":/veltyping/Word.dat")}) {
        const BookCheck result = checkBook(book);
        QVERIFY2(result.verdict == BookVerdict::Valid,
                 qPrintable(book + u' ' + result.problems.join(u'\n')));
        QCOMPARE(result.classes, 24);
    }
    // The bundled list is in the form export writes, so the embedded book holds it whole.
    QString error;
    const std::optional<QByteArray> exported =
        exportBookTsv(QStringLiteral(":/veltyping/Word.dat"), &error);
    QVERIFY2(exported, qPrintable(error));
    QFile source(QStringLiteral(DEFAULT_BOOK_TSV));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(*exported), QString::fromUtf8(source.readAll()));
}

void TestVelbook::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // expected in standard output or standard error

    QTest::newRow("tool help") << QStringList{QStringLiteral("--help")} << 0
                               << QStringLiteral("Commands:");
    QTest::newRow("create help") << QStringList{QStringLiteral("create"), QStringLiteral("--help")}
                                 << 0 << QStringLiteral("velbook create LIST OUT");
    QTest::newRow("export help") << QStringList{QStringLiteral("export"), QStringLiteral("-h")} << 0
                                 << QStringLiteral("velbook export BOOK");
    QTest::newRow("check help") << QStringList{QStringLiteral("check"), QStringLiteral("--help")}
                                << 0 << QStringLiteral("velbook check BOOK");
    QTest::newRow("no command") << QStringList{} << 2 << QStringLiteral("no command");
    QTest::newRow("unknown command")
        << QStringList{QStringLiteral("make")} << 2 << QStringLiteral("unknown command");
    QTest::newRow("missing argument")
        << QStringList{QStringLiteral("create"), QStringLiteral("list.tsv")} << 2
        << QStringLiteral("wrong number of arguments");
    QTest::newRow("unknown option")
        << QStringList{QStringLiteral("check"), QStringLiteral("--fast"), QStringLiteral("x")} << 2
        << QStringLiteral("Unknown option");
    QTest::newRow("create") << QStringList{QStringLiteral("create"), QStringLiteral("list.tsv"),
                                           QStringLiteral("new.vel"), QStringLiteral("--title"),
                                           QStringLiteral("題")}
                            << 0 << QString();
    QTest::newRow("create refused")
        << QStringList{QStringLiteral("create"), QStringLiteral("bad.tsv"),
                       QStringLiteral("new.vel")}
        << 1 << QStringLiteral("bad.tsv:3: the Japanese column is missing");
    QTest::newRow("export to stdout")
        << QStringList{QStringLiteral("export"), QStringLiteral("Word.dat")} << 0
        << QStringLiteral("# title: テスト\nクラス０\tw0_1\t訳０＿１\n");
    QTest::newRow("export to file")
        << QStringList{QStringLiteral("export"), QStringLiteral("Word.dat"), QStringLiteral("-o"),
                       QStringLiteral("out.tsv")}
        << 0 << QString();
    QTest::newRow("export of a non-book")
        << QStringList{QStringLiteral("export"), QStringLiteral("bad.tsv")} << 1
        << QStringLiteral("no end record");
    QTest::newRow("check valid") << QStringList{QStringLiteral("check"), QStringLiteral("Word.dat")}
                                 << 0
                                 << QStringLiteral("Word.dat: valid word book \"テスト\", 1 class");
    QTest::newRow("check with stale statistics")
        << QStringList{QStringLiteral("check"), QStringLiteral("stale.dat")} << 0
        << QStringLiteral("stale.dat: valid word book \"テスト\", 1 class\n  warning: the "
                          "statistics record 57 counts 1 memorised words");
    QTest::newRow("check broken") << QStringList{QStringLiteral("check"), QStringLiteral("bad.tsv")}
                                  << 1
                                  << QStringLiteral("bad.tsv: broken word book\n  the file size");
}

void TestVelbook::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);

    writeBook(path(QStringLiteral("Word.dat")), 1);
    writeFile(path(QStringLiteral("list.tsv")), joined(tsvLines(1)));
    writeFile(path(QStringLiteral("bad.tsv")), "# title: x\nc\tw\t訳\nc\tonly two\n");
    writeBook(path(QStringLiteral("stale.dat")), 1);
    writeRecord(path(QStringLiteral("stale.dat")), 57,
                WordRecord{57, QStringLiteral("0"), QStringLiteral("0"), {1, 0, 0}});
    QDir::setCurrent(dir_->path());

    const Run run = velbook(arguments);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2((run.out + run.err).contains(output), qPrintable(run.out + run.err));
    if (arguments.contains(QStringLiteral("new.vel")))
        QCOMPARE(QFile::exists(path(QStringLiteral("new.vel"))), exitCode == 0);
    if (arguments.contains(QStringLiteral("out.tsv")))
        QCOMPARE(fileBytes(path(QStringLiteral("out.tsv"))).left(16),
                 QByteArray("# title: テスト\n").left(16));
}

QStringList TestVelbook::listing() const {
    QStringList entries;
    for (const QFileInfo& info :
         QDir(dir_->path())
             .entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
        entries << info.fileName() + QLatin1StringView(info.isDir()    ? "/"
                                                       : info.isFile() ? ""
                                                                       : "|");
    return entries;
}

void TestVelbook::fullDiskLeavesTheOldFile_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("classes");

    QTest::newRow("create, small book") << QStringLiteral("create") << 1;
    QTest::newRow("create, large book") << QStringLiteral("create") << 24;
    QTest::newRow("export, small list") << QStringLiteral("export") << 1;
    QTest::newRow("export, large list") << QStringLiteral("export") << 24;
}

void TestVelbook::fullDiskLeavesTheOldFile() {
    QFETCH(QString, command);
    QFETCH(int, classes);

    const bool create = command == u"create";
    const QString input = path(create ? QStringLiteral("list.tsv") : QStringLiteral("Word.dat"));
    const QString target = path(create ? QStringLiteral("out.vel") : QStringLiteral("out.tsv"));
    if (create)
        writeFile(input, joined(tsvLines(classes)));
    else
        writeBook(input, classes);
    writeFile(target, "old file");
    const QStringList before = listing();

    const Run run = velbook(create ? QStringList{command, input, target}
                                   : QStringList{command, input, QStringLiteral("-o"), target},
                            512);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(target + u':') && run.err.contains(u"disk is full"),
             qPrintable(run.err));
    QCOMPARE(fileBytes(target), QByteArray("old file"));
    QCOMPARE(listing(), before);
}

// No row writes to a device: if the check were missing, a run as root would replace it.
void TestVelbook::refusedFiles_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason"); // expected in standard error

    const auto row = [](const char* name, const QString& arguments, const QString& reason) {
        QTest::newRow(name) << arguments.split(u' ') << reason;
    };
    row("list is a FIFO", QStringLiteral("create fifo new.vel"),
        QStringLiteral("fifo: it is a FIFO"));
    row("list is a folder", QStringLiteral("create folder new.vel"),
        QStringLiteral("folder: it is a folder"));
    row("list is a device", QStringLiteral("create /dev/null new.vel"),
        QStringLiteral("/dev/null: it is a device"));
    row("list over 16 MiB", QStringLiteral("create big.tsv new.vel"),
        QStringLiteral("big.tsv: the file is larger than 16 MiB"));
    row("book is a FIFO", QStringLiteral("export fifo -o out.tsv"), QStringLiteral("it is a FIFO"));
    row("book is a folder", QStringLiteral("export folder"), QStringLiteral("it is a folder"));
    row("book is a device", QStringLiteral("export /dev/null"), QStringLiteral("it is a device"));
    row("book far larger than any", QStringLiteral("export big.dat"),
        QStringLiteral("larger than any word book"));
    row("book to a folder", QStringLiteral("create list.tsv folder"),
        QStringLiteral("folder: cannot write the book: it is a folder"));
    row("list to a FIFO", QStringLiteral("export Word.dat -o fifo"),
        QStringLiteral("fifo: cannot write the file: it is a FIFO"));
    row("broken book to a file", QStringLiteral("export broken.dat -o out.tsv"),
        QStringLiteral("broken.dat: not a valid word book:\n  record 30: its Japanese text"));
    row("broken book to standard output", QStringLiteral("export broken.dat"),
        QStringLiteral("not a valid word book"));
    const QString overList = QStringLiteral("the book would replace the list it is made from");
    row("book over its own list", QStringLiteral("create list.tsv list.tsv"), overList);
    row("book over its list's link", QStringLiteral("create list.tsv link.tsv"), overList);
    row("book over its list's hard link", QStringLiteral("create hard.tsv list.tsv"), overList);
    const QString overBook = QStringLiteral("the list would replace the book it is exported from");
    row("list over its own book", QStringLiteral("export Word.dat -o Word.dat"), overBook);
    row("list over its book's link", QStringLiteral("export link.dat -o Word.dat"), overBook);
}

void TestVelbook::refusedFiles() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);

    writeFile(path(QStringLiteral("list.tsv")), joined(tsvLines(1)));
    writeFile(path(QStringLiteral("big.tsv")), joined(tsvLines(1)));
    QVERIFY(QFile(path(QStringLiteral("big.tsv"))).resize((16 << 20) + 1));
    writeBook(path(QStringLiteral("Word.dat")), 1);
    writeBook(path(QStringLiteral("big.dat")), 1);
    QVERIFY(QFile(path(QStringLiteral("big.dat"))).resize(200 << 20));
    writeBook(path(QStringLiteral("broken.dat")), 1);
    patchBytes(path(QStringLiteral("broken.dat")), 29 * 128 + 13, QByteArray::fromHex("ff"));
    QCOMPARE(::mkfifo(QFile::encodeName(path(QStringLiteral("fifo"))).constData(), 0600), 0);
    QVERIFY(QDir(dir_->path()).mkdir(QStringLiteral("folder")));
    QVERIFY(QFile::link(QStringLiteral("list.tsv"), path(QStringLiteral("link.tsv"))));
    QVERIFY(QFile::link(QStringLiteral("Word.dat"), path(QStringLiteral("link.dat"))));
    QCOMPARE(::link(QFile::encodeName(path(QStringLiteral("list.tsv"))).constData(),
                    QFile::encodeName(path(QStringLiteral("hard.tsv"))).constData()),
             0);
    QDir::setCurrent(dir_->path());
    const QStringList before = listing();
    const QByteArray list = fileBytes(path(QStringLiteral("list.tsv")));
    const QByteArray book = fileBytes(path(QStringLiteral("Word.dat")));

    const Run run = velbook(arguments);
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.err.contains(reason), qPrintable(run.err));
    QCOMPARE(run.out, QString());
    QCOMPARE(listing(), before);
    QCOMPARE(fileBytes(path(QStringLiteral("list.tsv"))), list);
    QCOMPARE(fileBytes(path(QStringLiteral("Word.dat"))), book);
}

QTEST_GUILESS_MAIN(TestVelbook)
#include "tst_velbook.moc"
