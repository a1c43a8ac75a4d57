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

// Plays for a few milliseconds; the sound's bytes are the word's text.
class FakeSoundOutput final : public platform::SoundOutput {
public:
    explicit FakeSoundOutput(std::shared_ptr<SoundLog> log) : log_(std::move(log)) {}
    bool play(const platform::Pcm& pcm) override {
        QMutexLocker lock(&log_->mutex);
        log_->played << QString::fromUtf8(pcm.samples);
        QTimer::singleShot(5, this, &SoundOutput::taken);
        return true;
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
};

QTEST_GUILESS_MAIN(TestSpeechVoices)
#include "tst_speech_voices.moc"
