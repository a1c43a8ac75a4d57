#pragma once

#include "book/settings.h"
#include "drill/drill_settings.h"

#include <QList>

#include <array>

class QAction;
class QMainWindow;
class QMenu;

namespace mainwin {

// The main window's menu bar: its menus and items, named as the program names them. The
// window connects the items to its commands.
struct MainMenu {
    // Builds the menus into the window's menu bar, nothing checked yet.
    explicit MainMenu(QMainWindow* window);

    // Checks the items of the speed, the voice and the input mode.
    void showSettings(const drill::DrillSettings& settings, int speed);
    // Checks the item of the voice with that id.
    void checkSpeechVoice(const QString& id);
    // Checks the item of the view on display; none for another view (a search).
    void checkView(QAction* view);
    // During a drill only the Settings menu stays usable.
    void setDrillRunning(bool running);
    // While the word editor is open the File, View, Settings and Edit menus are locked.
    void setEditorOpen(bool open);

    QMenu* mnuFile = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSaveWord = nullptr;
    QAction* mnuFileSaveList = nullptr;
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
    QMenu* mnuSetting = nullptr;
    QMenu* mnuInputMode = nullptr;
    QAction* mnuHiragana = nullptr;
    QAction* mnuKatakana = nullptr;
    QAction* mnuNormal = nullptr;
    QMenu* mnuVoice = nullptr;
    QAction* mnuVoiceOn = nullptr;
    QAction* mnuVoiceOFF = nullptr;
    // The voices of platform::availableVoices(), in its order, each with its id as data.
    QMenu* mnuSpeechVoice = nullptr;
    QList<QAction*> mnuSpeechVoiceItems; // mnuSpeechVoice(0) ...
    QMenu* mnuSpeed = nullptr;
    std::array<QAction*, book::kSpeeds.size()> mnuSpeedItems{}; // mnuSpeedOne ... mnuSpeedFive
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpMain = nullptr;
    QAction* mnuWww = nullptr;
    QAction* mnuAbout = nullptr;
};

} // namespace mainwin
