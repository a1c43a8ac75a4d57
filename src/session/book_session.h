#pragma once

#include "class_choice.h"
#include "editing/class_rename.h"
#include "editing/word_edit.h"
#include "file_to_open.h"
#include "folder/backups.h"
#include "folder/calendar.h"
#include "folder/failure_text.h"
#include "folder/program_folder.h"
#include "meaning_source.h"
#include "progress_numbers.h"
#include "views/class_listing.h"
#include "views/grade_view.h"
#include "views/search_view.h"
#include "views/weak_words.h"
#include "word_list_open.h"

#include "book/book.h"
#include "book/settings.h"
#include "drill/drill_engine.h"
#include "memory/due_words.h"
#include "memory/study_log.h"

#include <QBuffer>
#include <QObject>

#include <array>
#include <memory>
#include <optional>

namespace session {

// The one owner of the learner's word book: the program files, the loaded book's state
// (end record, title, classes, stored settings, memorised totals), the long-lived handle
// on Word.dat and the drill that works through it, the learner's settings, and every
// command that reads, writes, replaces, resets or backs up the book. Commands go in and
// signals come out: every view subscribes to what it shows and never asks after a command.
class BookSession : public QObject {
    Q_OBJECT

public:
    struct Ports {
        drill::RandomSource& random;
        drill::Clock& clock;
        drill::Speaker& speaker;
        const folder::Calendar* calendar = nullptr; // null: the system's local time
        MeaningSource::Loader dictionaries = {};    // empty: the installed dictionaries
    };
    BookSession(const QString& folder, Ports ports, QObject* parent = nullptr);
    ~BookSession() override;

    const folder::ProgramFiles& files() const { return files_; }

    // Loads Word.dat afresh: end record, title, classes, stored settings and totals, and
    // the handle the drill works through, and applies the book's speed (stored again) and
    // voice. A file that is no word book is reported. bookLoaded() and the rest follow.
    void load();
    const book::EndRecord& endRecord() const { return endRecord_; }
    int eofRecord() const { return endRecord_.record; }
    // Nothing is written to a file in which no end record was found.
    bool writable() const { return endRecord_.record > 0; }
    const QString& title() const { return title_; }
    const QStringList& classNames() const { return classNames_; }
    const std::array<qint16, 3>& memorisedTotals() const { return memorisedTotals_; }
    int classFirstRecord() const { return classFirstRecord_; }

    // The learner's settings: the window shows them, the drill reads them. They outlive
    // the books: speed 2, voice ON and hiragana until a book or the learner changes them.
    const drill::DrillSettings& settings() const { return settings_; }
    // The speed item (0 to 4) whose fall step the drill uses.
    int speed() const { return speed_; }
    // Each takes the choice at once and stores it in the book.
    void setSpeed(int speed);
    void setInputMode(book::InputMode mode);
    void setVoiceOn(bool on);
    // The drill mode chosen: the views and drills of the window follow it, and the input
    // mode goes back to what the book holds, if anything.
    book::Mode mode() const { return mode_; }
    void setMode(book::Mode mode);

    // The views. The word list of a class also makes it the drill's class; the review's
    // lists the weak words a review would drill.
    views::ClassListing classListing(ClassChoice choice, book::Mode mode);
    QStringList gradeTable() const;
    // A text the book has no word for shows the dictionaries' meanings, if any.
    views::SearchView search(const QString& text);
    // Writes the lines to display.txt; false, after reporting it, when that failed.
    bool writeDisplay(const QStringList& lines);

