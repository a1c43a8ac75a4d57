#pragma once

#include <QDateTime>

namespace folder {

// The local date and time, for what the drill's clock (seconds since midnight) cannot
// say: the day a drill was played. Tests hand in a fixed one.
class Calendar {
public:
    virtual ~Calendar() = default;
    virtual QDateTime localNow() const = 0;
};

class SystemCalendar : public Calendar {
public:
    QDateTime localNow() const override { return QDateTime::currentDateTime(); }
};

} // namespace folder
