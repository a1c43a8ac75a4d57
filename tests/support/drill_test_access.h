#pragma once

#include "drill/drill_engine.h"

namespace drill {

// What a test may do to an engine beyond what the window does: set up a situation in its
// state and run one of its steps on its own.
class DrillTestAccess {
public:
    explicit DrillTestAccess(DrillEngine& engine) : engine_(engine) {}

    DrillState& state() { return engine_.s_; }
    void placeAboveField(int drop) { engine_.placeAboveField(drop); }
    void bringInDrop() { engine_.bringInDrop(); }
    void fallOut(int drop) { engine_.fallOut(drop); }

private:
    DrillEngine& engine_;
};

} // namespace drill
