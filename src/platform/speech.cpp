#include "speech.h"

#include "sound_output.h"
#include "voices.h"

#include <QDeadlineTimer>
#include <QList>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>

namespace platform {

namespace {

// Threads left running by a closed Speech.
std::atomic<int> abandonedThreads{0};

// How long closing waits for a running engine to stop (it cancels and disconnects); a
// speech service that does not answer must not hold up the end of the program.
constexpr int kStopWaitMs = 500;

// Leaves the thread to end by itself, and to delete itself then; it may be ending now.
void abandon(QThread* thread) {
    ++abandonedThreads;
    auto released = std::make_shared<std::atomic<bool>>(false);
    const auto release = [thread, released] {
        if (released->exchange(true))
            return;
        --abandonedThreads;
        thread->deleteLater();
    };
    QObject::connect(thread, &QThread::finished, thread, release, Qt::DirectConnection);
    if (thread->isFinished())
        release();
}

} // namespace

// Owns the engine on the speech thread, makes it when the first word needs it, and feeds
// it one text at a time.
class SpeechWorker : public QObject {
    Q_OBJECT

public:
    SpeechWorker(SpeechEngineFactory makeEngine, std::shared_ptr<std::atomic<bool>> making)
        : makeEngine_(std::move(makeEngine)), making_(std::move(making)) {}

    void enqueue(const QString& text, bool replacesLatest) {
        if (replacesLatest)
            pending_.removeIf([](const Request& request) { return request.latestOnly; });
        pending_.append({text, replacesLatest});
        sendNext();
    }

    void prepareWords(const QStringList& words) {
        if (words.isEmpty() && !made_)
            return;
        if (SpeechEngine* speaker = engine())
            speaker->prepare(words);
    }

Q_SIGNALS:
    void soundDeviceMissing(bool missing);

private:
    struct Request {
        QString text;
        bool latestOnly = false; // replaced by the next such request while it waits
    };

    SpeechEngine* engine() {
        if (made_)
            return engine_.get();
        made_ = true;
        *making_ = true;
        engine_ = makeEngine_();
        *making_ = false;
        if (engine_) {
            connect(engine_.get(), &SpeechEngine::finished, this, [this] {
                busy_ = false;
                sendNext();
            });
            connect(engine_.get(), &SpeechEngine::soundDeviceMissing, this,
                    &SpeechWorker::soundDeviceMissing);
        }
        return engine_.get();
    }

    void sendNext() {
        if (busy_ || pending_.isEmpty())
            return;
        SpeechEngine* speaker = engine();
        if (!speaker) {
            pending_.clear(); // no engine: nothing can be heard
            return;
        }
        busy_ = true;
        speaker->say(pending_.takeFirst().text);
    }

    SpeechEngineFactory makeEngine_;
    std::shared_ptr<std::atomic<bool>> making_; // true while the engine is being made
    std::unique_ptr<SpeechEngine> engine_;
    bool made_ = false;
    QList<Request> pending_;
    bool busy_ = false;
};

Speech::Speech(SpeechEngineFactory makeEngine)
    : makeEngine_(makeEngine ? std::move(makeEngine) : voiceEngineFactory(VoiceSetting().voice())) {
}

Speech::~Speech() { stop(kStopWaitMs); }

void Speech::stop(int waitMs) {
    if (!thread_)
        return;
    QThread* thread = std::exchange(thread_, nullptr);
    worker_ = nullptr;
    // A thread held up inside the engine (a speech service that does not answer) is left
    // to end by itself; one still making its engine is not even waited for, as that cannot
    // be interrupted.
    thread->quit();
    if (!*making_ && thread->wait(QDeadlineTimer(waitMs)))
        delete thread;
    else
        abandon(thread);
}

SpeechWorker* Speech::worker() {
    if (thread_)
        return worker_;
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("speech"));
    making_ = std::make_shared<std::atomic<bool>>(false);
    worker_ = new SpeechWorker(makeEngine_, making_);
    worker_->moveToThread(thread_);
    // The worker, and the engine with it, go when the thread's event loop ends.
    connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    connect(worker_, &SpeechWorker::soundDeviceMissing, this, &Speech::soundDeviceMissing);
    if (!preparedWords_.isEmpty())
        QMetaObject::invokeMethod(
            worker_, [worker = worker_, words = preparedWords_] { worker->prepareWords(words); },
            Qt::QueuedConnection);
    thread_->start();
    return worker_;
}

void Speech::speak(const QString& text) {
    QMetaObject::invokeMethod(
        worker(), [worker = worker(), text] { worker->enqueue(text, false); },
        Qt::QueuedConnection);
}

void Speech::speakLatest(const QString& text) {
    QMetaObject::invokeMethod(
        worker(), [worker = worker(), text] { worker->enqueue(text, true); }, Qt::QueuedConnection);
}

void Speech::prepareWords(const QStringList& words) {
    preparedWords_ = words;
    if (!thread_ && words.isEmpty())
        return;
    if (thread_) {
        QMetaObject::invokeMethod(
            worker_, [worker = worker_, words] { worker->prepareWords(words); },
            Qt::QueuedConnection);
        return;
    }
    worker(); // hands the words over as it starts
}

void Speech::setVoice(const QString& id) {
    stop(0);
    makeEngine_ = voiceEngineFactory(id);
}

bool Speech::stillRunning() { return abandonedThreads > 0; }

void Speech::exitNowIfStillRunning(int code) {
    if (!stillRunning() && endSystemSound(kStopWaitMs))
        return;
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
}

} // namespace platform

#include "speech.moc"
