#include "main_menu.h"

#include "memory/due_words.h"
#include "platform/voices.h"

#include <QAction>
#include <QActionGroup>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace mainwin {

namespace {

QAction* item(QMenu* menu, const char* name, const QString& caption,
              const QKeySequence& shortcut = {}) {
    QAction* created = menu->addAction(caption);
    created->setObjectName(QLatin1StringView(name));
    created->setShortcut(shortcut);
    return created;
}

QMenu* submenu(QMenuBar* bar, QMenu* parent, const char* name, const QString& caption) {
    QMenu* created = parent ? parent->addMenu(caption) : bar->addMenu(caption);
    created->setObjectName(QLatin1StringView(name));
    created->menuAction()->setObjectName(QLatin1StringView(name));
    return created;
}

// One check mark among the items at a time.
void checkable(QActionGroup* group, std::initializer_list<QAction*> items) {
    for (QAction* each : items) {
        each->setCheckable(true);
        group->addAction(each);
    }
}

} // namespace

MainMenu::MainMenu(QMainWindow* window) {
    QMenuBar* bar = window->menuBar();
    fileMenu = submenu(bar, nullptr, "mnuFile", QStringLiteral("ﾌｧｲﾙ(&M)"));
    openAction = item(fileMenu, "mnuFileOpen", QStringLiteral("単語帳を開く(&O)"),
                      QKeySequence(Qt::CTRL | Qt::Key_O));
    saveBookAction =
        item(fileMenu, "mnuFileSaveWord", QStringLiteral("名前を付けて単語帳の保存(&E)"));
    saveListAction =
        item(fileMenu, "mnuFileSaveList", QStringLiteral("単語リストとして保存(&L)..."));
    saveViewAction = item(fileMenu, "mnuFileSaveTxt", QStringLiteral("名前を付けて保存(&A)"));
    fileMenu->addSeparator()->setObjectName(QStringLiteral("mnuLine0"));
    resetAction = item(fileMenu, "mnuFileInitialize", QStringLiteral("データの初期化(&D)"),
                       QKeySequence(Qt::CTRL | Qt::Key_D));
    restoreAction = item(fileMenu, "mnuFileRestore", QStringLiteral("バックアップから復元(&R)..."));
    fileMenu->addSeparator()->setObjectName(QStringLiteral("mnuLine2"));
    quitAction = item(fileMenu, "mnuFileEnd", QStringLiteral("終了(&X)"),
                      QKeySequence(Qt::CTRL | Qt::Key_Q));

    // A menu-bar entry of its own: choosing it runs the command at once.
    editAction = bar->addAction(QStringLiteral("編集(&E)"));
    editAction->setObjectName(QStringLiteral("mnuEdit"));

    viewMenu = submenu(bar, nullptr, "mnuDsp", QStringLiteral("表示(&V)"));
    manualAction = item(viewMenu, "mnuManual", QStringLiteral("マニュアル"), Qt::Key_F2);
    gradesAction = item(viewMenu, "mnuGrades", QStringLiteral("成績表"), Qt::Key_F3);
    resultAction = item(viewMenu, "mnuResult", QStringLiteral("テスト結果"), Qt::Key_F4);
    listingAction = item(viewMenu, "mnuWords", QStringLiteral("単語帳"), Qt::Key_F5);
    // Search results are shown with no view checked, so the group may have none.
    auto* views = new QActionGroup(window);
    views->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    checkable(views, {manualAction, gradesAction, resultAction, listingAction});
    viewMenu->addSeparator();
    progressAction = item(viewMenu, "mnuProgress", QStringLiteral("学習の記録(&G)"), Qt::Key_F6);

    settingsMenu = submenu(bar, nullptr, "mnuSetting", QStringLiteral("設定(&S)"));
    inputModeMenu = submenu(bar, settingsMenu, "mnuInputMode", QStringLiteral("入力モード"));
    hiraganaAction = item(inputModeMenu, "mnuHiragana", QStringLiteral("全角ひらがな"),
                          QKeySequence(Qt::CTRL | Qt::Key_H));
    katakanaAction = item(inputModeMenu, "mnuKatakana", QStringLiteral("全角カタカナ"),
                          QKeySequence(Qt::CTRL | Qt::Key_K));
    noConversionAction = item(inputModeMenu, "mnuNormal", QStringLiteral("自動変換なし"),
                              QKeySequence(Qt::CTRL | Qt::Key_N));
    checkable(new QActionGroup(window), {hiraganaAction, katakanaAction, noConversionAction});

    voiceMenu = submenu(bar, settingsMenu, "mnuVoice", QStringLiteral("音声"));
    voiceOnAction =
        item(voiceMenu, "mnuVoiceOn", QStringLiteral("ON"), QKeySequence(Qt::CTRL | Qt::Key_S));
    voiceOffAction =
        item(voiceMenu, "mnuVoiceOFF", QStringLiteral("OFF"), QKeySequence(Qt::CTRL | Qt::Key_M));
    checkable(new QActionGroup(window), {voiceOnAction, voiceOffAction});
    voiceMenu->addSeparator();
    speechVoiceMenu = submenu(bar, voiceMenu, "mnuSpeechVoice", QStringLiteral("声(&V)"));
    auto* voices = new QActionGroup(window);
    for (const platform::Voice& voice : platform::availableVoices()) {
        QAction* choice = speechVoiceMenu->addAction(voice.caption);
        choice->setObjectName(QStringLiteral("mnuSpeechVoice(%1)").arg(speechVoiceActions.size()));
        choice->setData(voice.id);
        checkable(voices, {choice});
        speechVoiceActions << choice;
    }

    speedMenu = submenu(bar, settingsMenu, "mnuSpeed", QStringLiteral("スピード"));
    const std::array<const char*, book::kSpeeds.size()> speedNames{
        "mnuSpeedOne", "mnuSpeedTwo", "mnuSpeedThree", "mnuSpeedFour", "mnuSpeedFive"};
    const std::array<QString, book::kSpeeds.size()> speedCaptions{
        QStringLiteral("1\u3000遅い"), QStringLiteral("2\u3000↑"), QStringLiteral("3\u3000普通"),
        QStringLiteral("4\u3000↓"), QStringLiteral("5\u3000速い")};
    auto* speeds = new QActionGroup(window);
    for (int i = 0; i < int(book::kSpeeds.size()); ++i) {
        speedActions[i] = item(speedMenu, speedNames[i], speedCaptions[i],
                               QKeySequence(Qt::SHIFT | (Qt::Key_F1 + i)));
        checkable(speeds, {speedActions[i]});
    }

    retentionMenu =
        submenu(bar, settingsMenu, "mnuRetention", QStringLiteral("今日の復習の目標(&R)"));
    auto* retentions = new QActionGroup(window);
    for (const double target : memory::kTargetRetentions) {
        const int percent = qRound(target * 100);
        QAction* choice =
            retentionMenu->addAction(target == memory::kDefaultTargetRetention
                                         ? QStringLiteral("記憶率%1％（標準）").arg(percent)
                                         : QStringLiteral("記憶率%1％").arg(percent));
        choice->setObjectName(QStringLiteral("mnuRetention(%1)").arg(retentionActions.size()));
        choice->setData(target);
        checkable(retentions, {choice});
        retentionActions << choice;
    }

    helpMenu = submenu(bar, nullptr, "mnuHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    helpAction = item(helpMenu, "mnuHelpMain",
                      QStringLiteral("ヴェルタイピング\u3000ｵﾝﾗｲﾝﾍﾙﾌﾟ(&H)"), Qt::Key_F1);
    homePageAction = item(helpMenu, "mnuWww", QStringLiteral("ヴェルタイピング\u3000ﾎｰﾑﾍﾟｰｼﾞ(&W)"));
    aboutAction = item(helpMenu, "mnuAbout", QStringLiteral("バージョン情報(&A)..."));
}

