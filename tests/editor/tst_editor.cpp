// The word book editor on a real book of three classes, through its controls: what it
// shows, what it writes byte for byte, what it refuses, and what it tells the main window.
#include "book/record_map.h"
#include "editor/word_editor.h"
#include "keyboard.h"
#include "scripted_dialogs.h"
#include "session_rig.h"
#include "test_book.h"
#include "test_doubles.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What the main window hears from the editor and from the session while the editor is open.
struct MainWindowSide {
    QString path;
    QStringList shownClasses;                          // the editor's classFollowed
    QList<std::pair<QStringList, QString>> classLists; // the session's classesChanged
    int closed = 0;                                    // the editor's closed
};

const QStringList kClasses{u"クラス０"_s, u"クラス１"_s, u"クラス２"_s};

} // namespace

class TestEditor : public QObject, private testsupport::SessionRig {
    Q_OBJECT

private:
    MainWindowSide host;
    testsupport::ScriptedDialogs dialogs;
    std::unique_ptr<session::BookSession> bookSession;
    std::unique_ptr<editor::WordEditor> window;

    template <typename T> T* child(const char* name) {
        return testsupport::namedChild<T>(window.get(), QLatin1StringView(name));
    }
    QComboBox* box(const char* name) { return child<QComboBox>(name); }
    QLineEdit* text(const char* name) { return child<QLineEdit>(name); }
    bool enabled(const char* name) { return child<QPushButton>(name)->isEnabled(); }
    QStringList items(const char* name) {
        QStringList list;
        for (int i = 0; i < box(name)->count(); ++i)
            list << box(name)->itemText(i);
        return list;
    }
    QByteArray bookBytes() const { return testsupport::fileBytes(host.path); }

    void setWord(const QString& className, const QString& id, const QString& english,
                 const QString& japanese) {
        box("cboClassEdit")->setEditText(className);
        box("cboIdEdit")->setEditText(id);
        text("txtEnglishEdit")->setText(english);
        text("txtJapaneseEdit")->setText(japanese);
    }
    void checkFields(const QString& english, const QString& japanese) {
        QCOMPARE(text("txtEnglishEdit")->text(), english);
        QCOMPARE(text("txtJapaneseEdit")->text(), japanese);
    }
    void checkOneMessage(const QString& title, const QString& message) {
        const auto shown = dialogs.takeShownMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].icon, QMessageBox::Information);
        QCOMPARE(shown[0].title, title);
        QCOMPARE(shown[0].text, message);
    }

