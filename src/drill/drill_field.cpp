#include "drill_engine.h"

#include <algorithm>

namespace drill {

void DrillEngine::tick() {
    fall();
    Q_EMIT changed();
}

void DrillEngine::fall() {
    if (!s_.timerOn)
        return;
    // One drop after the other: drop 0 has moved, and maybe been re-placed, before drop 1
    // moves. A fall-out that ends the drill does not cut the loop short.
    for (int i = 0; i < kDropCount; ++i) {
        Drop& drop = s_.drops[i];
        drop.top += 2 * settings_.dropSpeed;
        if (drop.top > kBottomTop && drop.enabled) {
            fallOut(i);
            placeAboveField(i);
            drop.selectable = true;
            s_.speakReady = true;
        }
    }
    const double now = clock_.secondsSinceMidnight();
    for (Drop& drop : s_.drops) {
        if (drop.holdsWord && drop.pickableSince < 0 && drop.top >= kPickableTop)
            drop.pickableSince = now;
    }
    s_.lastTickTime = now;
    s_.elapsed = secondsBetween(s_.startTime, now);
}

void DrillEngine::placeAboveField(int index) {
    if (index < 0 || index >= kDropCount)
        return;
    Drop& drop = s_.drops[index];
    drop.top = std::min(random_.next() * -5000 - 250, -500.0);
    drop.left = kDropColumns[index];
}

void DrillEngine::bringInDrop() {
    for (const Drop& drop : s_.drops) {
        if (drop.top >= kNearTop)
            return;
    }
    // Only drops 0, 2 and 4 are brought in, with equal chance.
    static constexpr std::array<int, 3> kBroughtIn{2, 4, 0};
    s_.drops[kBroughtIn[int(3 * random_.next())]].top = kNearTop;
}

void DrillEngine::announceNextWord() {
    speakNextWord();
    Q_EMIT changed();
}

void DrillEngine::speakNextWord() {
    if (!s_.running || !settings_.voiceOn || !isListening() || !s_.speakReady)
        return;
    // The lowest index wins, not the drop lowest on the screen.
    for (s_.selectedDrop = 0; s_.selectedDrop < kDropCount; ++s_.selectedDrop) {
        Drop& drop = s_.drops[s_.selectedDrop];
        if (drop.top > kPickableTop && drop.unspoken) {
            speaker_.speak(drop.speech);
            drop.unspoken = false;
            drop.selectable = false;
            s_.speakReady = false;
            return;
        }
    }
}

} // namespace drill
