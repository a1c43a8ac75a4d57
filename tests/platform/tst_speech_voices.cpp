// The voices the learner can choose, the kept choice, and words rendered ahead.
#include "platform/flite_voice.h"
#include "platform/rendering_speech_engine.h"
#include "platform/speech.h"
#include "platform/voices.h"

#include <QFile>
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// What the fake voice rendered and what the fake sound output played, from the speech
// thread.
struct SoundLog {
    QMutex mutex;
    QStringList rendered;
    QStringList played;

    QStringList renderedSoFar() {
        QMutexLocker lock(&mutex);
        return rendered;
    }
    QStringList playedSoFar() {
        QMutexLocker lock(&mutex);
        return played;
    }
};

// Plays for a few milliseconds; the sound's bytes are the word's text. The first
// `missingFor` words find no sound device.
class FakeSoundOutput final : public platform::SoundOutput {
public:
    explicit FakeSoundOutput(std::shared_ptr<SoundLog> log, int missingFor = 0)
        : log_(std::move(log)), missingFor_(missingFor) {}
    bool play(const platform::Pcm& pcm) override {
        if (missingFor_ > 0) {
            --missingFor_;
            return false;
        }
        QMutexLocker lock(&log_->mutex);
        log_->played << QString::fromUtf8(pcm.samples);
        QTimer::singleShot(5, this, &SoundOutput::taken);
        return true;
    }

private:
    std::shared_ptr<SoundLog> log_;
    int missingFor_;
};

// Says a text at once, as "said:" + the text in the log.
class FakeSpeechService final : public platform::SpeechEngine {
public:
    explicit FakeSpeechService(std::shared_ptr<SoundLog> log) : log_(std::move(log)) {}
    void say(const QString& text) override {
        QMutexLocker lock(&log_->mutex);
        log_->played << u"said:"_s + text;
        QTimer::singleShot(5, this, &SpeechEngine::finished);
    }

private:
    std::shared_ptr<SoundLog> log_;
};

// An engine whose voice takes `renderMs` to render a word.
platform::SpeechEngineFactory fakeVoice(std::shared_ptr<SoundLog> log, int renderMs) {
    return [log, renderMs] {
        auto render = [log, renderMs](const QString& text) {
            QThread::msleep(renderMs);
            QMutexLocker lock(&log->mutex);
            log->rendered << text;
            return platform::Pcm{text.toUtf8(), 16000};
        };
        return std::make_unique<platform::RenderingSpeechEngine>(
            render, std::make_unique<FakeSoundOutput>(log));
    };
}

// A voice of the program's own whose first `missingFor` words find no sound device, with a
// fake speech service to fall back on.
platform::SpeechEngineFactory voiceWithoutDevice(std::shared_ptr<SoundLog> log, int missingFor) {
    return [log, missingFor] {
        auto render = [](const QString& text) { return platform::Pcm{text.toUtf8(), 16000}; };
        return std::make_unique<platform::RenderingSpeechEngine>(
            render, std::make_unique<FakeSoundOutput>(log, missingFor),
            [log] { return std::make_unique<FakeSpeechService>(log); });
    };
}

QStringList words(int count) {
    QStringList list;
    for (int i = 0; i < count; ++i)
        list << u"word%1"_s.arg(i);
    return list;
}

} // namespace

