#include "drill_engine.h"

namespace drill {

void DrillEngine::selectEntry(const QString& text) {
    s_.answerBox.text = text;
    handleSelection();
    Q_EMIT changed();
}

void DrillEngine::handleSelection() {
    if (!s_.running)
        return;
    const QString& text = s_.answerBox.text; // read afresh at every comparison

    const int answered = s_.selectedDrop;
    if (answered < kDropCount && s_.drops[answered].top >= kPickableTop &&
        !s_.drops[answered].selectable) {
        const QString caption = s_.drops[answered].caption;
        if ((caption == kFullWidthMark && text == kUnknownEntry) ||
            text != s_.drops[answered].answer) {
            answerMissed(answered);
        } else if (caption == kFullWidthMark || caption == kAsciiMark) {
            answerRight(answered);
            placeAboveField(answered);
            bringInDrop();
            s_.drops[answered].selectable = true;
        }
        if (isListening())
            s_.speakReady = true;
        fillBox(pickList());
    }

    for (s_.selectedDrop = 0; s_.selectedDrop < kDropCount; ++s_.selectedDrop) {
        const int i = s_.selectedDrop;
        const Drop& drop = s_.drops[i];
        if (drop.top < kPickableTop || isListening())
            continue;
        const QString& mark = isReading() ? kFullWidthMark : kAsciiMark;
        // A missed drop shows its translation and has let go of its word, which another
        // drop may hold by now: it is not picked again, whatever the text selected.
        if (drop.caption != mark && text == drop.caption && drop.selectable && drop.holdsWord) {
            pickDrop(i);
            fillBox(translationList());
            s_.drops[i].selectable = false;
            return;
        }
    }
}

void DrillEngine::pickDrop(int index) {
    Drop& drop = s_.drops[index];
    if (isReading() && drop.caption != kFullWidthMark) {
        if (settings_.voiceOn)
            speaker_.speak(s_.answerBox.text);
        drop.shownWord = drop.caption;
        drop.caption = kFullWidthMark;
        drop.selectable = false;
        s_.answerBox.requestIme(imeByMenu(settings_.inputMode));
    } else if (isWriting() && drop.caption != kAsciiMark) {
        drop.shownWord = drop.caption;
        drop.caption = kAsciiMark;
        drop.selectable = false;
        s_.answerBox.requestIme(imeLatinIfKana(settings_.inputMode));
    }
}

} // namespace drill
