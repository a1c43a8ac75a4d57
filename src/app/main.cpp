#include "mainwin/frm_main.h"
#include "mainwin/texts.h"
#include "platform/message_box.h"
#include "session/failure_text.h"
#include "session/program_folder.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTextStream>
#include <QTranslator>

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
    // One program per folder: a second one would write into a book the first replaces.
    session::FolderClaim claim(folder);
    QString error;
    switch (claim.claim(&error)) {
    case session::FolderClaim::Result::InUse:
        platform::showCritical(nullptr, session::kFileOpenError, error);
        return 1;
    case session::FolderClaim::Result::Failed:
        platform::showCritical(nullptr, session::kFileOpenError, error);
        break;
    case session::FolderClaim::Result::Claimed:
        break;
    }
    const session::ProgramFiles files = session::programFiles(folder);
    session::removeLeftoverTemporaries(files);
    if (!session::prepareWordBook(files, &error))
        platform::showCritical(nullptr, session::kFileOpenError, error);

    mainwin::FrmMain window(mainwin::FrmMainServices{folder});
    window.show();
    return app.exec();
}
