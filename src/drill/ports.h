#pragma once

#include <QString>
#include <QStringList>

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
    // Speaks the text in place of an earlier one given here that is still waiting (a
    // search's word, once the next search asks for its own).
    virtual void speakLatest(const QString& text) { speak(text); }
    // The words a drill is about to ask for, so that a voice can make them ready ahead;
    // replaces the words given before.
    virtual void prepareWords(const QStringList& /*words*/) {}
};

} // namespace drill
