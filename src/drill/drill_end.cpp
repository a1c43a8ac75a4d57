#include "drill_engine.h"
#include "result_text.h"

#include "book/learning.h"

namespace drill {

void DrillEngine::fallOut(int drop) {
    // A fall-out books nothing: the word just leaves this drill.
    releaseWord(drop);
    s_.cmbInputField.text.clear();
    replaceDepartedWord(drop, Departure::FellOut);

    // Reading and writing: every drop can be picked again, the one being answered too.
    if (!isListening())
        s_.dropSelectable.fill(true);
    fillBox(pickList());
}

void DrillEngine::recordDrillEnd() {
    s_.lastTickTime = clock_.secondsSinceMidnight();
    s_.drillElapsed = secondsBetween(s_.drillStartTime, s_.lastTickTime);
    s_.timerOn = false;

    const book::DrillEndBooking booking = book::bookDrillEnd(
        wordFile_, s_.eofRecord, s_.classFirstRecord - 1, s_.mode, s_.drillElapsed);
    checkWrite(booking.status);
    s_.resultMemoryTotal = booking.memorisedTotal;

    for (const QString& line :
         summaryLines(s_.drillForgetCount, s_.drillMemoryCount, s_.resultMemoryTotal, s_.mode))
        writeResultLine(line);
    if (result_)
        result_->close();
}

void DrillEngine::endDrill() {
    if (!s_.running)
        return;
    recordDrillEnd();
    s_.running = false;
    s_.cmbInputField.clear();
    s_.timerOn = false;
    for (DropLabel& label : s_.lblDropWord)
        label.caption = kStoppedCaption;
}

} // namespace drill
