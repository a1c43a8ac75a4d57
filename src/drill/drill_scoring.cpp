#include "drill_engine.h"
#include "result_text.h"

#include "book/learning.h"

namespace drill {

void DrillEngine::answerRight(int drop) {
    releaseWord(drop);
    const book::AnswerBooking booking =
        book::bookCorrectAnswer(wordFile_, s_.eofRecord, s_.dropRecord[drop].toInt(), s_.mode);
    checkWrite(booking.status);
    ++s_.drillRightCount;

    const QString shown = isListening() ? s_.dropSpeech[drop] : s_.dropShownWord[drop];
    if (booking.changedState) {
        ++s_.drillMemoryCount;
        s_.txtTotalMemoryCnt = book::saturatedCounter(s_.txtTotalMemoryCnt + 1LL);
        writeResultLine(answerLine(AnswerMark::NewlyMemorised, shown, s_.dropAnswer[drop]));
    } else {
        writeResultLine(answerLine(AnswerMark::Plain, shown, s_.dropAnswer[drop]));
    }
    if (isWriting() && host_.voiceOn())
        speaker_.speak(s_.cmbInputField.text);

    replaceDepartedWord(drop, Departure::Answered);
}

void DrillEngine::answerMissed(int drop) {
    // The missed word may be drawn again for another drop while this one still shows it.
    releaseWord(drop);
    const book::AnswerBooking booking =
        book::bookMiss(wordFile_, s_.eofRecord, s_.dropRecord[drop].toInt(), s_.mode);
    checkWrite(booking.status);
    ++s_.drillMissCount;

    const QString shown = isListening() ? s_.dropSpeech[drop] : s_.dropShownWord[drop];
    if (booking.changedState) {
        ++s_.drillForgetCount;
        s_.txtTotalMemoryCnt = book::saturatedCounter(s_.txtTotalMemoryCnt - 1LL);
        writeResultLine(answerLine(AnswerMark::NewlyForgotten, shown, s_.dropAnswer[drop]));
    } else {
        writeResultLine(answerLine(AnswerMark::Plain, shown, s_.dropAnswer[drop]));
    }
    if (isWriting() && host_.voiceOn())
        speaker_.speak(s_.dropAnswer[drop]);

    DropLabel& label = s_.lblDropWord[drop];
    if (isReading()) {
        label.caption = s_.dropAnswer[drop];
        s_.cmbInputField.requestIme(imeByMenu(host_.inputMode()));
    } else if (isWriting()) {
        label.caption = s_.dropAnswer[drop];
        s_.cmbInputField.requestIme(imeLatinIfKana(host_.inputMode()));
    } else if (label.caption == kFullWidthMark && label.top > kPickableTop &&
               !s_.dropUnspoken[drop]) {
        label.caption = s_.dropAnswer[drop];
    }
}

} // namespace drill
