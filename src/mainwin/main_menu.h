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
    // Checks the item of the target retention of 「今日の復習」.
    void checkRetention(double target);
    // Checks the item of the view on display; none for another view (a search).
    void checkView(QAction* view);
    // During a drill only the Settings menu stays usable.
    void setDrillRunning(bool running);
    // While the word editor is open the File, View, Settings and Edit menus are locked.
    void setEditorOpen(bool open);

    QMenu* fileMenu = nullptr;
    QAction* openAction = nullptr;
    QAction* saveBookAction = nullptr;
    QAction* saveListAction = nullptr;
    QAction* saveViewAction = nullptr;
    QAction* resetAction = nullptr;
    QAction* restoreAction = nullptr;
    QAction* quitAction = nullptr;
    QAction* editAction = nullptr;
    QMenu* viewMenu = nullptr;
    QAction* manualAction = nullptr;
    QAction* gradesAction = nullptr;
    QAction* resultAction = nullptr;
    QAction* listingAction = nullptr;
    QAction* progressAction = nullptr;
    QMenu* settingsMenu = nullptr;
    QMenu* inputModeMenu = nullptr;
    QAction* hiraganaAction = nullptr;
    QAction* katakanaAction = nullptr;
    QAction* noConversionAction = nullptr;
    QMenu* voiceMenu = nullptr;
    QAction* voiceOnAction = nullptr;
    QAction* voiceOffAction = nullptr;
    // The voices of platform::availableVoices(), in its order, each with its id as data.
    QMenu* speechVoiceMenu = nullptr;
    QList<QAction*> speechVoiceActions; // speechVoiceMenu(0) ...
    QMenu* speedMenu = nullptr;
    std::array<QAction*, book::kSpeeds.size()> speedActions{}; // mnuSpeedOne ... mnuSpeedFive
    // The target retentions of memory::kTargetRetentions, each with its value as data.
    QMenu* retentionMenu = nullptr;
    QList<QAction*> retentionActions; // mnuRetention(0) ...
    QMenu* helpMenu = nullptr;
    QAction* helpAction = nullptr;
    QAction* homePageAction = nullptr;
    QAction* aboutAction = nullptr;
};

} // namespace mainwin
