// A drill played on the real window from the keyboard: Start, one word right, one
// word wrong, End; then the book, result.txt and the controls.
#include "book/cp932.h"
#include "book/record_map.h"
#include "keyboard.h"
#include "mainwin/drill_view.h"
#include "mainwin/main_window.h"
#include "test_book.h"
#include "test_doubles.h"
#include "window_rig.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestMainWindowDrill : public QObject, private testsupport::WindowRig {
    Q_OBJECT

    std::unique_ptr<mainwin::MainWindow> window;
    int eof = 0;

    template <typename T> T* child(const QString& name) {
        return testsupport::namedChild<T>(window.get(), name);
    }
    QComboBox* answerBox() { return child<QComboBox>(u"cmbInputField"_s); }
    const drill::DrillState& state() { return window->session().engine()->state(); }
    // One tick of the drill timer, as it comes while the words fall.
    void fireTimer() { QMetaObject::invokeMethod(child<QTimer>(u"tmrMain"_s), "timeout"); }

    // Ticks until some waiting drop can be picked; returns it.
    int tickUntilPickable() {
        for (int tick = 0; tick < 2000; ++tick) {
            for (int i = 0; i < drill::kDropCount; ++i) {
                if (state().drops[i].selectable && state().drops[i].top >= -200 &&
                    state().drops[i].top < 5000)
                    return i;
            }
            fireTimer();
        }
        qFatal("no drop came into the field");
    }

    // Types a text into the answer box as a learner would, then Enter.
    void typeAndEnter(const QString& text) {
        QLineEdit* edit = answerBox()->lineEdit();
        edit->clear();
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii) {
            QTest::keyClicks(answerBox(), text);
        } else {
            // Japanese arrives from the input method as one committed string.
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QCoreApplication::sendEvent(edit, &commit);
        }
        // Keys reach the box itself first, as they do from a real keyboard.
        QTest::keyClick(answerBox(), Qt::Key_Return);
    }

