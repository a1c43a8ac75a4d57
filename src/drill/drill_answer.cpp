#include "drill_engine.h"

namespace drill {

void DrillEngine::selectEntry(const QString& text) {
    s_.cmbInputField.text = text;
    handleSelection();
}

void DrillEngine::handleSelection() {
    if (!s_.running)
        return;
    const QString& text = s_.cmbInputField.text; // read afresh at every comparison

    const int answered = s_.selectedDrop;
    if (answered < kDropCount && s_.lblDropWord[answered].top >= kPickableTop &&
        !s_.dropSelectable[answered]) {
        const QString caption = s_.lblDropWord[answered].caption;
        if ((caption == kFullWidthMark && text == kUnknownEntry) ||
            text != s_.dropAnswer[answered]) {
            answerMissed(answered);
        } else if (caption == kFullWidthMark || caption == kAsciiMark) {
            answerRight(answered);
            placeAboveField(answered);
            bringInDrop();
            s_.dropSelectable[answered] = true;
        }
        if (isListening())
            s_.speakReady = true;
        fillBox(pickList());
    }

    for (s_.selectedDrop = 0; s_.selectedDrop < kDropCount; ++s_.selectedDrop) {
        const int i = s_.selectedDrop;
        const DropLabel& label = s_.lblDropWord[i];
        if (label.top < kPickableTop || isListening())
            continue;
        const QString& mark = isReading() ? kFullWidthMark : kAsciiMark;
        // A missed drop shows its translation and has let go of its word, which another
        // drop may hold by now: it is not picked again, whatever the text selected.
        if (label.caption != mark && text == label.caption && s_.dropSelectable[i] &&
            s_.dropHoldsWord[i]) {
            pickDrop(i);
            fillBox(translationList());
            s_.dropSelectable[i] = false;
            return;
        }
    }
}

void DrillEngine::pickDrop(int drop) {
    DropLabel& label = s_.lblDropWord[drop];
    if (isReading() && label.caption != kFullWidthMark) {
        if (host_.voiceOn())
            speaker_.speak(s_.cmbInputField.text);
        s_.dropShownWord[drop] = label.caption;
        label.caption = kFullWidthMark;
        s_.dropSelectable[drop] = false;
        s_.cmbInputField.requestIme(imeByMenu(host_.inputMode()));
    } else if (isWriting() && label.caption != kAsciiMark) {
        s_.dropShownWord[drop] = label.caption;
        label.caption = kAsciiMark;
        s_.dropSelectable[drop] = false;
        s_.cmbInputField.requestIme(imeLatinIfKana(host_.inputMode()));
    }
}

} // namespace drill
