#pragma once

#include "pcm.h"

#include <QObject>

#include <memory>

namespace platform {

// Plays sounds one after another; made, used and destroyed on one thread.
class SoundOutput : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    // Plays the sound after whatever still plays; `taken` follows once all of it has gone
    // to the sound device, or once it is clear that it never will. False when the system
    // has no sound device now: then nothing follows.
    virtual bool play(const Pcm& pcm) = 0;

Q_SIGNALS:
    void taken();
};

// The system's default sound output (Qt Multimedia), whichever device that is at each word:
// after an error, or once the devices changed (an audio server restarted, a headset
// plugged in), the next word opens the default device anew.
std::unique_ptr<SoundOutput> makeSystemSoundOutput();

} // namespace platform
