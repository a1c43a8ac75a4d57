#include "drill_engine.h"

#include <algorithm>

namespace drill {

void DrillEngine::tick(double dropSpeed) {
    if (!s_.timerOn)
        return;
    // One drop after the other: drop 0 has moved, and maybe been re-placed, before drop 1
    // moves. A fall-out that ends the drill does not cut the loop short.
    for (int i = 0; i < kDropCount; ++i) {
        DropLabel& label = s_.lblDropWord[i];
        label.top += 2 * dropSpeed;
        if (label.top > kBottomTop && label.enabled) {
            fallOut(i);
            placeAboveField(i);
            s_.dropSelectable[i] = true;
            s_.speakReady = true;
        }
    }
    const double now = clock_.secondsSinceMidnight();
    s_.lastTickTime = now;
    s_.drillElapsed = secondsBetween(s_.drillStartTime, now);
}

void DrillEngine::placeAboveField(int drop) {
    if (drop < 0 || drop >= kDropCount)
        return;
    DropLabel& label = s_.lblDropWord[drop];
    label.top = std::min(random_.next() * -5000 - 250, -500.0);
    label.left = kDropColumns[drop];
}

void DrillEngine::bringInDrop() {
    for (const DropLabel& label : s_.lblDropWord) {
        if (label.top >= kNearTop)
            return;
    }
    // Only drops 0, 2 and 4 are brought in, with equal chance.
    static constexpr std::array<int, 3> kBroughtIn{2, 4, 0};
    s_.lblDropWord[kBroughtIn[int(3 * random_.next())]].top = kNearTop;
}

void DrillEngine::announceNextWord() {
    if (!s_.running || !host_.voiceOn() || !isListening() || !s_.speakReady)
        return;
    // The lowest index wins, not the drop lowest on the screen.
    for (s_.selectedDrop = 0; s_.selectedDrop < kDropCount; ++s_.selectedDrop) {
        const int i = s_.selectedDrop;
        if (s_.lblDropWord[i].top > kPickableTop && s_.dropUnspoken[i]) {
            speaker_.speak(s_.dropSpeech[i]);
            s_.dropUnspoken[i] = false;
            s_.dropSelectable[i] = false;
            s_.speakReady = false;
            return;
        }
    }
}

} // namespace drill
