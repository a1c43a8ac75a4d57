#pragma once

#include "platform/speech_engine.h"

#include <QMutex>
#include <QStringList>
#include <QThread>
#include <QTimer>

#include <memory>

namespace testsupport {

// What a fake speech engine was asked to say, from the speech thread.
struct SpeechLog {
    QMutex mutex;
    QStringList said;
    int overlaps = 0; // texts handed over while another was still being said

    QStringList saidSoFar() {
        QMutexLocker lock(&mutex);
        return said;
    }
};

// Takes `sayMs` to say a text, as a real engine takes the length of the word.
class FakeSpeechEngine : public platform::SpeechEngine {
public:
    FakeSpeechEngine(std::shared_ptr<SpeechLog> log, int sayMs) : log_(std::move(log)) {
        timer_.setSingleShot(true);
        timer_.setInterval(sayMs);
        connect(&timer_, &QTimer::timeout, this, &SpeechEngine::finished);
    }
    void say(const QString& text) override {
        QMutexLocker lock(&log_->mutex);
        log_->overlaps += timer_.isActive();
        log_->said << text;
        timer_.start();
    }

private:
    std::shared_ptr<SpeechLog> log_;
    QTimer timer_;
};

// A factory of fake engines that takes `startMs` to make one, like a speech service
// that has to be started and asked for its voices.
inline platform::SpeechEngineFactory fakeSpeechEngine(std::shared_ptr<SpeechLog> log, int startMs,
                                                      int sayMs = 0) {
    return [log, startMs, sayMs] {
        QThread::msleep(startMs);
        return std::make_unique<FakeSpeechEngine>(log, sayMs);
    };
}

} // namespace testsupport
