#pragma once

#include "main_menu.h"
#include "platform/dialogs.h"
#include "platform/voices.h"
#include "session/book_session.h"
#include "system_services.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace progress {
class ProgressWindow;
}

namespace mainwin {

class ClassBox;
class DrillView;

// What the window needs from the world; tests hand in scripted ones.
struct FrmMainServices {
    QString folder;                        // the program folder
    drill::Speaker* speaker = nullptr;     // null: the system's speech
    drill::RandomSource* random = nullptr; // null: the system's random numbers
    drill::Clock* clock = nullptr;         // null: the time of day
    platform::Dialogs* dialogs = nullptr;  // null: the desktop's dialogs
    // null: the local date and time
    const session::Calendar* calendar = nullptr;
    // The engine behind the system's speech; empty: the voice in `voiceSetting`.
    platform::SpeechEngineFactory speechEngine = {};
    // Where the learner's choice of voice is kept.
    platform::VoiceSetting voiceSetting{};
};

// The main window: the drill view (play area, main display, answer box), the class list,
// the mode buttons, the memorised total, Start, End and Search, and the menus. It hands
// the learner's commands to the book session, which does the work, and each of its views
// follows what the session announces. Opening it loads the word book.
class FrmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit FrmMain(FrmMainServices services, QWidget* parent = nullptr);
    ~FrmMain() override;

    // Loads the word book afresh and shows the manual (at start, and after the book was
    // replaced or reset).
    void loadBook();
    // Opens a book named on the command line as the Open command opens a chosen one.
    void openBookFile(const QString& path);

    // The book, its settings and its drill, as the window shows them.
    const session::BookSession& session() const { return *session_; }
    // Whether the display shows a view written to display.txt (not result.txt), which
    // the save command then saves.
    bool viewFileShown() const { return viewFileShown_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private Q_SLOTS:
    // The class list and the mode buttons.
    void showWordList();
    void changeMode();
    // The Settings menu.
    void chooseSpeed(int speed);
    void chooseInputMode(book::InputMode mode);
    void chooseVoice(bool on);
    void chooseSpeechVoice(const QString& id);

    // The drill.
    void startDrill();
    void endDrill();
    void showDrillEnd();

    // The View menu and Search.
    void showManual();
    void showGradeTable();
    void showTestResult();
    void showProgress();
    void searchWord();
    void saveViewAs();

    // The File, Edit and Help menus.
    void openBook();
    void saveBookAs();
    void saveBookAsList();
    void resetLearningData();
    void restoreBackup();
    void editBook();
    void openHelp();
    void openHomePage();

    void showFailure(const session::Failure& failure);
    // The session loaded a book: the manual on display, and the commands it allows.
    void showLoadedBook();

private:
    void buildControls();
    void layOutControls();
    void connectControls();

    // The controls locked during a drill.
    void setDrillRunning(bool running);
    // Opens the chosen file as the working book: the session reads and checks it, the
    // learner confirms a word list's title, and the session replaces the book with it.
    void openChosenFile(const QString& path);
    // Tells the learner that a command needs a word book, when none is loaded.
    void reportNoBook();
    // The path the learner chose, with `extension` added unless the path ends in it
    // (lower or upper case); empty when the learner declines to overwrite that file.
    QString saveTarget(const QString& chosen, const QString& extension);
    platform::Dialogs& dialogs() { return *services_.dialogs; }
    const QString& bookTitle() const { return session_->title(); }
    void setCaption(const QString& suffix);
    // Writes the lines to display.txt and shows them.
    void showView(const QStringList& lines, const QColor& colour = Qt::black);
    // The manual on display, as the load shows it.
    void showManualText();
    // Shows a drill's result scrolled to its end, with the result view checked.
    void showResult(const QString& captionSuffix, const QString& text);
    void saveProgressChart();

    // The editor went to a class: the class box shows it and its words are listed.
    void showClassWords(const QString& className);
    // The commands locked while the editor is open.
    void setEditorOpen(bool open);

    FrmMainServices services_;
    // The real speech, random numbers and clock, for whichever the services left out.
    std::unique_ptr<SystemSpeaker> systemSpeaker_;
    SystemRandom systemRandom_;
    SystemClock systemClock_;
    platform::SystemDialogs systemDialogs_;

    // The word book, its files, its settings and its drill.
    std::unique_ptr<session::BookSession> session_;
    bool viewFileShown_ = false;

    // Controls, named as the program names them.
    DrillView* drillView_ = nullptr;
    ClassBox* cboWordClass = nullptr;
    std::array<QRadioButton*, book::kModeCount> optMode{};
    QLineEdit* txtTotalMemoryCnt = nullptr;
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdEnd = nullptr;
    QPushButton* cmdSearch = nullptr;
    MainMenu menu_;
    progress::ProgressWindow* progressWindow_ = nullptr; // made on first use
};

} // namespace mainwin
