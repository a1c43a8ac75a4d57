#include "drill_engine.h"
#include "result_text.h"

#include "book/learning.h"

namespace drill {

void DrillEngine::fallOut(int drop) {
    // A fall-out books nothing: the word just leaves this drill. Only a word still held
    // fell out unanswered; a missed one was told as missed.
    if (s_.drops[drop].holdsWord)
        tellAnswer(drop, AnswerOutcome::FellOut);
    releaseWord(drop);
    s_.answerBox.text.clear();
    replaceDepartedWord(drop, Departure::FellOut);

    // Reading and writing: every drop can be picked again, the one being answered too.
    if (!isListening())
        for (Drop& each : s_.drops)
            each.selectable = true;
    fillBox(pickList());
}

void DrillEngine::recordDrillEnd() {
    s_.lastTickTime = clock_.secondsSinceMidnight();
    s_.elapsed = secondsBetween(s_.startTime, s_.lastTickTime);
    s_.timerOn = false;

    if (s_.review && s_.rightAnswers + s_.misses == 0) {
        // A review in which nothing was answered practised nothing: it is not booked.
        s_.memorisedTotalAtEnd =
            wordFile_.read(book::trailerRecord(s_.eofRecord, book::Trailer::MemorisedTotal))
                .modeCount[s_.mode];
    } else {
        // A review played no class, so no class header counts a play.
        const int classHeader = s_.review ? 0 : s_.classFirstRecord - 1;
        const book::DrillEndBooking booking =
            book::bookDrillEnd(wordFile_, s_.eofRecord, classHeader, s_.mode, s_.elapsed);
        checkWrite(booking.status);
        s_.memorisedTotalAtEnd = booking.memorisedTotal;
    }

    for (const QString& line :
         summaryLines(s_.newlyForgotten, s_.newlyMemorised, s_.memorisedTotalAtEnd, s_.mode))
        writeResultLine(line);
    if (result_)
        result_->close();
}

void DrillEngine::endDrill() {
    if (!s_.running)
        return;
    stop();
    Q_EMIT changed();
}

void DrillEngine::stop() {
    recordDrillEnd();
    s_.running = false;
    s_.answerBox.clear();
    s_.timerOn = false;
    for (Drop& drop : s_.drops)
        drop.caption = kStoppedCaption;
    Q_EMIT ended();
}

} // namespace drill