    // The drill of the loaded book; null while no book can be played.
    drill::DrillEngine* engine() { return engine_.get(); }
    const drill::DrillEngine* engine() const { return engine_.get(); }
    // Starts a drill of the chosen class, or a review of the mode's weak or due words.
    drill::StartResult startDrill(ClassChoice choice, book::Mode mode);
    // The weak words of the whole book in `mode`, as a review would drill them.
    views::WeakWords weakWords(book::Mode mode) const;
    // The answer log and what the memory model makes of it, for the book in use. The
    // target retention is the learner's setting (memory::kTargetRetentions).
    const memory::StudyLog& studyLog() const { return studyLog_; }
    double targetRetention() const { return targetRetention_; }
    void setTargetRetention(double target);
    // Every word of the book in `mode` as the model sees it now, in book order: predicted
    // recall and next due date.
    QList<memory::WordOutlook> wordOutlook(book::Mode mode) const;
    // The words the review of due words drills in `mode`, how many are due, and when the
    // next are.
    memory::DueWords dueWords(book::Mode mode) const;
    // Words falling due on each of the next 30 days, today first.
    QList<int> dueForecast(book::Mode mode) const;
    // The estimated retention of the learned words at the end of each day.
    QList<memory::RetentionPoint> retentionHistory(book::Mode mode) const;
    // Why the review of due words in `mode` does not start (too few words due).
    QString tooFewDueWordsText(book::Mode mode) const;
    // The stop command: the drill ends (drillEnded() follows). Its row goes into
    // history.tsv, as it does when the drill ends by itself; a history that cannot be
    // written is reported once, until it can be.
    void endDrill();

    // The progress view's numbers for the loaded book in `mode`, from the book and the
    // history.
    ProgressNumbers progress(book::Mode mode) const;

    // Whole-book commands. Each reports its own failures and leaves the old book whole
    // and loaded. Before replacing or resetting the book they copy it to the backup
    // folder, and do nothing when that copy fails. After a reset or a replacement the
    // new book is loaded, as load() loads it.
    bool resetLearningData();
    // Open, in two steps around the learner's question: reads and checks a chosen file,
    // whatever its format, telling a refusal; then replaces Word.dat with it (a list's
    // book under the confirmed `title`): backup, write, load.
    FileToOpen prepareOpen(const QString& path);
    bool commitOpen(const FileToOpen& file, const QString& title = {});
    // A word list without some meanings takes the dictionaries' proposals, which the
    // learner confirms or changes (withMeanings) before the commit.
    // Both steps at once, for a file that needs no question (a restore).
    bool replaceBook(const QString& source) { return commitOpen(prepareOpen(source)); }
    // Restores a book that backups() offered: only a regular file in the backup folder,
    // never one a link there leads to.
    bool restoreBackup(const QString& backupPath);
    QList<folder::BackupInfo> backups() const { return backups_.list(); }
    // The dictionaries' meanings for English words, loaded when first wanted.
    MeaningSource& meanings() { return meanings_; }
    // Saves the book's words as a list that spreadsheets open: UTF-8 CSV with a byte order
    // mark, CR LF and the header row class,english,japanese. Open reads it back.
    bool saveBookAsList(const QString& target);
    // Saves a copy of the book, or of display.txt or result.txt, as `target`.
    bool saveBookAs(const QString& target);
    bool saveTextAs(const QString& source, const QString& target);
    // Saves bytes the window made (a chart as PNG) as `target`.
    bool saveImageAs(const QByteArray& bytes, const QString& target);

