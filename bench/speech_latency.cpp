// How many spoken words are heard, and how soon after they are asked for, while recording
// the sound card's output (the monitor of a PulseAudio sink, through parec): first ten
// words asked of an idle engine, each timed to the start of its sound; then COUNT words on
// a drill-like schedule (quick pairs and pauses), counted as sounds and matched in order
// to the sounds that begin after them. Run by bench/speech_latency.sh with a null sink.
//
// With --listening the schedule is a listening drill's instead: the first 50 words are
// handed to prepareWords at "Start", and then Enter asks for one of them at a time, a
// second or more apart (the learner answers in between).
//
// bench_speech_latency --words FILE [--count N] [--sink NAME] [--engine NAME] [--direct]
//                      [--listening]
// NAME: a voice id of the program (flite-rms, ..., speech-service), or a QTextToSpeech
// engine ("default": the system's, "flite": Qt's own plugin).
// --direct drives QTextToSpeech on the calling thread, say() for each word as it comes
// (how the program spoke before its speech worker); without it, platform::Speech.

#include "platform/speech.h"
#include "platform/voices.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTextStream>
#include <QTextToSpeech>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kRate = 16000;
constexpr int kFrame = kRate / 100;        // 10 ms
constexpr int kLoud = 300;                 // peak above this: sound
constexpr int kSilenceBeforeOnsetMs = 100; // a new utterance follows this much silence
constexpr int kIdleMs = 1000;              // silence before a word asked of an idle engine
constexpr int kIdleRequests = 10;
// Gaps between requests, cycled: quick pairs (a pick, then the answer) and pauses.
constexpr int kGapsMs[] = {1500, 300, 1000, 150, 2000, 600};
// In a listening drill Enter speaks only once the last word was answered.
constexpr int kListeningGapsMs[] = {1500, 2500, 1200, 3000, 2000};
constexpr int kClassSize = 50;

// Finds the starts of sounds in 16-bit mono samples, timed by the clock at arrival.
class OnsetFinder {
public:
    void feed(const QByteArray& bytes, qint64 arrivalMs) {
        buffer_.append(bytes);
        const int frames = int(buffer_.size() / 2 / kFrame);
        const auto* samples = reinterpret_cast<const qint16*>(buffer_.constData());
        for (int f = 0; f < frames; ++f) {
            int peak = 0;
            for (int i = 0; i < kFrame; ++i)
                peak = std::max(peak, std::abs(int(samples[f * kFrame + i])));
            const qint64 frameMs = arrivalMs - (frames - f) * 10;
            if (peak > kLoud) {
                if (silentMs_ >= kSilenceBeforeOnsetMs)
                    onsets.push_back(frameMs);
                silentMs_ = 0;
                lastSoundMs = frameMs;
            } else {
                silentMs_ += 10;
            }
        }
        buffer_.remove(0, frames * kFrame * 2);
    }

    std::vector<qint64> onsets;
    qint64 lastSoundMs = -1;

private:
    QByteArray buffer_;
    qint64 silentMs_ = kSilenceBeforeOnsetMs;
};

