#include "drill_engine.h"
#include "result_text.h"

#include "book/learning.h"

namespace drill {

void DrillEngine::answerRight(int index) {
    releaseWord(index);
    const Drop& drop = s_.drops[index];
    const book::AnswerBooking booking =
        book::bookCorrectAnswer(wordFile_, s_.eofRecord, drop.word.recordNo, s_.mode);
    checkWrite(booking.status);
    ++s_.rightAnswers;
    tellAnswer(index, AnswerOutcome::Right);

    const QString& shown = isListening() ? drop.speech : drop.shownWord;
    if (booking.changedState) {
        ++s_.newlyMemorised;
        s_.shownMemorisedTotal = book::saturatedCounter(s_.shownMemorisedTotal + 1LL);
        writeResultLine(answerLine(AnswerMark::NewlyMemorised, shown, drop.answer));
    } else {
        writeResultLine(answerLine(AnswerMark::Plain, shown, drop.answer));
    }
    if (isWriting() && settings_.voiceOn)
        speaker_.speak(s_.answerBox.text);

    replaceDepartedWord(index, Departure::Answered);
}

void DrillEngine::answerMissed(int index) {
    // The missed word may be drawn again for another drop while this one still shows it.
    releaseWord(index);
    Drop& drop = s_.drops[index];
    const book::AnswerBooking booking =
        book::bookMiss(wordFile_, s_.eofRecord, drop.word.recordNo, s_.mode);
    checkWrite(booking.status);
    ++s_.misses;
    tellAnswer(index,
               s_.answerBox.text == kUnknownEntry ? AnswerOutcome::Unknown : AnswerOutcome::Missed);

    const QString& shown = isListening() ? drop.speech : drop.shownWord;
    if (booking.changedState) {
        ++s_.newlyForgotten;
        s_.shownMemorisedTotal = book::saturatedCounter(s_.shownMemorisedTotal - 1LL);
        writeResultLine(answerLine(AnswerMark::NewlyForgotten, shown, drop.answer));
    } else {
        writeResultLine(answerLine(AnswerMark::Plain, shown, drop.answer));
    }
    if (isWriting() && settings_.voiceOn)
        speaker_.speak(drop.answer);

    if (isReading()) {
        drop.caption = drop.answer;
        s_.answerBox.requestIme(imeByMenu(settings_.inputMode));
    } else if (isWriting()) {
        drop.caption = drop.answer;
        s_.answerBox.requestIme(imeLatinIfKana(settings_.inputMode));
    } else if (drop.caption == kFullWidthMark && drop.top > kPickableTop && !drop.unspoken) {
        drop.caption = drop.answer;
    }
}

} // namespace drill
