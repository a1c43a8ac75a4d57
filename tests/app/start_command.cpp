// Starts on a program folder as veltyping does, up to the window, as a process of its own
// (so that a test can run it as another user). Prints each message the learner would see,
// each followed by a line "--"; exits 0 when the program would go on to its window.
#include "app/program_start.h"
#include "scripted_dialogs.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    testsupport::ScriptedDialogs dialogs;
    folder::FolderClaim claim(QCoreApplication::arguments().value(1));
    const bool started = app::prepareProgramFolder(claim, dialogs);
    QTextStream out(stdout);
    for (const testsupport::ShownMessage& message : dialogs.takeShownMessages())
        out << message.title << ": " << message.text << "\n--\n";
    return started ? 0 : 1;
}
