// The start on a program folder: a folder the program cannot lock is refused with one
// message that says what to fix, and nothing is written there.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

class TestProgramStart : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void unusableFolderIsRefused_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("named"); // the path the message names, in the folder
        QTest::addColumn<QString>("why");
        QTest::newRow("folder is a file") << u"file"_s << u""_s << u"ファイルです"_s;
        QTest::newRow("lock is a folder")
            << u"lock folder"_s << u"/veltyping.lock"_s << u"フォルダです"_s;
        QTest::newRow("folder not writable") << u"read-only"_s << u""_s << u"書き込めない"_s;
    }

    void unusableFolderIsRefused() {
        QFETCH(QString, setup);
        QFETCH(QString, named);
        QFETCH(QString, why);
        QTemporaryDir dir;
        // Another user must reach the folder.
        QVERIFY(QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther |
                                                      QFile::ReadOther));
        const QString folder = dir.filePath(u"folder"_s);
        QStringList wrapper;
        if (setup == u"file") {
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkdir(folder));
            QFile book(folder + u"/Word.dat"_s);
            QVERIFY(book.open(QIODevice::WriteOnly));
            book.write("a book the program must not touch");
            book.close();
            if (setup == u"lock folder")
                QVERIFY(QDir().mkdir(folder + u"/veltyping.lock"_s));
            if (setup == u"read-only") {
                QVERIFY(
                    book.setPermissions(QFile::permissions(book.fileName()) | QFile::WriteOther));
                QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner |
                                                          QFile::ReadOther | QFile::ExeOther));
                // The superuser writes anywhere: the program runs as nobody then.
                if (::geteuid() == 0) {
                    if (QStandardPaths::findExecutable(u"setpriv"_s).isEmpty())
                        QSKIP("running as root without setpriv to drop the rights");
                    wrapper = {u"setpriv"_s, u"--reuid=nobody"_s, u"--regid=nogroup"_s,
                               u"--clear-groups"_s};
                } else if (::access(QFile::encodeName(folder).constData(), W_OK) == 0) {
                    QSKIP("this user writes even a read-only folder");
                }
            }
        }
        const QStringList all = wrapper + QStringList{QStringLiteral(START_COMMAND), folder};
        QProcess process;
        process.start(all.first(), all.mid(1));
        QVERIFY(process.waitForFinished(60000));
        // 126 and 127: the other user may not run the program from where it was built.
        if (!wrapper.isEmpty() && process.exitCode() >= 126)
            QSKIP("the test program cannot be run as nobody here");
        const QString output = QString::fromUtf8(process.readAllStandardOutput());
        QCOMPARE(process.exitCode(), 1);
        QCOMPARE(output.count(u"\n--\n"_s), 1);
        QVERIFY2(output.contains(QDir::toNativeSeparators(folder + named)), qPrintable(output));
        QVERIFY2(output.contains(why), qPrintable(output));
        if (setup != u"file") {
            QFile book(folder + u"/Word.dat"_s);
            QVERIFY(book.open(QIODevice::ReadOnly));
            QCOMPARE(book.readAll(), "a book the program must not touch");
            QCOMPARE(QDir(folder)
                         .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden)
                         .size(),
                     setup == u"lock folder" ? 2 : 1);
        }
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
};

QTEST_GUILESS_MAIN(TestProgramStart)
#include "tst_program_start.moc"
