#pragma once

#include "book/settings.h"

#include <QString>

namespace drill {

// The drill's only ways out to the world, so that a test can script each of them.

// Uniform random numbers in [0, 1).
class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual double next() = 0;
};

// The time of day in seconds since midnight, with fractions.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double secondsSinceMidnight() = 0;
};

// Pronounces a text; returns at once and never fails in the learner's view.
class Speaker {
public:
    virtual ~Speaker() = default;
    virtual void speak(const QString& text) = 0;
};

// What only the window knows or can do.
class DrillHost {
public:
    virtual ~DrillHost() = default;
    // The stop command (End button): ends the drill and restores the controls.
    virtual void stopDrill() = 0;
    // The check mark of the voice ON menu.
    virtual bool voiceOn() const = 0;
    // The checked entry of the input-mode menu.
    virtual book::InputMode inputMode() const = 0;
    // A book or result file write failed, for the reason the system gave (empty when
    // it gave none); the host tells the learner.
    virtual void reportWriteFailure(const QString& path, const QString& systemText) = 0;
};

} // namespace drill
