#pragma once

#include "speech_engine.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>

class QThread;

namespace platform {

class SpeechWorker;

// Pronounces English words on a thread of its own: making a voice ready can take seconds
// (a speech service to connect to and ask for its voices), and the window must react
// meanwhile. A request returns at once and never reports a failure; requests are spoken
// one after another, in order, each once. Nothing is started before a word is asked for
// or announced: a start that speaks nothing costs nothing.
class Speech : public QObject {
    Q_OBJECT

public:
    // An empty factory means the voice kept in the program's settings (VoiceSetting).
    explicit Speech(SpeechEngineFactory makeEngine = {});
    // Returns promptly even while the engine is starting or its speech service does not
    // answer: that thread is left to finish on its own.
    ~Speech() override;

    void speak(const QString& text);
    // Speaks the text in place of an earlier one given here that is still waiting: of words
    // asked for one after another this way (a search's), only the latest is worth hearing.
    void speakLatest(const QString& text);
    // These words are about to be asked for (a drill's class at Start): a voice of the
    // program's own renders them ahead, one at a time while nothing plays, so that each
    // plays from memory the moment it is asked for. Replaces the words given before.
    void prepareWords(const QStringList& words);
    // Speaks in that voice (an id of availableVoices()) from now on; words not yet said in
    // the old voice are let go. Never waits for the old voice to stop.
    void setVoice(const QString& id);

    // True when a closed Speech left its thread running: an engine still starting, or a
    // speech service that stopped answering. The process should then end without its
    // global clean-up, which would wait for that thread or pull its libraries from under it.
    static bool stillRunning();
    // Ends the thread that sounds play on; then ends the process with `code` at once when
    // stillRunning() or that thread would not end. Only the standard streams are flushed:
    // any other stream may be locked for good by the stuck thread.
    static void exitNowIfStillRunning(int code);

Q_SIGNALS:
    // The program's own voice found no sound device for a word (true), or played one
    // again (false).
    void soundDeviceMissing(bool missing);

private:
    // The worker, on a thread started now if none runs.
    SpeechWorker* worker();
    // Stops the current thread, waiting for it at most `waitMs`.
    void stop(int waitMs);

    SpeechEngineFactory makeEngine_;
    QStringList preparedWords_;
    QThread* thread_ = nullptr;
    SpeechWorker* worker_ = nullptr;            // lives on thread_
    std::shared_ptr<std::atomic<bool>> making_; // the worker is making its engine
};

} // namespace platform