    // The word editor's work on the book.
    QStringList readClassNames() const;
    std::optional<book::WordRecord> recordToShow(const QString& className,
                                                 const QString& idText) const;
    std::optional<editing::SearchHit> searchTranslation(const QString& english,
                                                        const QString& japanese) const;
    // Why the update was refused, for the learner; empty when it was written (or when a
    // write failure was reported as such).
    QString updateWord(const QString& className, const QString& idText, const QString& english,
                       const QString& japanese);
    editing::RenameResult renameClass(const QString& oldName, const QString& newName);

Q_SIGNALS:
    // Every failed open, read or write of the program's files, once.
    void failed(const folder::Failure& failure);
    // load() has read the book (or found none): its end record, title and totals are new.
    void bookLoaded();
    // The drill now works on this engine (null while no book can be played); the old one
    // is gone.
    void engineChanged(drill::DrillEngine* engine);
    // The book's class names were read afresh (a load, a rename); `shown` is the class the
    // class boxes show.
    void classesChanged(const QStringList& names, const QString& shown);
    // The speed, the voice, the input mode or the target retention changed.
    void settingsChanged();
    void modeChanged(book::Mode mode);
    // The memorised total the window shows: the book's in a mode, or the drill's.
    void memorisedTotalChanged(int total);
    // A drill's row went into history.tsv, and its answers into the book.
    void historyChanged();
    // A drill has ended, by the stop command or because its stock ran down; its result is
    // in result.txt and in the engine's state, its row in history.tsv.
    void drillEnded();

private:
    void applyStoredSettings();
    void showMemorisedTotal(int total);
    // What the word list of a class says of each word's next review.
    QStringList nextReviews(int classIndex, book::Mode mode) const;
    // The word list of 「今日の復習」 in `mode`.
    views::ClassListing dueListing(book::Mode mode) const;
    // The class of the book that the choice names, if it names one.
    std::optional<int> bookClass(ClassChoice choice) const;
    void finishDrill();
    void logAnswer(const drill::WordAnswer& answer);
    void tellStudyLogFailure(const QString& text, bool writing);
    void reportWriteFailure(const QString& path, const QString& systemText);
    std::optional<book::InputMode> storedInputMode() const;
    void close();
    // After a failed replacement the old book comes back as it was; its problems were
    // told when it was first loaded.
    enum class Tell { Problems, Nothing };
    void loadBook(Tell tell);
    void reportLoadProblem(Tell tell, const folder::Failure& failure);
    // The loaded book, or an empty one when none could be loaded.
    const book::RecordFile& records() const { return book_ ? *book_ : noBook_; }
    void storeSetting(book::Trailer record, book::SettingField field, const QString& value);
    // The book's memorised totals, as the word list and the drill show them.
    void readMemorisedTotals();
    void checkWrite(book::WriteStatus status);
    // The bytes of Word.dat (of a file far larger than any word book, as far as the book
    // reaches).
    std::optional<QByteArray> bookBytes(book::FileFailure* failure) const;
    // Copies the book's bytes to the backup folder; false, after telling the learner why,
    // when they could not be read or written.
    bool backUp(const std::optional<QByteArray>& bytes, const book::FileFailure& readFailure);
    bool saveBytes(const QString& source, const std::optional<QByteArray>& bytes,
                   const book::FileFailure& readFailure, const QString& target);
    void tellSaveFailure(const QString& target, const QString& reason);
    // Replaces Word.dat with the bytes of a book made or read from `source`: the old
    // book goes to the backup folder first; all or nothing.
    bool replaceBookWith(const QString& source, const QByteArray& bytes);
    static folder::Failure openFailure(const QString& path, const QString& reason);
    void reportOpenFailure(const QString& path, const QString& reason);
    void tellWriteFailure(const QString& path, const book::FileFailure& failure);
    void appendHistory();

    folder::ProgramFiles files_;
    drill::RandomSource& random_;
    drill::Clock& clock_;
    drill::Speaker& speaker_;
    folder::SystemCalendar systemCalendar_;
    const folder::Calendar& calendar_;
    folder::BackupFolder backups_;

    book::EndRecord endRecord_;
    QString title_;
    QStringList classNames_;
    std::optional<int> storedSpeed_;
    std::optional<bool> storedVoice_;
    drill::DrillSettings settings_;
    int speed_ = 1; // the index of settings_.dropSpeed in book::kSpeeds
    book::Mode mode_ = book::Reading;
    std::optional<int> shownTotal_; // the memorised total last announced
    std::array<qint16, 3> memorisedTotals_{};
    int classFirstRecord_ = 0;
    QDateTime drillStartedAt_;
    bool historyFailureReported_ = false;
    mutable BookHistory history_; // what the progress view last read of history.tsv

    memory::StudyLog studyLog_;
    bool studyLogOpened_ = false;
    double targetRetention_ = memory::kDefaultTargetRetention;
    QString reviewEntry_; // the class box's entry of the review being drilled

    std::unique_ptr<book::RecordFile> book_;
    std::optional<book::FileFailure> readOnlyBecause_; // set when the book opened read-only
    std::unique_ptr<drill::DrillEngine> engine_;
    QBuffer noBookBuffer_;
    book::RecordFile noBook_{noBookBuffer_};
    MeaningSource meanings_;
};

} // namespace session
