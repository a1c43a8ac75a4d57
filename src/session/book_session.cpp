#include "book_session.h"

#include "dictionary_search.h"
#include "due_dates.h"
#include "folder/failure_text.h"

#include "book/book_lists.h"
#include "book/book_writer.h"
#include "book/cp932.h"
#include "book/list_writer.h"
#include "book/record_map.h"
#include "book/text_file.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

namespace session {

namespace {

QString native(const QString& path) { return QDir::toNativeSeparators(path); }

// Why a file is no word book at all, in the learner's words.
QString unusableBookReason(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("単語帳ファイルが見つかりません。");
    if (!info.isFile())
        return folder::failureText({book::FileFailure::Kind::NotRegular, {}}, path);
    if (info.size() == 0)
        return QStringLiteral("単語帳ファイルが空です。");
    return QStringLiteral("単語帳ファイルに終わりの印（EOF）が見つかりません。");
}

memory::Outcome outcomeOf(drill::AnswerOutcome outcome) {
    switch (outcome) {
    case drill::AnswerOutcome::Right:
        return memory::Outcome::Right;
    case drill::AnswerOutcome::Missed:
        return memory::Outcome::Missed;
    case drill::AnswerOutcome::Unknown:
        return memory::Outcome::Unknown;
    case drill::AnswerOutcome::FellOut:
        break;
    }
    return memory::Outcome::FellOut;
}

} // namespace

BookSession::BookSession(const QString& folder, Ports ports, QObject* parent)
    : QObject(parent), files_(folder::programFiles(folder)), random_(ports.random),
      clock_(ports.clock), speaker_(ports.speaker),
      calendar_(ports.calendar ? *ports.calendar : systemCalendar_), backups_(folder),
      studyLog_(folder), meanings_(std::move(ports.dictionaries)) {
    connect(&studyLog_, &memory::StudyLog::failed, this, &BookSession::tellStudyLogFailure);
}

BookSession::~BookSession() { close(); }

void BookSession::close() {
    // The drill works through the handle, so it goes first.
    engine_.reset();
    book_.reset();
}

void BookSession::load() {
    loadBook(Tell::Problems);
    const bool found = endRecord_.state != book::BookState::NoEndRecord;
    // A book that is not found keeps the speed and the voice as they are.
    if (found)
        applyStoredSettings();
    Q_EMIT bookLoaded();
    if (found) {
        Q_EMIT classesChanged(classNames_, classNames_.value(0));
        showMemorisedTotal(memorisedTotals_[book::Reading]);
    }
    Q_EMIT settingsChanged();
}

void BookSession::showMemorisedTotal(int total) {
    if (shownTotal_ == total)
        return;
    shownTotal_ = total;
    Q_EMIT memorisedTotalChanged(total);
}

void BookSession::loadBook(Tell tell) {
    close();
    // Opened with the first book: the log never decides whether the book can be used.
    if (!studyLogOpened_) {
        studyLogOpened_ = true;
        studyLog_.open();
    }
    endRecord_ = {};
    title_.clear();
    classNames_.clear();
    storedSpeed_.reset();
    storedVoice_.reset();
    memorisedTotals_ = {};

    auto handle = std::make_unique<book::RecordFile>(files_.wordBook);
    // A read-only book can still be played; its writes are reported as they fail, with
    // the reason the book could not be opened for writing.
    readOnlyBecause_.reset();
    if (!handle->open(book::RecordFile::Access::ReadWrite))
        readOnlyBecause_ = book::failureFromSystemText(handle->errorString());
    if (readOnlyBecause_ && !handle->open(book::RecordFile::Access::ReadOnly)) {
        const QFileInfo info(files_.wordBook);
        const QString reason =
            info.isFile() && info.size() > 0
                ? folder::failureText(book::failureFromSystemText(handle->errorString()),
                                      files_.wordBook)
                : unusableBookReason(files_.wordBook);
        reportLoadProblem(tell, openFailure(files_.wordBook, reason));
        Q_EMIT engineChanged(nullptr);
        return;
    }
    endRecord_ = book::findEndRecord(*handle);
    if (endRecord_.state == book::BookState::NoEndRecord) {
        reportLoadProblem(tell, openFailure(files_.wordBook, unusableBookReason(files_.wordBook)));
        Q_EMIT engineChanged(nullptr);
        return;
    }
    if (endRecord_.state == book::BookState::Obsolete)
        reportLoadProblem(tell, {folder::kFileOpenError, folder::obsoleteBookMessage()});

    const int eof = endRecord_.record;
    title_ = handle->read(book::trailerRecord(eof, book::Trailer::Title)).trimmed().english;
    classNames_ = book::listClasses(*handle, eof);
    storedSpeed_ = book::speedFromText(
        handle->read(book::trailerRecord(eof, book::Trailer::Speed)).trimmed().english);
    storedVoice_ = book::voiceFromText(
        handle->read(book::trailerRecord(eof, book::Trailer::Voice)).trimmed().japanese);
    memorisedTotals_ =
        handle->read(book::trailerRecord(eof, book::Trailer::MemorisedTotal)).modeCount;

    book_ = std::move(handle);
    engine_ = std::make_unique<drill::DrillEngine>(
        *book_, settings_, drill::DrillEngine::Ports{random_, clock_, speaker_});
    connect(engine_.get(), &drill::DrillEngine::ended, this, &BookSession::finishDrill);
    connect(engine_.get(), &drill::DrillEngine::writeFailed, this,
            &BookSession::reportWriteFailure);
    connect(engine_.get(), &drill::DrillEngine::answered, this, &BookSession::logAnswer);
    connect(engine_.get(), &drill::DrillEngine::changed, this, [this] {
        // The drill's own count, while it runs; its end shows it once more.
        if (engine_->state().running)
            showMemorisedTotal(engine_->state().shownMemorisedTotal);
    });
    Q_EMIT engineChanged(engine_.get());
}

std::optional<book::InputMode> BookSession::storedInputMode() const {
    if (!writable())
        return std::nullopt;
    return book::inputModeFromText(
        records()
            .read(book::trailerRecord(eofRecord(), book::Trailer::InputMode))
            .trimmed()
            .english);
}

void BookSession::setSpeed(int speed) {
    storeSetting(book::Trailer::Speed, book::SettingField::English,
                 QLatin1StringView(book::kSpeeds[speed].storedText));
    speed_ = speed;
    settings_.dropSpeed = book::kSpeeds[speed].dropSpeed;
    Q_EMIT settingsChanged();
}

void BookSession::setInputMode(book::InputMode mode) {
    settings_.inputMode = mode;
    storeSetting(book::Trailer::InputMode, book::SettingField::English, book::storedText(mode));
    Q_EMIT settingsChanged();
}

void BookSession::setVoiceOn(bool on) {
    settings_.voiceOn = on;
    storeSetting(book::Trailer::Voice, book::SettingField::Japanese, book::storedVoiceText(on));
    Q_EMIT settingsChanged();
}

void BookSession::applyStoredSettings() {
    if (storedSpeed_)
        setSpeed(*storedSpeed_);
    if (storedVoice_)
        settings_.voiceOn = *storedVoice_;
}

void BookSession::setMode(book::Mode mode) {
    mode_ = mode;
    if (const auto stored = storedInputMode())
        settings_.inputMode = *stored;
    Q_EMIT settingsChanged();
    Q_EMIT modeChanged(mode);
}

void BookSession::storeSetting(book::Trailer record, book::SettingField field,
                               const QString& value) {
    if (!writable() || !book_)
        return;
    checkWrite(book::writeSetting(*book_, book::trailerRecord(eofRecord(), record), field, value));
}

void BookSession::checkWrite(book::WriteStatus status) {
    if (status != book::WriteStatus::Ok)
        reportWriteFailure(files_.wordBook, book_ ? book_->errorString() : QString());
}

std::optional<int> BookSession::bookClass(ClassChoice choice) const {
    if (choice.kind != ClassChoice::Kind::Class || !choice.classIndex || *choice.classIndex < 0 ||
        *choice.classIndex >= classNames_.size())
        return std::nullopt;
    return choice.classIndex;
}

views::ClassListing BookSession::classListing(ClassChoice choice, book::Mode mode) {
    if (choice.kind == ClassChoice::Kind::WeakWords) {
        readMemorisedTotals();
        showMemorisedTotal(memorisedTotals_[mode]);
        return views::buildReviewListing(records(), eofRecord(), weakWords(mode), mode);
    }
    if (choice.kind == ClassChoice::Kind::DueWords) {
        readMemorisedTotals();
        showMemorisedTotal(memorisedTotals_[mode]);
        return dueListing(mode);
    }
    const std::optional<int> classIndex = bookClass(choice);
    if (classIndex)
        classFirstRecord_ = book::firstWordRecord(*classIndex);
    views::ClassListing view =
        views::buildClassListing(records(), classFirstRecord_, classIndex, mode,
                                 classIndex ? nextReviews(*classIndex, mode) : QStringList());
    readMemorisedTotals();
    if (classIndex)
        showMemorisedTotal(memorisedTotals_[mode]);
    if (engine_)
        engine_->setClass(classFirstRecord_);
    return view;
}

void BookSession::readMemorisedTotals() {
    if (writable())
        memorisedTotals_ =
            records()
                .read(book::trailerRecord(eofRecord(), book::Trailer::MemorisedTotal))
                .modeCount;
}

views::WeakWords BookSession::weakWords(book::Mode mode) const {
    return views::findWeakWords(records(), eofRecord(), mode);
}

QStringList BookSession::gradeTable() const {
    return views::gradeTableLines(records(), eofRecord());
}

views::SearchView BookSession::search(const QString& text) {
    views::SearchView view = views::buildSearchView(records(), eofRecord(), text);
    if (view.hits == 0 && !text.isEmpty())
        addDictionaryMeanings(view, meanings_.proposer(), text);
    return view;
}

bool BookSession::writeDisplay(const QStringList& lines) {
    if (book::writeTextFile(files_.display, lines))
        return true;
    reportWriteFailure(files_.display, QString());
    return false;
}

drill::StartResult BookSession::startDrill(ClassChoice choice, book::Mode mode) {
    if (!engine_)
        return drill::StartResult::NoClassFound;
    const std::optional<int> classIndex = bookClass(choice);
    drill::DrillSetup setup{classIndex ? classNames_[*classIndex] : QString(), classIndex, mode,
                            eofRecord(), files_.result};
    if (choice.kind == ClassChoice::Kind::WeakWords) {
        setup.className = views::kWeakWordsEntry;
        setup.reviewWords = weakWords(mode).records();
    } else if (choice.kind == ClassChoice::Kind::DueWords) {
        setup.className = views::kDueWordsEntry;
        setup.reviewWords = dueWords(mode).records();
    }
    const drill::StartResult result = engine_->start(setup);
    if (result == drill::StartResult::Started) {
        if (!engine_->state().review)
            classFirstRecord_ = engine_->state().classFirstRecord;
        else
            reviewEntry_ = setup.className;
        drillStartedAt_ = calendar_.localNow();
    }
    return result;
}

std::optional<QByteArray> BookSession::bookBytes(book::FileFailure* failure) const {
    // A book is copied byte for byte, whatever follows its records; only a file far
    // larger than any word book is cut where the book ends.
    const qint64 reach = writable() ? qint64(eofRecord() + book::kTrailerRecords) * book::kSlotSize
                                    : book::kMaxBookBytes;
    const bool oversized = QFileInfo(files_.wordBook).size() > kMaxFileBytes;
    return book::readFileStart(files_.wordBook, oversized ? reach : kMaxFileBytes, failure);
}

bool BookSession::backUp(const std::optional<QByteArray>& bytes,
                         const book::FileFailure& readFailure) {
    book::FileFailure failure = readFailure;
    QString target = backups_.path();
    if (bytes && backups_.add(*bytes, calendar_.localNow(), &failure, &target)) {
        studyLog_.rememberBackup(*bytes);
        return true;
    }
    Q_EMIT failed(
        {folder::kFileWriteError, QStringLiteral("単語帳のバックアップを作成できなかったため、"
                                                 "処理を中止しました。\r\n%1\r\n%2")
                                      .arg(native(target), folder::failureText(failure, target))});
    return false;
}

bool BookSession::resetLearningData() {
    if (!writable() || !book_)
        return false;
    if (!book_->stillAtPath()) {
        reportWriteFailure(files_.wordBook, book_->errorString());
        return false;
    }
    book::FileFailure failure;
    std::optional<QByteArray> bytes = bookBytes(&failure);
    if (!bytes) {
        tellWriteFailure(files_.wordBook, failure);
        return false;
    }
    if (!backUp(bytes, failure))
        return false;
    // The reset is built in memory and replaces the book in one step, so that an
    // interruption leaves either the old book or the fully reset one.
    {
        QBuffer buffer(&*bytes);
        buffer.open(QIODevice::ReadWrite);
        book::RecordFile scratch(buffer);
        if (book::resetLearningData(scratch, eofRecord()) != book::WriteStatus::Ok) {
            reportWriteFailure(files_.wordBook, QString());
            return false;
        }
    }
    close();
    if (book::writeWholeFile(files_.wordBook, *bytes, &failure)) {
        studyLog_.startNewBook(); // the reset book's memory is forgotten
        load();
        return true;
    }
    tellWriteFailure(files_.wordBook, failure);
    loadBook(Tell::Nothing);
    return false;
}

FileToOpen BookSession::prepareOpen(const QString& path) {
    FileToOpen file = readFileToOpen(
        path, [this]() -> const dictionary::MeaningProposer& { return meanings_.proposer(); });
    if (file.kind == FileToOpen::Kind::Refused)
        Q_EMIT failed(file.refusal);
    return file;
}

bool BookSession::commitOpen(const FileToOpen& file, const QString& title) {
    switch (file.kind) {
    case FileToOpen::Kind::Refused:
        return false;
    case FileToOpen::Kind::Book:
        return replaceBookWith(file.path, file.bookBytes);
    case FileToOpen::Kind::WordList:
        // Its meanings are not chosen yet: the content is not the book's.
        if (!file.list.toChoose.isEmpty())
            return false;
        break;
    }
    if (const QString why = listTitleProblem(title); !why.isEmpty()) {
        Q_EMIT failed({folder::kFileOpenError, why});
        return false;
    }
    book::BookContent content = file.list.content;
    content.title = book::trimBlanks(title);
    // Every text of an accepted list and the title were checked against their slots.
    const std::optional<QByteArray> bytes = book::bookFileBytes(content);
    if (!bytes) {
        Q_EMIT failed({folder::kFileOpenError, listRefusalText(file.list)});
        return false;
    }
    return replaceBookWith(file.path, *bytes);
}

bool BookSession::restoreBackup(const QString& backupPath) {
    if (!backups_.holds(backupPath)) {
        reportOpenFailure(
            backupPath, QStringLiteral("バックアップフォルダの中の通常のファイルではありません。"));
        return false;
    }
    return replaceBook(backupPath);
}

bool BookSession::replaceBookWith(const QString& source, const QByteArray& bytes) {
    book::FileFailure failure;
    // Nothing to keep when there is no book file at all.
    if (QFileInfo::exists(files_.wordBook)) {
        book::FileFailure readFailure;
        const std::optional<QByteArray> current = bookBytes(&readFailure);
        if (!current) {
            tellWriteFailure(files_.wordBook, readFailure);
            return false;
        }
        if (!backUp(current, readFailure))
            return false;
    }
    close();
    if (book::writeWholeFile(files_.wordBook, bytes, &failure)) {
        // A copy from the backup folder brings back the memory it was taken with; any other
        // book starts without one.
        if (backups_.holds(source))
            studyLog_.restoreBackup(bytes);
        else
            studyLog_.startNewBook();
        load();
        return true;
    }
    Q_EMIT failed({folder::kFileOpenError,
                   QStringLiteral("%1\r\nを開けませんでした。\r\n%2")
                       .arg(native(source), folder::failureText(failure, files_.wordBook))});
    // The old book is still whole and stays in use.
    loadBook(Tell::Nothing);
    return false;
}

bool BookSession::saveBookAs(const QString& target) {
    // Saving looks at records 1 to 1240 only; an obsolete book is saved all the same.
    const book::EndRecord end = book::findEndRecord(records());
    if (end.state == book::BookState::Obsolete && end.record < book::kEndSearchLimit)
        Q_EMIT failed({folder::kFileOpenError, folder::obsoleteBookMessage()});
    book::FileFailure failure;
    const std::optional<QByteArray> bytes = bookBytes(&failure);
    return saveBytes(files_.wordBook, bytes, failure, target);
}

bool BookSession::saveTextAs(const QString& source, const QString& target) {
    book::FileFailure failure;
    const std::optional<QByteArray> bytes = book::readWholeFile(source, kMaxFileBytes, &failure);
    return saveBytes(source, bytes, failure, target);
}

bool BookSession::saveBytes(const QString& source, const std::optional<QByteArray>& bytes,
                            const book::FileFailure& readFailure, const QString& target) {
    QString reason;
    book::FileFailure failure;
    if (!bytes)
        reason = readFailure.kind == book::FileFailure::Kind::NotFound
                     ? QStringLiteral("保存する内容がありません。")
                     : folder::failureText(readFailure, source);
    else if (book::writeWholeFile(target, *bytes, &failure))
        return true;
    else
        reason = folder::failureText(failure, target);
    tellSaveFailure(target, reason);
    return false;
}

void BookSession::tellSaveFailure(const QString& target, const QString& reason) {
    Q_EMIT failed(
        {folder::kFileWriteError,
         QStringLiteral("%1\r\nに保存できませんでした。\r\n%2").arg(native(target), reason)});
}

QStringList BookSession::readClassNames() const {
    // The handle is the loaded book, whose end record is known.
    return book::listClasses(records(), eofRecord());
}

std::optional<book::WordRecord> BookSession::recordToShow(const QString& className,
                                                          const QString& idText) const {
    return editing::recordToShow(records(), className, idText);
}

std::optional<editing::SearchHit> BookSession::searchTranslation(const QString& english,
                                                                 const QString& japanese) const {
    return editing::searchTranslation(records(), english, japanese);
}

QString BookSession::updateWord(const QString& className, const QString& idText,
                                const QString& english, const QString& japanese) {
    if (!book_)
        return QStringLiteral("指定した単語クラスが見つかりません。");
    const editing::WordUpdate update =
        editing::updateWord(*book_, className, idText, english, japanese);
    if (update.status == book::WriteStatus::IoError ||
        update.status == book::WriteStatus::NotAtPath) {
        checkWrite(update.status);
        return {};
    }
    return update.refusal;
}

editing::RenameResult BookSession::renameClass(const QString& oldName, const QString& newName) {
    if (!book_)
        return {QStringLiteral("指定した単語クラスが見つかりません。"), -1, {}};
    editing::RenameResult result = editing::renameClass(*book_, oldName, newName);
    if (result.shownClass >= 0) {
        classNames_ = result.classNames;
        Q_EMIT classesChanged(classNames_, classNames_.value(result.shownClass));
    }
    if (result.status == book::WriteStatus::IoError ||
        result.status == book::WriteStatus::NotAtPath) {
        checkWrite(result.status);
        result.refusal.clear();
    }
    return result;
}

folder::Failure BookSession::openFailure(const QString& path, const QString& reason) {
    return {folder::kFileOpenError, reason + QStringLiteral("\r\n") + native(path)};
}

void BookSession::reportOpenFailure(const QString& path, const QString& reason) {
    Q_EMIT failed(openFailure(path, reason));
}

void BookSession::reportLoadProblem(Tell tell, const folder::Failure& failure) {
    if (tell == Tell::Problems)
        Q_EMIT failed(failure);
}

void BookSession::reportWriteFailure(const QString& path, const QString& systemText) {
    book::FileFailure failure = book::failureFromSystemText(systemText);
    if (path == files_.wordBook && readOnlyBecause_)
        failure = *readOnlyBecause_;
    if (path == files_.wordBook && book_ && !book_->stillAtPath()) {
        Q_EMIT failed({folder::kFileWriteError,
                       QStringLiteral("%1\r\nに書き込めませんでした。\r\n単語帳ファイルが"
                                      "削除されたか、別のファイルに置き換えられました。")
                           .arg(native(path))});
        return;
    }
    tellWriteFailure(path, failure);
}

void BookSession::tellWriteFailure(const QString& path, const book::FileFailure& failure) {
    const QString reason =
        failure.kind == book::FileFailure::Kind::Other && failure.systemText.isEmpty()
            ? QStringLiteral("フォルダの書き込み権限とディスクの空き容量を確かめて下さい。")
            : folder::failureText(failure, path);
    Q_EMIT failed(
        {folder::kFileWriteError,
         QStringLiteral("%1\r\nに書き込めませんでした。\r\n%2").arg(native(path), reason)});
}

// The book saved as a word list.
bool BookSession::saveBookAsList(const QString& target) {
    if (endRecord_.state == book::BookState::Obsolete) {
        Q_EMIT failed({folder::kFileOpenError, folder::obsoleteBookMessage()});
        return false;
    }
    QString error;
    const std::optional<book::BookContent> content =
        writable() ? book::readBookContent(records(), &error) : std::nullopt;
    if (!content) {
        tellSaveFailure(target, QStringLiteral("保存する内容がありません。"));
        return false;
    }
    const QByteArray list = book::bookToCsv(*content);
    // A list that would not open as this book again is no copy of it.
    if (const book::Reason why = book::listReadBackProblem(*content, list); !why.isEmpty()) {
        tellSaveFailure(target, why.japanese);
        return false;
    }
    return saveBytes(files_.wordBook, list, {}, target);
}

// The learner's progress: a row in history.tsv for every finished drill, and the numbers
// of the progress view.
void BookSession::endDrill() {
    if (engine_)
        engine_->endDrill();
}

void BookSession::finishDrill() {
    appendHistory();
    studyLog_.checkpoint();
    showMemorisedTotal(engine_->state().shownMemorisedTotal);
    Q_EMIT historyChanged();
    Q_EMIT drillEnded();
}

void BookSession::appendHistory() {
    const drill::DrillState& s = engine_->state();
    const book::Mode mode = s.mode;
    // A review in which nothing was answered left the book as it was, and no trace here.
    if (s.review && s.rightAnswers + s.misses == 0)
        return;
    const int classIndex = book::classOfRecord(s.classFirstRecord);
    const folder::HistoryRow row{
        .start = drillStartedAt_,
        .bookTitle = title_,
        .className = s.review
                         ? reviewEntry_
                         : records().read(book::classHeaderRecord(classIndex)).trimmed().japanese,
        .mode = mode,
        // Rounded as the study time in the book is.
        .seconds = int(std::nearbyint(s.elapsed)),
        .right = s.rightAnswers,
        .misses = s.misses,
        // Over the drill's words: a class's 50, or a review's.
        .classMemorised = memorisedAmong(records(), s.words, mode),
        .bookMemorised = s.memorisedTotalAtEnd,
    };
    book::FileFailure failure;
    if (folder::appendHistoryRow(files_.history, row, &failure)) {
        historyFailureReported_ = false;
        return;
    }
    // The history is extra: one message is enough, and the drill's own files are fine.
    if (!historyFailureReported_)
        tellWriteFailure(files_.history, failure);
    historyFailureReported_ = true;
}

ProgressNumbers BookSession::progress(book::Mode mode) const {
    const QDate today = calendar_.localNow().date();
    history_.update(files_.history, title_,
                    writable() ? book::classCount(eofRecord()) * book::kWordsPerClass : 0, today);
    ProgressNumbers numbers;
    numbers.bookTitle = title_;
    numbers.mode = mode;
    numbers.classes = memorisedPerClass(records(), eofRecord(), mode);
    numbers.totals = history_.totals(mode);
    numbers.days = history_.studyTimePerDay(mode);
    numbers.weakWords = weakWords(mode).total;
    numbers.today = today;
    numbers.targetRetention = targetRetention_;
    const QList<memory::WordOutlook> words = wordOutlook(mode);
    numbers.dueNow = memory::selectDueWords(words, targetRetention_).dueNow;
    numbers.dueForecast = memory::dueForecast(words, calendar_.localNow());
    numbers.retention = retentionHistory(mode);
    if (writable())
        numbers.studySeconds = records()
                                   .read(book::trailerRecord(eofRecord(), book::Trailer::StudyTime))
                                   .modeCount[mode];
    return numbers;
}

bool BookSession::saveImageAs(const QByteArray& bytes, const QString& target) {
    return saveBytes(QString(), bytes, {}, target);
}

// The answer log: every answer of every drill goes in, and the memory model's view of the
// book comes out.
void BookSession::logAnswer(const drill::WordAnswer& answer) {
    studyLog_.record({calendar_.localNow().toMSecsSinceEpoch(),
                      {answer.record, answer.english, answer.japanese},
                      answer.mode,
                      outcomeOf(answer.outcome),
                      answer.seconds});
}

void BookSession::tellStudyLogFailure(const QString& text, bool writing) {
    Q_EMIT failed({writing ? folder::kFileWriteError : folder::kFileOpenError, text});
}

QList<memory::WordOutlook> BookSession::wordOutlook(book::Mode mode) const {
    return memory::outlook(memory::readStudyWords(records(), eofRecord(), mode), studyLog_.states(),
                           mode, calendar_.localNow(), targetRetention_);
}

memory::DueWords BookSession::dueWords(book::Mode mode) const {
    return memory::selectDueWords(wordOutlook(mode), targetRetention_);
}

QList<int> BookSession::dueForecast(book::Mode mode) const {
    return memory::dueForecast(wordOutlook(mode), calendar_.localNow());
}

QList<memory::RetentionPoint> BookSession::retentionHistory(book::Mode mode) const {
    return memory::retentionHistory(studyLog_.answers(mode), mode, calendar_.localNow());
}

void BookSession::setTargetRetention(double target) {
    targetRetention_ = target;
    Q_EMIT settingsChanged();
}

QStringList BookSession::nextReviews(int classIndex, book::Mode mode) const {
    // The outlook lists the book's words class by class.
    return nextReviewTexts(
        wordOutlook(mode).mid(qsizetype(classIndex) * book::kWordsPerClass, book::kWordsPerClass),
        calendar_.localNow().date());
}

views::ClassListing BookSession::dueListing(book::Mode mode) const {
    const memory::DueWords due = dueWords(mode);
    QList<views::DueWordRow> rows;
    rows.reserve(due.words.size());
    for (const memory::WordOutlook& word : due.words)
        rows.append({word.record, word.classIndex, word.recall});
    return views::buildDueListing(records(), eofRecord(), rows, due.dueNow,
                                  nextDueText(due, calendar_.localNow().date()), mode);
}

QString BookSession::tooFewDueWordsText(book::Mode mode) const {
    return session::tooFewDueWordsText(dueWords(mode), calendar_.localNow().date());
}

} // namespace session
