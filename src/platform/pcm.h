#pragma once

#include <QByteArray>

namespace platform {

// Sound as the program's voices make it: 16-bit signed samples, one channel.
struct Pcm {
    QByteArray samples;
    int sampleRate = 0;

    bool isEmpty() const { return samples.isEmpty(); }
    qint64 durationMs() const {
        return sampleRate > 0 ? qint64(samples.size()) / 2 * 1000 / sampleRate : 0;
    }
    // The same sound without the silence a synthesiser puts before and after it: that
    // silence would only delay the word.
    Pcm withoutSilenceAround() const;
};

} // namespace platform
