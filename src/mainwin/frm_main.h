#pragma once

#include "editor/editor_host.h"
#include "platform/dialogs.h"
#include "session/book_session.h"
#include "system_services.h"

#include <QMainWindow>

#include <array>
#include <memory>

class QAction;
class QActionGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace progress {
class ProgressWindow;
}

namespace mainwin {

class PlayArea;

// What the window needs from the world; tests hand in scripted ones.
struct FrmMainServices {
    QString folder;                        // the program folder
    drill::Speaker* speaker = nullptr;     // null: the system's speech
    drill::RandomSource* random = nullptr; // null: the system's random numbers
    drill::Clock* clock = nullptr;         // null: the time of day
    platform::Dialogs* dialogs = nullptr;  // null: the desktop's dialogs
    // null: the local date and time
    const session::Calendar* calendar = nullptr;
    // The engine behind the system's speech; empty: the system's speech service.
    platform::SpeechEngineFactory speechEngine = {};
};

// The main window: the play area, the answer box, the class list, the mode buttons,
// the main display and the menus. Opening it loads the word book.
class FrmMain : public QMainWindow, private editor::EditorHost {
    Q_OBJECT

public:
    explicit FrmMain(FrmMainServices services, QWidget* parent = nullptr);
    ~FrmMain() override;

    // Loading and settings.
    void Form_Load();
    void cboWordClass_click();
    void optMode_Click(int index);
    void mnuSpeedOne_Click() { chooseSpeed(0); }
    void mnuSpeedTwo_Click() { chooseSpeed(1); }
    void mnuSpeedThree_Click() { chooseSpeed(2); }
    void mnuSpeedFour_Click() { chooseSpeed(3); }
    void mnuSpeedFive_Click() { chooseSpeed(4); }
    void mnuHiragana_Click() { chooseInputMode(book::InputMode::Hiragana); }
    void mnuKatakana_Click() { chooseInputMode(book::InputMode::Katakana); }
    void mnuNormal_Click() { chooseInputMode(book::InputMode::Normal); }
    void mnuVoiceOn_Click() { chooseVoice(true); }
    void mnuVoiceOff_Click() { chooseVoice(false); }
    void cmbInputField_GotFocus();
    void mnuEdit_Click();
    void mnuFileEnd_Click();
    void mnuHelpMain_Click();
    void MnuWww_Click();

    // The drill.
    void cmdStart_Click();
    void cmdEnd_Click();
    void tmrMain_Timer();
    void cmbInputField_click();
    void cmbInputField_KeyPress(int keyAscii);

    // Views.
    void RuleDisp();
    void GradeDsp();
    void mnuManual_Click();
    void mnuGrades_Click();
    void mnuResult_Click();
    void mnuWords_Click();
    // The progress view, in a window of its own that follows the mode and the book.
    void mnuProgress_Click();
    void mnuFileSaveTxt_Click();
    void cmdSearch_Click();

    // Word book files.
    void mnuFileOpen_Click();
    // Opens a book named on the command line as the Open command opens a chosen one.
    void openBookFile(const QString& path);
    void mnuFileSaveWord_Click();
    void mnuFileInitialize_Click();
    // Brings back a copy that a command replacing or resetting the book kept.
    void mnuFileRestore_Click();