private Q_SLOTS:
    void init() {
        initRig();
        eof = testsupport::writeBook(bookPath(), 2);
        window = openWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup() { window.reset(); }

    void playOneRightAndOneWrongFromTheKeyboard() {
        child<QPushButton>(u"cmdStart"_s)->click();
        QVERIFY(state().running);
        QVERIFY(child<QTimer>(u"tmrMain"_s)->isActive());
        QVERIFY(!child<QPushButton>(u"cmdStart"_s)->isEnabled());
        QVERIFY(!child<QMenu>(u"mnuFile"_s)->menuAction()->isEnabled());
        QVERIFY(!child<QRadioButton>(u"optMode(1)"_s)->isEnabled());
        QVERIFY(child<QMenu>(u"mnuSetting"_s)->menuAction()->isEnabled());
        QVERIFY(!child<QPlainTextEdit>(u"txtMainDisplay"_s)->isVisible());
        QCOMPARE(answerBox()->count(), 5);

        // Right: type the falling word, Enter, then its meaning, Enter.
        const int right = tickUntilPickable();
        const QString english = state().drops[right].caption;
        const QString japanese = state().drops[right].answer;
        const int recordRight = state().drops[right].word.recordNo;
        typeAndEnter(english);
        QCOMPARE(child<QLabel>(u"lblDropWord(%1)"_s.arg(right))->text(), u"？"_s);
        QCOMPARE(answerBox()->count(), 6);
        QCOMPARE(answerBox()->itemText(5), u"？"_s);
        QCOMPARE(speaker.spoken, QStringList{english});
        typeAndEnter(japanese);
        QCOMPARE(child<QLineEdit>(u"txtTotalMemoryCnt"_s)->text(), u"1"_s);

        // Wrong: pick another word, then "？".
        const int wrong = tickUntilPickable();
        const QString wrongEnglish = state().drops[wrong].caption;
        const QString wrongJapanese = state().drops[wrong].answer;
        const int recordWrong = state().drops[wrong].word.recordNo;
        typeAndEnter(wrongEnglish);
        typeAndEnter(u"？"_s);
        QCOMPARE(child<QLabel>(u"lblDropWord(%1)"_s.arg(wrong))->text(), wrongJapanese);

        clock.now += 61;
        child<QPushButton>(u"cmdEnd"_s)->click();

        // The book: one word memorised, one missed once, the drill's statistics.
        QCOMPARE(testsupport::readRecord(bookPath(), recordRight).modeCount[0],
                 book::kMemorisedMark);
        QCOMPARE(testsupport::readRecord(bookPath(), recordWrong).modeCount[0], qint16(1));
        QCOMPARE(testsupport::readRecord(bookPath(), eof + 5).modeCount[0], qint16(1));
        QCOMPARE(testsupport::readRecord(bookPath(), 1).modeCount[0], qint16(1));
        QCOMPARE(testsupport::readRecord(bookPath(), eof + 11).modeCount[0], qint16(1));
        QCOMPARE(testsupport::readRecord(bookPath(), eof + 12).modeCount[0], qint16(61));

        const QByteArray result = testsupport::fileBytes(dir->filePath(u"result.txt"_s));
        QVERIFY(result.startsWith(testsupport::cp932Lines(
            {u" 単語クラス：クラス０を選択しました。"_s, u" ☆ "_s + english + u"    "_s + japanese,
             u" \u3000 "_s + wrongEnglish + u"    "_s + wrongJapanese})));
        QVERIFY(result.endsWith(testsupport::cp932Lines(
            {u" \u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000\u3000            -- リーディング編 --"_s})));

        // The controls are back, and the display shows the result.
        QVERIFY(!child<QTimer>(u"tmrMain"_s)->isActive());
        QVERIFY(child<QPushButton>(u"cmdStart"_s)->isEnabled());
        QVERIFY(child<QPushButton>(u"cmdSearch"_s)->isEnabled());
        QVERIFY(!child<QPushButton>(u"cmdEnd"_s)->isEnabled());
        QVERIFY(child<QComboBox>(u"cboWordClass"_s)->isEnabled());
        QVERIFY(child<QRadioButton>(u"optMode(2)"_s)->isEnabled());
        QVERIFY(child<QMenu>(u"mnuFile"_s)->menuAction()->isEnabled());
        QVERIFY(child<QAction>(u"mnuEdit"_s)->isEnabled());
        QVERIFY(child<QAction>(u"mnuResult"_s)->isChecked());
        QVERIFY(!child<QAction>(u"mnuManual"_s)->isChecked());
        QVERIFY(!window->viewFileShown());
        QCOMPARE(child<QLabel>(u"lblDropWord(0)"_s)->text(), u"☆■☆■"_s);
        auto* display = child<QPlainTextEdit>(u"txtMainDisplay"_s);
        QVERIFY(display->isVisible());
        QVERIFY(display->toPlainText().contains(u"結果は以下のとおりです。"_s));
        QCOMPARE(window->windowTitle(),
                 u"ヴェルタイピング for English 4.03 / テスト向け / 学習結果"_s);
    }

    void listeningEnterAnnouncesAndArrowKeysAnswer() {
        child<QRadioButton>(u"optMode(2)"_s)->click();
        child<QPushButton>(u"cmdStart"_s)->click();
        QCOMPARE(answerBox()->count(), 6);
        const int drop = tickUntilPickable();
        while (state().drops[drop].top <= -200)
            fireTimer();

        QTest::keyClick(answerBox(), Qt::Key_Return);
        QCOMPARE(speaker.spoken.size(), 1);
        QCOMPARE(state().selectedDrop, drop);

        // Each arrow key selects one entry and answers with it.
        const QString first = answerBox()->itemText(0);
        const bool right = first == state().drops[drop].answer;
        const int record = state().drops[drop].word.recordNo;
        QTest::keyClick(answerBox(), Qt::Key_Down);
        QCOMPARE(testsupport::readRecord(bookPath(), record).modeCount[book::Listening],
                 right ? book::kMemorisedMark : qint16(1));
        QVERIFY(state().speakReady);
        QCOMPARE(answerBox()->count(), 6);
    }

    void typedWordWinsOverItsCompletion() {
        using testsupport::indexDraw;
        // Drop 0 shows "w0_10", drop 1 "w0_1"; drop 0 enters first, drop 1 from -5000.
        random.script({indexDraw(9, 49), 0.0, indexDraw(0, 49), 0.0, 0.0, indexDraw(20, 49), 0.0,
                       indexDraw(21, 49), 0.0, 0.0, indexDraw(22, 49), 0.0, 0.9, 0.0, 0.0});
        child<QPushButton>(u"cmdStart"_s)->click();
        QCOMPARE(answerBox()->itemText(0), u"w0_10"_s);
        QCOMPARE(answerBox()->itemText(1), u"w0_1"_s);
        while (state().drops[1].top < -200)
            fireTimer();

        // Completion offers "w0_10" for "w0_1"; Enter takes what was typed.
        QTest::keyClicks(answerBox(), u"w0_1"_s);
        QCOMPARE(answerBox()->currentText(), u"w0_10"_s);
        QTest::keyClick(answerBox(), Qt::Key_Return);
        QCOMPARE(state().selectedDrop, 1);
        QCOMPARE(state().drops[1].caption, u"？"_s);
    }

    void listeningEnterAnnouncesWhateverTheBoxHolds() {
        child<QRadioButton>(u"optMode(2)"_s)->click();
        child<QPushButton>(u"cmdStart"_s)->click();
        const int drop = tickUntilPickable();
        while (state().drops[drop].top <= -200)
            fireTimer();
        // An entry chosen before any word was spoken answers nothing and stays in the box.
        QTest::keyClick(answerBox(), Qt::Key_Down);
        QVERIFY(!answerBox()->currentText().isEmpty());
        QTest::keyClick(answerBox(), Qt::Key_Return);
        QCOMPARE(speaker.spoken.size(), 1);
        QCOMPARE(state().selectedDrop, drop);
    }

    void closingTheListKeepsTheInputMode() {
        testsupport::namedChild<QAction>(window.get(), u"mnuHiragana"_s)->trigger();
        child<QPushButton>(u"cmdStart"_s)->click();
        const int drop = tickUntilPickable();
        typeAndEnter(state().drops[drop].caption);
        QCOMPARE(child<mainwin::DrillView>(u"drillView"_s)->requestedImeMode(),
                 4); // Japanese meanings come next
        QFocusEvent back(QEvent::FocusIn, Qt::PopupFocusReason);
        QCoreApplication::sendEvent(answerBox(), &back);
        QCOMPARE(child<mainwin::DrillView>(u"drillView"_s)->requestedImeMode(), 4);
    }

    void altSStartsTheDrill() {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QTest::keyClick(window.get(), Qt::Key_S, Qt::AltModifier);
        QTRY_VERIFY(state().running);
    }

    // A screen reader names each drop and what it shows, and the total by its label.
    void screenReadersNameDropsAndTotal() {
        const auto name = [](QWidget* control) {
            return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
        };
        const auto drop = [this](int i) { return child<QLabel>(u"lblDropWord(%1)"_s.arg(i)); };
        QCOMPARE(name(child<QLineEdit>(u"txtTotalMemoryCnt"_s)), u"記憶単語総数："_s);
        QCOMPARE(name(drop(0)), u"落下単語1"_s);
        child<QPushButton>(u"cmdStart"_s)->click();
        for (int i = 0; i < drill::kDropCount; ++i)
            QCOMPARE(name(drop(i)), u"落下単語%1：%2"_s.arg(i + 1).arg(drop(i)->text()));
    }

    // A class name typed into the class box counts as typed: never completed to a class
    // whose name it begins or matched to one in another case, and it runs nothing until
    // a command reads it.
    void typedClassNameCountsAsTyped_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("listed"); // the class F5 lists; 0: the one listed before
        QTest::newRow("prefix of another class's name") << u"クラス1"_s << 53;
        QTest::newRow("a class's name in other case") << u"verb"_s << 0;
    }
    void typedClassNameCountsAsTyped() {
        book::BookContent content = testsupport::makeBookContent(3);
        content.classes[0].name = u"クラス10"_s;
        content.classes[1].name = u"クラス1"_s;
        content.classes[2].name = u"Verb"_s;
        testsupport::writeBook(bookPath(), content);
        window->loadBook();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* classes = child<QComboBox>(u"cboWordClass"_s);
        classes->setFocus();
        testsupport::pressKey(Qt::Key_F5);
        QCOMPARE(window->session().classFirstRecord(), 2);

        QFETCH(QString, typed);
        testsupport::typeInto(classes->lineEdit(), typed);
        testsupport::pressKey(Qt::Key_Tab);
        QCOMPARE(classes->currentText(), typed);
        QCOMPARE(window->session().classFirstRecord(), 2);
        testsupport::pressKey(Qt::Key_F5);
        QFETCH(int, listed);
        QCOMPARE(window->session().classFirstRecord(), listed ? listed : 2);
    }

    // Choosing a class from the keyboard still works, on the box or in its open list.
    void keyboardChoosesAClass_data() {
        QTest::addColumn<bool>("openList");
        QTest::newRow("arrow key on the box") << false;
        QTest::newRow("open list") << true;
    }
    void keyboardChoosesAClass() {
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        auto* classes = child<QComboBox>(u"cboWordClass"_s);
        classes->setFocus();
        QFETCH(bool, openList);
        if (openList) {
            testsupport::pressKey(Qt::Key_Down, Qt::AltModifier);
            QVERIFY(QApplication::activePopupWidget());
        }
        testsupport::pressKey(Qt::Key_Down);
        if (openList)
            testsupport::pressKey(Qt::Key_Return);
        QCOMPARE(classes->currentText(), u"クラス１"_s);
        QCOMPARE(window->session().classFirstRecord(), 53);
    }

    // From the keyboard, with the translations open as a list: only an entry the learner
    // moved to, or typed in full, is judged; a bare Enter judges nothing.
    void answerListJudgesOnlyWhatWasChosen_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("downs");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("counter"); // of the word "country" afterwards
        const int memorised = book::kMemorisedMark;
        QTest::newRow("reading, bare Enter") << int(book::Reading) << 0 << QString() << 0;
        QTest::newRow("listening, bare Enter") << int(book::Listening) << 0 << QString() << 0;
        QTest::newRow("typed meaning that begins another")
            << int(book::Reading) << 0 << u"国"_s << memorised;
        QTest::newRow("arrow key to the entry")
            << int(book::Reading) << 1 << QString() << memorised;
    }
    void answerListJudgesOnlyWhatWasChosen() {
        book::BookContent content = testsupport::makeBookContent(1);
        content.classes[0].words[0] = {u"country"_s, u"国"_s};
        content.classes[0].words[1] = {u"internationally"_s, u"国際的に"_s};
        testsupport::writeBook(bookPath(), content);
        window->loadBook();
        QFETCH(int, mode);
        child<QRadioButton>(u"optMode(%1)"_s.arg(mode))->click();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));

        // Drop 4 falls "country" and enters first, drop 2 "internationally"; the list
        // holds the drops' meanings from drop 4 down to drop 0: 国 first, 国際的に third.
        using testsupport::indexDraw;
        random.script({indexDraw(2, 49),
                       0.0,
                       indexDraw(3, 49),
                       0.0,
                       0.0,
                       indexDraw(1, 49),
                       0.0,
                       indexDraw(4, 49),
                       0.0,
                       0.0,
                       indexDraw(0, 49),
                       0.0,
                       0.5,
                       0.0,
                       0.0,
                       0.99,
                       0.99,
                       0.99,
                       0.99,
                       0.99});
        child<QPushButton>(u"cmdStart"_s)->click();
        while (state().drops[4].top <= -200)
            fireTimer();
        if (mode == book::Reading)
            testsupport::typeText(u"country"_s);
        testsupport::pressKey(Qt::Key_Return);
        QCOMPARE(state().selectedDrop, 4);
        QVERIFY(QApplication::activePopupWidget());
        QCOMPARE(answerBox()->itemText(0), u"国"_s);
        QCOMPARE(answerBox()->itemText(2), u"国際的に"_s);

        QFETCH(int, downs);
        for (int i = 0; i < downs; ++i)
            testsupport::pressKey(Qt::Key_Down);
        QFETCH(QString, typed);
        testsupport::typeText(typed);
        testsupport::pressKey(Qt::Key_Return);
        QTEST(int(testsupport::readRecord(bookPath(), 2).modeCount[mode]), "counter");
    }

    // Start makes the drilled words ready to be spoken, once, while the voice is on.
    void startPreparesTheDrilledWords_data() {
        QTest::addColumn<QString>("voice");
        QTest::addColumn<int>("mode");
        QTest::newRow("voice ON, reading") << u"mnuVoiceOn"_s << 0;
        QTest::newRow("voice ON, listening") << u"mnuVoiceOn"_s << 2;
        QTest::newRow("voice OFF") << u"mnuVoiceOFF"_s << 2;
    }

    void startPreparesTheDrilledWords() {
        QFETCH(QString, voice);
        QFETCH(int, mode);
        child<QAction>(voice)->trigger();
        child<QRadioButton>(u"optMode(%1)"_s.arg(mode))->click();
        child<QComboBox>(u"cboWordClass"_s)->setEditText(u"クラス１"_s);
        child<QPushButton>(u"cmdStart"_s)->click();
        QVERIFY(state().running);

        if (voice == u"mnuVoiceOFF"_s) {
            QVERIFY(speaker.prepared.isEmpty());
            return;
        }
        QCOMPARE(speaker.prepared.size(), 1);
        QStringList prepared = speaker.prepared[0];
        prepared.sort();
        QStringList drilled;
        for (int i = 1; i <= 50; ++i)
            drilled << u"w1_%1"_s.arg(i);
        drilled.sort();
        QCOMPARE(prepared, drilled);
    }

    void startWithUnknownClassIsRefused() {
        child<QComboBox>(u"cboWordClass"_s)->setEditText(u"どこにもない"_s);
        dialogs.takeShownMessages();
        child<QPushButton>(u"cmdStart"_s)->click();
        QCOMPARE(dialogs.takeShownMessages().size(), 1);
        QVERIFY(!state().running);
        QVERIFY(child<QPushButton>(u"cmdStart"_s)->isEnabled());
        QVERIFY(!QFile::exists(dir->filePath(u"result.txt"_s)));
    }
};

QTEST_MAIN(TestMainWindowDrill)
#include "tst_main_window_drill.moc"
