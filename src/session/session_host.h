#pragma once

#include "drill/ports.h"

#include <QString>

namespace session {

// A file the learner must hear about: the box's title ("FILE OPEN ERROR" or
// "FILE WRITE ERROR") and a text that names the file and says why.
struct Failure {
    QString title;
    QString text;
};

// What only the window knows or can do, for the session and the drill it runs.
class SessionHost {
public:
    virtual ~SessionHost() = default;
    // The stop command (End button): ends the drill and restores the controls.
    virtual void stopDrill() = 0;
    // The check mark of the voice ON menu.
    virtual bool voiceOn() const = 0;
    // The checked entry of the input-mode menu.
    virtual book::InputMode inputMode() const = 0;
    // Every failed open, read or write of the program's files ends here, once.
    virtual void showFailure(const Failure& failure) = 0;
};

} // namespace session
