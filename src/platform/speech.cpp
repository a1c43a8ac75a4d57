#include "speech.h"

#include "voices.h"

#include <QDeadlineTimer>
#include <QStringList>
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

struct SpeechShared {
    enum Stage { Starting, Started, Abandoned };
    // Started once the engine is made (or failed to be); Abandoned when the Speech closed
    // before that.
    std::atomic<Stage> stage{Starting};
};

// Owns the engine on the speech thread and feeds it one text at a time.
class SpeechWorker : public QObject {
public:
    explicit SpeechWorker(std::shared_ptr<SpeechShared> shared) : shared_(std::move(shared)) {}

    void start(const SpeechEngineFactory& makeEngine) {
        engine_ = makeEngine();
        auto starting = SpeechShared::Starting;
        if (!shared_->stage.compare_exchange_strong(starting, SpeechShared::Started))
            return; // abandoned: the thread ends now
        if (engine_) {
            connect(engine_.get(), &SpeechEngine::finished, this, [this] {
                busy_ = false;
                sendNext();
            });
            engine_->prepare(words_);
        }
        sendNext();
    }

    void enqueue(const QString& text) {
        pending_.append(text);
        sendNext();
    }

    void prepareWords(const QStringList& words) {
        words_ = words;
        if (engine_)
            engine_->prepare(words);
    }

private:
    void sendNext() {
        if (shared_->stage != SpeechShared::Started)
            return; // the engine is still being made
        if (!engine_) {
            pending_.clear(); // no engine: nothing can be heard
            return;
        }
        if (busy_ || pending_.isEmpty())
            return;
        busy_ = true;
        engine_->say(pending_.takeFirst());
    }

    std::shared_ptr<SpeechShared> shared_;
    std::unique_ptr<SpeechEngine> engine_;
    QStringList pending_;
    QStringList words_; // to render ahead once the engine is made
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
    auto starting = SpeechShared::Starting;
    // Making the engine cannot be interrupted: a thread still at it is left to end by itself.
    const bool stillStarting =
        shared_->stage.compare_exchange_strong(starting, SpeechShared::Abandoned);
    thread->quit();
    if (!stillStarting && thread->wait(QDeadlineTimer(waitMs)))
        delete thread;
    else
        abandon(thread);
}

void Speech::prepare() {
    if (thread_)
        return;
    shared_ = std::make_shared<SpeechShared>();
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("speech"));
    worker_ = new SpeechWorker(shared_);
    worker_->moveToThread(thread_);
    // The worker, and the engine with it, go when the thread's event loop ends.
    QObject::connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    QMetaObject::invokeMethod(
        worker_,
        [worker = worker_, makeEngine = makeEngine_, words = preparedWords_] {
            worker->prepareWords(words);
            worker->start(makeEngine);
        },
        Qt::QueuedConnection);
    thread_->start();
}

void Speech::speak(const QString& text) {
    prepare();
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, text] { worker->enqueue(text); }, Qt::QueuedConnection);
}

void Speech::prepareWords(const QStringList& words) {
    preparedWords_ = words;
    if (worker_)
        QMetaObject::invokeMethod(
            worker_, [worker = worker_, words] { worker->prepareWords(words); },
            Qt::QueuedConnection);
}

void Speech::setVoice(const QString& id) {
    const bool running = thread_ != nullptr;
    stop(0);
    makeEngine_ = voiceEngineFactory(id);
    if (running)
        prepare();
}

bool Speech::stillRunning() { return abandonedThreads > 0; }

void Speech::exitNowIfStillRunning(int code) {
    if (!stillRunning())
        return;
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(code);
}

} // namespace platform
