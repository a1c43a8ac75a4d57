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

// The system's default sound output: the audio server (PulseAudio, or PipeWire serving as
// one). Each new stream (after a pause, or a write the server failed) connects anew and plays
// on the server's default device of the moment, so that a restarted server or another device
// is found. Streams are written on a thread of their own, started with the first output and
// kept until Qt closes; play() waits for that thread.
std::unique_ptr<SoundOutput> makeSystemSoundOutput();

// Ends the thread the system's sound outputs play on, waiting for it at most `waitMs`;
// false when it would not end (held up by an audio server that does not answer).
bool endSystemSound(int waitMs);

} // namespace platform
