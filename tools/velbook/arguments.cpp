#include "arguments.h"

#include <QCommandLineParser>

namespace velbook {

namespace {

const char* const kToolHelp =
    "Usage: velbook COMMAND [ARGUMENTS]\n"
    "\n"
    "Makes, exports and checks word books (Word.dat and *.vel files) of\n"
    "ヴェルタイピング for English.\n"
    "\n"
    "Commands:\n"
    "  create LIST OUT [--title TEXT] [--meanings]\n"
    "                                  build a word book from a word list\n"
    "  export BOOK [-o OUT.tsv]        write a book's word list\n"
    "  check BOOK                      tell whether a file is a sound word book\n"
    "\n"
    "A word list has one word a row, class,english,japanese, as a spreadsheet saves\n"
    "it: CSV or tab-delimited text, UTF-8 or CP932. Its first line may be\n"
    "\"# title: TEXT\"; other rows starting with '#' are comments.\n"
    "\n"
    "Run \"velbook COMMAND --help\" for the details of a command.\n"
    "Exit status: 0 success, 1 refused input or a book that is not valid, 2 usage error.\n";

const char* const kCreateHelp =
    "Usage: velbook create LIST OUT [--title TEXT] [--meanings]\n"
    "\n"
    "Builds the word book OUT from the word list LIST, exactly as the program's Open\n"
    "does: the same list makes the same book, byte for byte.\n"
    "\n"
    "A row is class,english,japanese; a list of only english,japanese makes a class\n"
    "of every 50 rows (クラス1, クラス2, ...). The list is CSV or tab-delimited text\n"
    "(found from the first rows), UTF-8 with or without a byte order mark or CP932\n"
    "(found from the bytes), quoted as spreadsheets quote; a first row of column\n"
    "names (class,english,japanese, クラス,英語,日本語, ...) and blank rows are skipped.\n"
    "\n"
    "Classes come in the order of their first row. Each class needs exactly 50 rows, and\n"
    "a book holds 1 to 24 classes. Within a class no English word and no Japanese meaning\n"
    "may appear twice. Every text must be writable in Shift-JIS (CP932) and hold no\n"
    "control character, and the English word and Japanese meaning of a row take at most\n"
    "114 bytes together (a full-width character takes 2). Blanks around a text are\n"
    "dropped.\n"
    "\n"
    "The title is TEXT, else the list's \"# title:\" line, else the list's file name.\n"
    "On any problem every refused line is reported as FILE:LINE: reason and nothing is\n"
    "written; otherwise OUT is replaced in one step. A list larger than 16 MiB, and a\n"
    "list or OUT that is a folder, FIFO or device, is refused.\n"
    "\n"
    "With --meanings, a row whose Japanese meaning is missing or empty takes the first\n"
    "meaning proposed from the English-Japanese dictionaries installed on this machine\n"
    "(FreeDict eng-jpn, CC BY-SA 3.0, Debian package dict-freedict-eng-jpn; EDICT,\n"
    "CC BY-SA 3.0, Debian package edict) that fits and is not yet in its class, and a\n"
    "list of English words alone, one a line, is accepted. Rows that have a meaning keep\n"
    "it. How many meanings were filled, and each word none was found for, is said on\n"
    "standard error; a word without one is refused.\n"
    "\n"
    "Options:\n"
    "  --title TEXT  the title of the book (shown followed by 向け)\n"
    "  --meanings    fill missing meanings from the installed dictionaries\n"
    "  -h, --help    show this help\n";

const char* const kExportHelp =
    "Usage: velbook export BOOK [-o OUT.tsv]\n"
    "\n"
    "Writes the word list of BOOK, with its title in a leading \"# title:\" line, to\n"
    "OUT.tsv or to standard output. \"velbook create\" reads it back to the same words;\n"
    "learning records are not part of the list. A book that \"velbook check\" does not\n"
    "find valid is refused and nothing is written; OUT.tsv is replaced in one step.\n"
    "\n"
    "Options:\n"
    "  -o, --output OUT.tsv  the file to write instead of standard output\n"
    "  -h, --help            show this help\n";

const char* const kCheckHelp =
    "Usage: velbook check BOOK\n"
    "\n"
    "Tells whether BOOK is a valid, obsolete (\"Fin.\") or broken word book, and why:\n"
    "the end record, the file size, each record's string lengths, encoding and control\n"
    "characters, and the records behind the end record. Statistics that disagree with\n"
    "the word records, as an interrupted drill leaves them, give a warning; the book\n"
    "stays valid.\n"
    "Exit status 0 for a valid book, 1 otherwise.\n"
    "\n"
    "Options:\n"
    "  -h, --help  show this help\n";

Request printOnly(QString out, QString err, int exit) {
    return {.out = std::move(out), .err = std::move(err), .exit = exit};
}

// Parses a command's own arguments; a request to print only when the command must not run.
std::optional<Request> parseCommand(QCommandLineParser& parser, const QStringList& arguments,
                                    const char* help, int positionals) {
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help."));
    parser.addOption(helpOption);
    // A usage error shows the command's usage line, not the whole help.
    const QString usage = QString::fromUtf8(help).section(u'\n', 0, 0);
    const QString command = arguments.constFirst().section(u' ', -1);
    const QString more = QStringLiteral("Run \"velbook %1 --help\" for more.\n").arg(command);
    if (!parser.parse(arguments))
        return printOnly(
            {}, QStringLiteral("velbook: ") + parser.errorText() + u'\n' + usage + u'\n' + more,
            Usage);
    if (parser.isSet(helpOption))
        return printOnly(QString::fromUtf8(help), {}, Success);
    if (parser.positionalArguments().size() != positionals)
        return printOnly(
            {}, QStringLiteral("velbook: wrong number of arguments\n") + usage + u'\n' + more,
            Usage);
    return std::nullopt;
}

Request parseCreate(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption titleOption(QStringLiteral("title"), QStringLiteral("Book title."),
                                         QStringLiteral("TEXT"));
    parser.addOption(titleOption);
    const QCommandLineOption meaningsOption(QStringLiteral("meanings"),
                                            QStringLiteral("Fill missing meanings."));
    parser.addOption(meaningsOption);
    if (auto refused = parseCommand(parser, arguments, kCreateHelp, 2))
        return *refused;
    Request request{.command = Request::Command::Create, .paths = parser.positionalArguments()};
    if (parser.isSet(titleOption))
        request.title = parser.value(titleOption);
    request.meanings = parser.isSet(meaningsOption);
    return request;
}

Request parseExport(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")},
                                          QStringLiteral("Output file."),
                                          QStringLiteral("OUT.tsv"));
    parser.addOption(outputOption);
    if (auto refused = parseCommand(parser, arguments, kExportHelp, 1))
        return *refused;
    Request request{.command = Request::Command::Export, .paths = parser.positionalArguments()};
    if (parser.isSet(outputOption))
        request.output = parser.value(outputOption);
    return request;
}

Request parseCheck(const QStringList& arguments) {
    QCommandLineParser parser;
    if (auto refused = parseCommand(parser, arguments, kCheckHelp, 1))
        return *refused;
    return {.command = Request::Command::Check, .paths = parser.positionalArguments()};
}

} // namespace

Request parseArguments(const QStringList& arguments) {
    const QString command = arguments.value(1);
    if (command == u"-h" || command == u"--help" || command == u"help")
        return printOnly(QString::fromUtf8(kToolHelp), {}, Success);
    if (command == u"--version")
        return printOnly(QStringLiteral("velbook " VELTYPING_VERSION "\n"), {}, Success);
    // A command's parser sees "velbook COMMAND" as its program name.
    const QStringList commandArguments =
        QStringList{arguments.value(0) + u' ' + command} + arguments.mid(2);
    if (command == u"create")
        return parseCreate(commandArguments);
    if (command == u"export")
        return parseExport(commandArguments);
    if (command == u"check")
        return parseCheck(commandArguments);
    return printOnly({},
                     (command.isEmpty()
                          ? QStringLiteral("velbook: no command given\n")
                          : QStringLiteral("velbook: unknown command \"%1\"\n").arg(command)) +
                         QString::fromUtf8(kToolHelp),
                     Usage);
}

} // namespace velbook
