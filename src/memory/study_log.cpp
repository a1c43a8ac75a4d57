#include "study_log.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

#include <algorithm>

namespace memory {

namespace {

const QString kFileName = QStringLiteral("study.sqlite");

// SQLite's primary result codes that the log tells apart.
enum SqliteCode {
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kCorrupt = 11,
    kFull = 13,
    kCantOpen = 14,
    kNotADatabase = 26,
};

int primaryCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? code & 0xff : -1;
}

bool isDamage(const QSqlError& error) {
    const int code = primaryCode(error);
    return code == kCorrupt || code == kNotADatabase;
}

QString reasonFor(const QSqlError& error) {
    switch (primaryCode(error)) {
    case kBusy:
    case kLocked:
        return QStringLiteral("ほかのプログラムが使用中です。");
    case kReadOnly:
        return QStringLiteral("書き込みが許可されていません。");
    case kFull:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case kCantOpen:
        return QStringLiteral("開けません（ファイルまたはフォルダに書き込めないなど）。");
    default:
        break;
    }
    const QString text = error.text().trimmed();
    return text.isEmpty() ? QStringLiteral("原因は分かりません。")
                          : QStringLiteral("システムの報告: %1").arg(text);
}

const char* const kSchema[] = {
    "CREATE TABLE IF NOT EXISTS books(id INTEGER PRIMARY KEY, started_utc_ms INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS book_in_use(only INTEGER PRIMARY KEY CHECK (only = 1),"
    " book INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS backups(sha256 BLOB PRIMARY KEY, book INTEGER NOT NULL)",
    // outcome: 0 right, 1 missed, 2 "？" (don't know), 3 fell out. seconds: from the word's
    // first being pickable to the answer.
    "CREATE TABLE IF NOT EXISTS answers(id INTEGER PRIMARY KEY, book INTEGER NOT NULL,"
    " utc_ms INTEGER NOT NULL, record INTEGER NOT NULL, english TEXT NOT NULL,"
    " japanese TEXT NOT NULL, mode INTEGER NOT NULL,"
    " outcome INTEGER NOT NULL CHECK (outcome BETWEEN 0 AND 3), seconds REAL NOT NULL)",
    "CREATE INDEX IF NOT EXISTS answers_by_book ON answers(book, id)",
    "CREATE TABLE IF NOT EXISTS memory(book INTEGER NOT NULL, mode INTEGER NOT NULL,"
    " record INTEGER NOT NULL, english TEXT NOT NULL, japanese TEXT NOT NULL,"
    " stability REAL NOT NULL, difficulty REAL NOT NULL, last_utc_ms INTEGER NOT NULL,"
    " answers INTEGER NOT NULL, rights INTEGER NOT NULL,"
    " PRIMARY KEY (book, mode, record, english, japanese)) WITHOUT ROWID",
};

QByteArray digest(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

StudyLog::StudyLog(const QString& folder, QObject* parent)
    : QObject(parent), folder_(folder), path_(QDir(folder).filePath(kFileName)),
      connection_(QStringLiteral("study-log-") + QUuid::createUuid().toString(QUuid::Id128)) {}

StudyLog::~StudyLog() { close(); }

bool StudyLog::open() {
    if (open_)
        return true;
    QString reason;
    Trouble trouble = openDatabase(&reason);
    if (trouble == Trouble::Damaged) {
        close();
        QString aside;
        if (!putAside(&aside)) {
            fail(QStringLiteral("壊れていて、別の名前で残すこともできませんでした。"));
            return false;
        }
        trouble = openDatabase(&reason);
        if (trouble == Trouble::None) {
            Q_EMIT failed(QStringLiteral("学習記録 %1 が壊れていたので、%2 として残し、"
                                         "新しい学習記録を始めました。")
                              .arg(QDir::toNativeSeparators(path_), aside),
                          false);
            return true;
        }
    }
    if (trouble != Trouble::None) {
        close();
        fail(reason);
        return false;
    }
    return true;
}

StudyLog::Trouble StudyLog::openDatabase(QString* reason) {
    const QFileInfo info(path_);
    if (info.exists() && !info.isFile()) {
        // Never handed to SQLite: a FIFO would block the first read for good.
        *reason = info.isDir()
                      ? QStringLiteral("ファイルではなく、フォルダです。")
                      : QStringLiteral("通常のファイルではありません（FIFO やデバイスなど）。");
        return Trouble::Other;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path_);
    // Another program's lock is waited on briefly, never for seconds on the drill's thread.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=100"));
    const auto trouble = [reason](const QSqlError& error) {
        *reason = reasonFor(error);
        return isDamage(error) ? Trouble::Damaged : Trouble::Other;
    };
    if (!db.open())
        return trouble(db.lastError());
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        return trouble(query.lastError());
    if (!query.next() || query.value(0).toString() != u"wal") {
        *reason = QStringLiteral("先行書き込みログ（WAL）に切り替えられません。");
        return Trouble::Other;
    }
    // The journal is moved into the database by checkpoint() and on closing, never by an
    // answer's commit: that one would wait for the disk.
    if (!query.exec(QStringLiteral("PRAGMA synchronous=NORMAL")) ||
        !query.exec(QStringLiteral("PRAGMA wal_autocheckpoint=0")) ||
        !query.exec(QStringLiteral("PRAGMA quick_check")))
        return trouble(query.lastError());
    if (!query.next() || query.value(0).toString() != u"ok") {
        *reason = QStringLiteral("データベースが壊れています。");
        return Trouble::Damaged;
    }
    // Taking the write lock at once finds a read-only file or another program's lock now,
    // not at the first answer.
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return trouble(query.lastError());
    for (const char* statement : kSchema) {
        if (!query.exec(QString::fromLatin1(statement))) {
            const QSqlError error = query.lastError();
            query.exec(QStringLiteral("ROLLBACK"));
            return trouble(error);
        }
    }
    if (!query.exec(QStringLiteral("COMMIT"))) {
        const QSqlError error = query.lastError();
        query.exec(QStringLiteral("ROLLBACK"));
        return trouble(error);
    }
    query.finish();
    if (!prepare(reason))
        return Trouble::Other;
    open_ = true;
    qint64 book = 0;
    if (query.exec(QStringLiteral("SELECT book FROM book_in_use")) && query.next())
        book = query.value(0).toLongLong();
    query.finish();
    if (book == 0)
        book = createBook();
    if (book == 0 || !useBook(book)) {
        open_ = false;
        *reason = reasonFor(db.lastError());
        return Trouble::Other;
    }
    return Trouble::None;
}

bool StudyLog::prepare(QString* reason) {
    const QSqlDatabase db = QSqlDatabase::database(connection_, false);
    insertAnswer_ = std::make_unique<QSqlQuery>(db);
    storeMemory_ = std::make_unique<QSqlQuery>(db);
    const bool ok =
        insertAnswer_->prepare(QStringLiteral(
            "INSERT INTO answers(book, utc_ms, record, english, japanese, mode, outcome, seconds)"
            " VALUES (?, ?, ?, ?, ?, ?, ?, ?)")) &&
        storeMemory_->prepare(QStringLiteral(
            "INSERT OR REPLACE INTO memory(book, mode, record, english, japanese, stability,"
            " difficulty, last_utc_ms, answers, rights) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    if (!ok)
        *reason = reasonFor(insertAnswer_->lastError().isValid() ? insertAnswer_->lastError()
                                                                 : storeMemory_->lastError());
    return ok;
}

void StudyLog::close() {
    insertAnswer_.reset();
    storeMemory_.reset();
    open_ = false;
    if (QSqlDatabase::contains(connection_)) {
        QSqlDatabase::database(connection_, false).close();
        QSqlDatabase::removeDatabase(connection_);
    }
}

bool StudyLog::putAside(QString* newName) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString name = QStringLiteral("study-damaged-%1.sqlite").arg(stamp);
    for (int n = 2; QFileInfo::exists(QDir(folder_).filePath(name)); ++n)
        name = QStringLiteral("study-damaged-%1-%2.sqlite").arg(stamp).arg(n);
    const QString target = QDir(folder_).filePath(name);
    if (!QFile::rename(path_, target))
        return false;
    // The journal belongs to the damaged file: a new database must not replay it.
    for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")}) {
        if (QFileInfo::exists(path_ + suffix))
            QFile::rename(path_ + suffix, target + suffix);
    }
    *newName = name;
    return true;
}

void StudyLog::fail(const QString& reason) {
    Q_EMIT failed(QStringLiteral("学習記録 %1 を使えません。%2\n"
                                 "ドリルはこれまでどおり使えますが、解答は記録されません。")
                      .arg(QDir::toNativeSeparators(path_), reason),
                  false);
}

void StudyLog::failWrite(const QString& reason) {
    close();
    Q_EMIT failed(QStringLiteral("学習記録 %1 に書き込めません。%2\n"
                                 "ドリルはこれまでどおり使えますが、この後の解答は記録されません。")
                      .arg(QDir::toNativeSeparators(path_), reason),
                  true);
}

qint64 StudyLog::createBook() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    if (!db.transaction())
        return 0;
    query.prepare(QStringLiteral("INSERT INTO books(started_utc_ms) VALUES (?)"));
    query.addBindValue(QDateTime::currentMSecsSinceEpoch());
    if (!query.exec()) {
        db.rollback();
        return 0;
    }
    const qint64 book = query.lastInsertId().toLongLong();
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO book_in_use(only, book) VALUES (1, ?)"));
    query.addBindValue(book);
    if (!query.exec() || !db.commit()) {
        db.rollback();
        return 0;
    }
    return book;
}

bool StudyLog::useBook(qint64 book) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery query(db);
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO book_in_use(only, book) VALUES (1, ?)"));
    query.addBindValue(book);
    if (!query.exec())
        return false;
    book_ = book;
    return loadStates();
}

