#include "mainwin/frm_main.h"
#include "mainwin/program_folder.h"
#include "mainwin/texts.h"
#include "platform/message_box.h"
#include "platform/speech.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTextStream>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltyping"));
    QApplication::setApplicationVersion(QString::fromUtf8(mainwin::kVersion));
    QApplication::setDesktopFileName(QStringLiteral("veltyping"));

    // The program speaks Japanese whatever the system's language: so do Qt's own dialogs.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("英単語の落ち物ドリル（English vocabulary drill for Japanese learners）"));
    const QCommandLineOption folderOption(
        QStringLiteral("folder"),
        QStringLiteral("Program folder with Word.dat, display.txt and result.txt."),
        QStringLiteral("DIR"));
    const QCommandLineOption versionOption(QStringLiteral("version"),
                                           QStringLiteral("Print the version and exit."));
    parser.addOption(folderOption);
    parser.addOption(versionOption);
    parser.addHelpOption();
    parser.process(app);

    if (parser.isSet(versionOption)) {
        QTextStream(stdout) << mainwin::productAndVersion() << Qt::endl;
        return 0;
    }

    const QString folder =
        QDir::cleanPath(parser.isSet(folderOption)
                            ? QDir().absoluteFilePath(parser.value(folderOption))
                            : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    QString error;
    if (!mainwin::prepareProgramFolder(folder, &error))
        platform::showCritical(nullptr, QStringLiteral("FILE OPEN ERROR"), error);

    int code = 0;
    {
        mainwin::FrmMain window(mainwin::FrmMainServices{folder});
        window.show();
        code = app.exec();
    }
    // A speech engine still starting cannot be stopped, and the global clean-up would pull
    // its libraries from under it: the book's files are closed, so leave at once.
    if (platform::Speech::engineStillStarting()) {
        std::fflush(nullptr);
        std::_Exit(code);
    }
    return code;
}
