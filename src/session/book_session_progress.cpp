// The session's record of the learner's progress: a row in history.tsv for every
// finished drill, and the numbers of the progress view.
#include "book_session.h"

#include <cmath>

namespace session {

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
    const HistoryRow row{
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
    if (appendHistoryRow(files_.history, row, &failure)) {
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
    if (writable())
        numbers.studySeconds = records()
                                   .read(book::trailerRecord(eofRecord(), book::Trailer::StudyTime))
                                   .modeCount[mode];
    return numbers;
}

bool BookSession::saveImageAs(const QByteArray& bytes, const QString& target) {
    return saveBytes(QString(), bytes, {}, target);
}

} // namespace session
