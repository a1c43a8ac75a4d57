#include "speech.h"

#include <QDeadlineTimer>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

// Threads left running by a closed Speech.
std::atomic<int> abandonedThreads{0};

// How long closing waits for a running engine to stop (it cancels and disconnects); a
// speech service that does not answer must not hold up the end of the program.
constexpr int kStopWaitMs = 500;

// Leaves the thread to end by itself, and to delete itself then.
void abandon(QThread* thread) {
    ++abandonedThreads;
    QObject::connect(thread, &QThread::finished, [] { --abandonedThreads; });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
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
        if (engine_)
            connect(engine_.get(), &SpeechEngine::finished, this, [this] {
                busy_ = false;
                sendNext();
            });
        sendNext();
    }

    void enqueue(const QString& text) {
        pending_.append(text);
        sendNext();
    }

private:
    void sendNext() {
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
    bool busy_ = false;
};

Speech::Speech(SpeechEngineFactory makeEngine)
    : makeEngine_(makeEngine ? std::move(makeEngine) : makeSystemSpeechEngine),
      shared_(std::make_shared<SpeechShared>()) {}

Speech::~Speech() {
    if (!thread_)
        return;
    auto starting = SpeechShared::Starting;
    if (shared_->stage.compare_exchange_strong(starting, SpeechShared::Abandoned)) {
        // Making the engine cannot be interrupted: leave the thread to end by itself.
        abandon(thread_);
        thread_->quit();
        return;
    }
    thread_->quit();
    if (thread_->wait(QDeadlineTimer(kStopWaitMs)))
        delete thread_;
    else
        abandon(thread_);
}

void Speech::prepare() {
    if (thread_)
        return;
    thread_ = new QThread;
    thread_->setObjectName(QStringLiteral("speech"));
    worker_ = new SpeechWorker(shared_);
    worker_->moveToThread(thread_);
    // The worker, and the engine with it, go when the thread's event loop ends.
    QObject::connect(thread_, &QThread::finished, worker_, &QObject::deleteLater);
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, makeEngine = makeEngine_] { worker->start(makeEngine); },
        Qt::QueuedConnection);
    thread_->start();
}

void Speech::speak(const QString& text) {
    prepare();
    QMetaObject::invokeMethod(
        worker_, [worker = worker_, text] { worker->enqueue(text); }, Qt::QueuedConnection);
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
