#include "sound_output.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLibrary>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <limits>

extern "C" {
#include <pulse/simple.h>
}

namespace platform {

namespace {

// Words that follow each other are this far apart, as in speech.
constexpr int kGapMs = 200;
// The audio server's buffer for a stream: the most that a word waits behind silence
// already handed over.
constexpr int kBufferMs = 80;
// The stream is closed after this much silence: a word that opens a new stream is heard
// sooner than one queued behind the silence of an open one, and an open stream keeps the
// sound card awake.
constexpr int kQuietMs = 300;

// The audio server's simple playback functions (PulseAudio's, which PipeWire serves too),
// loaded when a sound is first played: a start that speaks nothing does not load them.
struct SimplePlayback {
    decltype(&pa_simple_new) open = nullptr;
    decltype(&pa_simple_write) write = nullptr;
    decltype(&pa_simple_drain) drain = nullptr;
    decltype(&pa_simple_free) close = nullptr;
};

// Loaded once, kept for the life of the process; null when the library is not installed.
const SimplePlayback* simplePlayback() {
    static const std::unique_ptr<SimplePlayback> loaded = []() -> std::unique_ptr<SimplePlayback> {
        QLibrary library(QStringLiteral("pulse-simple"), 0);
        library.setLoadHints(QLibrary::PreventUnloadHint);
        auto found = std::make_unique<SimplePlayback>();
        found->open = reinterpret_cast<decltype(&pa_simple_new)>(library.resolve("pa_simple_new"));
        found->write =
            reinterpret_cast<decltype(&pa_simple_write)>(library.resolve("pa_simple_write"));
        found->drain =
            reinterpret_cast<decltype(&pa_simple_drain)>(library.resolve("pa_simple_drain"));
        found->close =
            reinterpret_cast<decltype(&pa_simple_free)>(library.resolve("pa_simple_free"));
        if (!found->open || !found->write || !found->drain || !found->close)
            return nullptr;
        return found;
    }();
    return loaded.get();
}

// Plays sounds on a stream of the audio server; lives on the sound thread, where writing
// waits for the server to take the sound. Each new stream connects anew to the server and
// its default device of the moment, so a server that went away and came back, or another
// device, is found by the next word.
class StreamPlayer final : public QObject {
    Q_OBJECT

public:
    StreamPlayer() {
        quiet_.setSingleShot(true);
        connect(&quiet_, &QTimer::timeout, this, [this] { closeStream(true); });
    }
    ~StreamPlayer() override { closeStream(false); }

    // As SoundOutput::play; the sound is written once the caller has its answer.
    bool play(const Pcm& pcm) {
        if (!pcm.isEmpty() && !openStream(pcm.sampleRate))
            return false;
        quiet_.stop();
        QMetaObject::invokeMethod(
            this, [this, pcm] { write(pcm); }, Qt::QueuedConnection);
        return true;
    }

Q_SIGNALS:
    void taken();

private:
    bool openStream(int rate) {
        if (stream_ && rate_ == rate)
            return true;
        closeStream(true);
        const SimplePlayback* playback = simplePlayback();
        if (!playback)
            return false;
        const pa_sample_spec format{PA_SAMPLE_S16LE, uint32_t(rate), 1};
        constexpr uint32_t kServerChooses = std::numeric_limits<uint32_t>::max();
        const pa_buffer_attr buffer{kServerChooses, uint32_t(rate * 2 * kBufferMs / 1000),
                                    kServerChooses, kServerChooses, kServerChooses};
        const QByteArray name = QCoreApplication::applicationName().toUtf8();
        stream_ = playback->open(nullptr, name.constData(), PA_STREAM_PLAYBACK, nullptr, "voice",
                                 &format, nullptr, &buffer, nullptr);
        rate_ = rate;
        lastSound_.invalidate();
        return stream_ != nullptr;
    }

    // Lets what was written play out first when `drain`.
    void closeStream(bool drain) {
        if (!stream_)
            return;
        if (drain)
            simplePlayback()->drain(stream_, nullptr);
        simplePlayback()->close(stream_);
        stream_ = nullptr;
    }

    void write(const Pcm& pcm) {
        if (stream_ && !pcm.isEmpty()) {
            // The word before may still play from the server's buffer for kBufferMs.
            constexpr qint64 kSpacingMs = kGapMs + kBufferMs;
            const qint64 sinceMs = lastSound_.isValid() ? lastSound_.elapsed() : kSpacingMs;
            const qint64 gapMs = kSpacingMs - std::min(sinceMs, kSpacingMs);
            const QByteArray sound =
                QByteArray(qsizetype(gapMs * pcm.sampleRate / 1000) * 2, '\0') + pcm.samples;
            // A server that went away fails the write: the rest of the word is lost, and the
            // next one opens a new stream.
            if (simplePlayback()->write(stream_, sound.constData(), size_t(sound.size()), nullptr) <
                0)
                closeStream(false);
            lastSound_.start();
        }
        if (stream_)
            quiet_.start(kQuietMs);
        Q_EMIT taken();
    }

    pa_simple* stream_ = nullptr;
    int rate_ = 0;
    QElapsedTimer lastSound_; // since the last sound was written to the open stream
    QTimer quiet_;
};

// Every stream is written on this one thread, which lasts until Qt closes: writing waits
// for the audio server, and the speech threads that come and go with the voice must not.
struct SoundThread {
    QThread thread;
    QObject anchor; // lives on the thread: what is to run there is sent to it

    static SoundThread& get() {
        static SoundThread* const made = [] {
            auto* sound = new SoundThread;
            sound->thread.setObjectName(QStringLiteral("sound"));
            sound->anchor.moveToThread(&sound->thread);
            sound->thread.start();
            started = true;
            qAddPostRoutine([] { endSystemSound(kEndWaitMs); });
            return sound;
        }();
        return *made;
    }

    static inline std::atomic<bool> started{false};
    static constexpr int kEndWaitMs = 500;
};

// Hands each sound to a player on the sound thread and waits for its answer (whether a
// stream could be opened): a speech thread may wait, the window never does.
class SoundThreadOutput final : public SoundOutput {
public:
    SoundThreadOutput() {
        QMetaObject::invokeMethod(
            &SoundThread::get().anchor, [this] { player_ = new StreamPlayer; },
            Qt::BlockingQueuedConnection);
        connect(player_, &StreamPlayer::taken, this, &SoundOutput::taken);
    }
    ~SoundThreadOutput() override { player_->deleteLater(); }

    bool play(const Pcm& pcm) override {
        bool heard = false;
        QMetaObject::invokeMethod(
            player_, [&] { heard = player_->play(pcm); }, Qt::BlockingQueuedConnection);
        return heard;
    }

private:
    StreamPlayer* player_ = nullptr;
};

} // namespace

std::unique_ptr<SoundOutput> makeSystemSoundOutput() {
    return std::make_unique<SoundThreadOutput>();
}

bool endSystemSound(int waitMs) {
    if (!SoundThread::started)
        return true;
    QThread& thread = SoundThread::get().thread;
    thread.quit();
    return thread.wait(QDeadlineTimer(waitMs));
}

} // namespace platform

#include "sound_output.moc"