bool StudyLog::loadStates() {
    states_.clear();
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT mode, record, english, japanese, stability, difficulty,"
                                 " last_utc_ms, answers, rights FROM memory WHERE book = ?"));
    query.addBindValue(book_);
    if (!query.exec())
        return false;
    while (query.next()) {
        WordMemory memory;
        memory.state = {query.value(4).toDouble(), query.value(5).toDouble()};
        memory.lastUtcMs = query.value(6).toLongLong();
        memory.answers = query.value(7).toInt();
        memory.rights = query.value(8).toInt();
        states_.set({query.value(1).toInt(), query.value(2).toString(), query.value(3).toString()},
                    query.value(0).toInt(), memory);
    }
    return true;
}

bool StudyLog::record(const Answer& answer) {
    if (!open_)
        return false;
    const WordMemory* before = states_.find(answer.word, answer.mode);
    const WordMemory after = (before ? *before : WordMemory{}).after(answer);
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) {
        failWrite(reasonFor(db.lastError()));
        return false;
    }
    QSqlQuery& insert = *insertAnswer_;
    insert.bindValue(0, book_);
    insert.bindValue(1, answer.utcMs);
    insert.bindValue(2, answer.word.record);
    insert.bindValue(3, answer.word.english);
    insert.bindValue(4, answer.word.japanese);
    insert.bindValue(5, answer.mode);
    insert.bindValue(6, static_cast<int>(answer.outcome));
    insert.bindValue(7, answer.seconds);
    QSqlQuery& store = *storeMemory_;
    store.bindValue(0, book_);
    store.bindValue(1, answer.mode);
    store.bindValue(2, answer.word.record);
    store.bindValue(3, answer.word.english);
    store.bindValue(4, answer.word.japanese);
    store.bindValue(5, after.state.stability);
    store.bindValue(6, after.state.difficulty);
    store.bindValue(7, after.lastUtcMs);
    store.bindValue(8, after.answers);
    store.bindValue(9, after.rights);
    if (!insert.exec() || !store.exec() || !db.commit()) {
        const QSqlError error = insert.lastError().isValid()  ? insert.lastError()
                                : store.lastError().isValid() ? store.lastError()
                                                              : db.lastError();
        db.rollback();
        failWrite(reasonFor(error));
        return false;
    }
    states_.set(answer.word, answer.mode, after);
    // A safety net for a caller that never checkpoints: the journal stays a few megabytes.
    if (++sinceCheckpoint_ >= kMostAnswersBetweenCheckpoints)
        checkpoint();
    return true;
}

