#pragma once

#include <QString>

class QWidget;

namespace platform {
class Dialogs;
}
namespace session {
class BookSession;
struct ListToOpen;
} // namespace session

namespace mainwin {

class DisplayViews;

// The File menu's commands: open a book or a word list, save the book, a word list or the
// view on display, reset the learning data, restore a backup; and saving a chart. They ask
// the learner through the dialogs and leave the work to the session.
class FileCommands {
public:
    FileCommands(session::BookSession& session, platform::Dialogs& dialogs, DisplayViews& views,
                 QWidget& window);

    // Open: the grade table on display, the data-loss question, the file dialog, then the
    // chosen file as openFile() opens it.
    void openBook();
    // Opens a file named on the command line as the Open command opens a chosen one.
    void openBookFile(const QString& path);
    void saveBookAs();
    void saveBookAsList();
    void saveViewAs();
    void resetLearningData();
    void restoreBackup();
    // Saves a chart's PNG bytes where the learner chooses, asked from `parent`.
    void saveChart(QWidget* parent, const QByteArray& png);
    // Tells the learner that a command needs a word book, when none is loaded.
    void reportNoBook();

private:
    // Opens the chosen file as the working book: the session reads and checks it, the
    // learner confirms a word list's title, and the session replaces the book with it.
    void openChosenFile(const QString& path);
    // The learner confirms or changes the meanings proposed for a list's rows without one;
    // false when declined. The list then holds the chosen ones.
    bool confirmMeanings(session::ListToOpen& list);
    // The path the learner chose, with `extension` added unless the path ends in it
    // (lower or upper case); empty when the learner declines to overwrite that file.
    QString saveTarget(QWidget* parent, const QString& chosen, const QString& extension);

    session::BookSession& session_;
    platform::Dialogs& dialogs_;
    DisplayViews& views_;
    QWidget& window_;
};

} // namespace mainwin
