#include "command_line.h"

#include <QCommandLineParser>

namespace app {

namespace {

struct Options {
    Options() {
        parser.setApplicationDescription(QStringLiteral(
            "英単語の落ち物ドリル（English vocabulary drill for Japanese learners）"));
        parser.addOption(folder);
        parser.addOption(version);
        parser.addOption(help);
        parser.addPositionalArgument(
            QStringLiteral("FILE"),
            QStringLiteral("A word book (*.vel) or word list (*.csv, *.tsv, *.txt) to open, as "
                           "ﾌｧｲﾙ → 単語帳を開く opens one."),
            QStringLiteral("[FILE]"));
    }

    QCommandLineParser parser;
    const QCommandLineOption folder{
        QStringLiteral("folder"),
        QStringLiteral("Program folder with Word.dat, display.txt and result.txt."),
        QStringLiteral("DIR")};
    const QCommandLineOption version{QStringLiteral("version"),
                                     QStringLiteral("Print the version and exit.")};
    const QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Print this help and exit.")};
};

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    Options options;
    QCommandLineParser& parser = options.parser;
    // --help and --version are answered even beside arguments that are wrong otherwise.
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(options.help))
        return {.action = CommandLine::Action::Help};
    if (parser.isSet(options.version))
        return {.action = CommandLine::Action::Version};
    if (!parsed)
        return {.action = CommandLine::Action::Usage, .problem = parser.errorText()};
    if (parser.positionalArguments().size() > 1)
        return {.action = CommandLine::Action::Usage,
                .problem = QStringLiteral("only one FILE can be opened")};
    CommandLine line{.book = parser.positionalArguments().value(0)};
    if (parser.isSet(options.folder))
        line.folder = parser.value(options.folder);
    return line;
}

QString commandLineHelp() { return Options().parser.helpText(); }

} // namespace app
