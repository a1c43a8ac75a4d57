// The book session on a real program folder: nothing the learner has is lost, whatever
// the disk, another program or a crash does.
#include "book/list_writer.h"
#include "book/record_map.h"
#include "session/book_session.h"
#include "session_rig.h"
#include "test_book.h"
#include "test_doubles.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

struct Run {
    int exitCode = -1;
    QString output;
};

// The command under `wrapper` (prlimit, strace), as a process of its own.
Run runCommand(const QStringList& wrapper, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // LeakSanitizer cannot run under ptrace: in a sanitized build a traced command would
    // fail for that alone.
    if (wrapper.value(0) == u"strace") {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        const QString options = environment.value(u"ASAN_OPTIONS"_s);
        environment.insert(u"ASAN_OPTIONS"_s,
                           options + (options.isEmpty() ? u""_s : u":"_s) + u"detect_leaks=0"_s);
        process.setProcessEnvironment(environment);
    }
    const QStringList all = wrapper + QStringList{QStringLiteral(SESSION_COMMAND)} + arguments;
    process.start(all.first(), all.mid(1));
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAll())};
}

// Everything in the folder but the backups: what a command may leave behind.
QStringList folderEntries(const QString& folder) {
    QStringList entries =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    entries.removeAll(u"backup"_s);
    // The answer log is the program's own, written beside the book.
    entries.removeIf([](const QString& entry) { return entry.startsWith(u"study.sqlite"_s); });
    return entries;
}

} // namespace

class TestBookSession : public QObject, private testsupport::SessionRig {
    Q_OBJECT

private Q_SLOTS:
    void init() { initRig(); }

