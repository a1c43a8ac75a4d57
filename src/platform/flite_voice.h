#pragma once

#include "pcm.h"

#include <QString>
#include <QStringList>

namespace platform {

// The English voices of the flite synthesiser, built into the program.
class FliteVoice {
public:
    // The names of the voices built in: "rms", "slt", "awb", "kal16", "kal".
    static QStringList names();
    // The voice of that name; null when there is none or it cannot be loaded. Loads it, and
    // only it, on first use (tens of ms).
    static FliteVoice* find(const QString& name);

    // The text said in this voice; empty when there is nothing to say.
    Pcm render(const QString& text);

private:
    explicit FliteVoice(void* voice) : voice_(voice) {}
    void* voice_; // cst_voice, kept for the life of the process
};

} // namespace platform
