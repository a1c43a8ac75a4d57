// The word list view, byte for byte as display.txt holds it.
#include "book/record_file.h"
#include "book/record_map.h"
#include "test_book.h"
#include "views/class_listing.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestClassListing : public QObject {
    Q_OBJECT

private:
    static QString blanks(int n) { return QString(n, u' '); }
    QTemporaryDir dir;
    QString path() const { return dir.filePath(u"Word.dat"_s); }

    // Class 0 with words whose lengths test the column padding.
    void writeSampleBook() {
        book::BookContent content = testsupport::makeBookContent(2);
        auto& words = content.classes[0].words;
        words[0] = {u"abcdefghijklmnop"_s, u"あ"_s};            // 16 letters
        words[1] = {u"abcdefghijklmno"_s, u"七文字の日本語"_s}; // 15 letters, 7 kana
        words[2] = {u"cat"_s, u"猫"_s};
        testsupport::writeBook(path(), content);
        // States in reading mode: memorised, missed twice, forgotten.
        for (auto [r, state] :
             {std::pair{2, book::kMemorisedMark}, {3, qint16(2)}, {4, qint16(-3)}}) {
            book::WordRecord word = testsupport::readRecord(path(), r);
            word.modeCount[book::Reading] = state;
            testsupport::writeRecord(path(), r, word);
        }
        book::WordRecord header = testsupport::readRecord(path(), 1);
        header.modeCount = {3, 0, 12};
        testsupport::writeRecord(path(), 1, header);
    }

