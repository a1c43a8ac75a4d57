// The main window on a real book: loading, settings, the Edit question, and books
// that are missing, obsolete, damaged or without an end record; a slow speech engine.
#include "book/cp932.h"
#include "book/record_map.h"
#include "fake_speech_engine.h"
#include "mainwin/drill_view.h"
#include "mainwin/main_window.h"
#include "platform/speech.h"
#include "platform/voices.h"
#include "test_book.h"
#include "test_doubles.h"
#include "window_rig.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFocusEvent>
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

class TestMainWindow : public QObject, private testsupport::WindowRig {
    Q_OBJECT

private:
    int eof = 0;

    template <typename T> static T* child(QObject* window, const QString& name) {
        return testsupport::namedChild<T>(window, name);
    }
    static QAction* action(QObject* window, const QString& name) {
        return child<QAction>(window, name);
    }

    void setTrailerText(book::Trailer which, const QString& english, const QString& japanese) {
        const int r = book::trailerRecord(eof, which);
        testsupport::writeRecord(bookPath(), r, {r, english, japanese, {}});
    }

private Q_SLOTS:
    void init() {
        initRig();
        eof = testsupport::writeBook(bookPath(), 2);
        dialogs.takeShownMessages();
    }

    void loadShowsBookAndManual() {
        auto window = openWindow();
        QCOMPARE(window->windowTitle(),
                 u"ヴェルタイピング for English 4.03 / テスト向け / マニュアル"_s);
        auto* classes = child<QComboBox>(window.get(), u"cboWordClass"_s);
        // The book's classes, then the reviews of the weak and the due words.
        QCOMPARE(classes->count(), 4);
        QCOMPARE(classes->itemText(2), u"苦手な単語"_s);
        QCOMPARE(classes->currentText(), u"クラス０"_s);
        QVERIFY(child<QPushButton>(window.get(), u"cmdStart"_s)->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), u"cmdEnd"_s)->isEnabled());
        QVERIFY(action(window.get(), u"mnuManual"_s)->isChecked());
        QVERIFY(window->viewFileShown());
        QVERIFY(child<QPlainTextEdit>(window.get(), u"txtMainDisplay"_s)
                    ->toPlainText()
                    .contains(u"手順①（リーディングを選択した場合）："_s));
        QVERIFY(dialogs.takeShownMessages().isEmpty());
    }

    void storedSpeedIsApplied_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("checkedItem");
        QTest::addColumn<double>("dropSpeed");
        QTest::newRow("1") << u"1"_s << u"mnuSpeedOne"_s << 5.0;
        QTest::newRow("0 is speed two") << u"0"_s << u"mnuSpeedTwo"_s << 10.0;
        QTest::newRow("3") << u"3"_s << u"mnuSpeedThree"_s << 15.0;
        QTest::newRow("4") << u"4"_s << u"mnuSpeedFour"_s << 20.0;
        QTest::newRow("5 with blanks") << u" 5 "_s << u"mnuSpeedFive"_s << 25.0;
        // "2" selects nothing: the initial check stays, and the drops fall at its speed.
        QTest::newRow("2 selects nothing") << u"2"_s << u"mnuSpeedTwo"_s << 10.0;
    }

    void storedSpeedIsApplied() {
        QFETCH(QString, stored);
        QFETCH(QString, checkedItem);
        QFETCH(double, dropSpeed);
        setTrailerText(book::Trailer::Speed, stored, u"0"_s);
        const QByteArray before = testsupport::fileBytes(bookPath());

        auto window = openWindow();
        QVERIFY(action(window.get(), checkedItem)->isChecked());
        QCOMPARE(window->session().settings().dropSpeed, dropSpeed);
        // Loading writes the same speed text back, trimmed, and nothing else.
        const book::WordRecord speed = testsupport::readRecord(bookPath(), eof + 11);
        QCOMPARE(speed.english, book::trimBlanks(stored));
        if (stored == book::trimBlanks(stored))
            QCOMPARE(testsupport::fileBytes(bookPath()), before);
    }

    void storedVoiceIsApplied_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("on");
        QTest::newRow("0 is on") << u"0"_s << true;
        QTest::newRow("1 is off") << u"1"_s << false;
        QTest::newRow("other keeps on") << u"x"_s << true;
    }

    void storedVoiceIsApplied() {
        QFETCH(QString, stored);
        QFETCH(bool, on);
        setTrailerText(book::Trailer::Voice, u"0"_s, stored);
        auto window = openWindow();
        QCOMPARE(action(window.get(), u"mnuVoiceOn"_s)->isChecked(), on);
        QCOMPARE(action(window.get(), u"mnuVoiceOFF"_s)->isChecked(), !on);
        QCOMPARE(window->session().settings().voiceOn, on);
    }

    // 設定 → 音声 → 声 lists the voices with the clearest checked until the learner picks
    // another, which the next start shows again; the speech service stays a choice. A choice
    // that cannot be kept is said so, and is used all the same.
    void voiceChoiceIsListedAndKept_data() {
        QTest::addColumn<bool>("writable");
        QTest::newRow("kept") << true;
        QTest::newRow("settings cannot be written") << false;
    }

    void voiceChoiceIsListedAndKept() {
        QFETCH(bool, writable);
        if (!writable) // a folder where the settings file should be
            QVERIFY(QDir(dir->path()).mkdir(u"veltyping.conf"_s));
        const auto checkedVoices = [](QMenu* menu) {
            QStringList checked;
            for (QAction* voice : menu->actions())
                if (voice->isChecked())
                    checked << voice->data().toString();
            return checked;
        };
        auto window = openWindow();
        auto* menu = child<QMenu>(window.get(), u"mnuSpeechVoice"_s);
        QStringList captions;
        for (const platform::Voice& voice : platform::availableVoices())
            captions << voice.caption;
        QStringList shown;
        for (QAction* voice : menu->actions())
            shown << voice->text();
        QCOMPARE(shown, captions);
        QCOMPARE(checkedVoices(menu), QStringList{platform::defaultVoiceId()});

        QAction* service = menu->actions().constLast();
        QCOMPARE(service->data().toString(), platform::speechServiceVoiceId());
        service->trigger();
        QCOMPARE(checkedVoices(menu), QStringList{platform::speechServiceVoiceId()});
        QCOMPARE(dialogs.takeShownMessages().size(), writable ? 0 : 1);

        window.reset();
        window = openWindow();
        menu = child<QMenu>(window.get(), u"mnuSpeechVoice"_s);
        QCOMPARE(checkedVoices(menu), QStringList{writable ? platform::speechServiceVoiceId()
                                                           : platform::defaultVoiceId()});
    }

    void settingsWriteOnlyTheirField_data() {
        QTest::addColumn<QString>("item");
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("japanese");
        QTest::newRow("katakana") << u"mnuKatakana"_s << 8 << u"0"_s << u"keep"_s;
        QTest::newRow("hiragana") << u"mnuHiragana"_s << 8 << u"1"_s << u"keep"_s;
        QTest::newRow("no conversion") << u"mnuNormal"_s << 8 << u"2"_s << u"keep"_s;
        QTest::newRow("voice off") << u"mnuVoiceOFF"_s << 9 << u"keep"_s << u"1"_s;
        QTest::newRow("voice on") << u"mnuVoiceOn"_s << 9 << u"keep"_s << u"0"_s;
        QTest::newRow("speed five") << u"mnuSpeedFive"_s << 11 << u"5"_s << u"keep"_s;
    }

    void settingsWriteOnlyTheirField() {
        QFETCH(QString, item);
        QFETCH(int, record);
        QFETCH(QString, english);
        QFETCH(QString, japanese);
        const int r = eof + record;
        // Blanks around the texts and counters that must survive the rewrite.
        testsupport::writeRecord(bookPath(), r, {r, u" 7 "_s, u" keep "_s, {1, -2, 3}});
        auto window = openWindow();
        const QByteArray before = testsupport::fileBytes(bookPath());

        action(window.get(), item)->trigger();

        QVERIFY(action(window.get(), item)->isChecked());
        const book::WordRecord expected{
            r, english == u"keep"_s ? u"7"_s : english, japanese, {1, -2, 3}};
        QCOMPARE(testsupport::readRecord(bookPath(), r), expected);
        QByteArray after = testsupport::fileBytes(bookPath());
        after.replace((r - 1) * 128, 128, before.mid((r - 1) * 128, 128));
        QCOMPARE(after, before);
    }

    void modeChoiceAppliesStoredInputMode_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("checkedItem");
        QTest::newRow("1") << u"1"_s << u"mnuHiragana"_s;
        QTest::newRow("0") << u"0"_s << u"mnuKatakana"_s;
        QTest::newRow("2") << u"2"_s << u"mnuNormal"_s;
        QTest::newRow("other leaves the checks") << u"9"_s << u"mnuHiragana"_s;
    }

    void modeChoiceAppliesStoredInputMode() {
        QFETCH(QString, stored);
        QFETCH(QString, checkedItem);
        setTrailerText(book::Trailer::InputMode, stored, u"0"_s);
        auto window = openWindow();
        QVERIFY(action(window.get(), u"mnuHiragana"_s)->isChecked()); // not applied at load
        child<QRadioButton>(window.get(), u"optMode(1)"_s)->click();
        QVERIFY(action(window.get(), checkedItem)->isChecked());
        QVERIFY(action(window.get(), u"mnuWords"_s)->isChecked());
        QCOMPARE(window->windowTitle(),
                 u"ヴェルタイピング for English 4.03 / テスト向け / 単語帳"_s);
    }

    void memorisedTotalFollowsTheMode() {
        const int r = eof + 5;
        testsupport::writeRecord(bookPath(), r, {r, u"0"_s, u"0"_s, {4, 7, 9}});
        auto window = openWindow();
        auto* total = child<QLineEdit>(window.get(), u"txtTotalMemoryCnt"_s);
        QVERIFY(total->isReadOnly());
        QCOMPARE(total->text(), u"4"_s);
        child<QRadioButton>(window.get(), u"optMode(1)"_s)->click();
        QCOMPARE(total->text(), u"7"_s);
    }

    void imeModeOnFocus_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("inputItem");
        QTest::addColumn<int>("expected");
        QTest::newRow("reading hiragana") << 0 << u"mnuHiragana"_s << 8;
        QTest::newRow("writing hiragana") << 1 << u"mnuHiragana"_s << 4;
        QTest::newRow("listening katakana") << 2 << u"mnuKatakana"_s << 5;
        QTest::newRow("writing no conversion") << 1 << u"mnuNormal"_s << 8;
    }

    void imeModeOnFocus() {
        QFETCH(int, mode);
        QFETCH(QString, inputItem);
        QFETCH(int, expected);
        auto window = openWindow();
        child<QRadioButton>(window.get(), u"optMode(%1)"_s.arg(mode))->setChecked(true);
        action(window.get(), inputItem)->trigger();
        QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
        QCoreApplication::sendEvent(child<QComboBox>(window.get(), u"cmbInputField"_s), &focus);
        QCOMPARE(child<mainwin::DrillView>(window.get(), u"drillView"_s)->requestedImeMode(),
                 expected);
    }

    void editAnsweredNoChangesNothing() {
        book::WordRecord word = testsupport::readRecord(bookPath(), 5);
        word.modeCount = {book::kMemorisedMark, 3, -2};
        testsupport::writeRecord(bookPath(), 5, word);
        auto window = openWindow();
        const QByteArray before = testsupport::fileBytes(bookPath());

        dialogs.queueAnswer(QMessageBox::No);
        action(window.get(), u"mnuEdit"_s)->trigger();

        QCOMPARE(testsupport::fileBytes(bookPath()), before);
        const auto shown = dialogs.takeShownMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, u"ｳﾞｪﾙﾌｧｲﾙの編集"_s);
        QCOMPARE(shown[0].text, u"データは失われますが、よろしいですか？"_s);
        QVERIFY(action(window.get(), u"mnuWords"_s)->isChecked());
    }

    void editAnsweredYesResetsLearningData() {
        book::WordRecord word = testsupport::readRecord(bookPath(), 5);
        word.modeCount = {book::kMemorisedMark, 3, -2};
        testsupport::writeRecord(bookPath(), 5, word);
        setTrailerText(book::Trailer::Speed, u"5"_s, u"0"_s);
        auto window = openWindow();

        dialogs.queueAnswer(QMessageBox::Yes);
        action(window.get(), u"mnuEdit"_s)->trigger();

        QCOMPARE(testsupport::readRecord(bookPath(), 5).modeCount, (std::array<qint16, 3>{}));
        QCOMPARE(testsupport::readRecord(bookPath(), eof + 1).english, u"テスト"_s);
        QCOMPARE(testsupport::readRecord(bookPath(), eof + 11).english, u"0"_s);
        // The reloaded book is on speed two again.
        QCOMPARE(window->session().settings().dropSpeed, 10.0);
        QVERIFY(action(window.get(), u"mnuWords"_s)->isChecked());

        // The editor is open, and the commands that would disturb it are locked.
        auto* editorWindow = child<QWidget>(window.get(), u"frmEdit"_s);
        QVERIFY(editorWindow->isVisible());
        QVERIFY(!action(window.get(), u"mnuEdit"_s)->isEnabled());
        QVERIFY(!child<QMenu>(window.get(), u"mnuSetting"_s)->menuAction()->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), u"cmdStart"_s)->isEnabled());

        // Choosing another class in the editor moves the main window's word list along.
        auto* editorClasses = child<QComboBox>(editorWindow, u"cboClassEdit"_s);
        editorClasses->setCurrentIndex(1);
        Q_EMIT editorClasses->activated(1);
        QCOMPARE(window->session().classFirstRecord(), 53);

        editorWindow->close();
        QVERIFY(action(window.get(), u"mnuEdit"_s)->isEnabled());
        QVERIFY(child<QMenu>(window.get(), u"mnuSetting"_s)->menuAction()->isEnabled());
        QVERIFY(child<QPushButton>(window.get(), u"cmdStart"_s)->isEnabled());
    }

    void bookWithoutEndRecordIsNeverWritten() {
        testsupport::writeRecord(bookPath(), eof, {eof, u"END"_s, QString(), {}});
        const QByteArray before = testsupport::fileBytes(bookPath());

        auto window = openWindow();
        const auto shown = dialogs.takeShownMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, u"FILE OPEN ERROR"_s);
        QCOMPARE(shown[0].icon, QMessageBox::Critical);
        QVERIFY(shown[0].text.contains(bookPath()));
        QVERIFY(!child<QPushButton>(window.get(), u"cmdStart"_s)->isEnabled());
        QVERIFY(!child<QPushButton>(window.get(), u"cmdSearch"_s)->isEnabled());
        QCOMPARE(child<QComboBox>(window.get(), u"cboWordClass"_s)->count(), 0);

        dialogs.queueAnswer(QMessageBox::Yes);
        for (const QString& item :
             {u"mnuSpeedFive"_s, u"mnuKatakana"_s, u"mnuVoiceOFF"_s, u"mnuEdit"_s, u"mnuWords"_s})
            action(window.get(), item)->trigger();
        child<QRadioButton>(window.get(), u"optMode(2)"_s)->click();
        QCOMPARE(testsupport::fileBytes(bookPath()), before);
    }

    void obsoleteBookIsLoadedButNotPlayable() {
        testsupport::writeRecord(bookPath(), eof, {eof, u"Fin."_s, QString(), {}});
        auto window = openWindow();
        const auto shown = dialogs.takeShownMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.startsWith(u"単語帳ファイルが不正です。\r\n"_s));
        QVERIFY(shown[0].text.endsWith(u"より、\r\n単語帳の最新版を入手して下さい。"_s));
        QVERIFY(!child<QPushButton>(window.get(), u"cmdStart"_s)->isEnabled());
        QCOMPARE(child<QComboBox>(window.get(), u"cboWordClass"_s)->count(), 2 + 2);
    }

    void damagedBooksLoadWithoutCrash_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("playable");
        const QString path = QDir::temp().filePath(u"veltyping-damaged.dat"_s);
        testsupport::writeBook(path, 2);
        const QByteArray good = testsupport::fileBytes(path);
        QFile::remove(path);

        QByteArray lengthPastSlot = good;
        lengthPastSlot[4] = char(0xff); // the class name's length runs far past its slot
        lengthPastSlot[5] = char(0x7f);
        QByteArray notCp932 = good;
        notCp932.replace(128 + 6, 2, QByteArray("\xff\xfd"));
        QTest::newRow("length past the slot") << lengthPastSlot << true;
        QTest::newRow("truncated last slot") << good.left(good.size() - 100) << true;
        QTest::newRow("bytes that are not CP932") << notCp932 << true;
        QTest::newRow("empty file") << QByteArray() << false;
        QTest::newRow("half a slot") << good.left(64) << false;
    }

    void damagedBooksLoadWithoutCrash() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, playable);
        QFile file(bookPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();

        auto window = openWindow();
        auto* classes = child<QComboBox>(window.get(), u"cboWordClass"_s);
        Q_EMIT classes->activated(classes->currentIndex());
        QCOMPARE(child<QPushButton>(window.get(), u"cmdStart"_s)->isEnabled(), playable);
    }

    void missingBookIsReported() {
        QFile::remove(bookPath());
        auto window = openWindow();
        const auto shown = dialogs.takeShownMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.startsWith(u"単語帳ファイルが見つかりません。"_s));
        QVERIFY(!child<QPushButton>(window.get(), u"cmdStart"_s)->isEnabled());
        action(window.get(), u"mnuSpeedFive"_s)->trigger();
        QVERIFY(!QFile::exists(bookPath()));
    }

    void wordListIsWrittenToDisplayFile() {
        auto window = openWindow();
        auto* classes = child<QComboBox>(window.get(), u"cboWordClass"_s);
        classes->setCurrentIndex(1);
        Q_EMIT classes->activated(1);
        QCOMPARE(window->session().classFirstRecord(), 53);
        const QByteArray display = testsupport::fileBytes(dir->filePath(u"display.txt"_s));
        QVERIFY(
            display.endsWith(testsupport::cp932Lines({QString(), QString(30, u' ') + u"- 2 -"_s})));
        QCOMPARE(display.count("\r\n"), 55);
        QVERIFY(child<QPlainTextEdit>(window.get(), u"txtMainDisplay"_s)
                    ->toPlainText()
                    .contains(u"w1_50"_s));
    }

    void twoClassesWithOneNameResolveToTheFirst() {
        book::WordRecord header = testsupport::readRecord(bookPath(), 52);
        header.japanese = u"クラス０"_s;
        testsupport::writeRecord(bookPath(), 52, header);
        auto window = openWindow();
        auto* classes = child<QComboBox>(window.get(), u"cboWordClass"_s);
        classes->setCurrentIndex(1);
        Q_EMIT classes->activated(1);
        QCOMPARE(window->session().classFirstRecord(), 2);
    }

    void controlsCarryTheirNames() {
        auto window = openWindow();
        for (const QString& name :
             {u"lblDropWord(0)"_s, u"lblDropWord(4)"_s, u"cmbInputField"_s, u"lblInputField"_s,
              u"cboWordClass"_s, u"lblWordClass"_s, u"txtTotalMemoryCnt"_s, u"lblTotalMemoryCnt"_s,
              u"txtMainDisplay"_s, u"optMode(0)"_s, u"optMode(2)"_s, u"Frame1"_s, u"cmdStart"_s,
              u"cmdEnd"_s, u"cmdSearch"_s, u"tmrMain"_s, u"VelBackPic"_s})
            QVERIFY2(window->findChild<QObject*>(name), qPrintable(name));
        QCOMPARE(action(window.get(), u"mnuSpeedOne"_s)->text(), u"1\u3000遅い"_s);
        QCOMPARE(action(window.get(), u"mnuSpeedOne"_s)->shortcut(),
                 QKeySequence(Qt::SHIFT | Qt::Key_F1));
        QCOMPARE(action(window.get(), u"mnuFileEnd"_s)->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_Q));
        QVERIFY(action(window.get(), u"mnuEdit"_s)->isEnabled());
        QVERIFY(child<QMenu>(window.get(), u"mnuVoice"_s)->menuAction()->isVisible());
        // A drop is 3,735 by 255 twips.
        QCOMPARE(child<QLabel>(window.get(), u"lblDropWord(0)"_s)->size(),
                 QSize(3735 / 15, 255 / 15));
    }

    // A speech service takes seconds to start: the window reacts meanwhile, a word asked
    // for is said once the engine is up, and closing does not wait for the start.
    void slowSpeechEngineKeepsTheWindowReady() {
        auto log = std::make_shared<testsupport::SpeechLog>();
        QElapsedTimer sinceLaunch;
        sinceLaunch.start();
        const auto withSlowSpeech = [this, log] {
            mainwin::MainWindowServices services{dir->path()};
            services.dialogs = &dialogs;
            services.speechEngine = testsupport::fakeSpeechEngine(log, 3000);
            return std::make_unique<mainwin::MainWindow>(services);
        };
        auto window = withSlowSpeech();
        window->show();
        qint64 firstEventMs = -1;
        QTimer::singleShot(0, window.get(), [&] { firstEventMs = sinceLaunch.elapsed(); });
        QTRY_VERIFY_WITH_TIMEOUT(firstEventMs >= 0, 10000);
        QVERIFY2(firstEventMs < 1500, qPrintable(QString::number(firstEventMs)));

        child<QComboBox>(window.get(), u"cmbInputField"_s)->setEditText(u"w0_1"_s);
        child<QPushButton>(window.get(), u"cmdSearch"_s)->click();
        QTRY_COMPARE_WITH_TIMEOUT(log->saidSoFar(), QStringList{u"w0_1"_s}, 10000);
        QTest::qWait(200);
        QCOMPARE(log->saidSoFar(), QStringList{u"w0_1"_s});

        // Nothing starts before a word is asked for: this window asks for one, and closes
        // while its engine is starting.
        auto closing = withSlowSpeech();
        closing->show();
        child<QComboBox>(closing.get(), u"cmbInputField"_s)->setEditText(u"w0_1"_s);
        child<QPushButton>(closing.get(), u"cmdSearch"_s)->click();
        QTest::qWait(50);
        QElapsedTimer closeTime;
        closeTime.start();
        closing.reset();
        QVERIFY2(closeTime.elapsed() < 500, qPrintable(QString::number(closeTime.elapsed())));
        QVERIFY(platform::Speech::stillRunning());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
