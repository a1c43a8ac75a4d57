#include "command_line.h"
#include "mainwin/main_window.h"
#include "mainwin/texts.h"
#include "platform/dialogs.h"
#include "platform/speech.h"
#include "program_start.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>
#include <QTranslator>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// A usage error and a folder the program cannot work on both end with 1.
enum Exit { Success = 0, Usage = 1, Refused = 1 };

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
#ifdef SIGPIPE
    // A peer that closes its end (the speech service, the audio server) must not end the
    // program: the write fails with EPIPE instead, and the caller takes the peer as gone.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    // --help and --version are answered before QApplication, which needs a display.
    // Qt's own options (-platform, -style, ...) are only taken out of the arguments by
    // QApplication, so the arguments are judged in full after it.
    const app::CommandLine early = app::parseCommandLine(argumentsOf(argc, argv));
    if (early.action == app::CommandLine::Action::Help ||
        early.action == app::CommandLine::Action::Version) {
        const QCoreApplication core(argc, argv); // names the program in the help's usage line
        QTextStream out(stdout);
        if (early.action == app::CommandLine::Action::Help)
            out << app::commandLineHelp();
        else
            out << mainwin::productAndVersion() << Qt::endl;
        return Success;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltyping"));
    QApplication::setApplicationVersion(QString::fromUtf8(mainwin::kVersion));
    QApplication::setDesktopFileName(QStringLiteral(VELTYPING_APP_ID));
    QApplication::setWindowIcon(windowIcon());

    const app::CommandLine line = app::parseCommandLine(QApplication::arguments());
    if (line.action != app::CommandLine::Action::Run) {
        QTextStream(stderr) << "veltyping: " << line.problem << "\n"
                            << "Run \"veltyping --help\" for the options.\n";
        return Usage;
    }

    // The program speaks Japanese whatever the system's language: so do Qt's own dialogs.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    const QString folder = QDir::cleanPath(
        line.folder ? QDir().absoluteFilePath(*line.folder)
                    : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    // One program per folder: a second one would write into a book the first replaces.
    session::FolderClaim claim(folder);
    platform::SystemDialogs dialogs;
    if (!app::prepareProgramFolder(claim, dialogs))
        return Refused;
    int code = 0;
    {
        mainwin::MainWindow window(mainwin::MainWindowServices{folder});
        window.show();
        // A book handed over by the file manager is opened as the Open command opens one,
        // once the window is there to ask its question.
        if (!line.book.isEmpty()) {
            const QString path = QDir().absoluteFilePath(line.book);
            QTimer::singleShot(0, &window, [&window, path] { window.openBookFile(path); });
        }
        code = application.exec();
    }
    // A speech thread that cannot be stopped must not hold the program: the book's files
    // are closed, so leave at once.
    platform::Speech::exitNowIfStillRunning(code);
    return code;
}