    // A full disk, simulated by a file-size limit: the old file stays byte for byte, no
    // temporary file is left, and the learner is told that the disk is full.
    void wholeFileWritesAreAllOrNothing_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("bookClasses");
        QTest::addColumn<int>("otherSize"); // classes of the opened book, or bytes of a view
        QTest::addColumn<int>("limit");
        // Small files fit Qt's write buffer, whose flush takes a short write for success.
        QTest::newRow("open, small") << u"open"_s << 1 << 2 << 12000;
        QTest::newRow("open, large") << u"open"_s << 1 << 24 << 100000;
        QTest::newRow("save as, small") << u"save"_s << 2 << 0 << 8000;
        QTest::newRow("save as, large") << u"save"_s << 24 << 0 << 100000;
        QTest::newRow("save view, small") << u"savetext"_s << 1 << 5000 << 4000;
        QTest::newRow("save view, large") << u"savetext"_s << 1 << 60000 << 32000;
        QTest::newRow("reset") << u"reset"_s << 24 << 0 << 100000;
        QTest::newRow("open list, small") << u"openlist"_s << 1 << 2 << 12000;
        QTest::newRow("open list, large") << u"openlist"_s << 1 << 24 << 100000;
        QTest::newRow("save as list") << u"savelist"_s << 24 << 0 << 32000;
#ifdef HAVE_DEFAULT_BOOK
        QTest::newRow("first start") << u"firststart"_s << 0 << 0 << 100000;
#endif
    }

    void wholeFileWritesAreAllOrNothing() {
        QFETCH(QString, command);
        QFETCH(int, bookClasses);
        QFETCH(int, otherSize);
        QFETCH(int, limit);
        if (bookClasses > 0)
            testsupport::writeBook(bookPath(), bookClasses);
        QTemporaryDir elsewhere;
        const QString target = elsewhere.filePath(u"target"_s);
        writeBytes(target, "the learner's old file");
        QStringList arguments{command, dir->path()};
        if (command == u"open") {
            testsupport::writeBook(elsewhere.filePath(u"new.vel"_s), otherSize);
            arguments << elsewhere.filePath(u"new.vel"_s);
        } else if (command == u"openlist") {
            writeBytes(elsewhere.filePath(u"new.csv"_s),
                       book::bookToCsv(testsupport::makeBookContent(otherSize)));
            arguments << elsewhere.filePath(u"new.csv"_s);
        } else if (command == u"save" || command == u"savelist") {
            arguments << target;
        } else if (command == u"savetext") {
            writeBytes(dir->filePath(u"display.txt"_s), QByteArray(otherSize, 'x'));
            arguments << dir->filePath(u"display.txt"_s) << target;
        }
        const QByteArray bookBefore = testsupport::fileBytes(bookPath());
        const QStringList entriesBefore = folderEntries(dir->path());
        const QStringList targetsBefore =
            QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden);

        const Run run = runCommand({u"prlimit"_s, u"--fsize=%1"_s.arg(limit)}, arguments);

        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.output.contains(u"ディスクの空き容量が足りません"_s), qPrintable(run.output));
        QCOMPARE(testsupport::fileBytes(bookPath()), bookBefore);
        QCOMPARE(testsupport::fileBytes(target), QByteArray("the learner's old file"));
        QCOMPARE(folderEntries(dir->path()), entriesBefore);
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden), targetsBefore);
    }

    // The old, obsolete book stays after a failed Open; the learner hears of it once.
    void failedOpenTellsOfTheOldBookOnce() {
        const int eof = testsupport::writeBook(bookPath(), 1);
        testsupport::writeRecord(bookPath(), eof, {eof, u"Fin."_s, {}, {}});
        QTemporaryDir elsewhere;
        testsupport::writeBook(elsewhere.filePath(u"new.vel"_s), 24);
        const Run run = runCommand({u"prlimit"_s, u"--fsize=100000"_s},
                                   {u"open"_s, dir->path(), elsewhere.filePath(u"new.vel"_s)});
        QCOMPARE(run.exitCode, 1);
        QCOMPARE(run.output.count(u"単語帳ファイルが不正です"_s), 1);
    }

    // Killed at any write, rename or flush, a reset or an Open leaves either the old book
    // or the new one whole; the next start clears what the kill left behind.
    void killedCommandLeavesOldOrNewBook_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("reset") << u"reset"_s;
        QTest::newRow("open") << u"open"_s;
    }

    void killedCommandLeavesOldOrNewBook() {
        if (QStandardPaths::findExecutable(u"strace"_s).isEmpty())
            QSKIP("strace is not installed");
        QFETCH(QString, command);
        QTemporaryDir elsewhere;
        const QString opened = elsewhere.filePath(u"new.vel"_s);
        testsupport::writeBook(opened, 3);
        testsupport::writeBook(bookPath(), 2);
        for (int r : {2, 3, 60}) {
            book::WordRecord record = testsupport::readRecord(bookPath(), r);
            record.modeCount = {book::kMemorisedMark, 4, -3};
            testsupport::writeRecord(bookPath(), r, record);
        }
        const QByteArray oldBook = testsupport::fileBytes(bookPath());
        const QStringList arguments{command, dir->path(), opened};
        QVERIFY(runCommand({}, arguments).exitCode == 0);
        const QByteArray newBook = testsupport::fileBytes(bookPath());
        QVERIFY(newBook != oldBook);

        int kills = 0;
        for (const char* call : {"write", "pwrite64", "fsync", "fdatasync", "linkat", "rename",
                                 "renameat", "renameat2"}) {
            for (int n = 1; n <= 4; ++n) {
                writeBytes(bookPath(), oldBook);
                const Run run = runCommand(
                    {u"strace"_s, u"-f"_s, u"-qq"_s, u"-o"_s, u"/dev/null"_s, u"-e"_s,
                     u"trace=%1"_s.arg(QLatin1StringView(call)), u"-e"_s,
                     u"inject=%1:signal=SIGKILL:when=%2"_s.arg(QLatin1StringView(call)).arg(n)},
                    arguments);
                kills += run.exitCode != 0;
                const QByteArray after = testsupport::fileBytes(bookPath());
                QVERIFY2(
                    after == oldBook || after == newBook,
                    qPrintable(u"%1 #%2 left a mixed book"_s.arg(QLatin1StringView(call)).arg(n)));
                QCOMPARE(runCommand({}, {u"firststart"_s, dir->path()}).exitCode, 0);
                QCOMPARE(folderEntries(dir->path()), QStringList{u"Word.dat"_s});
            }
        }
        QVERIFY(kills > 0);
    }

    // A rename, and a new folder, are on the disk only once their folder is: each is
    // followed by a flush of the folder that holds it.
    void renamesAndNewFoldersReachTheDisk() {
        if (QStandardPaths::findExecutable(u"strace"_s).isEmpty())
            QSKIP("strace is not installed");
        testsupport::writeBook(bookPath(), 2);
        const QString trace = dir->filePath(u"trace"_s);
        QCOMPARE(runCommand({u"strace"_s, u"-f"_s, u"-qq"_s, u"-y"_s, u"-o"_s, trace, u"-e"_s,
                             u"trace=rename,renameat,renameat2,mkdir,mkdirat,fsync"_s},
                            {u"reset"_s, dir->path()})
                     .exitCode,
                 0);
        // The folder each change awaits a flush of, in the order they happened.
        QStringList awaited;
        QStringList changes;
        static const QRegularExpression change(
            u"(?:rename\\w*|mkdir\\w*)\\(.*\"([^\"]+)\"[^\"]*\\) = 0"_s);
        static const QRegularExpression flush(u"fsync\\(\\d+<([^>]+)>\\) = 0"_s);
        for (const QByteArray& line : testsupport::fileBytes(trace).split('\n')) {
            if (const auto match = change.match(QString::fromUtf8(line)); match.hasMatch()) {
                changes << match.captured(1);
                awaited << QFileInfo(match.captured(1)).absolutePath();
            } else if (const auto match = flush.match(QString::fromUtf8(line)); match.hasMatch()) {
                awaited.removeAll(match.captured(1));
            }
        }
        QVERIFY2(changes.contains(dir->filePath(u"backup"_s)), qPrintable(changes.join(u' ')));
        QVERIFY2(changes.contains(bookPath()), qPrintable(changes.join(u' ')));
        QVERIFY2(awaited.isEmpty(), qPrintable(awaited.join(u' ')));
    }

    void secondProgramOnAFolderIsRefused() {
        folder::FolderClaim first(dir->path());
        folder::FolderClaim second(dir->path());
        QString reason;
        QCOMPARE(first.claim(&reason), folder::FolderClaim::Result::Claimed);
        QCOMPARE(second.claim(&reason), folder::FolderClaim::Result::InUse);
        QVERIFY(reason.contains(u"使用中"_s));
    }

    void lockOfADeadProgramIsTakenOver() {
        QCOMPARE(runCommand({}, {u"crash"_s, dir->path()}).exitCode, -1);
        QVERIFY(QFileInfo::exists(dir->filePath(u"veltyping.lock"_s)));
        folder::FolderClaim claim(dir->path());
        QString reason;
        QCOMPARE(claim.claim(&reason), folder::FolderClaim::Result::Claimed);
    }

    void lockCutShortByACrashIsTakenOver() {
        writeBytes(dir->filePath(u"veltyping.lock"_s), {});
        QFile lock(dir->filePath(u"veltyping.lock"_s));
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime));
        lock.close();
        folder::FolderClaim claim(dir->path());
        QString reason;
        QCOMPARE(claim.claim(&reason), folder::FolderClaim::Result::Claimed);
    }

    // A Word.dat deleted or replaced under the program: the next write says so and puts
    // nothing into a file that is no longer the book.
    void writeNoticesTheBookWasTakenAway_data() {
        QTest::addColumn<bool>("replaced");
        QTest::newRow("deleted") << false;
        QTest::newRow("replaced") << true;
    }

    void writeNoticesTheBookWasTakenAway() {
        QFETCH(bool, replaced);
        testsupport::writeBook(bookPath(), 2);
        auto book = openSession();
        QVERIFY(QFile::remove(bookPath()));
        if (replaced)
            testsupport::writeBook(bookPath(), 1);
        const QByteArray atPath = testsupport::fileBytes(bookPath());

        book->setSpeed(3);

        QCOMPARE(testsupport::fileBytes(bookPath()), atPath);
        QCOMPARE(QFileInfo::exists(bookPath()), replaced);
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures[0].title, u"FILE WRITE ERROR"_s);
        QVERIFY(failures[0].text.contains(QDir::toNativeSeparators(bookPath())));
    }

    void leftoverTemporariesAreRemoved_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("removed");
        QTest::newRow("book") << u".Word.dat.veltyping-a1B2c3"_s << true;
        QTest::newRow("view") << u".display.txt.veltyping-XyZ123"_s << true;
        QTest::newRow("backup") << u"backup/.Word-20261207-090530.dat.veltyping-abcdef"_s << true;
        QTest::newRow("learner's copy") << u"Word.dat.backup"_s << false;
        QTest::newRow("learner's file") << u"result.txt.orig01"_s << false;
        QTest::newRow("longer suffix") << u".Word.dat.veltyping-abcdefg"_s << false;
    }

    void leftoverTemporariesAreRemoved() {
        QFETCH(QString, name);
        QFETCH(bool, removed);
        QVERIFY(QDir(dir->path()).mkpath(u"backup"_s));
        writeBytes(dir->filePath(name), "x");
        QVERIFY(QDir(dir->path()).mkdir(u".Word.dat.veltyping-folder"_s));
        folder::removeLeftoverTemporaries(folder::programFiles(dir->path()));
        QCOMPARE(QFileInfo::exists(dir->filePath(name)), !removed);
        QVERIFY(QFileInfo(dir->filePath(u".Word.dat.veltyping-folder"_s)).isDir());
    }

    // Whatever stands where a book should be, it is refused with its name, and nothing
    // waits for input that never comes.
    void oddFilesAreRefused_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("asWordDat"); // else: chosen in Open
        QTest::addColumn<QString>("reason");
        for (bool asWordDat : {true, false}) {
            const char* where = asWordDat ? "Word.dat" : "Open";
            QTest::addRow("FIFO, %s", where) << u"fifo"_s << asWordDat << u"FIFO"_s;
            QTest::addRow("folder, %s", where) << u"folder"_s << asWordDat << u"フォルダ"_s;
            QTest::addRow("device, %s", where) << u"device"_s << asWordDat << u"デバイス"_s;
        }
    }

    void oddFilesAreRefused() {
        QFETCH(QString, kind);
        QFETCH(bool, asWordDat);
        QFETCH(QString, reason);
        QTemporaryDir elsewhere;
        const QString odd = asWordDat ? bookPath() : elsewhere.filePath(u"odd.vel"_s);
        if (!asWordDat)
            testsupport::writeBook(bookPath(), 1);
        if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(odd).constData(), 0600), 0);
        else if (kind == u"folder")
            QVERIFY(QDir().mkdir(odd));
        else
            QVERIFY(QFile::link(u"/dev/zero"_s, odd));

        auto book = openSession();
        if (asWordDat) {
            // Opening a book over it says what is wrong with Word.dat, and changes nothing.
            testsupport::writeBook(elsewhere.filePath(u"good.vel"_s), 1);
            QVERIFY(!book->replaceBook(elsewhere.filePath(u"good.vel"_s)));
            QCOMPARE(failures.size(), 2);
            QVERIFY2(failures[1].text.contains(QDir::toNativeSeparators(odd)) &&
                         failures[1].text.contains(reason),
                     qPrintable(failures[1].text));
            QVERIFY(!QFileInfo::exists(dir->filePath(u"backup"_s)));
            failures.removeLast();
        } else {
            const QByteArray before = testsupport::fileBytes(bookPath());
            QVERIFY(failures.isEmpty());
            QVERIFY(!book->replaceBook(odd));
            QCOMPARE(testsupport::fileBytes(bookPath()), before);
        }
        QCOMPARE(failures.size(), 1);
        QCOMPARE(failures[0].title, u"FILE OPEN ERROR"_s);
        QVERIFY2(failures[0].text.contains(QDir::toNativeSeparators(odd)) &&
                     failures[0].text.contains(reason),
                 qPrintable(failures[0].text));
    }

    // A Word.dat far larger than any word book is read only as far as the book reaches.
    void hugeBookIsReadOnlyAsFarAsTheBook() {
        const int eof = testsupport::writeBook(bookPath(), 1);
        QFile file(bookPath());
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(200 * 1024 * 1024));
        file.close();
        auto book = openSession();
        QCOMPARE(book->title(), u"テスト"_s);
        QVERIFY(book->resetLearningData());
        const QList<folder::BackupInfo> backups = book->backups();
        QCOMPARE(backups.size(), 1);
        QCOMPARE(QFileInfo(backups[0].path).size(), qint64(eof + 19) * 128);
    }

    void backupsKeepTheNewestTwenty() {
        folder::BackupFolder folder(dir->path());
        testsupport::writeBook(bookPath(), 2);
        const QByteArray bytes = testsupport::fileBytes(bookPath());
        const QDateTime now(QDate(2026, 12, 7), QTime(9, 5, 30));
        QStringList written;
        for (int i = 0; i < 22; ++i) {
            book::FileFailure failure;
            QString path;
            QVERIFY(folder.add(bytes, i < 21 ? now : now.addDays(1), &failure, &path));
            written << QFileInfo(path).fileName();
        }
        QCOMPARE(written.mid(0, 3),
                 (QStringList{u"Word-20261207-090530.dat"_s, u"Word-20261207-090530-2.dat"_s,
                              u"Word-20261207-090530-3.dat"_s}));
        const QList<folder::BackupInfo> backups = folder.list();
        QCOMPARE(backups.size(), 20);
        QCOMPARE(QFileInfo(backups[0].path).fileName(), u"Word-20261208-090530.dat"_s);
        QCOMPARE(QFileInfo(backups[1].path).fileName(), u"Word-20261207-090530-21.dat"_s);
        QCOMPARE(QFileInfo(backups[19].path).fileName(), u"Word-20261207-090530-3.dat"_s);
        QCOMPARE(backups[0].title, u"テスト"_s);
        QCOMPARE(backups[0].classes, 2);
        QCOMPARE(backups[0].taken, now.addDays(1));
    }

    // Pruning removes only copies this program made, counted and ordered by when they
    // were made: files of the same form that the learner put there (or left after
    // changing one), even twenty dated in the future, stay, and a clock put back does not
    // make the newest copy look the oldest.
    void pruningRemovesOnlyTheProgramsOwn() {
        folder::BackupFolder folder(dir->path());
        QVERIFY(QDir(dir->path()).mkdir(u"backup"_s));
        const QDir backup(dir->filePath(u"backup"_s));
        QStringList foreign{u"Word-20200101-000000.dat"_s};
        for (int i = 0; i < 20; ++i)
            foreign << u"Word-29991231-2359%1.dat"_s.arg(i, 2, 10, QChar(u'0'));
        for (const QString& name : foreign)
            writeBytes(backup.filePath(name), "the learner's " + name.toLatin1());
        testsupport::writeBook(bookPath(), 2);
        const QByteArray bytes = testsupport::fileBytes(bookPath());

        QStringList made;
        for (int i = 0; i < 25; ++i) {
            book::FileFailure failure;
            QString path;
            // Each copy dated a minute before the one made before it.
            const QDateTime now = QDateTime(QDate(2026, 12, 7), QTime(9, 30)).addSecs(-60 * i);
            QVERIFY(folder.add(bytes, now, &failure, &path));
            made.prepend(QFileInfo(path).fileName());
            if (i == 0) // the learner changes the first copy: it is theirs now
                writeBytes(path, "changed by the learner");
        }
        for (const QString& name : foreign)
            QCOMPARE(testsupport::fileBytes(backup.filePath(name)),
                     "the learner's " + name.toLatin1());
        QCOMPARE(testsupport::fileBytes(backup.filePath(made.last())), "changed by the learner");
        QStringList listed;
        for (const folder::BackupInfo& info : folder.list())
            listed << QFileInfo(info.path).fileName();
        QCOMPARE(listed, made.mid(0, folder::BackupFolder::kKept));
        for (const QString& name : made.mid(folder::BackupFolder::kKept, 4))
            QVERIFY2(!backup.exists(name), qPrintable(name));
    }

    // Every command that replaces or resets the book keeps the old one; a restore brings
    // it back after keeping the current one too.
    void replacingCommandsBackUpTheBook() {
        testsupport::writeBook(bookPath(), 2);
        book::WordRecord learnt = testsupport::readRecord(bookPath(), 2);
        learnt.modeCount = {book::kMemorisedMark, 0, 0};
        testsupport::writeRecord(bookPath(), 2, learnt);
        const QByteArray learner = testsupport::fileBytes(bookPath());
        auto book = openSession();

        QVERIFY(book->resetLearningData());
        book->load();
        QCOMPARE(book->backups().size(), 1);
        QCOMPARE(testsupport::fileBytes(book->backups()[0].path), learner);
        const QByteArray reset = testsupport::fileBytes(bookPath());

        QVERIFY(book->restoreBackup(book->backups()[0].path));
        book->load();
        QCOMPARE(testsupport::fileBytes(bookPath()), learner);
        QCOMPARE(book->backups().size(), 2);
        QCOMPARE(testsupport::fileBytes(book->backups()[0].path), reset);
        QVERIFY(failures.isEmpty());
    }

    // The restore offers every book in the backup folder, the copies an earlier version or
    // the learner put there too (by the date in their name, else their last change), but
    // never a file a link there leads to, and it restores only what it offered.
    void restoreOffersEveryBookInTheFolderButNoLink() {
        const QDir backup(dir->filePath(u"backup"_s));
        QVERIFY(QDir(dir->path()).mkdir(u"backup"_s));
        testsupport::writeBook(backup.filePath(u"Word-20200101-000000.dat"_s),
                               testsupport::makeBookContent(1, u"旧版の控え"_s));
        testsupport::writeBook(backup.filePath(u"mine.vel"_s),
                               testsupport::makeBookContent(2, u"自分の控え"_s));
        QFile mine(backup.filePath(u"mine.vel"_s));
        QVERIFY(mine.open(QIODevice::ReadWrite));
        QVERIFY(mine.setFileTime(QDateTime(QDate(2021, 5, 1), QTime()),
                                 QFileDevice::FileModificationTime));
        mine.close();
        writeBytes(backup.filePath(u"notes.txt"_s), "not a book");
        const QString outside = dir->filePath(u"outside.vel"_s);
        testsupport::writeBook(outside, testsupport::makeBookContent(1, u"外の単語帳"_s));
        QVERIFY(QFile::link(outside, backup.filePath(u"Word-20250101-000000.dat"_s)));
        testsupport::writeBook(bookPath(), 2);
        auto book = openSession();
        QVERIFY(book->resetLearningData()); // the program's own copy, dated now
        book->load();

        QStringList listed;
        for (const folder::BackupInfo& info : book->backups())
            listed << u"%1 %2 %3"_s.arg(QFileInfo(info.path).fileName(), info.title)
                          .arg(info.recorded);
        QCOMPARE(listed.mid(1), (QStringList{u"mine.vel 自分の控え 0"_s,
                                             u"Word-20200101-000000.dat 旧版の控え 0"_s}));
        QVERIFY(listed.value(0).endsWith(u" テスト 1"_s));

        QVERIFY(book->restoreBackup(backup.filePath(u"mine.vel"_s)));
        book->load();
        QCOMPARE(book->title(), u"自分の控え"_s);
        const QByteArray before = testsupport::fileBytes(bookPath());
        QVERIFY(!book->restoreBackup(backup.filePath(u"Word-20250101-000000.dat"_s)));
        QVERIFY(!book->restoreBackup(outside));
        QCOMPARE(testsupport::fileBytes(bookPath()), before);
        QCOMPARE(failures.size(), 2);
    }

    // A list opens as the very book velbook makes of it, after the old book is kept; the
    // book saved as a list opens again as the same words.
    void listOpensAsTheBookVelbookMakes_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("CP932 CSV with a header row") << u"excel-cp932-header.csv"_s;
        QTest::newRow("CP932 TSV") << u"excel-cp932-tab.txt"_s;
        QTest::newRow("two columns, UTF-8 with BOM") << u"two-columns.csv"_s;
        QTest::newRow("velbook's own, with a title line") << u"velbook.tsv"_s;
    }

    void listOpensAsTheBookVelbookMakes() {
        QFETCH(QString, file);
        const QString listPath = QStringLiteral(LIST_DATA_DIR "/") + file;
        const QString made = dir->filePath(u"velbook.vel"_s);
        QProcess velbook;
        velbook.start(QStringLiteral(VELBOOK_EXECUTABLE), {u"create"_s, listPath, made});
        QVERIFY(velbook.waitForFinished(10000) && velbook.exitCode() == 0);
        testsupport::writeBook(bookPath(), 2);
        const QByteArray old = testsupport::fileBytes(bookPath());
        auto book = openSession();

        const session::ListToOpen list = session::readListToOpen(listPath);
        QVERIFY2(list.accepted(), qPrintable(list.problems.join(u'\n')));
        QVERIFY(session::listConfirmationText(list).contains(u"（50語）"_s));
        QVERIFY(book->commitOpen(book->prepareOpen(listPath), list.title));
        QCOMPARE(testsupport::fileBytes(bookPath()), testsupport::fileBytes(made));
        QCOMPARE(testsupport::fileBytes(book->backups().value(0).path), old);

        book->load();
        const QString saved = dir->filePath(u"saved.csv"_s);
        QVERIFY(book->saveBookAsList(saved));
        QVERIFY(testsupport::fileBytes(saved).startsWith("\xEF\xBB\xBF"
                                                         "class,english,japanese\r\n"));
        const session::ListToOpen again = session::readListToOpen(saved);
        QVERIFY2(again.accepted(), qPrintable(again.problems.join(u'\n')));
        QCOMPARE(again.content.classes, list.content.classes);
        QVERIFY(failures.isEmpty());
    }

    // A refused list or title is told in one box and nothing is written, not even a backup.
    void refusedListWritesNothing() {
        testsupport::writeBook(bookPath(), 1);
        const QByteArray old = testsupport::fileBytes(bookPath());
        QStringList good;
        for (int i = 1; i <= 50; ++i)
            good << u"クラス,w%1,訳%1"_s.arg(i);
        QStringList rows = good;
        for (int i = 3; i < 50; i += 4)
            rows[i] = u"クラス,w%1,"_s.arg(i + 1);
        const QString listPath = dir->filePath(u"list.csv"_s);
        writeBytes(listPath, rows.join(u"\r\n"_s).toUtf8());
        auto book = openSession();

        const session::ListToOpen list = session::readListToOpen(listPath);
        QCOMPARE(list.problems.size(), 12);
        QCOMPARE(list.problems.first(),
                 u"行 4：日本語の列がありません（1行は「クラス名、英語、日本語」の3列です）。"_s);
        const QStringList text = session::listRefusalText(list).split(u"\r\n"_s);
        QCOMPARE(text.size(), 2 + 10 + 1);
        QCOMPARE(text.value(11),
                 u"行 40：日本語の列がありません（1行は「クラス名、英語、日本語」の3列です）。"_s);
        QCOMPARE(text.last(), u"ほか 2 件"_s);
        QVERIFY(!book->commitOpen(book->prepareOpen(listPath), list.title));
        // Without dictionaries, the refusal says which packages would propose the meanings.
        QCOMPARE(failures.value(0).text, session::listRefusalText(readList(listPath)));

        writeBytes(listPath, good.mid(0, 30).join(u"\n"_s).toUtf8());
        QCOMPARE(session::readListToOpen(listPath).problems,
                 QStringList{u"行 1：クラス「クラス」は 30 語しかありません。1 つのクラスには"
                             u"ちょうど 50 語が必要です（あと 20 語）。"_s});

        writeBytes(listPath, good.join(u"\n"_s).toUtf8());
        const session::ListToOpen accepted = session::readListToOpen(listPath);
        QVERIFY2(accepted.accepted(), qPrintable(accepted.problems.join(u'\n')));
        QVERIFY(!book->commitOpen(book->prepareOpen(listPath), QString(58, u'題')));
        QVERIFY(failures.value(1).text.startsWith(u"題名："_s));
        QCOMPARE(testsupport::fileBytes(bookPath()), old);
        QCOMPARE(book->backups().size(), 0);
    }

    void failedBackupStopsTheCommand() {
        testsupport::writeBook(bookPath(), 2);
        const QByteArray before = testsupport::fileBytes(bookPath());
        writeBytes(dir->filePath(u"backup"_s), "a file where the folder should be");
        auto book = openSession();
        QVERIFY(!book->resetLearningData());
        QCOMPARE(testsupport::fileBytes(bookPath()), before);
        QCOMPARE(failures.size(), 1);
        QVERIFY(failures[0].text.contains(u"バックアップ"_s));
    }

#ifdef HAVE_DEFAULT_BOOK
    // The first start's book takes the permissions the learner's umask allows.
    void firstStartHonoursTheUmask() {
        const mode_t old = ::umask(027);
        QString error;
        const bool ok = folder::prepareWordBook(folder::programFiles(dir->path()), &error);
        ::umask(old);
        QVERIFY2(ok, qPrintable(error));
        struct stat status {};
        QCOMPARE(::stat(QFile::encodeName(bookPath()).constData(), &status), 0);
        QCOMPARE(status.st_mode & 0777, mode_t(0640));
    }
#endif
};

QTEST_GUILESS_MAIN(TestBookSession)
#include "tst_book_session.moc"
