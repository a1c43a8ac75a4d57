// The view, search and file commands on the real window, with scripted dialogs.
#include "book/record_map.h"
#include "mainwin/main_window.h"
#include "test_book.h"
#include "test_doubles.h"
#include "window_rig.h"

#include <QAction>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestMainWindowFiles : public QObject, private testsupport::WindowRig {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> elsewhere; // where the learner keeps files
    int eof = 0;

    static QAction* action(QObject* window, const QString& name) {
        return testsupport::namedChild<QAction>(window, name);
    }
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

private Q_SLOTS:
    void init() {
        initRig();
        elsewhere = std::make_unique<QTemporaryDir>();
        eof = testsupport::writeBook(bookPath(), 2);
        dialogs.takeShownMessages();
    }

    void saveTextAddsTheExtension_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no extension") << u"notes"_s << u"notes.txt"_s;
        QTest::newRow("upper case") << u"notes.TXT"_s << u"notes.TXT"_s;
        QTest::newRow("mixed case") << u"notes.Txt"_s << u"notes.Txt.txt"_s;
    }

    void saveTextAddsTheExtension() {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        auto window = openWindow();
        dialogs.queueDialogPath(elsewhere->filePath(typed));
        action(window.get(), u"mnuFileSaveTxt"_s)->trigger();
        QCOMPARE(QDir(elsewhere->path()).entryList(QDir::Files), QStringList{saved});
        // The manual is on display, so the manual is saved.
        QCOMPARE(testsupport::fileBytes(elsewhere->filePath(saved)),
                 testsupport::fileBytes(dir->filePath(u"display.txt"_s)));
    }

    void saveTextSavesTheShownResult() {
        writeFile(dir->filePath(u"result.txt"_s), " result\r\n");
        auto window = openWindow();
        action(window.get(), u"mnuResult"_s)->trigger();
        QVERIFY(!window->viewFileShown());
        dialogs.queueDialogPath(elsewhere->filePath(u"r"_s));
        action(window.get(), u"mnuFileSaveTxt"_s)->trigger();
        QCOMPARE(testsupport::fileBytes(elsewhere->filePath(u"r.txt"_s)),
                 QByteArray(" result\r\n"));
    }

    void saveAsksBeforeReplacingUnderTheAddedExtension() {
        writeFile(elsewhere->filePath(u"notes.txt"_s), "keep me");
        auto window = openWindow();
        dialogs.queueDialogPath(elsewhere->filePath(u"notes"_s));
        dialogs.queueAnswer(QMessageBox::No);
        action(window.get(), u"mnuFileSaveTxt"_s)->trigger();
        QCOMPARE(testsupport::fileBytes(elsewhere->filePath(u"notes.txt"_s)),
                 QByteArray("keep me"));
        QCOMPARE(dialogs.takeShownMessages().size(), 1);
    }

    void savingAMissingResultSaysSo() {
        auto window = openWindow();
        action(window.get(), u"mnuResult"_s)->trigger();
        dialogs.queueDialogPath(elsewhere->filePath(u"r"_s));
        action(window.get(), u"mnuFileSaveTxt"_s)->trigger();
        QVERIFY(!QFile::exists(elsewhere->filePath(u"r.txt"_s)));
        const auto shown = dialogs.takeShownMessages();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown[0].text.contains(QDir::toNativeSeparators(elsewhere->filePath(u"r.txt"_s))));
    }

    void saveWordBookNames_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("no extension") << u"mybook"_s << u"mybook.vel"_s;
        QTest::newRow("upper case") << u"mybook.VEL"_s << u"mybook.VEL"_s;
        QTest::newRow("mixed case") << u"mybook.Vel"_s << u"mybook.Vel.vel"_s;
        QTest::newRow("other extension") << u"mybook.txt"_s << u"mybook.txt.vel"_s;
    }

    void saveWordBookNames() {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        auto window = openWindow();
        for (int time = 0; time < 2; ++time) { // works twice in one run
            dialogs.queueDialogPath(elsewhere->filePath(typed));
            action(window.get(), u"mnuFileSaveWord"_s)->trigger();
        }
        QCOMPARE(QDir(elsewhere->path()).entryList(QDir::Files), QStringList{saved});
        QCOMPARE(testsupport::fileBytes(elsewhere->filePath(saved)),
                 testsupport::fileBytes(bookPath()));
    }

    void savingAnObsoleteBookWarnsAndSaves() {
        testsupport::writeRecord(bookPath(), 3, {3, u"Fin."_s, u"x"_s, {}});
        auto window = openWindow();
        dialogs.takeShownMessages();
        dialogs.queueDialogPath(elsewhere->filePath(u"old"_s));
        action(window.get(), u"mnuFileSaveWord"_s)->trigger();
        const auto shown = dialogs.takeShownMessages();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown[0].title, u"FILE OPEN ERROR"_s);
        QVERIFY(QFile::exists(elsewhere->filePath(u"old.vel"_s)));
    }

    void openBook_data() {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("chosen"); // empty: the dialog is cancelled
        QTest::addColumn<int>("classesAfter");
        QTest::addColumn<bool>("commandLine"); // veltyping FILE rather than the menu
        QTest::newRow("answered No") << false << QString() << 2 << false;
        QTest::newRow("dialog cancelled") << true << QString() << 2 << false;
        QTest::newRow("not a word book") << true << u"junk.vel"_s << 2 << false;
        QTest::newRow("missing file") << true << u"missing.vel"_s << 2 << false;
        QTest::newRow("three classes") << true << u"three.vel"_s << 3 << false;
        QTest::newRow("FILE, answered No") << false << u"three.vel"_s << 2 << true;
        QTest::newRow("FILE, not a word book") << true << u"junk.vel"_s << 2 << true;
        QTest::newRow("FILE, three classes") << true << u"three.vel"_s << 3 << true;
    }

    void openBook() {
        QFETCH(bool, yes);
        QFETCH(QString, chosen);
        QFETCH(int, classesAfter);
        QFETCH(bool, commandLine);
        writeFile(elsewhere->filePath(u"junk.vel"_s), QByteArray(4000, 'x'));
        testsupport::writeBook(elsewhere->filePath(u"three.vel"_s), 3);
        const QByteArray before = testsupport::fileBytes(bookPath());
        auto window = openWindow();

        dialogs.queueAnswer(yes ? QMessageBox::Yes : QMessageBox::No);
        if (commandLine) {
            window->openBookFile(elsewhere->filePath(chosen));
        } else {
            if (!chosen.isEmpty())
                dialogs.queueDialogPath(elsewhere->filePath(chosen));
            action(window.get(), u"mnuFileOpen"_s)->trigger();
        }

        auto* classes = testsupport::namedChild<QComboBox>(window.get(), u"cboWordClass"_s);
        QCOMPARE(classes->count(), classesAfter + 2); // and the reviews' entries
        if (classesAfter == 2) {
            QCOMPARE(testsupport::fileBytes(bookPath()), before);
            QVERIFY(action(window.get(), u"mnuGrades"_s)->isChecked());
        } else {
            QCOMPARE(testsupport::fileBytes(bookPath()),
                     testsupport::fileBytes(elsewhere->filePath(chosen)));
            QCOMPARE(window->session().eofRecord(), 154);
            // The replaced book was kept.
            const QStringList backups =
                QDir(dir->filePath(u"backup"_s)).entryList({u"Word-*.dat"_s}, QDir::Files);
            QCOMPARE(backups.size(), 1);
            QCOMPARE(testsupport::fileBytes(dir->filePath(u"backup/"_s + backups[0])), before);
        }
    }

    // A list opens through Open, from the menu or the command line, as the very book velbook
    // makes of it under the confirmed title; a refused list is told in one box, and a
    // refused or declined list writes nothing.
    void openWordList_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("commandLine");
        QTest::addColumn<QString>("typedTitle"); // empty: the title as offered
        QTest::addColumn<bool>("confirmed");
        QTest::newRow("CSV with a header row")
            << u"excel-cp932-header.csv"_s << false << QString() << true;
        QTest::newRow("FILE, TSV, a title typed")
            << u"excel-cp932-tab.txt"_s << true << u"私の単語帳"_s << true;
        QTest::newRow("confirmation answered No")
            << u"two-columns.csv"_s << false << QString() << false;
        QTest::newRow("refused") << u"refused-line-break.csv"_s << false << QString() << true;
    }

    void openWordList() {
        QFETCH(QString, file);
        QFETCH(bool, commandLine);
        QFETCH(QString, typedTitle);
        QFETCH(bool, confirmed);
        const QString listPath = QStringLiteral(LIST_DATA_DIR "/") + file;
        const session::ListToOpen list = readList(listPath);
        const QByteArray before = testsupport::fileBytes(bookPath());
        auto window = openWindow();
        dialogs.takeShownMessages();

        dialogs.queueAnswer(QMessageBox::Yes);
        dialogs.queueLine(confirmed ? std::optional(typedTitle.isEmpty() ? list.title : typedTitle)
                                    : std::nullopt);
        if (commandLine) {
            window->openBookFile(listPath);
        } else {
            dialogs.queueDialogPath(listPath);
            action(window.get(), u"mnuFileOpen"_s)->trigger();
        }

        const auto shown = dialogs.takeShownMessages();
        QCOMPARE(shown.size(), 2); // the question about the data, then the list's box
        if (!list.accepted()) {
            QCOMPARE(shown[1].icon, QMessageBox::Critical);
            QCOMPARE(shown[1].text, session::listRefusalText(list));
            QVERIFY(shown[1].text.contains(u"\r\n行 "_s));
        } else {
            QCOMPARE(shown[1].text, session::listConfirmationText(list));
            QCOMPARE(dialogs.offeredLine, list.title);
        }
        if (!list.accepted() || !confirmed) {
            QCOMPARE(testsupport::fileBytes(bookPath()), before);
            QVERIFY(window->session().backups().isEmpty());
            QCOMPARE(window->session().classNames().size(), 2);
            return;
        }
        const QString made = elsewhere->filePath(u"velbook.vel"_s);
        QStringList arguments{u"create"_s, listPath, made};
        if (!typedTitle.isEmpty())
            arguments << u"--title"_s << typedTitle;
        QProcess velbook;
        velbook.start(QStringLiteral(VELBOOK_EXECUTABLE), arguments);
        QVERIFY(velbook.waitForFinished(10000) && velbook.exitCode() == 0);
        QCOMPARE(testsupport::fileBytes(bookPath()), testsupport::fileBytes(made));
        auto* classes = testsupport::namedChild<QComboBox>(window.get(), u"cboWordClass"_s);
        // The book's classes, then the review of weak words.
        QCOMPARE(classes->count(), list.content.classes.size() + 2);
        QCOMPARE(window->session().backups().size(), 1);
    }

    // The book saved as a list through the menu, under the book's title as proposed and with
    // the extension added as every save adds its own, opens again as the same words.
    void saveBookAsList() {
        auto window = openWindow();
        dialogs.queueDialogPath(elsewhere->filePath(u"mylist"_s));
        action(window.get(), u"mnuFileSaveList"_s)->trigger();

        QCOMPARE(dialogs.saveStart, QDir::current().filePath(u"テスト.csv"_s));
        const QString saved = u"mylist.csv"_s;
        QCOMPARE(QDir(elsewhere->path()).entryList(QDir::Files), QStringList{saved});
        const session::ListToOpen again = session::readListToOpen(elsewhere->filePath(saved));
        QVERIFY2(again.accepted(), qPrintable(again.problems.join(u'\n')));
        QCOMPARE(again.content.classes, testsupport::makeBookContent(2).classes);
        QVERIFY(dialogs.takeShownMessages().isEmpty());
    }

    void restoreBringsBackABackup_data() {
        QTest::addColumn<int>("row"); // -1: the choice is cancelled
        QTest::addColumn<bool>("yes");
        QTest::addColumn<bool>("restored");
        QTest::newRow("restored") << 0 << true << true;
        QTest::newRow("choice cancelled") << -1 << true << false;
        QTest::newRow("answered No") << 0 << false << false;
    }

    void restoreBringsBackABackup() {
        QFETCH(int, row);
        QFETCH(bool, yes);
        QFETCH(bool, restored);
        book::WordRecord learnt = testsupport::readRecord(bookPath(), 2);
        learnt.modeCount = {book::kMemorisedMark, 0, 0};
        testsupport::writeRecord(bookPath(), 2, learnt);
        const int total = book::trailerRecord(eof, book::Trailer::MemorisedTotal);
        testsupport::writeRecord(bookPath(), total, {total, u"0"_s, u"0"_s, {1, 0, 0}});
        const QByteArray learner = testsupport::fileBytes(bookPath());
        auto window = openWindow();
        dialogs.queueAnswer(QMessageBox::Yes);
        action(window.get(), u"mnuFileInitialize"_s)->trigger();
        const QByteArray reset = testsupport::fileBytes(bookPath());

        if (row >= 0)
            dialogs.queueRow(row);
        dialogs.queueAnswer(yes ? QMessageBox::Yes : QMessageBox::No);
        action(window.get(), u"mnuFileRestore"_s)->trigger();

        QCOMPARE(dialogs.offeredRows.size(), 1);
        QCOMPARE(dialogs.offeredRows[0].mid(1),
                 (QStringList{u"テスト"_s, u"2"_s, u"1 / 0 / 0"_s, u"自動"_s}));
        QCOMPARE(testsupport::fileBytes(bookPath()), restored ? learner : reset);
    }

    void initialiseResetsTheBook() {
        const int book2eof = eof;
        for (int r : {1, 2, 51}) {
            book::WordRecord record = testsupport::readRecord(bookPath(), r);
            record.modeCount = {book::kMemorisedMark, 4, -3};
            testsupport::writeRecord(bookPath(), r, record);
        }
        // Bytes behind the book's last statistics record are left alone.
        QFile file(bookPath());
        QVERIFY(file.open(QIODevice::Append));
        file.write(QByteArray(128, '\x7f'));
        file.close();
        const QByteArray before = testsupport::fileBytes(bookPath());
        auto window = openWindow();

        dialogs.queueAnswer(QMessageBox::Yes);
        action(window.get(), u"mnuFileInitialize"_s)->trigger();

        const QByteArray after = testsupport::fileBytes(bookPath());
        QCOMPARE(after.mid(122 * 128), before.mid(122 * 128));
        for (int r : {1, 2, 51})
            QCOMPARE(testsupport::readRecord(bookPath(), r).modeCount, (std::array<qint16, 3>{}));
        QCOMPARE(testsupport::readRecord(bookPath(), book2eof + 19),
                 (book::WordRecord{book2eof + 19, u"0"_s, u"0"_s, {}}));
        QVERIFY(action(window.get(), u"mnuGrades"_s)->isChecked());
    }

    void searchSpeaksItsHits() {
        auto window = openWindow();
        auto* box = testsupport::namedChild<QComboBox>(window.get(), u"cmbInputField"_s);
        box->setEditText(u"w1_7"_s);
        testsupport::namedChild<QPushButton>(window.get(), u"cmdSearch"_s)->click();
        QCOMPARE(speaker.spoken, QStringList{u"w1_7"_s});
        QCOMPARE(window->windowTitle(),
                 u"ヴェルタイピング for English 4.03 / テスト向け / 検索結果"_s);
        for (const QString& view : {u"mnuManual"_s, u"mnuGrades"_s, u"mnuResult"_s, u"mnuWords"_s})
            QVERIFY(!action(window.get(), view)->isChecked());
        QVERIFY(window->viewFileShown());
        QVERIFY(testsupport::fileBytes(dir->filePath(u"display.txt"_s))
                    .contains(testsupport::cp932Lines({u" ・ w1_7  訳１＿７  [クラス１]"_s})));

        box->setEditText(u"nothing"_s);
        testsupport::namedChild<QPushButton>(window.get(), u"cmdSearch"_s)->click();
        QCOMPARE(speaker.spoken.size(), 1);
    }
};

QTEST_MAIN(TestMainWindowFiles)
#include "tst_main_window_files.moc"