double percentile(std::vector<qint64> values, double p) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * double(values.size())))] / 1000.0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption wordsOption(QStringLiteral("words"), QStringLiteral("Word list."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption countOption(QStringLiteral("count"), QStringLiteral("Requests."),
                                         QStringLiteral("N"), QStringLiteral("50"));
    const QCommandLineOption sinkOption(QStringLiteral("sink"), QStringLiteral("Sink to record."),
                                        QStringLiteral("NAME"), QStringLiteral("bench"));
    const QCommandLineOption engineOption(QStringLiteral("engine"), QStringLiteral("Engine."),
                                          QStringLiteral("NAME"), QStringLiteral("default"));
    const QCommandLineOption directOption(QStringLiteral("direct"),
                                          QStringLiteral("QTextToSpeech on this thread."));
    const QCommandLineOption listeningOption(QStringLiteral("listening"),
                                             QStringLiteral("A listening drill's schedule."));
    parser.addOptions(
        {wordsOption, countOption, sinkOption, engineOption, directOption, listeningOption});
    parser.process(app);

    QStringList words;
    QFile wordFile(parser.value(wordsOption));
    if (wordFile.open(QIODevice::ReadOnly | QIODevice::Text)) {
        QTextStream in(&wordFile);
        while (!in.atEnd()) {
            const QString word = in.readLine().trimmed();
            if (!word.isEmpty())
                words << word;
        }
    }
    if (words.isEmpty())
        qFatal("no words");
    const int count = parser.value(countOption).toInt();
    const QString engineName = parser.value(engineOption);
    const bool direct = parser.isSet(directOption);
    const bool listening = parser.isSet(listeningOption);
    const QList<platform::Voice> voices = platform::availableVoices();
    const bool programVoice = std::any_of(
        voices.begin(), voices.end(), [&](const auto& voice) { return voice.id == engineName; });

    QElapsedTimer clock;
    clock.start();
    OnsetFinder finder;
    QProcess recorder;
    QObject::connect(&recorder, &QProcess::readyReadStandardOutput,
                     [&] { finder.feed(recorder.readAllStandardOutput(), clock.elapsed()); });
    recorder.start(QStringLiteral("parec"),
                   {QStringLiteral("-d"), parser.value(sinkOption) + QStringLiteral(".monitor"),
                    QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                    QStringLiteral("--rate=16000"), QStringLiteral("--channels=1"),
                    QStringLiteral("--latency-msec=10")});
    if (!recorder.waitForStarted())
        qFatal("parec did not start");
    // Recording has begun once the first samples come.
    recorder.waitForReadyRead(10000);

    auto makeTts = [engineName] {
        auto tts = engineName == QStringLiteral("default")
                       ? std::make_unique<QTextToSpeech>()
                       : std::make_unique<QTextToSpeech>(engineName);
        tts->setLocale(QLocale(QLocale::English, QLocale::UnitedStates));
        return tts;
    };
    std::unique_ptr<QTextToSpeech> directTts;
    std::unique_ptr<platform::Speech> speech;
    platform::SpeechEngineFactory factory;
    if (programVoice)
        factory = platform::voiceEngineFactory(engineName);
    else if (engineName != QStringLiteral("default"))
        factory = [engineName] {
            return platform::makeSpeechEngine(std::make_unique<QTextToSpeech>(engineName));
        };
    if (direct)
        directTts = makeTts();
    else
        speech = std::make_unique<platform::Speech>(factory);
    auto say = [&](const QString& text) {
        if (direct)
            directTts->say(text);
        else
            speech->speak(text);
    };

    // Warm up: the engine is up once a first word is heard and has ended.
    say(QStringLiteral("ready"));
    const qint64 warmUpStart = clock.elapsed();
    while (finder.onsets.empty() && clock.elapsed() - warmUpStart < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (finder.onsets.empty())
        qFatal("no sound from the engine");
    const qint64 engineUpMs = finder.onsets.front() - warmUpStart;
    while (clock.elapsed() - finder.lastSoundMs < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);

    // The learner's wait: a word asked of an idle engine, to the start of its sound.
    std::vector<qint64> idleLatencies;
    for (int i = 0; i < kIdleRequests; ++i) {
        const size_t heard = finder.onsets.size();
        const qint64 request = clock.elapsed();
        say(words[(i + 100) % words.size()]);
        while (finder.onsets.size() == heard && clock.elapsed() - request < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (finder.onsets.size() > heard)
            idleLatencies.push_back(finder.onsets[heard] - request);
        while (clock.elapsed() - finder.lastSoundMs < kIdleMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    // Drill-like: quick pairs and pauses; or a listening drill of one class.
    const QStringList drillClass = words.mid(0, kClassSize);
    if (listening && speech) {
        speech->prepareWords(drillClass);
        const qint64 until = clock.elapsed() + kListeningGapsMs[0];
        while (clock.elapsed() < until)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    const size_t firstOnset = finder.onsets.size();
    std::vector<qint64> requestMs;
    for (int i = 0; i < count; ++i) {
        requestMs.push_back(clock.elapsed());
        say(listening ? drillClass[(i * 7) % drillClass.size()] : words[i % words.size()]);
        const int gap = listening ? kListeningGapsMs[i % std::size(kListeningGapsMs)]
                                  : kGapsMs[i % std::size(kGapsMs)];
        const qint64 until = clock.elapsed() + gap;
        while (clock.elapsed() < until)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    // Let the queue drain: until 3 s of silence, or 60 s.
    const qint64 drainStart = clock.elapsed();
    while ((clock.elapsed() - std::max(finder.lastSoundMs, drainStart)) < 3000 &&
           clock.elapsed() - drainStart < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    recorder.kill();
    recorder.waitForFinished();

    // In order: each request takes the first sound that begins after it and after the one
    // the request before it took (meaningful when none is lost).
    std::vector<qint64> latencies;
    size_t next = firstOnset;
    for (const qint64 request : requestMs) {
        while (next < finder.onsets.size() && finder.onsets[next] < request)
            ++next;
        if (next >= finder.onsets.size())
            break;
        latencies.push_back(finder.onsets[next] - request);
        ++next;
    }
    const int sounds = int(finder.onsets.size() - firstOnset);
    const auto over = [](const std::vector<qint64>& values, qint64 ms) {
        return std::count_if(values.begin(), values.end(), [ms](qint64 v) { return v > ms; });
    };
    QTextStream(stdout) << (direct ? "say() as requests come" : "speech worker") << ", engine "
                        << engineName << (listening ? ", listening drill" : "") << " (up after "
                        << engineUpMs / 1000.0 << " s): " << count << " drill-like requests, "
                        << sounds << " sounds heard, " << std::max(0, count - sounds)
                        << " missing\n  idle engine (" << idleLatencies.size() << " of "
                        << kIdleRequests << " heard): to sound median "
                        << percentile(idleLatencies, 0.5) << " s, max "
                        << percentile(idleLatencies, 1.0)
                        << " s, over 0.2 s: " << over(idleLatencies, 200)
                        << "\n  every request, in order: median " << percentile(latencies, 0.5)
                        << " s, p90 " << percentile(latencies, 0.9) << " s, max "
                        << percentile(latencies, 1.0) << " s, over 1 s: " << over(latencies, 1000)
                        << "\n";
    return 0;
}