QList<Answer> StudyLog::answers(int mode) const {
    QList<Answer> all;
    if (!open_)
        return all;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT utc_ms, record, english, japanese, mode, outcome, seconds"
                       " FROM answers WHERE book = ? AND (? < 0 OR mode = ?) ORDER BY id"));
    query.addBindValue(book_);
    query.addBindValue(mode);
    query.addBindValue(mode);
    if (!query.exec())
        return all;
    while (query.next()) {
        all.append({query.value(0).toLongLong(),
                    {query.value(1).toInt(), query.value(2).toString(), query.value(3).toString()},
                    query.value(4).toInt(),
                    static_cast<Outcome>(std::clamp(query.value(5).toInt(), 0, 3)),
                    query.value(6).toDouble()});
    }
    return all;
}

void StudyLog::checkpoint() {
    if (!open_)
        return;
    sinceCheckpoint_ = 0;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
}

void StudyLog::startNewBook() {
    if (!open_)
        return;
    const qint64 book = createBook();
    if (book == 0) {
        failWrite(reasonFor(QSqlDatabase::database(connection_, false).lastError()));
        return;
    }
    book_ = book;
    states_.clear();
}

void StudyLog::rememberBackup(QByteArrayView bookBytes) {
    if (!open_)
        return;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    query.prepare(QStringLiteral("INSERT OR REPLACE INTO backups(sha256, book) VALUES (?, ?)"));
    query.addBindValue(digest(bookBytes));
    query.addBindValue(book_);
    if (!query.exec())
        failWrite(reasonFor(query.lastError()));
}

void StudyLog::restoreBackup(QByteArrayView bookBytes) {
    if (!open_)
        return;
    qint64 book = 0;
    {
        QSqlQuery query(QSqlDatabase::database(connection_, false));
        query.prepare(QStringLiteral("SELECT book FROM backups WHERE sha256 = ?"));
        query.addBindValue(digest(bookBytes));
        if (query.exec() && query.next())
            book = query.value(0).toLongLong();
    }
    if (book == 0) {
        startNewBook();
        return;
    }
    if (!useBook(book))
        failWrite(reasonFor(QSqlDatabase::database(connection_, false).lastError()));
}

} // namespace memory
