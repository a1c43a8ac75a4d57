#pragma once

#include "main_menu.h"
#include "platform/dialogs.h"
#include "platform/voices.h"
#include "retention_setting.h"
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
class DisplayViews;
class DrillView;
class FileCommands;

// What the window needs from the world; tests hand in scripted ones.
struct MainWindowServices {
    QString folder;                        // the program folder
    drill::Speaker* speaker = nullptr;     // null: the system's speech
    drill::RandomSource* random = nullptr; // null: the system's random numbers
    drill::Clock* clock = nullptr;         // null: the time of day
    platform::Dialogs* dialogs = nullptr;  // null: the desktop's dialogs
    // null: the local date and time
    const folder::Calendar* calendar = nullptr;
    // The engine behind the system's speech; empty: the voice in `voiceSetting`.
    platform::SpeechEngineFactory speechEngine = {};
    // Where the learner's choice of voice is kept.
    platform::VoiceSetting voiceSetting{};
    // Where the learner's target retention is kept.
    RetentionSetting retentionSetting{platform::VoiceSetting::defaultFile()};
    // The dictionaries meanings are proposed from; empty: the installed ones.
    session::MeaningSource::Loader dictionaries = {};
};

// The main window: the drill view (play area, main display, answer box), the class list,
// the mode buttons, the memorised total, Start, End and Search, and the menus. It hands
// the learner's commands to the book session, which does the work, and each of its views
// follows what the session announces. Opening it loads the word book.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit MainWindow(MainWindowServices services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Loads the word book afresh; the manual and the book's state follow (at start, and
    // whenever the session loads a replaced or reset book).
    void loadBook();
    // Opens a book named on the command line as the Open command opens a chosen one.
    void openBookFile(const QString& path);

    // The book, its settings and its drill, as the window shows them.
    const session::BookSession& session() const { return *session_; }
    // Whether the display shows a view written to display.txt (not result.txt), which
    // the save command then saves.
    bool viewFileShown() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void layOutControls();
    void connectControls();
    void connectMenus();

    // The class list, the mode buttons and the editor: the chosen class's words.
    void showClassListing();
    // The editor went to a class: the class box shows it and its words are listed.
    void showClassWords(const QString& className);
    void chooseSpeechVoice(const QString& id);
    void chooseRetention(double target);
    // The status line says so while the program's own voice finds no sound device.
    void showSoundDeviceMissing(bool missing);
    void startDrill();
    void showDrillEnd();
    // The controls locked during a drill.
    void setDrillRunning(bool running);
    void showProgress();
    void editBook();
    // The commands locked while the editor is open.
    void setEditorOpen(bool open);
    void showFailure(const folder::Failure& failure);
    // The session loaded a book: the manual on display, and the commands it allows.
    void showLoadedBook();
    platform::Dialogs& dialogs() { return *services_.dialogs; }

    MainWindowServices services_;
    // The real speech, random numbers and clock, for whichever the services left out.
    std::unique_ptr<SystemSpeaker> systemSpeaker_;
    SystemRandom systemRandom_;
    SystemClock systemClock_;
    platform::SystemDialogs systemDialogs_;

    // The word book, its files, its settings and its drill.
    std::unique_ptr<session::BookSession> session_;

    // Controls, named as the program names them.
    DrillView* drillView_ = nullptr;
    ClassBox* classBox_ = nullptr;
    std::array<QRadioButton*, book::kModeCount> modeButtons_{};
    QLineEdit* memorisedTotal_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QPushButton* searchButton_ = nullptr;
    MainMenu menu_;
    progress::ProgressWindow* progressWindow_ = nullptr; // made on first use

    std::unique_ptr<DisplayViews> views_;
    std::unique_ptr<FileCommands> files_;
};

} // namespace mainwin
