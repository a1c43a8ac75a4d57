// 「今日の復習」 on the real window: the class box's entry after 「苦手な単語」, its refusal
// with too few words due, the word lists that show recall and next reviews, and the target
// retention kept in the program's settings.
#include "mainwin/main_window.h"
#include "memory/study_log.h"
#include "test_book.h"
#include "test_doubles.h"
#include "window_rig.h"

#include "book/record_map.h"

#include <QAction>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {

class FixedCalendar : public folder::Calendar {
public:
    QDateTime now;
    QDateTime localNow() const override { return now; }
};

QDateTime at(int day, int hour) {
    return {QDate(2026, 12, day), QTime(hour, 0), QTimeZone(9 * 3600)};
}

} // namespace

class TestDueReview : public QObject, private testsupport::WindowRig {
    Q_OBJECT

    FixedCalendar days;
    std::unique_ptr<mainwin::MainWindow> window;

    template <typename T> T* child(const QString& name) {
        return testsupport::namedChild<T>(window.get(), name);
    }
    QComboBox* classBox() { return child<QComboBox>(u"cboWordClass"_s); }
    void chooseClass(int index) {
        classBox()->setCurrentIndex(index);
        Q_EMIT classBox()->activated(index);
    }
    QStringList displayLines() {
        return child<QPlainTextEdit>(u"txtMainDisplay"_s)->toPlainText().split(u'\n');
    }
    void setReading(int record, qint16 state) {
        book::WordRecord word = testsupport::readRecord(bookPath(), record);
        word.modeCount[book::Reading] = state;
        testsupport::writeRecord(bookPath(), record, word);
    }

    // In reading: ☆ words w1_8, w1_9 and w1_10 memorised before the log; `logged` words of
    // class 0 from w0_1 on, each answered right once, quickly, on 1 December at 19:00, and
    // w0_13 on 3 December at 19:00. All of them are ☆ in the book.
    void prepare(int stars, int logged) {
        for (int r = 60; r < 60 + stars; ++r)
            setReading(r, book::kMemorisedMark);
        memory::StudyLog log(dir->path());
        QVERIFY(log.open());
        for (int i = 1; i <= logged; ++i) {
            const int record = book::firstWordRecord(0) + i - 1;
            const QDateTime when = i == 13 ? at(3, 19) : at(1, 19);
            QVERIFY(log.record({when.toMSecsSinceEpoch(),
                                {record, u"w0_%1"_s.arg(i), u"訳０＿"_s + fullWidth(i)},
                                book::Reading,
                                memory::Outcome::Right,
                                2}));
            setReading(record, book::kMemorisedMark);
        }
    }
    static QString fullWidth(int n) {
        QString text = QString::number(n);
        for (QChar& c : text)
            c = QChar(c.unicode() - u'0' + u'０');
        return text;
    }

private Q_SLOTS:
    void init() {
        initRig();
        calendar = &days;
        testsupport::writeBook(bookPath(), 2);
    }
    void cleanup() { window.reset(); }

    void startNeedsSixDueWords_data() {
        QTest::addColumn<int>("stars");
        QTest::addColumn<int>("logged");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("refusal"); // empty: the review starts
        const QString needed = u"\r\n今日の復習には6語以上が必要です。"_s;
        QTest::newRow("nothing learned")
            << 0 << 0 << at(3, 19)
            << u"今日の復習は0語です。次に復習する単語はまだありません。"_s + needed;
        QTest::newRow("next tomorrow")
            << 3 << 12 << at(3, 19) << u"今日の復習は3語です。次は明日 12語です。"_s + needed;
        QTest::newRow("next on a later day")
            << 3 << 12 << at(1, 20) << u"今日の復習は3語です。次は12月4日 12語です。"_s + needed;
        QTest::newRow("fifteen due") << 3 << 12 << at(5, 19) << QString();
    }

