#pragma once

#include "drill/ports.h"

#include <QObject>
#include <QStringList>

#include <deque>
#include <random>

namespace testsupport {

// Hands out scripted numbers first, then numbers of a seeded generator.
class ScriptedRandom : public drill::RandomSource {
public:
    void script(std::initializer_list<double> values) { queue_.insert(queue_.end(), values); }
    void push(double value) { queue_.push_back(value); }
    void seed(unsigned value) { generator_.seed(value); }
    int scriptLeft() const { return int(queue_.size()); }
    int draws() const { return draws_; }
    double next() override;

private:
    std::deque<double> queue_;
    std::mt19937 generator_{12345};
    int draws_ = 0;
};

// A number that makes a random index below `count` come out as `index`.
inline double indexDraw(int index, int count) { return (index + 0.5) / count; }

class FakeClock : public drill::Clock {
public:
    double now = 36000;
    double secondsSinceMidnight() override { return now; }
};

class RecordingSpeaker : public drill::Speaker {
public:
    QStringList spoken;
    QList<QStringList> prepared; // each list of words made ready ahead
    void speak(const QString& text) override { spoken << text; }
    void prepareWords(const QStringList& words) override { prepared << words; }
};

// A control of a window by its object name; the test stops when there is none.
template <typename T> T* namedChild(const QObject* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

} // namespace testsupport
