// The program survives its speech service, and closing the window ends it promptly and frees
// its folder, whatever the service does. The real program runs on a virtual display, set to
// speak through the system's speech service, against a service that takes the connection and
// never answers, or one that closes each connection at once (writing to it would raise
// SIGPIPE); a search makes it speak, and the window is closed from the keyboard.
#include "platform/voices.h"
#include "session/program_folder.h"

#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Takes every connection and either reads whatever is sent, never saying a word back, or
// closes it at once.
class FakeSpeechService : public QLocalServer {
public:
    FakeSpeechService(const QString& path, bool closesAtOnce) {
        setSocketOptions(QLocalServer::UserAccessOption);
        listen(path);
        connect(this, &QLocalServer::newConnection, this, [this, closesAtOnce] {
            while (QLocalSocket* client = nextPendingConnection()) {
                ++connections;
                if (closesAtOnce)
                    client->abort();
                else
                    connect(client, &QLocalSocket::readyRead, client,
                            [client] { client->readAll(); });
            }
        });
    }
    int connections = 0;
};

// An X display of its own; the program's window appears there.
class VirtualDisplay {
public:
    bool start() {
        server_.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s, u"-screen"_s,
                                  u"0"_s, u"1024x768x24"_s});
        if (!server_.waitForStarted(5000))
            return false;
        QElapsedTimer waited;
        waited.start();
        while (!server_.canReadLine() && waited.elapsed() < 10000)
            server_.waitForReadyRead(100);
        const QByteArray number = server_.readLine().trimmed();
        name_ = number.isEmpty() ? QString() : u":"_s + QString::fromLatin1(number);
        return !name_.isEmpty();
    }
    ~VirtualDisplay() {
        server_.kill();
        server_.waitForFinished(5000);
    }
    QString name() const { return name_; }

private:
    QProcess server_;
    QString name_;
};

// Runs xdotool on the display; its standard output.
QByteArray xdotool(const QString& display, const QStringList& arguments) {
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DISPLAY"_s, display);
    tool.setProcessEnvironment(env);
    tool.start(u"xdotool"_s, arguments);
    tool.waitForFinished(15000);
    return tool.readAllStandardOutput();
}

} // namespace

class TestSpeechExit : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void programSurvivesItsSpeechService_data() {
        QTest::addColumn<bool>("closesAtOnce");
        QTest::addColumn<int>("starts");
        QTest::newRow("a mute service") << false << 1;
        QTest::newRow("a service that closes each connection") << true << 20;
    }
    void programSurvivesItsSpeechService() {
        QFETCH(bool, closesAtOnce);
        QFETCH(int, starts);
        if (QStandardPaths::findExecutable(u"Xvfb"_s).isEmpty() ||
            QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
            QSKIP("needs Xvfb and xdotool");
        QTemporaryDir dir;
        FakeSpeechService service(dir.filePath(u"speechd.sock"_s), closesAtOnce);
        QVERIFY(service.isListening());
        VirtualDisplay display;
        QVERIFY(display.start());
        QVERIFY(platform::VoiceSetting(dir.filePath(u"config/veltyping/veltyping.conf"_s))
                    .setVoice(platform::speechServiceVoiceId()));

        for (int start = 0; start < starts; ++start) {
            const int connectionsBefore = service.connections;
            const QString folder = dir.filePath(u"folder"_s);
            QProcess program;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(u"DISPLAY"_s, display.name());
            env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
            env.insert(u"SPEECHD_ADDRESS"_s, u"unix_socket:"_s + service.fullServerName());
            env.insert(u"HOME"_s, dir.path());
            env.insert(u"XDG_CONFIG_HOME"_s, dir.filePath(u"config"_s));
            env.insert(u"XDG_RUNTIME_DIR"_s, dir.path());
            program.setProcessEnvironment(env);
            program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            program.start(QStringLiteral(VELTYPING_EXECUTABLE), {u"--folder"_s, folder});
            QVERIFY(program.waitForStarted(5000));

            const QList<QByteArray> windows =
                xdotool(display.name(), {u"search"_s, u"--sync"_s, u"--onlyvisible"_s, u"--pid"_s,
                                         QString::number(program.processId())})
                    .split('\n');
            const QString window = QString::fromLatin1(windows.value(0));
            QVERIFY2(!window.isEmpty(), "no window");
            // A word of the default book in the answer box, and 検索: it is spoken.
            xdotool(display.name(), {u"windowfocus"_s, u"--sync"_s, window, u"type"_s, u"go"_s});
            xdotool(display.name(), {u"key"_s, u"alt+f"_s});
            QTRY_VERIFY_WITH_TIMEOUT(service.connections > connectionsBefore, 5000);
            // The speech thread is now, or soon, writing to the service; give it the time.
            QTest::qWait(1000);
            QVERIFY2(
                program.state() == QProcess::Running,
                qPrintable(u"start %1 ended with %2"_s.arg(start + 1).arg(program.exitCode())));
            xdotool(display.name(), {u"windowfocus"_s, u"--sync"_s, window, u"key"_s, u"ctrl+q"_s});

            QElapsedTimer closing;
            closing.start();
            const bool ended = program.waitForFinished(5000);
            if (!ended) {
                program.kill();
                program.waitForFinished(5000);
            }
            QVERIFY2(ended && closing.elapsed() < 3000,
                     qPrintable(u"still running after %1 ms"_s.arg(closing.elapsed())));
            QCOMPARE(program.exitStatus(), QProcess::NormalExit);
            QCOMPARE(program.exitCode(), 0);

            session::FolderClaim next(folder);
            QString reason;
            QCOMPARE(next.claim(&reason), session::FolderClaim::Result::Claimed);
        }
    }
};

QTEST_GUILESS_MAIN(TestSpeechExit)
#include "tst_speech_exit.moc"
