// Runs one book command in a program folder as its own process, so that a test can run
// it under a file-size limit or kill it at a chosen system call. Prints each failure the
// learner would see; exits 0 when the command succeeded.
#include "session/book_session.h"
#include "test_doubles.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>

int main(int argc, char* argv[]) {
    // A file-size limit then fails the write instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString command = args.value(1);
    const QString folder = args.value(2);

    testsupport::ScriptedRandom random;
    testsupport::FakeClock clock;
    testsupport::RecordingSpeaker speaker;
    QList<folder::Failure> failures;
    bool ok = false;
    if (command == u"crash") {
        // Dies holding the folder, as a program that crashed would.
        folder::FolderClaim claim(folder);
        QString reason;
        claim.claim(&reason);
        std::raise(SIGKILL);
    } else if (command == u"firststart") {
        const folder::ProgramFiles files = folder::programFiles(folder);
        folder::removeLeftoverTemporaries(files);
        QString error;
        ok = folder::prepareWordBook(files, &error);
        if (!ok)
            failures.append({QStringLiteral("FILE OPEN ERROR"), error});
    } else {
        session::BookSession book(folder, {random, clock, speaker});
        QObject::connect(&book, &session::BookSession::failed,
                         [&failures](const folder::Failure& failure) { failures << failure; });
        book.load();
        if (command == u"reset")
            ok = book.resetLearningData();
        else if (command == u"open")
            ok = book.replaceBook(args.value(3));
        else if (command == u"save")
            ok = book.saveBookAs(args.value(3));
        else if (command == u"savetext")
            ok = book.saveTextAs(args.value(3), args.value(4));
        else if (command == u"openlist") {
            const session::FileToOpen list = book.prepareOpen(args.value(3));
            ok = book.commitOpen(list, list.list.title);
        } else if (command == u"savelist")
            ok = book.saveBookAsList(args.value(3));
    }
    QTextStream out(stdout);
    for (const folder::Failure& failure : failures)
        out << failure.title << ": " << failure.text << "\n";
    return ok ? 0 : 1;
}
