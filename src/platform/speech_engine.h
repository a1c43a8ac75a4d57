#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QTextToSpeech;

namespace platform {

// A speech engine as the speech worker drives it: made, used and destroyed on the
// worker's thread, one utterance at a time.
class SpeechEngine : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    // Starts saying the text; `finished` follows once it has been said, or once it is
    // clear that it never will be.
    virtual void say(const QString& text) = 0;
    // These words are about to be asked for: an engine that can make them ready ahead does.
    virtual void prepare(const QStringList& words) { Q_UNUSED(words); }

Q_SIGNALS:
    void finished();
    // The engine's own sound found no device for a text (true), or played one again (false).
    void soundDeviceMissing(bool missing);
};

// Makes an engine; may take seconds (it runs on the worker's thread). Null: no engine.
using SpeechEngineFactory = std::function<std::unique_ptr<SpeechEngine>()>;

// Drives a QTextToSpeech made on the calling thread.
std::unique_ptr<SpeechEngine> makeSpeechEngine(std::unique_ptr<QTextToSpeech> tts);

// The system's speech service, speaking English whatever the desktop's language; null when
// it cannot start. (Not Qt's in-process flite engine: without a sound device it crashes.)
std::unique_ptr<SpeechEngine> makeSpeechServiceEngine();

} // namespace platform
