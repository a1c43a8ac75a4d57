#pragma once

#include "answer.h"
#include "memory_states.h"

#include <QByteArrayView>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class QSqlQuery;

namespace memory {

// The answer log, study.sqlite in the program folder: every answer of every drill (when,
// which word by record and texts, the mode, the outcome, the seconds it took) and the
// memory each word's answers have built, per book.
//
// A book is known by an identity of the log's own, never by anything in Word.dat: Open
// gives the new book a new identity, so it inherits no other book's memory; a reset of the
// learning data does the same, so the book's memory is forgotten; a backup remembers the
// identity of the book it copies, and restoring it brings that memory back (a copy the log
// never saw starts afresh). Nothing is ever deleted from the log.
//
// Writes go through one transaction per answer in WAL mode with synchronous=NORMAL: a
// commit is in the operating system's hands when it returns, so a killed program keeps
// every answer up to the last; only a crash of the machine itself may lose the last few,
// never the database. FULL would add a disk flush to every answer, milliseconds on the
// drill's thread for a guarantee against power loss that the book file does not give
// either.
//
// A log that cannot be used is told once through failed(); the program then drills without
// it. A damaged database is renamed aside (with its journal) and a new one started.
class StudyLog : public QObject {
    Q_OBJECT

public:
    explicit StudyLog(const QString& folder, QObject* parent = nullptr);
    ~StudyLog() override;

    QString path() const { return path_; }
    // Opens (or creates) the log and reads the memory of the book in use; false, after
    // failed(), when it cannot be used.
    bool open();
    bool isOpen() const { return open_; }

    // The memory of the book in use, kept up to date by record().
    const MemoryStates& states() const { return states_; }
    // Logs an answer to the book in use. A log that cannot be written is told once and
    // closed; the drill goes on without it.
    bool record(const Answer& answer);
    // Every answer to the book in use (in `mode` only, unless it is below 0), in the order
    // given.
    QList<Answer> answers(int mode = -1) const;
    // Moves the answers of the journal into the database; for the end of a drill, so that
    // no answer during one waits on the disk.
    void checkpoint();

    // The book in use was replaced by another (Open) or its learning data reset: from now
    // on it has no memory.
    void startNewBook();
    // A copy of the book in use went to the backup folder.
    void rememberBackup(QByteArrayView bookBytes);
    // A copy from the backup folder became the book in use.
    void restoreBackup(QByteArrayView bookBytes);

Q_SIGNALS:
    // The log cannot be used (or a damaged one was put aside): a text for the learner, and
    // whether it came from a write to a log that had opened.
    void failed(const QString& text, bool writing);

private:
    enum class Trouble { None, Damaged, Other };
    Trouble openDatabase(QString* reason);
    bool prepare(QString* reason);
    void close();
    bool putAside(QString* newName);
    void fail(const QString& reason);
    void failWrite(const QString& reason);
    bool loadStates();
    bool useBook(qint64 book);
    qint64 createBook();

    QString folder_;
    QString path_;
    QString connection_;
    bool open_ = false;
    qint64 book_ = 0;
    static constexpr int kMostAnswersBetweenCheckpoints = 1000;
    int sinceCheckpoint_ = 0;
    MemoryStates states_;
    std::unique_ptr<QSqlQuery> insertAnswer_;
    std::unique_ptr<QSqlQuery> storeMemory_;
};

} // namespace memory
