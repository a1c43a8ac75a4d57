#pragma once

#include "book/settings.h"

namespace drill {

// The learner's settings as the drill reads them. The session owns them and the window
// shows them; the engine sees every change at once.
struct DrillSettings {
    double dropSpeed = book::kSpeeds[1].dropSpeed; // a drop falls twice this per tick
    bool voiceOn = true;
    book::InputMode inputMode = book::InputMode::Hiragana;
};

} // namespace drill
