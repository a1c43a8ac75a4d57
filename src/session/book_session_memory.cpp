// The session's part in the answer log: every answer of every drill goes in, and the
// memory model's view of the book comes out.
#include "book_session.h"

namespace session {

namespace {

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

void BookSession::logAnswer(const drill::WordAnswer& answer) {
    studyLog_.record({calendar_.localNow().toMSecsSinceEpoch(),
                      {answer.record, answer.english, answer.japanese},
                      answer.mode,
                      outcomeOf(answer.outcome),
                      answer.seconds});
}

void BookSession::tellStudyLogFailure(const QString& text, bool writing) {
    Q_EMIT failed({writing ? kFileWriteError : kFileOpenError, text});
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

} // namespace session
