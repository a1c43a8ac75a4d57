#include "mainwin/frm_main.h"
#include "mainwin/texts.h"
#include "platform/dialogs.h"
#include "platform/speech.h"
#include "session/failure_text.h"
#include "session/program_folder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

enum Exit { Success = 0, Usage = 1 };

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// The window icon at every size the build drew from the SVG; no SVG plugin is needed.
QIcon windowIcon() {
    QIcon icon;
    const QDir icons(QStringLiteral(":/veltyping/icons"));
    for (const QFileInfo& file : icons.entryInfoList(QDir::Files))
        icon.addFile(file.filePath());
    return icon;
}

} // namespace

int main(int argc, char* argv[]) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("英単語の落ち物ドリル（English vocabulary drill for Japanese learners）"));
    const QCommandLineOption folderOption(
        QStringLiteral("folder"),
        QStringLiteral("Program folder with Word.dat, display.txt and result.txt."),
        QStringLiteral("DIR"));
    const QCommandLineOption versionOption(QStringLiteral("version"),
                                           QStringLiteral("Print the version and exit."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Print this help and exit."));
    parser.addOption(folderOption);
    parser.addOption(versionOption);
    parser.addOption(helpOption);
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("A word book (*.vel) or word list (*.csv, *.tsv, *.txt) to open, as "
                       "ﾌｧｲﾙ → 単語帳を開く opens one."),
        QStringLiteral("[FILE]"));

    // --help and --version are answered before QApplication, which needs a display.
    // Qt's own options (-platform, -style, ...) are only taken out of the arguments by
    // QApplication, so the arguments are judged in full after it.
    parser.parse(argumentsOf(argc, argv));
    if (parser.isSet(helpOption) || parser.isSet(versionOption)) {
        const QCoreApplication core(argc, argv); // names the program in the help's usage line
        QTextStream out(stdout);
        if (parser.isSet(helpOption))
            out << parser.helpText();
        else
            out << mainwin::productAndVersion() << Qt::endl;
        return Success;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltyping"));
    QApplication::setApplicationVersion(QString::fromUtf8(mainwin::kVersion));
    QApplication::setDesktopFileName(QStringLiteral(VELTYPING_APP_ID));
    QApplication::setWindowIcon(windowIcon());

    if (!parser.parse(QApplication::arguments()) || parser.positionalArguments().size() > 1) {
        const QString problem = parser.positionalArguments().size() > 1
                                    ? QStringLiteral("only one FILE can be opened")
                                    : parser.errorText();
        QTextStream(stderr) << "veltyping: " << problem << "\n"
                            << "Run \"veltyping --help\" for the options.\n";
        return Usage;
    }
    const QString bookToOpen = parser.positionalArguments().value(0);

    // The program speaks Japanese whatever the system's language: so do Qt's own dialogs.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    const QString folder =
        QDir::cleanPath(parser.isSet(folderOption)
                            ? QDir().absoluteFilePath(parser.value(folderOption))
                            : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    // One program per folder: a second one would write into a book the first replaces.
    session::FolderClaim claim(folder);
    platform::SystemDialogs dialogs;
    QString error;
    switch (claim.claim(&error)) {
    case session::FolderClaim::Result::InUse:
        dialogs.showCritical(nullptr, session::kFileOpenError, error);
        return 1;
    case session::FolderClaim::Result::Failed:
        dialogs.showCritical(nullptr, session::kFileOpenError, error);
        break;
    case session::FolderClaim::Result::Claimed:
        break;
    }
    const session::ProgramFiles files = session::programFiles(folder);
    session::removeLeftoverTemporaries(files);
    if (!session::prepareWordBook(files, &error))
        dialogs.showCritical(nullptr, session::kFileOpenError, error);

    int code = 0;
    {
        mainwin::FrmMain window(mainwin::FrmMainServices{folder});
        window.show();
        // A book handed over by the file manager is opened as the Open command opens one,
        // once the window is there to ask its question.
        if (!bookToOpen.isEmpty()) {
            const QString path = QDir().absoluteFilePath(bookToOpen);
            QTimer::singleShot(0, &window, [&window, path] { window.openBookFile(path); });
        }
        code = app.exec();
    }
    // A speech thread that cannot be stopped must not hold the program: the book's files
    // are closed, so leave at once.
    platform::Speech::exitNowIfStillRunning(code);
    return code;
}
