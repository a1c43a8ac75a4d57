// Renders words in the program's own voices, exactly as the program plays them, for
// bench/voice_intelligibility.sh.
//
// bench_voice_render --list                      the voices, the default first
// bench_voice_render --voice ID --words FILE --out DIR
//     writes DIR/N.raw (16-bit mono) for the Nth line of FILE, and prints the sample rate;
//     exit status 2 for a voice that is not the program's own (the speech service).

#include "platform/flite_voice.h"
#include "platform/voices.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption listOption(QStringLiteral("list"), QStringLiteral("List voices."));
    const QCommandLineOption voiceOption(QStringLiteral("voice"), QStringLiteral("Voice id."),
                                         QStringLiteral("ID"));
    const QCommandLineOption wordsOption(QStringLiteral("words"), QStringLiteral("Word list."),
                                         QStringLiteral("FILE"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Folder."),
                                       QStringLiteral("DIR"));
    parser.addOptions({listOption, voiceOption, wordsOption, outOption});
    parser.process(app);
    QTextStream out(stdout);

    if (parser.isSet(listOption)) {
        for (const platform::Voice& voice : platform::availableVoices())
            out << voice.id << '\n';
        return 0;
    }
    const QString id = parser.value(voiceOption);
    const QString prefix = QStringLiteral("flite-");
    platform::FliteVoice* voice =
        id.startsWith(prefix) ? platform::FliteVoice::find(id.mid(prefix.size())) : nullptr;
    if (!voice)
        return 2;
    QFile words(parser.value(wordsOption));
    if (!words.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read the words");
    const QDir folder(parser.value(outOption));
    int line = 0;
    int rate = 0;
    while (!words.atEnd()) {
        const QString word = QString::fromUtf8(words.readLine()).trimmed();
        const platform::Pcm pcm = voice->render(word);
        rate = pcm.sampleRate ? pcm.sampleRate : rate;
        QFile raw(folder.filePath(QStringLiteral("%1.raw").arg(++line)));
        if (!raw.open(QIODevice::WriteOnly) || raw.write(pcm.samples) != pcm.samples.size())
            qFatal("cannot write %s", qPrintable(raw.fileName()));
    }
    out << rate << '\n';
    return 0;
}
