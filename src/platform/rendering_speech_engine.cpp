#include "rendering_speech_engine.h"

#include <QSet>

namespace platform {

RenderingSpeechEngine::RenderingSpeechEngine(Renderer render, std::unique_ptr<SoundOutput> output,
                                             SpeechEngineFactory fallback)
    : render_(std::move(render)), output_(std::move(output)), makeFallback_(std::move(fallback)) {
    connect(output_.get(), &SoundOutput::taken, this, &RenderingSpeechEngine::played);
}

void RenderingSpeechEngine::say(const QString& text) {
    playing_ = true;
    const bool heard = output_->play(rendered(text));
    setDeviceMissing(!heard);
    if (!heard)
        sayInstead(text);
}

void RenderingSpeechEngine::sayInstead(const QString& text) {
    if (!fallbackMade_) {
        fallbackMade_ = true;
        fallback_ = makeFallback_ ? makeFallback_() : nullptr;
        if (fallback_)
            connect(fallback_.get(), &SpeechEngine::finished, this, &RenderingSpeechEngine::played);
    }
    if (fallback_)
        fallback_->say(text);
    else
        QMetaObject::invokeMethod(this, &RenderingSpeechEngine::played, Qt::QueuedConnection);
}

void RenderingSpeechEngine::played() {
    playing_ = false;
    Q_EMIT finished();
    scheduleAhead();
}

void RenderingSpeechEngine::setDeviceMissing(bool missing) {
    if (missing == deviceMissing_)
        return;
    deviceMissing_ = missing;
    Q_EMIT soundDeviceMissing(missing);
}

void RenderingSpeechEngine::prepare(const QStringList& words) {
    const QSet<QString> wanted(words.begin(), words.end());
    for (auto it = sounds_.begin(); it != sounds_.end();)
        it = wanted.contains(it.key()) ? std::next(it) : sounds_.erase(it);
    ahead_.clear();
    for (const QString& word : words)
        if (!sounds_.contains(word) && !ahead_.contains(word))
            ahead_ << word;
    scheduleAhead();
}

const Pcm& RenderingSpeechEngine::rendered(const QString& text) {
    auto found = sounds_.find(text);
    if (found == sounds_.end())
        found = sounds_.insert(text, render_(text));
    return *found;
}

void RenderingSpeechEngine::scheduleAhead() {
    if (aheadScheduled_ || playing_ || ahead_.isEmpty())
        return;
    aheadScheduled_ = true;
    QMetaObject::invokeMethod(this, &RenderingSpeechEngine::renderAhead, Qt::QueuedConnection);
}

void RenderingSpeechEngine::renderAhead() {
    aheadScheduled_ = false;
    if (playing_ || ahead_.isEmpty())
        return;
    rendered(ahead_.takeFirst());
    scheduleAhead();
}

} // namespace platform
