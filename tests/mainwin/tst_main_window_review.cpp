// The review of weak words on the real window: the class box's last entry, its word list,
// Start, and the editor that never sees it.
#include "mainwin/main_window.h"
#include "test_book.h"
#include "test_doubles.h"
#include "window_rig.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestMainWindowReview : public QObject, private testsupport::WindowRig {
    Q_OBJECT

    std::unique_ptr<mainwin::MainWindow> window;

    template <typename T> T* child(const QObject* parent, const QString& name) {
        return testsupport::namedChild<T>(parent, name);
    }
    QComboBox* classBox() { return child<QComboBox>(window.get(), u"cboWordClass"_s); }
    static QStringList items(const QComboBox* box) {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i);
        return list;
    }
    void chooseClass(int index) {
        classBox()->setCurrentIndex(index);
        Q_EMIT classBox()->activated(index);
    }
    QString display() {
        return child<QPlainTextEdit>(window.get(), u"txtMainDisplay"_s)->toPlainText();
    }

private Q_SLOTS:
    void init() {
        initRig();
        testsupport::writeBook(bookPath(), 2);
    }

    void cleanup() { window.reset(); }

    void startNeedsSixWeakWords_data() {
        QTest::addColumn<int>("weak");
        QTest::addColumn<QString>("listed");  // a line of the review's word list
        QTest::addColumn<QString>("refusal"); // empty: the review starts
        QTest::newRow("none")
            << 0 << u"このモードで復習する苦手な単語はありません。"_s
            << u"苦手な単語は0語です。\r\n苦手な単語の復習には6語以上が必要です。"_s;
        QTest::newRow("five")
            << 5 << u"クラス１"_s
            << u"苦手な単語は5語です。\r\n苦手な単語の復習には6語以上が必要です。"_s;
        QTest::newRow("six") << 6 << u"クラス１"_s << QString();
    }

    void startNeedsSixWeakWords() {
        QFETCH(int, weak);
        QFETCH(QString, listed);
        QFETCH(QString, refusal);
        for (int i = 0; i < weak; ++i) {
            book::WordRecord word = testsupport::readRecord(bookPath(), 60 + i);
            word.modeCount[book::Reading] = 3;
            testsupport::writeRecord(bookPath(), 60 + i, word);
        }
        window = openWindow();
        QCOMPARE(items(classBox()),
                 (QStringList{u"クラス０"_s, u"クラス１"_s, u"苦手な単語"_s, u"今日の復習"_s}));

        chooseClass(2);
        QVERIFY(display().contains(listed));
        QVERIFY(display().contains(u"- 苦手な単語 -"_s));
        child<QAction>(window.get(), u"mnuWords"_s)->trigger();
        QVERIFY(display().contains(listed));
        QCOMPARE(window->windowTitle(),
                 u"ヴェルタイピング for English 4.03 / テスト向け / 単語帳"_s);

        child<QPushButton>(window.get(), u"cmdStart"_s)->click();
        const auto shown = dialogs.takeShownMessages();
        const bool started = window->session().engine()->state().running;
        QCOMPARE(started, refusal.isEmpty());
        if (started) {
            QVERIFY(shown.isEmpty());
            QVERIFY(window->session().engine()->state().review);
            child<QPushButton>(window.get(), u"cmdEnd"_s)->click();
        } else {
            QCOMPARE(shown.size(), 1);
            QCOMPARE(shown[0].text, refusal);
            QVERIFY(child<QPushButton>(window.get(), u"cmdStart"_s)->isEnabled());
        }
        QCOMPARE(classBox()->count(), 4);
    }

    // A class may bear the review's name: its entry plays the class, typed or chosen, and
    // the review's entry still plays the review.
    void classNamedLikeTheReviewPlaysAsAClass_data() {
        QTest::addColumn<int>("entry"); // -1: the name typed
        QTest::addColumn<QString>("footer");
        QTest::addColumn<bool>("classStarts"); // else the review is refused: no weak words
        QTest::newRow("the class chosen") << 1 << u"- 2 -"_s << true;
        QTest::newRow("the name typed") << -1 << u"- 2 -"_s << true;
        QTest::newRow("the review chosen") << 2 << u"- 苦手な単語 -"_s << false;
    }

    void classNamedLikeTheReviewPlaysAsAClass() {
        QFETCH(int, entry);
        QFETCH(QString, footer);
        QFETCH(bool, classStarts);
        book::BookContent content = testsupport::makeBookContent(2);
        content.classes[1].name = u"苦手な単語"_s;
        testsupport::writeBook(bookPath(), content);
        window = openWindow();
        QCOMPARE(items(classBox()),
                 (QStringList{u"クラス０"_s, u"苦手な単語"_s, u"苦手な単語"_s, u"今日の復習"_s}));

        if (entry < 0) {
            classBox()->setEditText(u"苦手な単語"_s);
            child<QAction>(window.get(), u"mnuWords"_s)->trigger();
        } else {
            chooseClass(entry);
        }
        QVERIFY(display().contains(footer));
        child<QPushButton>(window.get(), u"cmdStart"_s)->click();
        const drill::DrillState& s = window->session().engine()->state();
        QCOMPARE(s.running, classStarts);
        if (classStarts) {
            QVERIFY(!s.review);
            QCOMPARE(s.classFirstRecord, 53);
            QVERIFY(dialogs.takeShownMessages().isEmpty());
            child<QPushButton>(window.get(), u"cmdEnd"_s)->click();
        } else {
            QCOMPARE(dialogs.takeShownMessages().size(), 1);
        }
    }

    // The editor's class lists hold the book's classes only; a rename there keeps the
    // review at the end of the main window's box.
    void editorNeverSeesTheReview() {
        window = openWindow();
        chooseClass(2);
        dialogs.queueAnswer(QMessageBox::Yes);
        child<QAction>(window.get(), u"mnuEdit"_s)->trigger();
        auto* editorWindow = child<QWidget>(window.get(), u"frmEdit"_s);
        const QStringList classes{u"クラス０"_s, u"クラス１"_s};
        for (const QString& name : {u"cboClassEdit"_s, u"cboBeforeClass"_s})
            QCOMPARE(items(child<QComboBox>(editorWindow, name)), classes);

        child<QComboBox>(editorWindow, u"cboBeforeClass"_s)->setEditText(u"クラス１"_s);
        child<QLineEdit>(editorWindow, u"txtAfterClass"_s)->setText(u"動詞"_s);
        child<QPushButton>(editorWindow, u"cmdClassChange"_s)->click();
        QCOMPARE(items(child<QComboBox>(editorWindow, u"cboBeforeClass"_s)),
                 (QStringList{u"クラス０"_s, u"動詞"_s}));
        QCOMPARE(items(classBox()),
                 (QStringList{u"クラス０"_s, u"動詞"_s, u"苦手な単語"_s, u"今日の復習"_s}));
        QVERIFY(dialogs.takeShownMessages().size() == 1); // the edit question only
    }
};

QTEST_MAIN(TestMainWindowReview)
#include "tst_main_window_review.moc"
