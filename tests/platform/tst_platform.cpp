// File helpers, dialogs, the program folder and the speech queue.
#include "book/whole_file.h"
#include "fake_speech_engine.h"
#include "folder/program_folder.h"
#include "platform/dialogs.h"
#include "platform/speech.h"
#include "platform/text_display.h"
#include "test_book.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private Q_SLOTS:
    void readTextFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty file") << QByteArray() << QString();
        QTest::newRow("five double-byte characters")
            << QByteArray("\x82\xa0\x82\xa2\x82\xa4\x82\xa6\x82\xa8") << u"あいうえお"_s;
        QTest::newRow("lines with CR LF")
            << QByteArray(" \x81\x40\r\nabc\r\n") << u" \u3000\r\nabc\r\n"_s;
        QTest::newRow("lead byte cut off at the end") << QByteArray("ab\x82") << u"ab\uFFFD"_s;
    }

    void readTextFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const QString path = dir.filePath(u"text.txt"_s);
        writeBytes(path, bytes);
        QCOMPARE(platform::readTextFile(path), text);
    }

    // A message box never grows past the screen: a long text is cut, and shown whole in
    // the box's scrolling details.
    void longMessagesKeepTheirWholeTextInTheDetails_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("detailed");
        QTest::newRow("short") << u"一行目\r\n二行目"_s << u"一行目\r\n二行目"_s << false;
        QTest::newRow("many lines")
            << u"a\r\n"_s.repeated(20) + u"z"_s << u"a\r\n"_s.repeated(13) + u"…"_s << true;
        QTest::newRow("one huge line")
            << u"x"_s.repeated(5000) << u"x"_s.repeated(119) + u"…"_s << true;
        QTest::newRow("no pair cut in two") << u"x"_s.repeated(118) + u"\U0001F600"_s.repeated(3)
                                            << u"x"_s.repeated(118) + u"…"_s << true;
    }

    void longMessagesKeepTheirWholeTextInTheDetails() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QFETCH(bool, detailed);
        const platform::MessageLayout layout = platform::layOutMessage(text);
        QCOMPARE(layout.text, shown);
        QCOMPARE(layout.details, detailed ? text : QString());
    }

    void readMissingTextFileIsEmpty() {
        QCOMPARE(platform::readTextFile(dir.filePath(u"nothing.txt"_s)), QString());
        QCOMPARE(platform::readTextFile(dir.path()), QString());
    }

    void scrollToTheEnd() {
        QPlainTextEdit box;
        box.resize(200, 100);
        box.show();
        QStringList lines;
        for (int i = 0; i < 100; ++i)
            lines << QString::number(i);
        platform::showText(&box, lines.join(u"\r\n"_s));
        QCOMPARE(platform::lineCount(&box), 100);
        QVERIFY(platform::scrollLines(&box, platform::lineCount(&box)) > 0);
        QCOMPARE(box.verticalScrollBar()->value(), box.verticalScrollBar()->maximum());
    }

    void namesMatchWithoutCase() {
        QTemporaryDir folder;
        writeBytes(folder.filePath(u"WORD.DAT"_s), "x");
        QCOMPARE(folder::pathInFolder(folder.path(), u"Word.dat"_s),
                 folder.filePath(u"WORD.DAT"_s));
        QCOMPARE(folder::pathInFolder(folder.path(), u"result.txt"_s),
                 folder.filePath(u"result.txt"_s));
    }

    void failedCopyKeepsTheTarget() {
        const QString target = dir.filePath(u"target.dat"_s);
        writeBytes(target, "old book");
        QVERIFY(!book::writeWholeFile(dir.filePath(u"missing/target.dat"_s), "new book"));
        QCOMPARE(testsupport::fileBytes(target), QByteArray("old book"));
        QVERIFY(book::writeWholeFile(target, "new book"));
        QCOMPARE(testsupport::fileBytes(target), QByteArray("new book"));
    }

    void firstStartKeepsAnExistingBook() {
        QTemporaryDir folder;
        writeBytes(folder.filePath(u"word.dat"_s), "mine");
        QString error;
        QVERIFY(folder::prepareWordBook(folder::programFiles(folder.path()), &error));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{u"word.dat"_s});
        QCOMPARE(testsupport::fileBytes(folder.filePath(u"word.dat"_s)), QByteArray("mine"));
    }

    // Every request is said once and in order, never handed over while another is still
    // being said (an engine would cut that one off), and none is lost to a late start.
    void speechSaysEachRequestOnceInOrder_data() {
        QTest::addColumn<int>("startMs");
        QTest::addColumn<int>("sayMs");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("asked while the engine starts")
            << 300 << 0 << QStringList{u"apple"_s, u"bird"_s};
        QTest::newRow("asked while speaking")
            << 0 << 100 << QStringList{u"cat"_s, u"dog"_s, u"egg"_s};
        QTest::newRow("empty text passed on") << 0 << 0 << QStringList{QString(), u"fig"_s};
    }
    void speechSaysEachRequestOnceInOrder() {
        QFETCH(int, startMs);
        QFETCH(int, sayMs);
        QFETCH(QStringList, texts);
        auto log = std::make_shared<testsupport::SpeechLog>();
        platform::Speech speech(testsupport::fakeSpeechEngine(log, startMs, sayMs));
        for (const QString& text : texts)
            speech.speak(text);
        QTRY_COMPARE_WITH_TIMEOUT(log->saidSoFar(), texts, 5000);
        QTest::qWait(sayMs + 100);
        QCOMPARE(log->saidSoFar(), texts);
        QCOMPARE(log->overlaps, 0);
    }

#ifdef HAVE_DEFAULT_BOOK
    void firstStartCopiesTheDefaultBook() {
        QTemporaryDir parent;
        const QString folder = parent.filePath(u"new/folder"_s);
        QString error;
        QVERIFY(QDir().mkpath(folder));
        QVERIFY2(folder::prepareWordBook(folder::programFiles(folder), &error), qPrintable(error));
        const QString book = QDir(folder).filePath(u"Word.dat"_s);
        QCOMPARE(testsupport::fileBytes(book).size(), (1225 + 19) * 128);
        QVERIFY(QFileInfo(book).isWritable());
    }
#endif
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