private Q_SLOTS:
    void init() {
        initRig();
        host = MainWindowSide{};
        dialogs = testsupport::ScriptedDialogs{};
        host.path = bookPath();
        testsupport::writeBook(host.path, 3);
        bookSession = openSession();
        window = std::make_unique<editor::WordEditor>(*bookSession, dialogs);
        connect(window.get(), &editor::WordEditor::classFollowed, this,
                [this](const QString& name) { host.shownClasses << name; });
        connect(window.get(), &editor::WordEditor::closed, this, [this] { ++host.closed; });
        connect(bookSession.get(), &session::BookSession::classesChanged, this,
                [this](const QStringList& names, const QString& shown) {
                    host.classLists.append({names, shown});
                });
        dialogs.takeShownMessages();
    }

    void cleanup() {
        window.reset();
        bookSession.reset();
    }

    void opensOnFirstWordOfFirstClass() {
        QCOMPARE(window->windowTitle(), u"ｳﾞｪﾙﾌｧｲﾙの編集"_s);
        QCOMPARE(box("cboClassEdit")->currentText(), u"クラス０"_s);
        QCOMPARE(box("cboBeforeClass")->currentText(), u"クラス０"_s);
        QCOMPARE(items("cboClassEdit"), kClasses);
        QCOMPARE(items("cboBeforeClass"), kClasses);
        QCOMPARE(box("cboIdEdit")->currentText(), u"1"_s);
        QCOMPARE(box("cboIdEdit")->count(), 50);
        QCOMPARE(box("cboIdEdit")->itemText(49), u"50"_s);
        checkFields(u"w0_1"_s, u"訳０＿１"_s);
        QVERIFY(!enabled("cmdWordSearch"));
        QVERIFY(!enabled("cmdWordUpdate"));
        QVERIFY(!enabled("cmdClassChange"));
    }

    void fieldChangesEnableSearchAndUpdate_data() {
        QTest::addColumn<QString>("field");
        QTest::newRow("English cleared") << u"txtEnglishEdit"_s;
        QTest::newRow("Japanese cleared") << u"txtJapaneseEdit"_s;
    }
    void fieldChangesEnableSearchAndUpdate() {
        QFETCH(QString, field);
        QLineEdit* edit = text(qPrintable(field));
        edit->clear();
        QVERIFY(enabled("cmdWordSearch"));
        QVERIFY(!enabled("cmdWordUpdate"));
        QTest::keyClicks(edit, u"x"_s);
        QVERIFY(enabled("cmdWordSearch"));
        QVERIFY(enabled("cmdWordUpdate"));
        Q_EMIT box("cboIdEdit")->activated(box("cboIdEdit")->currentIndex());
        QVERIFY(!enabled("cmdWordSearch"));
        QVERIFY(!enabled("cmdWordUpdate"));
        checkFields(u"w0_1"_s, u"訳０＿１"_s);
    }

    void idChoiceShowsAddressedRecord_data() {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("japanese");
        QTest::newRow("word 50") << u"クラス１"_s << u"50"_s << u"w1_50"_s << u"訳１＿５０"_s;
        QTest::newRow("fraction rounds down")
            << u"クラス１"_s << u"7.9"_s << u"w1_7"_s << u"訳１＿７"_s;
        QTest::newRow("ID 0 is the header")
            << u"クラス２"_s << u"0"_s << u"Class 3"_s << u"クラス２"_s;
        QTest::newRow("unknown class counts from 0")
            << u"無い"_s << u"3"_s << u"w0_2"_s << u"訳０＿２"_s;
        QTest::newRow("below record 1 is empty") << u"無い"_s << u"-4"_s << QString() << QString();
        QTest::newRow("not a number keeps the fields")
            << u"クラス１"_s << u"abc"_s << u"old"_s << u"古い"_s;
    }
    void idChoiceShowsAddressedRecord() {
        QFETCH(QString, className);
        QFETCH(QString, id);
        QFETCH(QString, english);
        QFETCH(QString, japanese);
        setWord(className, id, u"old"_s, u"古い"_s);
        Q_EMIT box("cboIdEdit")->activated(0);
        checkFields(english, japanese);
        QVERIFY(host.shownClasses.isEmpty());
    }

    void classChoiceReloadsWordAndKeysOnlyFollow() {
        box("cboIdEdit")->setEditText(u"5"_s);
        box("cboClassEdit")->setCurrentIndex(2);
        Q_EMIT box("cboClassEdit")->activated(2);
        checkFields(u"w2_5"_s, u"訳２＿５"_s);
        QCOMPARE(host.shownClasses, QStringList{u"クラス２"_s});

        // Typing only moves the main window's list along; the fields stay.
        host.shownClasses.clear();
        box("cboClassEdit")->setEditText(u"クラス１"_s);
        QTest::keyClick(box("cboClassEdit"), Qt::Key_End);
        checkFields(u"w2_5"_s, u"訳２＿５"_s);
        QCOMPARE(host.shownClasses.last(), u"クラス１"_s);
    }

    void searchFillsTranslationClassAndId_data() {
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("japanese");
        QTest::addColumn<QString>("foundEnglish");
        QTest::addColumn<QString>("foundJapanese");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("id");
        QTest::newRow("by English, last word of last class")
            << u"w2_50"_s << QString() << u"w2_50"_s << u"訳２＿５０"_s << u"クラス２"_s << u"50"_s;
        QTest::newRow("by Japanese")
            << QString() << u"訳１＿７"_s << u"w1_7"_s << u"訳１＿７"_s << u"クラス１"_s << u"7"_s;
        QTest::newRow("both filled: first record in book order")
            << u"w2_3"_s << u"訳１＿４"_s << u"w1_4"_s << u"訳１＿４"_s << u"クラス１"_s << u"4"_s;
        QTest::newRow("a class header is ID 0") << QString() << u"クラス１"_s << u"Class 2"_s
                                                << u"クラス１"_s << u"クラス１"_s << u"0"_s;
    }
    void searchFillsTranslationClassAndId() {
        QFETCH(QString, english);
        QFETCH(QString, japanese);
        setWord(u"クラス０"_s, u"1"_s, english, japanese);
        Q_EMIT child<QPushButton>("cmdWordSearch")->clicked();
        QFETCH(QString, foundEnglish);
        QFETCH(QString, foundJapanese);
        checkFields(foundEnglish, foundJapanese);
        QTEST(box("cboClassEdit")->currentText(), "className");
        QTEST(box("cboIdEdit")->currentText(), "id");
        QVERIFY(!enabled("cmdWordSearch"));
        QVERIFY(!enabled("cmdWordUpdate"));
    }

    // Behind the end record lie the title and settings, not words: they never match.
    void searchWithoutHitLeavesFields_data() {
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("japanese");
        QTest::newRow("English") << u"nothing"_s << QString();
        QTest::newRow("a settings text") << QString() << u"0"_s;
        QTest::newRow("the title") << u"テスト"_s << QString();
    }
    void searchWithoutHitLeavesFields() {
        QFETCH(QString, english);
        QFETCH(QString, japanese);
        setWord(u"クラス１"_s, u"4"_s, english, japanese);
        Q_EMIT child<QPushButton>("cmdWordSearch")->clicked();
        checkFields(english, japanese);
        QCOMPARE(box("cboClassEdit")->currentText(), u"クラス１"_s);
        QCOMPARE(box("cboIdEdit")->currentText(), u"4"_s);
    }

    void updateWritesOnlyTheWord_data() {
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("japanese");
        QTest::addColumn<QString>("storedEnglish");
        QTest::addColumn<QString>("storedJapanese");
        QTest::newRow("trimmed") << u"  new "_s << u"　新しい "_s << u"new"_s << u"　新しい"_s;
        QTest::newRow("texts of another class")
            << u"w0_7"_s << u"訳２＿７"_s << u"w0_7"_s << u"訳２＿７"_s;
        QTest::newRow("unchanged") << u"w1_3"_s << u"訳１＿３"_s << u"w1_3"_s << u"訳１＿３"_s;
    }
    void updateWritesOnlyTheWord() {
        QFETCH(QString, english);
        QFETCH(QString, japanese);
        const int target = book::classHeaderRecord(1) + 3;
        book::WordRecord learnt = testsupport::readRecord(host.path, target);
        learnt.modeCount = {book::kMemorisedMark, 4, -2};
        testsupport::writeRecord(host.path, target, learnt);
        const QByteArray before = bookBytes();

        setWord(u"クラス１"_s, u"3"_s, english, japanese);
        QVERIFY(enabled("cmdWordUpdate"));
        QTest::mouseClick(child<QPushButton>("cmdWordUpdate"), Qt::LeftButton);

        QFETCH(QString, storedEnglish);
        QFETCH(QString, storedJapanese);
        QByteArray expected = before;
        const book::EncodedSlot slot =
            book::encodeSlot({target, storedEnglish, storedJapanese, {}});
        expected.replace((target - 1) * book::kSlotSize, book::kSlotSize, slot.bytes);
        QCOMPARE(bookBytes(), expected);
        QVERIFY(dialogs.takeShownMessages().isEmpty());
        QVERIFY(!enabled("cmdWordUpdate"));
        QCOMPARE(host.shownClasses, QStringList{u"クラス１"_s});
    }

    void refusedUpdateWritesNothing_data() {
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("english");
        QTest::addColumn<QString>("japanese");
        QTest::addColumn<QString>("message");
        const QString englishTaken = u"指定した英単語はすでに登録されています。"_s;
        const QString badId = u"IDには1から50までの数字を指定して下さい。"_s;
        QTest::newRow("English of ID 7")
            << u"クラス０"_s << u"3"_s << u"w0_7"_s << u"x"_s << englishTaken;
        QTest::newRow("English with a blank")
            << u"クラス０"_s << u"3"_s << u"w0_7 "_s << u"x"_s << englishTaken;
        QTest::newRow("Japanese of ID 50") << u"クラス０"_s << u"3"_s << u"x"_s << u"訳０＿５０"_s
                                           << u"指定した日本語はすでに登録されています。"_s;
        QTest::newRow("too long") << u"クラス０"_s << u"3"_s << QString(60, u'a')
                                  << QString(28, u'あ')
                                  << book::slotErrorText(book::SlotError::TooLong);
        QTest::newRow("not in CP932") << u"クラス０"_s << u"3"_s << u"x"_s << u"😀"_s
                                      << book::slotErrorText(book::SlotError::NotEncodable);
        QTest::newRow("a pasted tab") << u"クラス０"_s << u"3"_s << u"w\tx"_s << u"x"_s
                                      << u"制御文字（U+0009）は単語帳に入れられません。"_s;
        QTest::newRow("blanks only") << u"クラス０"_s << u"3"_s << u"   "_s << u"x"_s
                                     << u"英語と日本語の両方を入力して下さい。"_s;
        QTest::newRow("unknown class")
            << u"無い"_s << u"3"_s << u"x"_s << u"y"_s << u"指定した単語クラスが見つかりません。"_s;
        QTest::newRow("ID 0") << u"クラス０"_s << u"0"_s << u"x"_s << u"y"_s << badId;
        QTest::newRow("ID 51") << u"クラス０"_s << u"51"_s << u"x"_s << u"y"_s << badId;
        QTest::newRow("ID not a number") << u"クラス０"_s << u"三"_s << u"x"_s << u"y"_s << badId;
    }
    void refusedUpdateWritesNothing() {
        QFETCH(QString, className);
        QFETCH(QString, id);
        QFETCH(QString, english);
        QFETCH(QString, japanese);
        const QByteArray before = bookBytes();
        setWord(className, id, english, japanese);
        Q_EMIT child<QPushButton>("cmdWordUpdate")->clicked();
        QCOMPARE(bookBytes(), before);
        QFETCH(QString, message);
        checkOneMessage(u"更新をキャンセルします"_s, message);
        QVERIFY(!enabled("cmdWordUpdate"));
        QCOMPARE(host.shownClasses, QStringList{className});
    }

    void renameRewritesOnlyTheHeader() {
        const int header = book::classHeaderRecord(1);
        book::WordRecord played = testsupport::readRecord(host.path, header);
        played.modeCount = {3, 4, 5};
        testsupport::writeRecord(host.path, header, played);
        QByteArray expected = bookBytes();
        const book::EncodedSlot slot =
            book::encodeSlot({header, u"Class 2"_s, u"新名"_s, {0, 0, 5}});
        expected.replace((header - 1) * book::kSlotSize, book::kSlotSize, slot.bytes);

        box("cboIdEdit")->setEditText(u"9"_s);
        box("cboBeforeClass")->setEditText(u"クラス１"_s);
        text("txtAfterClass")->setText(u" 新名  "_s);
        QVERIFY(enabled("cmdClassChange"));
        QTest::mouseClick(child<QPushButton>("cmdClassChange"), Qt::LeftButton);

        QCOMPARE(bookBytes(), expected);
        QVERIFY(dialogs.takeShownMessages().isEmpty());
        const QStringList names{u"クラス０"_s, u"新名"_s, u"クラス２"_s};
        for (const char* list : {"cboClassEdit", "cboBeforeClass"}) {
            QCOMPARE(items(list), names);
            QCOMPARE(box(list)->currentText(), u"新名"_s);
        }
        QCOMPARE(host.classLists.size(), 1);
        QCOMPARE(host.classLists[0], std::pair(names, u"新名"_s));
        QCOMPARE(host.shownClasses.last(), u"新名"_s);
        checkFields(u"w1_9"_s, u"訳１＿９"_s);
        QVERIFY(!enabled("cmdClassChange"));
    }

    void refusedRenameWritesNothing_data() {
        QTest::addColumn<QString>("oldName");
        QTest::addColumn<QString>("newName");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown"); // empty: the lists are left alone
        const QString taken = u"指定したクラス名はすでに登録されています。"_s;
        QTest::newRow("another class's name")
            << u"クラス１"_s << u"クラス２"_s << taken << u"クラス２"_s;
        QTest::newRow("its own name") << u"クラス１"_s << u"クラス１"_s << taken << u"クラス１"_s;
        QTest::newRow("taken once trimmed")
            << u"クラス１"_s << u" クラス０ "_s << taken << u"クラス０"_s;
        QTest::newRow("too long") << u"クラス１"_s << QString(110, u'a')
                                  << u"クラス名が長すぎます。"_s << u"クラス１"_s;
        QTest::newRow("not in CP932")
            << u"クラス１"_s << u"😀"_s << book::slotErrorText(book::SlotError::NotEncodable)
            << u"クラス１"_s;
        QTest::newRow("a pasted tab")
            << u"クラス１"_s << u"新\t名"_s << u"制御文字（U+0009）は単語帳に入れられません。"_s
            << QString();
        QTest::newRow("old name unknown")
            << u"無い"_s << u"新名"_s << u"変更前のクラス名が見つかりません。"_s << QString();
    }
    void refusedRenameWritesNothing() {
        QFETCH(QString, oldName);
        QFETCH(QString, newName);
        QFETCH(QString, shown);
        const QByteArray before = bookBytes();
        box("cboBeforeClass")->setEditText(oldName);
        text("txtAfterClass")->setText(newName);
        Q_EMIT child<QPushButton>("cmdClassChange")->clicked();

        QCOMPARE(bookBytes(), before);
        QFETCH(QString, message);
        checkOneMessage(u"変更をキャンセルします"_s, message);
        QVERIFY(!enabled("cmdClassChange"));
        QCOMPARE(items("cboBeforeClass"), kClasses);
        if (shown.isEmpty()) {
            QVERIFY(host.classLists.isEmpty());
            QCOMPARE(box("cboBeforeClass")->currentText(), oldName);
            QCOMPARE(box("cboClassEdit")->currentText(), u"クラス０"_s);
        } else {
            QCOMPARE(host.classLists.size(), 1);
            QCOMPARE(host.classLists[0], std::pair(kClasses, shown));
            QCOMPARE(box("cboBeforeClass")->currentText(), shown);
            QCOMPARE(box("cboClassEdit")->currentText(), shown);
        }
    }

    // Typed from the keyboard and sent with a mouse click, a name or ID counts exactly as
    // typed: never completed to the class whose name it begins, never lost when the box
    // loses the focus. `typing` holds pairs of control and text; a text ending in "\n"
    // is sent with Enter.
    void typedNamesAndIdsCountAsTyped_data() {
        QTest::addColumn<QStringList>("typing");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("record");
        QTest::addColumn<QString>("storedEnglish");
        QTest::addColumn<QString>("storedJapanese");
        QTest::newRow("class name that begins another")
            << QStringList{u"cboClassEdit"_s, u"クラス1\n"_s,       u"txtEnglishEdit"_s,
                           u"zebra"_s,        u"txtJapaneseEdit"_s, u"縞馬"_s}
            << u"cmdWordUpdate"_s << 53 << u"zebra"_s << u"縞馬"_s;
        QTest::newRow("ID typed without Enter")
            << QStringList{u"txtEnglishEdit"_s, u"kiwi"_s,      u"txtJapaneseEdit"_s,
                           u"キウイ"_s,         u"cboIdEdit"_s, u"3"_s}
            << u"cmdWordUpdate"_s << 4 << u"kiwi"_s << u"キウイ"_s;
        QTest::newRow("rename by a name that begins another")
            << QStringList{u"cboBeforeClass"_s, u"クラス1"_s, u"txtAfterClass"_s, u"新名"_s}
            << u"cmdClassChange"_s << 52 << book::classHeaderEnglish(1) << u"新名"_s;
    }
    void typedNamesAndIdsCountAsTyped() {
        book::BookContent content = testsupport::makeBookContent(3);
        content.classes[0].name = u"クラス10"_s;
        content.classes[1].name = u"クラス1"_s;
        content.classes[2].name = u"Verb"_s;
        testsupport::writeBook(host.path, content);
        bookSession->load(); // a new book file under the session
        window->loadClasses();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        const QByteArray before = bookBytes();

        QFETCH(QStringList, typing);
        for (qsizetype i = 0; i + 1 < typing.size(); i += 2) {
            QWidget* field = child<QWidget>(qPrintable(typing[i]));
            if (auto* box = qobject_cast<QComboBox*>(field))
                field = box->lineEdit();
            QString text = typing[i + 1];
            const bool enter = text.endsWith(u'\n');
            text.chop(enter ? 1 : 0);
            testsupport::typeInto(field, text);
            if (enter)
                testsupport::pressKey(Qt::Key_Return);
        }
        QFETCH(QString, button);
        QTest::mouseClick(child<QPushButton>(qPrintable(button)), Qt::LeftButton);

        QFETCH(int, record);
        QFETCH(QString, storedEnglish);
        QFETCH(QString, storedJapanese);
        QByteArray expected = before;
        expected.replace((record - 1) * book::kSlotSize, book::kSlotSize,
                         book::encodeSlot({record, storedEnglish, storedJapanese, {}}).bytes);
        QCOMPARE(bookBytes(), expected);
    }

    // Assistive technology sees the editor as a window of its own, named by its caption,
    // beside the main window rather than inside it; it stays modeless.
    void editorIsATopLevelWindow() {
        QWidget mainWindow;
        editor::WordEditor editorWindow(*bookSession, dialogs, &mainWindow);
        editorWindow.show();
        QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(&editorWindow);
        QVERIFY(seen->role() == QAccessible::Dialog || seen->role() == QAccessible::Window);
        QCOMPARE(seen->text(QAccessible::Name), u"ｳﾞｪﾙﾌｧｲﾙの編集"_s);
        QCOMPARE(seen->parent(), QAccessible::queryAccessibleInterface(qApp));
        QVERIFY(!QApplication::activeModalWidget());
    }

    void closingTellsTheMainWindowOnce_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Close button") << u"button"_s;
        QTest::newRow("window frame") << u"frame"_s;
        QTest::newRow("Escape") << u"Escape"_s;
    }
    void closingTellsTheMainWindowOnce() {
        QFETCH(QString, how);
        window->show();
        if (how == u"button")
            QTest::mouseClick(child<QPushButton>("cmdEditClose"), Qt::LeftButton);
        else if (how == u"Escape")
            QTest::keyClick(window.get(), Qt::Key_Escape);
        else
            window->close();
        QVERIFY(!window->isVisible());
        window->close();
        QCOMPARE(host.closed, 1);
    }
};

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
