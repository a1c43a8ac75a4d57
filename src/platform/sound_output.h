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

// The system's default sound output (Qt Multimedia): each new sink (after a pause, or a
// stall that an audio server gone away causes) opens the default device of the moment, so
// that a restarted server or another device is found.
std::unique_ptr<SoundOutput> makeSystemSoundOutput();

} // namespace platform
