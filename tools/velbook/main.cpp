// velbook: the command line over the word book code in src/book.
#include "book/book_check.h"
#include "book/book_lists.h"
#include "book/file_report.h"
#include "book/whole_file.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <optional>

namespace {

enum Exit { Success = 0, Refused = 1, Usage = 2 };

const char* const kToolHelp =
    "Usage: velbook COMMAND [ARGUMENTS]\n"
    "\n"
    "Makes, exports and checks word books (Word.dat and *.vel files) of\n"
    "ヴェルタイピング for English.\n"
    "\n"
    "Commands:\n"
    "  create LIST OUT [--title TEXT]  build a word book from a word list\n"
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
    "Usage: velbook create LIST OUT [--title TEXT]\n"
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
    "Options:\n"
    "  --title TEXT  the title of the book (shown followed by 向け)\n"
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
    "characters, and the records behind the end record. Statistics that disagree with the word "
    "records, as\n"
    "an interrupted drill leaves them, give a warning; the book stays valid.\n"
    "Exit status 0 for a valid book, 1 otherwise.\n"
    "\n"
    "Options:\n"
    "  -h, --help  show this help\n";

QTextStream& out() {
    static QTextStream stream(stdout);
    return stream;
}

QTextStream& err() {
    static QTextStream stream(stderr);
    return stream;
}

// Parses a command's own arguments; the exit status when the command must not run.
std::optional<int> parseCommand(QCommandLineParser& parser, const QStringList& arguments,
                                const char* help, int positionals) {
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Show this help."));
    parser.addOption(helpOption);
    // A usage error shows the command's usage line, not the whole help.
    const QString usage = QString::fromUtf8(help).section(u'\n', 0, 0);
    const QString command = arguments.constFirst().section(u' ', -1);
    if (!parser.parse(arguments)) {
        err() << "velbook: " << parser.errorText() << "\n"
              << usage << "\n"
              << "Run \"velbook " << command << " --help\" for more.\n";
        return Usage;
    }
    if (parser.isSet(helpOption)) {
        out() << help;
        return Success;
    }
    if (parser.positionalArguments().size() != positionals) {
        err() << "velbook: wrong number of arguments\n"
              << usage << "\n"
              << "Run \"velbook " << command << " --help\" for more.\n";
        return Usage;
    }
    return std::nullopt;
}

int runCreate(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption titleOption(QStringLiteral("title"), QStringLiteral("Book title."),
                                         QStringLiteral("TEXT"));
    parser.addOption(titleOption);
    if (auto status = parseCommand(parser, arguments, kCreateHelp, 2))
        return *status;
    const QStringList paths = parser.positionalArguments();
    std::optional<QString> title;
    if (parser.isSet(titleOption))
        title = parser.value(titleOption);

    const QStringList problems = book::createBookFromList(paths[0], paths[1], title);
    for (const QString& problem : problems)
        err() << problem << "\n";
    if (!problems.isEmpty()) {
        err() << "velbook: " << paths[1] << " was not written\n";
        return Refused;
    }
    return Success;
}

int runExport(const QStringList& arguments) {
    QCommandLineParser parser;
    const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")},
                                          QStringLiteral("Output file."),
                                          QStringLiteral("OUT.tsv"));
    parser.addOption(outputOption);
    if (auto status = parseCommand(parser, arguments, kExportHelp, 1))
        return *status;
    const QString bookPath = parser.positionalArguments().constFirst();

    QString error;
    const std::optional<QByteArray> tsv = book::exportBookTsv(bookPath, &error);
    if (!tsv) {
        err() << bookPath << ": " << error << "\n";
        return Refused;
    }
    if (!parser.isSet(outputOption)) {
        out().flush();
        if (std::fwrite(tsv->constData(), 1, size_t(tsv->size()), stdout) == size_t(tsv->size()) &&
            std::fflush(stdout) == 0)
            return Success;
        const QString why =
            book::fileFailureText(book::failureFromSystemText(qt_error_string(errno)), QString());
        err() << "velbook: cannot write to standard output: " << why << "\n";
        return Refused;
    }
    const QString outPath = parser.value(outputOption);
    book::FileFailure failure;
    if (!book::writeWholeFile(outPath, *tsv, &failure)) {
        err() << outPath << ": cannot write the file: " << book::fileFailureText(failure, outPath)
              << "\n";
        return Refused;
    }
    return Success;
}

int runCheck(const QStringList& arguments) {
    QCommandLineParser parser;
    if (auto status = parseCommand(parser, arguments, kCheckHelp, 1))
        return *status;
    const QString bookPath = parser.positionalArguments().constFirst();

    const book::BookCheck check = book::checkBook(bookPath);
    switch (check.verdict) {
    case book::BookVerdict::Valid:
        out() << bookPath << ": valid word book \"" << check.title << "\", " << check.classes
              << (check.classes == 1 ? " class\n" : " classes\n");
        break;
    case book::BookVerdict::Obsolete:
        out() << bookPath << ": obsolete word book\n";
        break;
    case book::BookVerdict::Broken:
        out() << bookPath << ": broken word book\n";
        break;
    }
    for (const QString& problem : check.problems)
        out() << "  " << problem << "\n";
    for (const QString& warning : check.warnings)
        out() << "  warning: " << warning << "\n";
    return check.verdict == book::BookVerdict::Valid ? Success : Refused;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("velbook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VELTYPING_VERSION));

    const QStringList arguments = QCoreApplication::arguments();
    const QString command = arguments.value(1);
    if (command == u"-h" || command == u"--help" || command == u"help") {
        out() << kToolHelp;
        return Success;
    }
    if (command == u"--version") {
        out() << "velbook " << QCoreApplication::applicationVersion() << "\n";
        return Success;
    }
    // A command's parser sees "velbook COMMAND" as its program name.
    const QStringList commandArguments =
        QStringList{arguments.value(0) + u' ' + command} + arguments.mid(2);
    if (command == u"create")
        return runCreate(commandArguments);
    if (command == u"export")
        return runExport(commandArguments);
    if (command == u"check")
        return runCheck(commandArguments);

    err() << (command.isEmpty() ? QStringLiteral("velbook: no command given\n")
                                : QStringLiteral("velbook: unknown command \"%1\"\n").arg(command))
          << kToolHelp;
    return Usage;
}
