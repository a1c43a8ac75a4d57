#pragma once

#include "backups.h"
#include "calendar.h"
#include "class_rename.h"
#include "grade_view.h"
#include "program_folder.h"
#include "progress_numbers.h"
#include "search_view.h"
#include "session_host.h"
#include "word_edit.h"
#include "word_list_view.h"

#include "book/book.h"
#include "book/settings.h"
#include "drill/drill_engine.h"

#include <QBuffer>

#include <array>
#include <memory>
#include <optional>

namespace session {

// The one owner of the learner's word book: the program files, the loaded book's state
// (end record, title, classes, stored settings, memorised totals), the long-lived handle
// on Word.dat and the drill that works through it, and every command that reads, writes,
// replaces, resets or backs up the book. The windows map its state onto widgets.
class BookSession : private drill::DrillHost {
public:
    struct Ports {
        drill::RandomSource& random;
        drill::Clock& clock;
        drill::Speaker& speaker;
        SessionHost& host;
        const Calendar* calendar = nullptr; // null: the system's local time
    };
    BookSession(const QString& folder, Ports ports);
    ~BookSession() override;

    const ProgramFiles& files() const { return files_; }

    // Loads Word.dat afresh: end record, title, classes, stored settings and totals, and
    // the handle the drill works through. A file that is no word book is reported.
    void load() { loadBook(Tell::Problems); }
    const book::EndRecord& endRecord() const { return endRecord_; }
    int eofRecord() const { return endRecord_.record; }
    // Nothing is written to a file in which no end record was found.
    bool writable() const { return endRecord_.record > 0; }
    const QString& title() const { return title_; }
    const QStringList& classNames() const { return classNames_; }
    // The stored settings as the load found them.
    std::optional<int> storedSpeed() const { return storedSpeed_; }
    std::optional<bool> storedVoice() const { return storedVoice_; }
    // The stored input mode as the book holds it now.
    std::optional<book::InputMode> storedInputMode() const;
    const std::array<qint16, 3>& totalMemoryCount() const { return totalMemoryCount_; }
    int classFirstRecord() const { return classFirstRecord_; }

    void storeSpeed(int speed);
    void storeInputMode(book::InputMode mode);
    void storeVoice(bool on);

    // The views. The word list also makes its class the drill's class.
    WordListView wordList(const QString& className, int mode);
    QStringList gradeTable() const;
    SearchView search(const QString& text) const;
    // Writes the lines to display.txt; false, after reporting it, when that failed.
    bool writeDisplay(const QStringList& lines);

    // The drill of the loaded book; null while no book can be played.
    drill::DrillEngine* engine() { return engine_.get(); }
    const drill::DrillEngine* engine() const { return engine_.get(); }
    drill::StartResult startDrill(const QString& className, book::Mode mode);
    // The stop command's work on the book: the drill ends (Bottom) and its row goes into
    // history.tsv. A history that cannot be written is reported once, until it can be.
    void endDrill();

    // The progress view's numbers for the loaded book in `mode`, from the book and the
    // history.
    ProgressNumbers progress(book::Mode mode) const;

    // Whole-book commands. Each reports its own failures and leaves the old book whole
    // and loaded. Before replacing or resetting the book they copy it to the backup
    // folder, and do nothing when that copy fails. After a reset or a replacement the
    // book is closed until load() brings in the new one.
    bool resetLearningData();
    // Replaces Word.dat with a word book file (Open, a restore); refuses what is no book.
    bool replaceBook(const QString& source);
    bool restoreBackup(const QString& backupPath) { return replaceBook(backupPath); }
    QList<BackupInfo> backups() const { return backups_.list(); }
    // Saves a copy of the book, or of display.txt or result.txt, as `target`.
    bool saveBookAs(const QString& target);
    bool saveTextAs(const QString& source, const QString& target);
    // Saves bytes the window made (a chart as PNG) as `target`.
    bool saveImageAs(const QByteArray& bytes, const QString& target);

    // The word editor's work on the book.
    QStringList readClassNames() const;
    std::optional<book::WordRecord> recordToShow(const QString& className,
                                                 const QString& idText) const;
    std::optional<SearchHit> searchTranslation(const QString& english,
                                               const QString& japanese) const;
    // Why the update was refused, for the learner; empty when it was written (or when a
    // write failure was reported as such).
    QString updateWord(const QString& className, const QString& idText, const QString& english,
                       const QString& japanese);
    RenameResult renameClass(const QString& oldName, const QString& newName);

private:
    // drill::DrillHost, for the engine.
    void stopDrill() override { host_.stopDrill(); }
    bool voiceOn() const override { return host_.voiceOn(); }
    book::InputMode inputMode() const override { return host_.inputMode(); }
    void reportWriteFailure(const QString& path, const QString& systemText) override;

    void close();
    // After a failed replacement the old book comes back as it was; its problems were
    // told when it was first loaded.
    enum class Tell { Problems, Nothing };
    void loadBook(Tell tell);
    void reportLoadProblem(Tell tell, const Failure& failure);
    // The loaded book, or an empty one when none could be loaded.
    const book::RecordFile& records() const { return book_ ? *book_ : noBook_; }
    void storeSetting(book::Trailer record, book::SettingField field, const QString& value);
    void checkWrite(book::WriteStatus status);
    // The bytes of Word.dat (of a file far larger than any word book, as far as the book
    // reaches).
    std::optional<QByteArray> bookBytes(book::FileFailure* failure) const;
    // Copies the book's bytes to the backup folder; false, after telling the learner why,
    // when they could not be read or written.
    bool backUp(const std::optional<QByteArray>& bytes, const book::FileFailure& readFailure);
    bool saveBytes(const QString& source, const std::optional<QByteArray>& bytes,
                   const book::FileFailure& readFailure, const QString& target);
    static Failure openFailure(const QString& path, const QString& reason);
    void reportOpenFailure(const QString& path, const QString& reason);
    void tellWriteFailure(const QString& path, const book::FileFailure& failure);
    void appendHistory();

    ProgramFiles files_;
    drill::RandomSource& random_;
    drill::Clock& clock_;
    drill::Speaker& speaker_;
    SessionHost& host_;
    SystemCalendar systemCalendar_;
    const Calendar& calendar_;
    BackupFolder backups_;

    book::EndRecord endRecord_;
    QString title_;
    QStringList classNames_;
    std::optional<int> storedSpeed_;
    std::optional<bool> storedVoice_;
    std::array<qint16, 3> totalMemoryCount_{};
    int classFirstRecord_ = 0;
    QDateTime drillStartedAt_;
    bool historyFailureReported_ = false;
    mutable BookHistory history_; // what the progress view last read of history.tsv

    std::unique_ptr<book::RecordFile> book_;
    std::optional<book::FileFailure> readOnlyBecause_; // set when the book opened read-only
    std::unique_ptr<drill::DrillEngine> engine_;
    QBuffer noBookBuffer_;
    book::RecordFile noBook_{noBookBuffer_};
};

} // namespace session
