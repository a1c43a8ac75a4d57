#include "rendering_speech_engine.h"

#include <QSet>

namespace platform {

RenderingSpeechEngine::RenderingSpeechEngine(Renderer render, std::unique_ptr<SoundOutput> output)
    : render_(std::move(render)), output_(std::move(output)) {
    connect(output_.get(), &SoundOutput::taken, this, [this] {
        playing_ = false;
        Q_EMIT finished();
        scheduleAhead();
    });
}

void RenderingSpeechEngine::say(const QString& text) {
    playing_ = true;
    output_->play(rendered(text));
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
