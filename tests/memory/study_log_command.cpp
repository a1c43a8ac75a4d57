// Works on the study log of a program folder as a process of its own:
//   write FOLDER  logs answers until killed, printing the count after each one
//   hold FOLDER   holds the database locked against writers until killed
//   open FOLDER   opens the log, printing what the learner would be told
#include "memory/study_log.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThread>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString command = args.value(1);
    const QString folder = args.value(2);

    if (command == u"hold") {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(QDir(folder).filePath(QStringLiteral("study.sqlite")));
        QSqlQuery query(db.open() ? db : QSqlDatabase());
        if (!query.exec(QStringLiteral("BEGIN EXCLUSIVE")))
            return 1;
        std::printf("holding\n");
        std::fflush(stdout);
        QThread::sleep(60);
        return 0;
    }

    memory::StudyLog log(folder);
    QObject::connect(&log, &memory::StudyLog::failed, [](const QString& text) {
        std::printf("%s\n--\n", text.toUtf8().constData());
        std::fflush(stdout);
    });
    if (!log.open())
        return 1;
    if (command == u"write") {
        for (int n = 1;; ++n) {
            const memory::Answer answer{1700000000000LL + n * 1000LL,
                                        {2 + n % 50, QStringLiteral("word%1").arg(n % 50),
                                         QStringLiteral("語%1").arg(n % 50)},
                                        n % 3,
                                        n % 4 == 0 ? memory::Outcome::Missed
                                                   : memory::Outcome::Right,
                                        2.5};
            if (!log.record(answer))
                return 1;
            std::printf("%d\n", n);
            std::fflush(stdout);
        }
    }
    return 0;
}
