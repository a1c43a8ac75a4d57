#pragma once

#include "speech_engine.h"

#include <QString>

#include <memory>

class QThread;

namespace platform {

class SpeechWorker;
struct SpeechShared;

// Pronounces English words on a thread of its own: connecting to the speech service and
// listing its voices can take seconds, and the window must react meanwhile. A request
// returns at once and never reports a failure; requests are spoken one after another,
// in order, each once; those made before the engine is up are spoken once it is.
class Speech {
public:
    // An empty factory means the system's engine.
    explicit Speech(SpeechEngineFactory makeEngine = {});
    // Returns promptly even while the engine is still starting: that thread is left to
    // finish on its own.
    ~Speech();
    Speech(const Speech&) = delete;
    Speech& operator=(const Speech&) = delete;

    void speak(const QString& text);
    // Starts making the engine, if not done yet (called once the window is shown).
    void prepare();

    // True when a closed Speech left its thread running: an engine still starting, or a
    // speech service that stopped answering. The process should then end without its
    // global clean-up, which would wait for that thread or pull its libraries from under it.
    static bool stillRunning();
    // Ends the process with `code` at once when stillRunning(). Only the standard streams
    // are flushed: any other stream may be locked for good by the stuck thread.
    static void exitNowIfStillRunning(int code);

private:
    SpeechEngineFactory makeEngine_;
    std::shared_ptr<SpeechShared> shared_;
    QThread* thread_ = nullptr;
    SpeechWorker* worker_ = nullptr; // lives on thread_
};

} // namespace platform