class TestSpeechVoices : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The clearest voice first and chosen by default; the speech service still offered.
    void voicesListTheClearestFirstAndTheService() {
        const QList<platform::Voice> voices = platform::availableVoices();
        QStringList ids;
        for (const platform::Voice& voice : voices) {
            QVERIFY(!voice.caption.isEmpty());
            ids << voice.id;
        }
        QCOMPARE(ids, (QStringList{u"flite-rms"_s, u"flite-awb"_s, u"flite-kal16"_s, u"flite-slt"_s,
                                   u"flite-kal"_s, u"speech-service"_s}));
        QCOMPARE(platform::defaultVoiceId(), u"flite-rms"_s);
        QCOMPARE(platform::speechServiceVoiceId(), ids.last());
    }

    // Each voice of the program's own says a word, and starts with its sound, not with
    // the synthesiser's silence (which would delay every word).
    void ownVoicesRenderAWordWithoutLeadingSilence() {
        for (const QString& name : platform::FliteVoice::names()) {
            platform::FliteVoice* voice = platform::FliteVoice::find(name);
            QVERIFY2(voice, qPrintable(name));
            const platform::Pcm pcm = voice->render(u"apple"_s);
            QVERIFY2(pcm.durationMs() > 150 && pcm.durationMs() < 1500, qPrintable(name));
            const auto* samples = reinterpret_cast<const qint16*>(pcm.samples.constData());
            int firstLoud = 0;
            while (std::abs(samples[firstLoud]) < 300)
                ++firstLoud;
            QVERIFY2(firstLoud * 1000 / pcm.sampleRate < 80, qPrintable(name));
        }
        QVERIFY(!platform::FliteVoice::find(u"nonesuch"_s));
    }

    // The choice survives the program's end; a choice no longer available, or none,
    // gives the default voice.
    void voiceChoiceIsKeptAcrossStarts_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("used");
        QTest::newRow("nothing stored") << QString() << u"flite-rms"_s;
        QTest::newRow("another own voice") << u"flite-slt"_s << u"flite-slt"_s;
        QTest::newRow("the speech service") << u"speech-service"_s << u"speech-service"_s;
        QTest::newRow("a voice no longer there") << u"flite-gone"_s << u"flite-rms"_s;
    }
    void voiceChoiceIsKeptAcrossStarts() {
        QFETCH(QString, stored);
        QFETCH(QString, used);
        QTemporaryDir dir;
        const QString file = dir.filePath(u"config/veltyping.conf"_s);
        if (!stored.isNull())
            QVERIFY(platform::VoiceSetting(file).setVoice(stored));
        QCOMPARE(platform::VoiceSetting(file).voice(), used);
    }

    void unwritableSettingsAreReported() {
        QTemporaryDir dir;
        QFile blocker(dir.filePath(u"file"_s));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        QVERIFY(!platform::VoiceSetting(dir.filePath(u"file/veltyping.conf"_s))
                     .setVoice(u"flite-slt"_s));
    }

    // The speech service, chosen, says what it is asked and lets the queue go on (here no
    // service answers: the program's own voice stands in; either way the utterance ends).
    void speechServiceChoiceStillSpeaks() {
        QTemporaryDir dir;
        qputenv("SPEECHD_ADDRESS", "unix_socket:" + dir.filePath(u"none"_s).toLocal8Bit());
        const auto engine = platform::voiceEngineFactory(platform::speechServiceVoiceId())();
        QVERIFY(engine);
        bool finished = false;
        connect(engine.get(), &platform::SpeechEngine::finished, this, [&] { finished = true; });
        engine->say(u"apple"_s);
        QTRY_VERIFY_WITH_TIMEOUT(finished, 20000);
        qunsetenv("SPEECHD_ADDRESS");
    }

    // A class's words are rendered once, ahead, and then played from memory; a word asked
    // for before its turn to be rendered is rendered then, heard once, and not rendered
    // again; a second Start of the same class renders nothing anew.
    void wordsRenderedAheadPlayFromMemory_data() {
        QTest::addColumn<int>("renderMs");
        QTest::addColumn<int>("waitBeforeSpeakingMs");
        QTest::addColumn<int>("starts");
        QTest::addColumn<QStringList>("spoken");
        QTest::newRow("asked once all are rendered")
            << 1 << 500 << 1 << QStringList{u"word3"_s, u"word0"_s, u"word3"_s};
        QTest::newRow("asked before their turn")
            << 20 << 0 << 1 << QStringList{u"word9"_s, u"word8"_s, u"word0"_s};
        QTest::newRow("the same class started twice") << 1 << 300 << 2 << QStringList{u"word5"_s};
        QTest::newRow("a word not of the class")
            << 1 << 300 << 1 << QStringList{u"other"_s, u"word1"_s};
    }
    void wordsRenderedAheadPlayFromMemory() {
        QFETCH(int, renderMs);
        QFETCH(int, waitBeforeSpeakingMs);
        QFETCH(int, starts);
        QFETCH(QStringList, spoken);
        auto log = std::make_shared<SoundLog>();
        platform::Speech speech(fakeVoice(log, renderMs));
        const QStringList drillClass = words(10);
        for (int i = 0; i < starts; ++i) {
            speech.prepareWords(drillClass);
            QTest::qWait(waitBeforeSpeakingMs);
        }
        for (const QString& word : spoken)
            speech.speak(word);
        QTRY_COMPARE_WITH_TIMEOUT(log->playedSoFar(), spoken, 5000);

        QStringList expectedRenders = drillClass;
        for (const QString& word : spoken)
            if (!expectedRenders.contains(word))
                expectedRenders << word;
        QTRY_COMPARE_WITH_TIMEOUT(log->renderedSoFar().size(), expectedRenders.size(), 5000);
        QTest::qWait(100);
        QStringList rendered = log->renderedSoFar();
        rendered.sort();
        expectedRenders.sort();
        QCOMPARE(rendered, expectedRenders);
        QCOMPARE(log->playedSoFar(), spoken);
    }

    // Words that find no sound device go to the speech service, made only then, and the
    // learner is told once; the next word that finds one is played, and that is told too.
    void wordsWithoutSoundDeviceGoToTheService_data() {
        QTest::addColumn<int>("missingFor");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<QList<bool>>("missingTold");
        QTest::newRow("a device all along")
            << 0 << QStringList{u"one"_s, u"two"_s, u"three"_s} << QList<bool>{};
        QTest::newRow("none for the first word")
            << 1 << QStringList{u"said:one"_s, u"two"_s, u"three"_s} << QList<bool>{true, false};
        QTest::newRow("none for two words")
            << 2 << QStringList{u"said:one"_s, u"said:two"_s, u"three"_s}
            << QList<bool>{true, false};
    }
    void wordsWithoutSoundDeviceGoToTheService() {
        QFETCH(int, missingFor);
        QFETCH(QStringList, heard);
        QFETCH(QList<bool>, missingTold);
        auto log = std::make_shared<SoundLog>();
        platform::Speech speech(voiceWithoutDevice(log, missingFor));
        QList<bool> told;
        connect(&speech, &platform::Speech::soundDeviceMissing, this,
                [&](bool missing) { told << missing; });
        for (const QString& word : {u"one"_s, u"two"_s, u"three"_s})
            speech.speak(word);
        QTRY_COMPARE_WITH_TIMEOUT(log->playedSoFar(), heard, 5000);
        QTRY_COMPARE(told, missingTold);
    }

    // A search's word still waiting is replaced by the next search's; a drill's words are
    // never replaced. ("?" marks a search's word.)
    void aWaitingSearchWordIsReplacedByTheNext_data() {
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("heard");
        QTest::newRow("searches one after another")
            << QStringList{u"?a"_s, u"?b"_s, u"?c"_s, u"?d"_s} << QStringList{u"a"_s, u"d"_s};
        QTest::newRow("drill words between")
            << QStringList{u"?a"_s, u"x"_s, u"?b"_s, u"y"_s, u"?c"_s}
            << QStringList{u"a"_s, u"x"_s, u"y"_s, u"c"_s};
    }
    void aWaitingSearchWordIsReplacedByTheNext() {
        QFETCH(QStringList, asked);
        QFETCH(QStringList, heard);
        auto log = std::make_shared<SoundLog>();
        // The first word takes long enough to render that the others wait behind it.
        platform::Speech speech(fakeVoice(log, 100));
        for (const QString& word : asked)
            word.startsWith(u'?') ? speech.speakLatest(word.mid(1)) : speech.speak(word);
        QTRY_COMPARE_WITH_TIMEOUT(log->playedSoFar().size(), heard.size(), 5000);
        QTest::qWait(300);
        QCOMPARE(log->playedSoFar(), heard);
    }
};

QTEST_GUILESS_MAIN(TestSpeechVoices)
#include "tst_speech_voices.moc"
