#include "speech_engine.h"

#include <QLocale>
#include <QTextToSpeech>
#include <QTimer>
#include <QVoice>

#include <algorithm>

namespace platform {

namespace {

// How long an utterance may wait to begin, and how long it may last, before the engine
// is taken to have lost it: the queue behind it must not stall for good.
constexpr int kBeginTimeoutMs = 3000;
constexpr int kUtteranceTimeoutMs = 15000;
constexpr int kSettleMs = 200;

// QTextToSpeech, one utterance at a time. Qt's say() while the engine speaks cancels
// the utterance in progress and everything the speech service has queued behind it;
// so the next text is only handed over once the engine is back to Ready.
class SystemSpeechEngine final : public SpeechEngine {
public:
    explicit SystemSpeechEngine(std::unique_ptr<QTextToSpeech> tts) : tts_(tts.release()) {
        tts_->setParent(this);
        timeout_.setSingleShot(true);
        connect(&timeout_, &QTimer::timeout, this, &SystemSpeechEngine::done);
        connect(tts_, &QTextToSpeech::stateChanged, this, [this](QTextToSpeech::State state) {
            if (!waiting_)
                return;
            if (state == QTextToSpeech::Speaking) {
                begun_ = true;
                timeout_.start(kUtteranceTimeoutMs);
            } else if (state == QTextToSpeech::Ready && begun_) {
                done();
            } else if (state == QTextToSpeech::Error) {
                // The in-process engine reports an error of its sound output in the middle
                // of an utterance and then goes back to Ready: give it a moment.
                if (begun_)
                    timeout_.start(kSettleMs);
                else
                    done();
            }
        });
    }

    void say(const QString& text) override {
        if (text.isEmpty() || tts_->state() == QTextToSpeech::Error) {
            // Nothing will be heard and no state change will tell: finish at once.
            QMetaObject::invokeMethod(this, &SystemSpeechEngine::finished, Qt::QueuedConnection);
            return;
        }
        waiting_ = true;
        begun_ = false;
        timeout_.start(kBeginTimeoutMs);
        tts_->say(text);
    }

private:
    void done() {
        if (!waiting_)
            return;
        waiting_ = false;
        timeout_.stop();
        Q_EMIT finished();
    }

    QTextToSpeech* tts_; // a child
    QTimer timeout_;
    bool waiting_ = false;
    bool begun_ = false;
};

} // namespace

std::unique_ptr<SpeechEngine> makeSpeechEngine(std::unique_ptr<QTextToSpeech> tts) {
    return std::make_unique<SystemSpeechEngine>(std::move(tts));
}

std::unique_ptr<SpeechEngine> makeSpeechServiceEngine() {
    if (!QTextToSpeech::availableEngines().contains(QStringLiteral("speechd")))
        return nullptr;
    auto tts = std::make_unique<QTextToSpeech>(QStringLiteral("speechd"));
    if (tts->state() == QTextToSpeech::Error)
        return nullptr;
    // English words in an English voice, whatever the desktop's language: the service's
    // default follows the desktop (a Japanese voice spells English words out). Of its US
    // voices, Qt takes the first, which for espeak-ng is Caribbean English: the plain
    // American one is what the service itself speaks for en-US.
    tts->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    const QList<QVoice> voices = tts->availableVoices();
    const auto american = std::find_if(voices.begin(), voices.end(), [](const QVoice& voice) {
        return voice.name().contains(QLatin1StringView("America")) &&
               !voice.name().contains(QLatin1Char('+'));
    });
    if (american != voices.end())
        tts->setVoice(*american);
    return makeSpeechEngine(std::move(tts));
}

} // namespace platform