    void startNeedsSixDueWords() {
        QFETCH(int, stars);
        QFETCH(int, logged);
        QFETCH(QDateTime, now);
        QFETCH(QString, refusal);
        prepare(stars, logged);
        days.now = now;
        window = openWindow();
        QCOMPARE(classBox()->count(), 4);
        QCOMPARE(classBox()->itemText(2), u"苦手な単語"_s);
        QCOMPARE(classBox()->itemText(3), u"今日の復習"_s);

        chooseClass(3);
        child<QPushButton>(u"cmdStart"_s)->click();
        const auto shown = dialogs.takeShownMessages();
        const drill::DrillState& s = window->session().engine()->state();
        QCOMPARE(s.running, refusal.isEmpty());
        if (s.running) {
            QVERIFY(shown.isEmpty());
            QVERIFY(s.review);
            // Lowest recall first (the logged words, alike), then the ☆ words with no answer.
            QCOMPARE(s.words, (QList<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 60, 61, 62}));
            child<QPushButton>(u"cmdEnd"_s)->click();
        } else {
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].text, refusal);
            QVERIFY(child<QPushButton>(u"cmdStart"_s)->isEnabled());
        }
    }

    // On 5 December: w0_1 ... w0_12 are four days old (87 %), w0_13 falls due tomorrow.
    void wordListsShowRecallAndNextReview_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QList<int>>("lineNumbers");
        QTest::addColumn<QStringList>("lines");
        const QString p = u"\u3000 "_s;
        const QString indent = u" \u3000 \u3000\u3000"_s + QString(12, u' ') +
                               u"\u3000\u3000\u3000"_s + QString(8, u' ') + u"\u3000\u3000"_s;
        QTest::newRow("今日の復習")
            << 3 << QList<int>{0, 1, 2, 3, 14, 15, 19}
            << QStringList{indent + u"今日の復習の単語数： 15"_s,
                           p + u"英語"_s + QString(12, u' ') + u"日本語"_s + QString(8, u' ') +
                               u"回数 想起率  クラス"_s,
                           QString(20, u' ') + u"次は明日 1語です。"_s,
                           p + u"w0_1"_s + QString(12, u' ') + u"訳０＿１"_s + QString(6, u' ') +
                               u"☆   87％    クラス０"_s,
                           p + u"w0_12"_s + QString(11, u' ') + u"訳０＿１２"_s + QString(4, u' ') +
                               u"☆   87％    クラス０"_s,
                           p + u"w1_8"_s + QString(12, u' ') + u"訳１＿８"_s + QString(6, u' ') +
                               u"☆     －    クラス１"_s,
                           QString(30, u' ') + u"- 今日の復習 -"_s};
        QTest::newRow("a class") << 0 << QList<int>{3, 15, 16}
                                 << QStringList{p + u"w0_1"_s + QString(12, u' ') + u"訳０＿１"_s +
                                                    QString(6, u' ') + u"☆"_s + QString(5, u' ') +
                                                    u"復習：今日"_s,
                                                p + u"w0_13"_s + QString(11, u' ') +
                                                    u"訳０＿１３"_s + QString(4, u' ') + u"☆"_s +
                                                    QString(5, u' ') + u"復習：明日"_s,
                                                p + u"w0_14"_s + QString(11, u' ') +
                                                    u"訳０＿１４"_s + QString(4, u' ') + u"0"_s};
    }

    void wordListsShowRecallAndNextReview() {
        QFETCH(int, entry);
        QFETCH(QList<int>, lineNumbers);
        QFETCH(QStringList, lines);
        prepare(3, 13);
        days.now = at(5, 19);
        window = openWindow();
        chooseClass(entry);
        child<QAction>(u"mnuWords"_s)->trigger();
        const QStringList shown = displayLines();
        for (int i = 0; i < lineNumbers.size(); ++i)
            QCOMPARE(shown.value(lineNumbers[i]), lines[i]);
    }

    void targetRetentionKeptAcrossARestart_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<double>("target");
        QTest::newRow("80 %") << 0 << 0.80;
        QTest::newRow("95 %") << 3 << 0.95;
    }

    void targetRetentionKeptAcrossARestart() {
        QFETCH(int, item);
        QFETCH(double, target);
        window = openWindow();
        QCOMPARE(window->session().targetRetention(), 0.90);
        QVERIFY(child<QAction>(u"mnuRetention(2)"_s)->isChecked());
        child<QAction>(u"mnuRetention(%1)"_s.arg(item))->trigger();
        QCOMPARE(window->session().targetRetention(), target);

        window.reset();
        window = openWindow();
        QCOMPARE(window->session().targetRetention(), target);
        QVERIFY(child<QAction>(u"mnuRetention(%1)"_s.arg(item))->isChecked());
        QVERIFY(dialogs.takeShownMessages().isEmpty());
    }
};

QTEST_MAIN(TestDueReview)
#include "tst_due_review.moc"
