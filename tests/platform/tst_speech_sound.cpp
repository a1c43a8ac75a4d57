// The program's own voice through a real audio server (PulseAudio with a null sink, whose
// monitor is recorded): the voice comes back after the server is killed and started again,
// and a word that finds no server is said to find none.
#include "platform/speech.h"
#include "platform/voices.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A PulseAudio server of the test's own, with one null sink, at a fixed socket.
class AudioServer {
public:
    explicit AudioServer(const QString& dir) : dir_(dir) {}
    ~AudioServer() { kill(); }
    QString socket() const { return dir_ + u"/native"_s; }

    bool start() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"HOME"_s, dir_);
        env.insert(u"XDG_RUNTIME_DIR"_s, dir_);
        server_.setProcessEnvironment(env);
        server_.setProcessChannelMode(QProcess::MergedChannels);
        server_.start(u"pulseaudio"_s,
                      {u"-n"_s, u"--daemonize=no"_s, u"--exit-idle-time=-1"_s,
                       u"--use-pid-file=no"_s, u"-L"_s, u"module-null-sink sink_name=speakers"_s,
                       u"-L"_s,
                       u"module-native-protocol-unix auth-anonymous=1 socket="_s + socket()});
        if (!server_.waitForStarted(5000))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 10000) {
            QProcess info;
            info.setProcessEnvironment(clientEnvironment());
            info.start(u"pactl"_s, {u"info"_s});
            if (info.waitForFinished(5000) && info.exitCode() == 0)
                return true;
            QTest::qWait(50);
        }
        return false;
    }
    void kill() {
        server_.kill(); // as kill -9
        server_.waitForFinished(5000);
    }

    // Records the sink for `ms` while `during` runs; the loudest sample heard.
    int loudestWhile(int ms, const std::function<void()>& during) {
        QProcess recorder;
        recorder.setProcessEnvironment(clientEnvironment());
        QByteArray sound;
        QObject::connect(&recorder, &QProcess::readyReadStandardOutput, &recorder,
                         [&] { sound += recorder.readAllStandardOutput(); });
        recorder.start(u"parec"_s,
                       {u"-d"_s, u"speakers.monitor"_s, u"--raw"_s, u"--latency-msec=20"_s,
                        u"--format=s16le"_s, u"--channels=1"_s, u"--rate=16000"_s});
        if (!recorder.waitForStarted(5000))
            return -1;
        QTest::qWait(200);
        during();
        QTest::qWait(ms);
        recorder.kill();
        recorder.waitForFinished(5000);
        sound += recorder.readAllStandardOutput();
        const auto* samples = reinterpret_cast<const qint16*>(sound.constData());
        int loudest = 0;
        for (qsizetype i = 0; i < sound.size() / 2; ++i)
            loudest = std::max(loudest, std::abs(int(samples[i])));
        return loudest;
    }

private:
    QProcessEnvironment clientEnvironment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"PULSE_SERVER"_s, u"unix:"_s + socket());
        return env;
    }

    QString dir_;
    QProcess server_;
};

constexpr int kHeard = 1000; // a word is far louder; the null sink's silence is 0

} // namespace

class TestSpeechSound : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        if (QStandardPaths::findExecutable(u"pulseaudio"_s).isEmpty() ||
            QStandardPaths::findExecutable(u"parec"_s).isEmpty())
            QSKIP("needs pulseaudio and parec");
        QVERIFY(dir_.isValid());
        // Before the first word looks for a server.
        qputenv("PULSE_SERVER", "unix:" + dir_.filePath(u"native"_s).toLocal8Bit());
        // A speech service that is not there: only the program's own voice can be heard.
        qputenv("SPEECHD_ADDRESS", "unix_socket:" + dir_.filePath(u"none"_s).toLocal8Bit());
    }

    // Killed as kill -9 does, in the middle of a word or while the voice is quiet, and
    // started again at once or after a while; the words asked for after the restart are
    // heard. Each row is a new Speech, and the voice is chosen anew before the kill, so the
    // thread that first played a sound has ended by then.
    void voiceComesBackAfterTheServerRestarts_data() {
        QTest::addColumn<int>("killAfterMs");
        QTest::addColumn<int>("goneForMs");
        QTest::newRow("killed in the middle of a word") << 700 << 1000;
        QTest::newRow("killed while the voice is quiet") << 4000 << 1000;
        QTest::newRow("gone for five seconds") << 4000 << 5000;
    }
    void voiceComesBackAfterTheServerRestarts() {
        QFETCH(int, killAfterMs);
        QFETCH(int, goneForMs);
        AudioServer server(dir_.path());
        if (!server.start())
            QSKIP("pulseaudio cannot be started here");
        platform::Speech speech(platform::voiceEngineFactory(platform::defaultVoiceId()));
        QVERIFY(heardSoon(server, speech));
        speech.setVoice(platform::defaultVoiceId());
        QVERIFY(heardSoon(server, speech));
        speech.speak(u"one two three four five six seven eight nine ten"_s);
        QTest::qWait(killAfterMs);
        server.kill();
        speech.speak(u"apple"_s);
        QTest::qWait(goneForMs);
        QVERIFY(server.start());
        QVERIFY(heardSoon(server, speech));
    }

    // Said, so that the status line can tell the learner why nothing is heard.
    void lostServerIsSaid() {
        AudioServer server(dir_.path());
        if (!server.start())
            QSKIP("pulseaudio cannot be started here");
        platform::Speech speech(platform::voiceEngineFactory(platform::defaultVoiceId()));
        QVERIFY(heardSoon(server, speech));
        QSignalSpy missing(&speech, &platform::Speech::soundDeviceMissing);
        server.kill();
        QTest::qWait(1000);
        speech.speak(u"apple"_s);
        QTRY_COMPARE_WITH_TIMEOUT(missing.size(), 1, 10000);
        QCOMPARE(missing.at(0).at(0).toBool(), true);
    }

private:
    // A word asked for every two seconds is heard within ten: the sound system may take a
    // few seconds to find a server that has just started.
    static bool heardSoon(AudioServer& server, platform::Speech& speech) {
        for (int tries = 0; tries < 5; ++tries)
            if (server.loudestWhile(2000, [&] { speech.speak(u"banana"_s); }) > kHeard)
                return true;
        return false;
    }

    QTemporaryDir dir_;
};

QTEST_GUILESS_MAIN(TestSpeechSound)
#include "tst_speech_sound.moc"
