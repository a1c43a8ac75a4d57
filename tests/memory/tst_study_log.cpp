#include "memory/study_log.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace memory;
using namespace Qt::StringLiterals;

namespace {

Answer rightAnswer(int record, qint64 utcMs = 1764550800000) {
    return {utcMs, {record, u"w%1"_s.arg(record), u"語%1"_s.arg(record)}, 0, Outcome::Right, 3};
}

QList<int> recordsWithMemory(const StudyLog& log) {
    QList<int> records;
    for (auto it = log.states().all().cbegin(); it != log.states().all().cend(); ++it)
        records << it.key().word.record;
    std::sort(records.begin(), records.end());
    return records;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestStudyLog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // What Open, a reset and a restore do to the memory of the book in use. The session
    // calls startNewBook() for Open and for a reset, rememberBackup() for each copy it puts
    // in the backup folder and restoreBackup() for the copy it brings back.
    void bookIdentity_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QList<int>>("remembered");
        QTest::addColumn<int>("answers");
        QTest::newRow("answers and memory survive reopening")
            << u"r2 r3 r2 reopen"_s << QList<int>{2, 3} << 3;
        QTest::newRow("Open or a reset starts without memory")
            << u"r2 new r3"_s << QList<int>{3} << 1;
        QTest::newRow("a forgotten book stays forgotten")
            << u"r2 backupA new reopen"_s << QList<int>{} << 0;
        QTest::newRow("restoring the copy taken before a reset brings its memory back")
            << u"r2 backupA new r3 restoreA reopen"_s << QList<int>{2} << 1;
        QTest::newRow("restoring a copy the log never saw starts afresh")
            << u"r2 restoreB"_s << QList<int>{} << 0;
        QTest::newRow("each copy keeps the memory of its own book")
            << u"r2 backupA new r3 r4 backupB restoreA restoreB"_s << QList<int>{3, 4} << 2;
    }
    void bookIdentity() {
        QFETCH(QString, steps);
        QFETCH(QList<int>, remembered);
        QFETCH(int, answers);
        QTemporaryDir dir;
        auto log = std::make_unique<StudyLog>(dir.path());
        QSignalSpy failures(log.get(), &StudyLog::failed);
        QVERIFY(log->open());
        for (const QString& step : steps.split(u' ')) {
            if (step.startsWith(u'r') && step.at(1).isDigit()) {
                QVERIFY(log->record(rightAnswer(step.mid(1).toInt())));
            } else if (step == u"new") {
                log->startNewBook();
            } else if (step.startsWith(u"backup")) {
                log->rememberBackup(step.mid(6).toUtf8());
            } else if (step.startsWith(u"restore")) {
                log->restoreBackup(step.mid(7).toUtf8());
            } else if (step == u"reopen") {
                log = std::make_unique<StudyLog>(dir.path());
                QVERIFY(log->open());
            }
        }
        QCOMPARE(failures.size(), 0);
        QCOMPARE(recordsWithMemory(*log), remembered);
        QCOMPARE(log->answers().size(), answers);
    }

