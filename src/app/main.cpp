#include "mainwin/program_folder.h"
#include "platform/message_box.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStandardPaths>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltyping"));
    QApplication::setApplicationDisplayName(QStringLiteral("ヴェルタイピング for English"));
    QApplication::setApplicationVersion(QStringLiteral("4.03"));
    return 0;
}
