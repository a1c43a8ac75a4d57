#pragma once

#include "book/book.h"
#include "book/settings.h"
#include "drill/drill_engine.h"
#include "drill/ports.h"
#include "editor/editor_host.h"
#include "program_folder.h"
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

namespace mainwin {

class PlayArea;

// What the window needs from the world; tests hand in scripted ones.
struct FrmMainServices {
    QString folder;                        // the program folder
    drill::Speaker* speaker = nullptr;     // null: the system's speech
    drill::RandomSource* random = nullptr; // null: the system's random numbers
    drill::Clock* clock = nullptr;         // null: the time of day
    // The engine behind the system's speech; empty: the system's speech service.
    platform::SpeechEngineFactory speechEngine = {};
};

// The main window: the play area, the answer box, the class list, the mode buttons,
// the main display and the menus. Opening it loads the word book.
class FrmMain : public QMainWindow, private drill::DrillHost, private editor::EditorHost {
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
    void mnuFileSaveTxt_Click();
    void cmdSearch_Click();

    // Word book files.
    void mnuFileOpen_Click();
    void mnuFileSaveWord_Click();
    void mnuFileInitialize_Click();

    // State the drill and the tests read.
    int eofRecord() const { return eofRecord_; }
    int classFirstRecord() const { return classFirstRecord_; }
    double dropSpeed() const { return dropSpeed_; }
    bool viewFileShown() const { return viewFileShown_; }
    const QString& bookTitle() const { return bookTitle_; }
    const ProgramFiles& files() const { return files_; }
    int selectedMode() const;
    bool voiceOn() const override;
    book::InputMode inputMode() const override;
    // The drill of the loaded book; null while no book can be played.
    const drill::DrillEngine* engine() const { return engine_.get(); }
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
    void checkSpeed(int speed);
    void checkInputMode(book::InputMode mode);
    void checkVoice(bool on);
    void checkView(QAction* view);
    void applyImeMode(int mode);
    // Writes one setting into the book, when the book may be written to.
    void storeSetting(book::Trailer record, book::SettingField field, const QString& value);
    // The long-lived handle on the book and the drill that works through it.
    void openDrillHandle();
    void closeDrillHandle();
    // Resets the learning data of the book; false, after telling the learner, on failure.
    bool resetBook();
    // Tells the learner that a command needs a word book, when none is loaded.
    void reportNoBook();
    // Copies `source` to the path the learner chose, with `extension` added unless the
    // path ends in it (lower or upper case); tells the learner when that fails.
    void saveCopyAs(const QString& source, const QString& chosen, const QString& extension);
    void reportLoadFailure(const QString& reason);
    void reportWriteFailure(const QString& path) override;
    void stopDrill() override { cmdEnd_Click(); }

    // What the word editor asks of this window.
    QString wordBookPath() const override { return files_.wordBook; }
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
    // The entry the learner typed into the answer box, or -1.
    int entryTypedInAnswerBox() const;

    void setCaption(const QString& suffix);
    // Writes the lines to display.txt and shows the file in the main display.
    void showView(const QStringList& lines);
    void prepareViewDisplay();
    // Shows result.txt scrolled to its end, with the result view checked.
    void showResultFile(const QString& captionSuffix);
    void setDisplayColour(const QColor& colour);
    // Nothing is written to a file in which no end record was found.
    bool bookWritable() const { return endRecord_.record > 0; }

    FrmMainServices services_;
    ProgramFiles files_;
    // The real speech, random numbers and clock, for whichever the services left out.
    std::unique_ptr<SystemSpeaker> systemSpeaker_;
    SystemRandom systemRandom_;
    SystemClock systemClock_;

    // Book state.
    book::EndRecord endRecord_;
    int eofRecord_ = 0;
    QString bookTitle_;
    int classFirstRecord_ = 0;
    std::array<qint16, 3> totalMemoryCount_{};
    double dropSpeed_ = 0.0;
    bool viewFileShown_ = false;
    int requestedImeMode_ = 0;
    std::unique_ptr<book::RecordFile> drillHandle_;
    std::unique_ptr<drill::DrillEngine> engine_;
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
    QAction* mnuFileEnd = nullptr;
    QAction* mnuEdit = nullptr;
    QMenu* mnuDsp = nullptr;
    QAction* mnuManual = nullptr;
    QAction* mnuGrades = nullptr;
    QAction* mnuResult = nullptr;
    QAction* mnuWords = nullptr;
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
