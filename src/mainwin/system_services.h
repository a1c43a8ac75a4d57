#pragma once

#include "drill/ports.h"
#include "platform/speech.h"

namespace mainwin {

// The real world behind the drill's ports.

class SystemRandom final : public drill::RandomSource {
public:
    double next() override;
};

class SystemClock final : public drill::Clock {
public:
    double secondsSinceMidnight() override;
};

class SystemSpeaker final : public drill::Speaker {
public:
    explicit SystemSpeaker(platform::SpeechEngineFactory makeEngine)
        : speech_(std::move(makeEngine)) {}
    void speak(const QString& text) override { speech_.speak(text); }
    void speakLatest(const QString& text) override { speech_.speakLatest(text); }
    void prepareWords(const QStringList& words) override { speech_.prepareWords(words); }
    void setVoice(const QString& id) { speech_.setVoice(id); }
    platform::Speech& speech() { return speech_; }

private:
    platform::Speech speech_;
};

} // namespace mainwin