private Q_SLOTS:
    void linesInEachMode_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("expectedHead");
        const QString play = u" \u3000 \u3000\u3000"_s + blanks(12) + u"\u3000\u3000\u3000"_s +
                             blanks(8) + u"\u3000\u3000"_s + blanks(8) + u"プレイ回数："_s;
        QString forgot = play;
        forgot.replace(u"プレイ回数："_s, u"失念単語数："_s);
        const QString readingHeading = u"\u3000 英語"_s + blanks(12) + u"日本語"_s + blanks(8) +
                                       u"回数"_s + blanks(9) + u"記憶単語数："_s;
        const QString writingHeading = u"\u3000 日本語"_s + blanks(10) + u"英語"_s + blanks(10) +
                                       u"回数"_s + blanks(9) + u"記憶単語数："_s;
        const QString p = u"\u3000 "_s;
        QTest::newRow("reading") << int(book::Reading)
                                 << QStringList{play + u" 3"_s,
                                                readingHeading + u" 1"_s,
                                                forgot + u" 1"_s,
                                                p + u"abcdefghijklmnop"_s + blanks(1) + u"あ"_s +
                                                    blanks(12) + u"☆"_s,
                                                p + u"abcdefghijklmno"_s + blanks(1) +
                                                    u"七文字の日本語"_s + blanks(1) + u"2"_s,
                                                p + u"cat"_s + blanks(13) + u"猫"_s + blanks(12) +
                                                    u"？"_s};
        const QStringList writingWords{
            p + u"あ"_s + blanks(14) + u"abcdefghijklmnop"_s + blanks(1) + u"0"_s,
            p + u"七文字の日本語"_s + blanks(2) + u"abcdefghijklmno"_s + blanks(1) + u"0"_s,
            p + u"猫"_s + blanks(14) + u"cat"_s + blanks(13) + u"0"_s};
        QTest::newRow("writing") << int(book::Writing)
                                 << QStringList{play + u" 0"_s, writingHeading + u" 0"_s,
                                                forgot + u" 0"_s} +
                                        writingWords;
        QTest::newRow("listening")
            << int(book::Listening)
            << QStringList{play + u" 12"_s, writingHeading + u" 0"_s, forgot + u" 0"_s} +
                   writingWords;
    }

    void linesInEachMode() {
        QFETCH(int, mode);
        QFETCH(QStringList, expectedHead);
        writeSampleBook();
        book::RecordFile file(path());
        QVERIFY(file.open(book::RecordFile::Access::ReadOnly));

        const auto view = views::buildClassListing(file, 2, 0, book::Mode(mode));
        QCOMPARE(view.lines.size(), 3 + 50 + 2);
        QCOMPARE(view.lines.mid(0, 6), expectedHead);
        QCOMPARE(view.lines.at(53), QString());
        QCOMPARE(view.lines.at(54), blanks(30) + u"- 1 -"_s);
        QVERIFY(!view.allMemorised);
    }

    void wordLineBytes() {
        writeSampleBook();
        book::RecordFile file(path());
        QVERIFY(file.open(book::RecordFile::Access::ReadOnly));
        const auto view = views::buildClassListing(file, 2, 0, book::Reading);
        // As display.txt holds it: CP932 with CR LF.
        QCOMPARE(testsupport::cp932Lines(QStringList{view.lines.at(4)}),
                 QByteArray("\x81\x40 abcdefghijklmno "
                            "\x8e\xb5\x95\xb6\x8e\x9a\x82\xcc\x93\xfa\x96\x7b\x8c\xea 2\r\n"));
    }

    void footerCarriesTheClassNumber() {
        writeSampleBook();
        book::RecordFile file(path());
        QVERIFY(file.open(book::RecordFile::Access::ReadOnly));
        const auto view = views::buildClassListing(file, 53, 1, book::Reading);
        QCOMPARE(view.lines.last(), blanks(30) + u"- 2 -"_s);
        QCOMPARE(view.lines.at(3).left(8), u"\u3000 w1_1  "_s);
    }

    void classNotFoundGivesHeadingOnly() {
        writeSampleBook();
        book::RecordFile file(path());
        QVERIFY(file.open(book::RecordFile::Access::ReadOnly));
        // No class found yet: nothing below record 1 is read, the counts are all 0.
        const auto view = views::buildClassListing(file, 0, std::nullopt, book::Reading);
        QCOMPARE(view.lines.size(), 3);
        QVERIFY(view.lines.at(0).endsWith(u"： 0"_s));
    }

    void allMemorisedOnlyInThatMode() {
        writeSampleBook();
        for (int r = 2; r <= 51; ++r) {
            book::WordRecord word = testsupport::readRecord(path(), r);
            word.modeCount[book::Writing] = book::kMemorisedMark;
            testsupport::writeRecord(path(), r, word);
        }
        book::RecordFile file(path());
        QVERIFY(file.open(book::RecordFile::Access::ReadOnly));
        QVERIFY(views::buildClassListing(file, 2, 0, book::Writing).allMemorised);
        QVERIFY(!views::buildClassListing(file, 2, 0, book::Reading).allMemorised);
        QVERIFY(
            views::buildClassListing(file, 2, 0, book::Writing).lines.at(1).endsWith(u"： 50"_s));
    }

    // A review's list: the weak words of every class in review order, each with its class.
    void reviewListsWeakWordsWithTheirClass_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QStringList>("expected");
        const QString indent = u" \u3000 \u3000\u3000"_s + blanks(12) + u"\u3000\u3000\u3000"_s +
                               blanks(8) + u"\u3000\u3000"_s;
        const QString weak = indent + blanks(6) + u"苦手な単語数："_s;
        const QString forgot = indent + blanks(8) + u"失念単語数："_s;
        const QString p = u"\u3000 "_s;
        const QString footer = blanks(30) + u"- 苦手な単語 -"_s;
        QTest::newRow("reading") << int(book::Reading)
                                 << QStringList{weak + u" 3"_s,
                                                u"\u3000 英語"_s + blanks(12) + u"日本語"_s +
                                                    blanks(8) + u"回数"_s + blanks(3) + u"クラス"_s,
                                                forgot + u" 1"_s,
                                                p + u"cat"_s + blanks(13) + u"猫"_s + blanks(12) +
                                                    u"？"_s + blanks(5) + u"クラス０"_s,
                                                p + u"w1_2"_s + blanks(12) + u"訳１＿２"_s +
                                                    blanks(6) + u"5"_s + blanks(6) + u"クラス１"_s,
                                                p + u"abcdefghijklmno"_s + blanks(1) +
                                                    u"七文字の日本語"_s + blanks(1) + u"2"_s +
                                                    blanks(6) + u"クラス０"_s,
                                                QString(),
                                                footer};
        QTest::newRow("nothing to review")
            << int(book::Writing)
            << QStringList{weak + u" 0"_s,
                           u"\u3000 日本語"_s + blanks(10) + u"英語"_s + blanks(10) + u"回数"_s +
                               blanks(3) + u"クラス"_s,
                           forgot + u" 0"_s,
                           p + u"このモードで復習する苦手な単語はありません。"_s,
                           QString(),
                           footer};
    }

    void reviewListsWeakWordsWithTheirClass() {
        QFETCH(int, mode);
        QFETCH(QStringList, expected);
        writeSampleBook();
        book::WordRecord word = testsupport::readRecord(path(), 54);
        word.modeCount[book::Reading] = 5;
        testsupport::writeRecord(path(), 54, word);
        book::RecordFile file(path());
        QVERIFY(file.open(book::RecordFile::Access::ReadOnly));

        const views::WeakWords weak = views::findWeakWords(file, 103, book::Mode(mode));
        const auto view = views::buildReviewListing(file, 103, weak, book::Mode(mode));
        QCOMPARE(view.lines, expected);
        QVERIFY(!view.allMemorised);
    }

    // A review lists 50 words; its headings count every weak and forgotten word of the book.
    void reviewHeadingsCountTheWholeBook() {
        testsupport::writeBook(path(), 2);
        for (int r = 2; r <= 62; ++r) {
            book::WordRecord word = testsupport::readRecord(path(), r);
            word.modeCount[book::Reading] = r == 52 ? word.modeCount[book::Reading] : qint16(-1);
            testsupport::writeRecord(path(), r, word);
        }
        book::RecordFile file(path());
        QVERIFY(file.open(book::RecordFile::Access::ReadOnly));

        const views::WeakWords weak = views::findWeakWords(file, 103, book::Reading);
        const auto view = views::buildReviewListing(file, 103, weak, book::Reading);
        QCOMPARE(view.lines.size(), 3 + 50 + 2);
        QVERIFY(view.lines[0].endsWith(u"苦手な単語数： 60"_s));
        QVERIFY(view.lines[2].endsWith(u"失念単語数： 60"_s));
    }
};

QTEST_GUILESS_MAIN(TestClassListing)
#include "tst_class_listing.moc"