void MainMenu::showSettings(const drill::DrillSettings& settings, int speed) {
    speedActions[speed]->setChecked(true);
    (settings.voiceOn ? voiceOnAction : voiceOffAction)->setChecked(true);
    switch (settings.inputMode) {
    case book::InputMode::Hiragana:
        hiraganaAction->setChecked(true);
        break;
    case book::InputMode::Katakana:
        katakanaAction->setChecked(true);
        break;
    case book::InputMode::Normal:
        noConversionAction->setChecked(true);
        break;
    }
}

void MainMenu::checkSpeechVoice(const QString& id) {
    for (QAction* each : speechVoiceActions)
        each->setChecked(each->data().toString() == id);
}

void MainMenu::checkRetention(double target) {
    for (QAction* each : retentionActions)
        each->setChecked(each->data().toDouble() == target);
}

void MainMenu::checkView(QAction* view) {
    for (QAction* each : {manualAction, gradesAction, resultAction, listingAction})
        each->setChecked(each == view);
}

void MainMenu::setDrillRunning(bool running) {
    for (QMenu* menu : {fileMenu, viewMenu, helpMenu})
        menu->menuAction()->setEnabled(!running);
    editAction->setEnabled(!running);
    for (QAction* each :
         {saveViewAction, openAction, resetAction, restoreAction, saveBookAction, saveListAction})
        each->setEnabled(true);
    voiceMenu->menuAction()->setEnabled(true);
}

void MainMenu::setEditorOpen(bool open) {
    for (QMenu* menu : {fileMenu, viewMenu, settingsMenu})
        menu->menuAction()->setEnabled(!open);
    editAction->setEnabled(!open);
}

} // namespace mainwin
