#include "sound_output.h"

#include <QAudioSink>
#include <QElapsedTimer>
#include <QIODevice>
#include <QMediaDevices>
#include <QMutex>
#include <QTimer>

#include <cstring>
#include <limits>

namespace platform {

namespace {

// Words that follow each other are this far apart, as in speech.
constexpr int kGapMs = 200;
// The device buffer: the most that a word waits behind silence already handed over. Qt
// 6.4's PulseAudio sink feeds 20 ms at a time and never starts a stream whose buffer
// cannot take its pre-buffer plus one more of those (50 ms stalls for good).
constexpr int kBufferMs = 80;
// The sound stream is closed after this much silence: a word that opens a new stream is
// heard sooner than one queued behind the silence of an open one, and an open stream
// keeps the sound card awake.
constexpr int kQuietMs = 300;
// A device that stops taking sound must not hold up the words behind.
constexpr int kStallMs = 3000;

// The sound to be played, read by the audio sink as it needs it: the words handed over,
// and silence between them. The sink is never left without sound while it is open: an
// underrun makes Qt's PulseAudio sink stop asking, wait for more, or drop what the device
// still holds, each at the mercy of timing.
class SoundFeed final : public QIODevice {
    Q_OBJECT

public:
    SoundFeed() { open(QIODevice::ReadOnly | QIODevice::Unbuffered); }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return false; }
    // The sound system may ask from a thread of its own.
    qint64 bytesAvailable() const override {
        QMutexLocker lock(&mutex_);
        return pending_.size() + QIODevice::bytesAvailable();
    }
    void append(const QByteArray& bytes) {
        {
            QMutexLocker lock(&mutex_);
            pending_.append(bytes);
        }
        Q_EMIT readyRead();
    }
    void clear() {
        QMutexLocker lock(&mutex_);
        pending_.clear();
    }
    // Since the last sound went to the sink (or since ever).
    qint64 msSinceLastSound() const {
        return lastSound_.isValid() ? lastSound_.elapsed() : std::numeric_limits<qint64>::max();
    }

Q_SIGNALS:
    void emptied();

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        qint64 n = 0;
        bool emptiedNow = false;
        {
            QMutexLocker lock(&mutex_);
            n = std::min<qint64>(maxSize, pending_.size());
            std::memcpy(data, pending_.constData(), size_t(n));
            pending_.remove(0, n);
            emptiedNow = n > 0 && pending_.isEmpty();
        }
        std::memset(data + n, 0, size_t(maxSize - n));
        if (emptiedNow) {
            lastSound_.start();
            Q_EMIT emptied();
        }
        return maxSize;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    mutable QMutex mutex_;
    QByteArray pending_;
    QElapsedTimer lastSound_;
};

class AudioSinkOutput final : public SoundOutput {
public:
    AudioSinkOutput() {
        connect(&feed_, &SoundFeed::emptied, this, &AudioSinkOutput::handOver);
        stall_.setSingleShot(true);
        connect(&stall_, &QTimer::timeout, this, [this] {
            feed_.clear();
            sink_.reset(); // opened anew for the next word
            handOver();
        });
        quiet_.setSingleShot(true);
        connect(&quiet_, &QTimer::timeout, this, [this] {
            if (!waiting_ && sink_)
                sink_->stop();
        });
    }

    bool play(const Pcm& pcm) override {
        if (pcm.isEmpty()) {
            QMetaObject::invokeMethod(this, &SoundOutput::taken, Qt::QueuedConnection);
            return true;
        }
        if (!openSink(pcm.sampleRate))
            return false;
        waiting_ = true;
        quiet_.stop();
        stall_.start(int(pcm.durationMs()) + kGapMs + kStallMs);
        const qint64 gapMs =
            kGapMs + kBufferMs - std::min<qint64>(feed_.msSinceLastSound(), kGapMs + kBufferMs);
        feed_.append(QByteArray(qsizetype(gapMs * pcm.sampleRate / 1000) * 2, '\0') + pcm.samples);
        return true;
    }

private:
    // The sink open at that sample rate, or false when the system cannot play sound. A new
    // sink (after a pause, a stall or an error) goes to the default device of the moment, so
    // that a restarted audio server or another device is found. (A sink that reports an
    // error is not replaced at once: Qt's PulseAudio sink, opened before the sound system has
    // taken in that the server went away, takes the process down. The stall does it.)
    bool openSink(int rate) {
        if (sink_ && sink_->format().sampleRate() == rate && sink_->state() != QAudio::StoppedState)
            return true;
        const QAudioDevice device = QMediaDevices::defaultAudioOutput();
        if (device.isNull()) {
            sink_.reset();
            feed_.clear();
            return false;
        }
        QAudioFormat format;
        format.setSampleRate(rate);
        format.setChannelCount(1);
        format.setSampleFormat(QAudioFormat::Int16);
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->setBufferSize(qsizetype(rate) * 2 * kBufferMs / 1000);
        sink_->start(&feed_);
        if (sink_->state() != QAudio::StoppedState)
            return true;
        sink_.reset();
        return false;
    }

    void handOver() {
        if (!waiting_)
            return;
        waiting_ = false;
        stall_.stop();
        quiet_.start(kQuietMs);
        Q_EMIT taken();
    }

    SoundFeed feed_;
    std::unique_ptr<QAudioSink> sink_;
    QTimer stall_;
    QTimer quiet_;
    bool waiting_ = false;
};

} // namespace

std::unique_ptr<SoundOutput> makeSystemSoundOutput() { return std::make_unique<AudioSinkOutput>(); }

} // namespace platform

#include "sound_output.moc"
