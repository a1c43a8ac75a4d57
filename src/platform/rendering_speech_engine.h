#pragma once

#include "pcm.h"
#include "sound_output.h"
#include "speech_engine.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>

namespace platform {

// Says texts in a voice of the program's own: each text is rendered into sound once and
// kept, so that words rendered ahead play from memory the moment they are asked for. A text
// that finds no sound device is handed to the fallback engine instead, made then.
class RenderingSpeechEngine final : public SpeechEngine {
public:
    using Renderer = std::function<Pcm(const QString& text)>;

    RenderingSpeechEngine(Renderer render, std::unique_ptr<SoundOutput> output,
                          SpeechEngineFactory fallback = {});

    void say(const QString& text) override;
    // Renders the words one at a time while nothing plays, so that a word asked for
    // meanwhile is not held up. Sounds of other words are let go.
    void prepare(const QStringList& words) override;

private:
    const Pcm& rendered(const QString& text);
    void scheduleAhead();
    void renderAhead();
    void sayInstead(const QString& text);
    void played();
    void setDeviceMissing(bool missing);

    Renderer render_;
    std::unique_ptr<SoundOutput> output_;
    SpeechEngineFactory makeFallback_;
    std::unique_ptr<SpeechEngine> fallback_;
    bool fallbackMade_ = false;
    bool deviceMissing_ = false;
    QHash<QString, Pcm> sounds_;
    QStringList ahead_; // words still to render ahead
    bool playing_ = false;
    bool aheadScheduled_ = false;
};

} // namespace platform