    // The book, its settings and its drill, as the window shows them.
    const session::BookSession& session() const { return *session_; }
    bool viewFileShown() const { return viewFileShown_; }
    const QString& bookTitle() const { return session_->title(); }
    const session::ProgramFiles& files() const { return session_->files(); }
    int selectedMode() const;
    // The input-method mode asked of the answer box: 4, 5 or 8 (0 before any request).
    int requestedImeMode() const { return requestedImeMode_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void layOutControls();

    void chooseSpeed(int speed);
    void chooseInputMode(book::InputMode mode);
    void chooseVoice(bool on);
    // Checks the menu items of the session's speed, input mode and voice.
    void showSettings();
    void checkView(QAction* view);
    void applyImeMode(int mode);
    // Replaces the working book with the file and loads it; the old book stays on failure.
    void replaceBookWith(const QString& path);
    // Tells the learner that a command needs a word book, when none is loaded.
    void reportNoBook();
    // The path the learner chose, with `extension` added unless the path ends in it
    // (lower or upper case); empty when the learner declines to overwrite that file.
    QString saveTarget(const QString& chosen, const QString& extension);
    void showFailure(const session::Failure& failure);
    // The drill has ended: the result on display and the controls back.
    void showDrillEnd();
    drill::DrillEngine* drillEngine() { return session_->engine(); }
    platform::Dialogs& dialogs() { return *services_.dialogs; }

    // What the word editor asks of this window.
    void showClassWords(const QString& className) override;
    void setClassList(const QStringList& names, const QString& current) override;
    void editorClosed() override;
    // The commands locked while the editor is open.
    void setEditorCommandsEnabled(bool enabled);

    // Drill side: the controls locked during a drill, and drawing the drill's state.
    void setDrillControlsEnabled(bool idle);
    void renderDrill();
    void renderAnswerBox();
    void offerTranslations();
    // Enter in the answer box: the typed text selects its entry, or (listening) asks
    // for the next word to be spoken.
    bool answerBoxEnter();
    // A key or typed text in the answer box's open list: Enter takes only the entry the
    // learner moved to, or else what was typed; typing goes into the box. True when the
    // event was handled here.
    bool answerListEvent(QEvent* event);
    // The entry the learner typed into the answer box, or -1.
    int entryTypedInAnswerBox() const;

    void setCaption(const QString& suffix);
    // Writes the lines to display.txt and shows the file in the main display.
    void showView(const QStringList& lines);
    void prepareViewDisplay();
    // Shows result.txt scrolled to its end, with the result view checked.
    void showResultFile(const QString& captionSuffix);
    void setDisplayColour(const QColor& colour);
    // Hands the progress view the numbers of the selected mode, when it is open.
    void refreshProgress();
    void saveProgressChart();
    FrmMainServices services_;
    // The real speech, random numbers and clock, for whichever the services left out.
    std::unique_ptr<SystemSpeaker> systemSpeaker_;
    SystemRandom systemRandom_;
    SystemClock systemClock_;
    platform::SystemDialogs systemDialogs_;

    // The word book, its files and its drill.
    std::unique_ptr<session::BookSession> session_;
    // What the window shows of it.
    bool viewFileShown_ = false;
    int requestedImeMode_ = 0;
    // The answer box as last drawn from the drill, so that the learner's typing is
    // replaced only when the drill itself changes the box.
    drill::AnswerBox shownAnswerBox_;
    int offeredDrop_ = drill::kNoDrop; // the drop whose translations were last offered

    // Controls, named as the program names them.
    PlayArea* VelBackPic = nullptr;
    std::array<QLabel*, 6> lblDropWord{};
    QPlainTextEdit* txtMainDisplay = nullptr;
    QComboBox* cmbInputField = nullptr;
    QLabel* lblInputField = nullptr;
    QComboBox* cboWordClass = nullptr;
    QLabel* lblWordClass = nullptr;
    QLineEdit* txtTotalMemoryCnt = nullptr;
    QLabel* lblTotalMemoryCnt = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 3> optMode{};
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdEnd = nullptr;
    QPushButton* cmdSearch = nullptr;
    QTimer* tmrMain = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSaveWord = nullptr;
    QAction* mnuFileSaveTxt = nullptr;
    QAction* mnuFileInitialize = nullptr;
    QAction* mnuFileRestore = nullptr;
    QAction* mnuFileEnd = nullptr;
    QAction* mnuEdit = nullptr;
    QMenu* mnuDsp = nullptr;
    QAction* mnuManual = nullptr;
    QAction* mnuGrades = nullptr;
    QAction* mnuResult = nullptr;
    QAction* mnuWords = nullptr;
    QAction* mnuProgress = nullptr;
    progress::ProgressWindow* progressWindow_ = nullptr; // made on first use
    QMenu* mnuSetting = nullptr;
    QMenu* mnuInputMode = nullptr;
    QAction* mnuHiragana = nullptr;
    QAction* mnuKatakana = nullptr;
    QAction* mnuNormal = nullptr;
    QMenu* mnuVoice = nullptr;
    QAction* mnuVoiceOn = nullptr;
    QAction* mnuVoiceOFF = nullptr;
    QMenu* mnuSpeed = nullptr;
    std::array<QAction*, 5> mnuSpeedItems{}; // mnuSpeedOne ... mnuSpeedFive
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpMain = nullptr;
    QAction* mnuWww = nullptr;
};

} // namespace mainwin
