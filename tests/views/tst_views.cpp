// The grade table and the search view, line by line.
#include "book/record_map.h"
#include "test_book.h"
#include "views/grade_view.h"
#include "views/search_view.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestViews : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path() const { return dir.filePath(u"Word.dat"_s); }

    void setCounters(int record, std::array<qint16, 3> counters) {
        book::WordRecord r = testsupport::readRecord(path(), record);
        r.modeCount = counters;
        testsupport::writeRecord(path(), record, r);
    }

private Q_SLOTS:
    void decimalNumber_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("125 s in minutes") << 125 / 60.0 << u"2.0833"_s;
        QTest::newRow("90 s in minutes") << 90 / 60.0 << u"1.5"_s;
        QTest::newRow("zero") << 0.0 << u"0"_s;
        QTest::newRow("7 / 3") << 7 / 3.0 << u"2.3333"_s;
        QTest::newRow("whole") << 60.0 << u"60"_s;
        QTest::newRow("below one") << 0.25 << u"0.25"_s;
        QTest::newRow("3600 / 7") << 3600 / 7.0 << u"514.2857"_s;
        QTest::newRow("negative") << -1.5 << u"-1.5"_s;
    }

    void decimalNumber() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(views::decimalNumber(value), text);
    }

    void gradeTableOfAFreshBook() {
        const int eof = testsupport::writeBook(path(), 1);
        book::RecordFile file(path());
        QVERIFY(file.open(book::RecordFile::Access::ReadOnly));
        const QStringList lines = views::gradeTableLines(file, eof);
        QCOMPARE(lines.size(), 1 + 3 * 10);
        QCOMPARE(lines.mid(0, 11),
                 (QStringList{QString(), u"・リーディング編"_s, u"  学習時間：\u30000 分"_s,
                              u"  学習回数：\u30000"_s, u"  記憶単語総数：\u30000"_s,
                              u"  失念単語総数：\u30000"_s, u"  記憶クラス数：\u30000"_s,
                              u"  所要反復回数：\u30000"_s, u"  所要反復時間：\u30000 秒／単語"_s,
                              u"\u3000"_s, u"\u3000"_s}));
        QCOMPARE(lines.at(21), u"・リスニング編"_s);
    }

    void gradeTableAverages() {
        const int eof = testsupport::writeBook(path(), 1);
        setCounters(eof + 12, {0, 3600, 0}); // study seconds
        setCounters(eof + 5, {0, 7, 0});     // memorised words
        setCounters(eof + 4, {0, 9, 0});     // repetitions
        setCounters(eof + 11, {0, 4, 0});    // drills
        book::RecordFile file(path());
        QVERIFY(file.open(book::RecordFile::Access::ReadOnly));
        const QStringList writing = views::gradeTableLines(file, eof).mid(11, 8);
        QCOMPARE(writing, (QStringList{u"・ライティング編"_s, u"  学習時間：\u300060 分"_s,
                                       u"  学習回数：\u30004"_s, u"  記憶単語総数：\u30007"_s,
                                       u"  失念単語総数：\u30000"_s, u"  記憶クラス数：\u30000"_s,
                                       u"  所要反復回数：\u30001.2857"_s,
                                       u"  所要反復時間：\u3000514.2857 秒／単語"_s}));
    }

    void search_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("hitLines");
        QTest::newRow("English of the last word of the last class")
            << u"w1_50"_s << QStringList{u" ・ w1_50  訳１＿５０  [クラス１]"_s, u" "_s};
        QTest::newRow("Japanese") << u"訳０＿３"_s
                                  << QStringList{u"  ・訳０＿３  w0_3  [クラス０]"_s, u" "_s};
        QTest::newRow("class name matches its header")
            << u"クラス１"_s << QStringList{u"  ・クラス１  Class 2  [クラス１]"_s, u" "_s};
        QTest::newRow("case differs")
            << u"W1_50"_s << QStringList{u"   検索文字列は見つかりません。"_s};
        QTest::newRow("prefix") << u"w1_"_s << QStringList{u"   検索文字列は見つかりません。"_s};
        QTest::newRow("trailing blank")
            << u"w1_50 "_s << QStringList{u"   検索文字列は見つかりません。"_s};
        QTest::newRow("end record is not searched")
            << u"EOF"_s << QStringList{u"   検索文字列は見つかりません。"_s};
    }

    void search() {
        QFETCH(QString, text);
        QFETCH(QStringList, hitLines);
        const int eof = testsupport::writeBook(path(), 2);
        book::RecordFile file(path());
        QVERIFY(file.open(book::RecordFile::Access::ReadOnly));
        const views::SearchView view = views::buildSearchView(file, eof, text);
        QCOMPARE(view.lines, QStringList{u"\u3000"_s} + hitLines + QStringList{u"    \u3000"_s});
        QCOMPARE(view.hits, hitLines.size() == 2 ? 1 : 0);
    }

    void searchFindsEveryClassInRecordOrder() {
        book::BookContent content = testsupport::makeBookContent(2);
        content.classes[1].words[4].english = u"w0_1"_s;
        const int eof = testsupport::writeBook(path(), content);
        book::RecordFile file(path());
        QVERIFY(file.open(book::RecordFile::Access::ReadOnly));
        const auto view = views::buildSearchView(file, eof, u"w0_1"_s);
        QCOMPARE(view.hits, 2);
        QVERIFY(view.lines.at(1).endsWith(u"[クラス０]"_s));
        QVERIFY(view.lines.at(3).endsWith(u"[クラス１]"_s));
    }
};

QTEST_GUILESS_MAIN(TestViews)
#include "tst_views.moc"
