#pragma once

#include "drill_state.h"
#include "ports.h"

namespace drill {

// Where the five drops fall: their places at Start, the place above the field a drop goes
// back to, and a drop brought in when none is near. Every place is drawn at random.
class DropField {
public:
    explicit DropField(RandomSource& random) : random_(random) {}

    // Drop i's column at Start, and the height of drops 1 and 3.
    void placeAtStart(Drop& drop, int index);
    // The heights of drops 0, 2 and 4 at Start, in one of three patterns: one of them
    // enters first.
    void placeEntryPattern(std::array<Drop, kDropCount>& drops);
    // Drop i above the field in its own column, to fall in again.
    void placeAboveField(Drop& drop, int index);
    // When no drop is near the field's top, drop 0, 2 or 4 is brought there.
    void bringInDrop(std::array<Drop, kDropCount>& drops);

private:
    RandomSource& random_;
};

} // namespace drill
