#include "system_services.h"

#include <QRandomGenerator>
#include <QTime>

namespace mainwin {

double SystemRandom::next() { return QRandomGenerator::global()->generateDouble(); }

double SystemClock::secondsSinceMidnight() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

} // namespace mainwin