    // Each gives one message; the drill goes on without the log; a damaged database is kept
    // under another name and a new one started.
    void badSurroundings_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("opens");
        QTest::addColumn<QString>("told");
        QTest::newRow("damaged") << u"damaged"_s << true << u"壊れていた"_s;
        QTest::newRow("a folder") << u"folder"_s << false << u"フォルダです"_s;
        QTest::newRow("a FIFO") << u"fifo"_s << false << u"FIFO"_s;
        QTest::newRow("locked by another program") << u"locked"_s << false << u"使用中"_s;
        QTest::newRow("read-only") << u"read-only"_s << false << u"書き込"_s;
    }
    void badSurroundings() {
        QFETCH(QString, setup);
        QFETCH(bool, opens);
        QFETCH(QString, told);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"study.sqlite"_s);
        QByteArray before;
        QProcess holder;
        QStringList asUser;
        if (setup == u"damaged") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("not a database, whatever its name says ").repeated(200));
        } else if (setup == u"folder") {
            QVERIFY(QDir().mkdir(path));
        } else if (setup == u"fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            {
                StudyLog log(dir.path());
                QVERIFY(log.open());
                QVERIFY(log.record(rightAnswer(2)));
            }
            if (setup == u"locked") {
                holder.start(QStringLiteral(STUDY_LOG_COMMAND), {u"hold"_s, dir.path()});
                QVERIFY(holder.waitForReadyRead(10000));
                QCOMPARE(holder.readLine(), "holding\n");
            } else {
                QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadOther));
                QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner |
                                                              QFile::ReadOther | QFile::ExeOther));
                // The superuser writes anywhere: the log is opened as nobody then.
                if (::geteuid() == 0) {
                    if (QStandardPaths::findExecutable(u"setpriv"_s).isEmpty())
                        QSKIP("running as root without setpriv to drop the rights");
                    asUser = {u"setpriv"_s, u"--reuid=nobody"_s, u"--regid=nogroup"_s,
                              u"--clear-groups"_s};
                }
            }
            before = fileBytes(path);
        }

        QStringList messages;
        bool opened = false;
        if (asUser.isEmpty()) {
            StudyLog log(dir.path());
            connect(&log, &StudyLog::failed, this, [&](const QString& text) { messages << text; });
            opened = log.open();
            if (opened)
                QVERIFY(log.record(rightAnswer(3)));
        } else {
            QProcess process;
            process.start(asUser.first(),
                          asUser.mid(1) + QStringList{QStringLiteral(STUDY_LOG_COMMAND), u"open"_s,
                                                      dir.path()});
            QVERIFY(process.waitForFinished(20000));
            if (process.exitCode() >= 126)
                QSKIP("the test program cannot be run as nobody here");
            opened = process.exitCode() == 0;
            messages = QString::fromUtf8(process.readAllStandardOutput())
                           .split(u"\n--\n"_s, Qt::SkipEmptyParts);
        }
        holder.kill();
        holder.waitForFinished();
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QCOMPARE(opened, opens);
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages.first().contains(told), qPrintable(messages.first()));
        QVERIFY2(messages.first().contains(QDir::toNativeSeparators(path)),
                 qPrintable(messages.first()));
        if (setup == u"damaged") {
            const QStringList aside =
                QDir(dir.path()).entryList({u"study-damaged-*.sqlite"_s}, QDir::Files);
            QCOMPARE(aside.size(), 1);
            QCOMPARE(fileBytes(dir.filePath(aside.first())),
                     QByteArray("not a database, whatever its name says ").repeated(200));
        } else if (setup == u"folder" || setup == u"fifo") {
            QFileInfo info(path);
            QVERIFY(info.exists() && !info.isFile());
        } else {
            QCOMPARE(fileBytes(path), before);
        }
    }

    // A program killed in the middle of a drill keeps every answer it had logged.
    void answersSurviveKill() {
        QTemporaryDir dir;
        QProcess writer;
        writer.start(QStringLiteral(STUDY_LOG_COMMAND), {u"write"_s, dir.path()});
        QVERIFY(writer.waitForStarted());
        QByteArray out;
        int logged = 0;
        while (logged < 300 && writer.waitForReadyRead(20000)) {
            out += writer.readAllStandardOutput();
            const QList<QByteArray> lines = out.split('\n');
            // The last piece may be a number half printed.
            logged = lines.size() > 1 ? lines[lines.size() - 2].toInt() : 0;
        }
        QVERIFY(logged >= 300);
        writer.kill(); // SIGKILL
        QVERIFY(writer.waitForFinished());
        QCOMPARE(writer.exitStatus(), QProcess::CrashExit);
        out += writer.readAllStandardOutput();
        const QList<QByteArray> lines = out.trimmed().split('\n');
        logged = lines.last().toInt();

        StudyLog log(dir.path());
        QSignalSpy failures(&log, &StudyLog::failed);
        QVERIFY(log.open());
        QCOMPARE(failures.size(), 0);
        const qsizetype kept = log.answers().size();
        // The answer being written when the kill came may be in or not.
        QVERIFY2(kept == logged || kept == logged + 1,
                 qPrintable(u"%1 logged, %2 kept"_s.arg(logged).arg(kept)));
        // Words 0 to 49 in modes 0 to 2, every pair of them by the 150th answer.
        QCOMPARE(log.states().size(), 150);
    }
};

QTEST_GUILESS_MAIN(TestStudyLog)
#include "tst_study_log.moc"
