#include "main_menu.h"

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
    mnuFile = submenu(bar, nullptr, "mnuFile", QStringLiteral("ﾌｧｲﾙ(&M)"));
    mnuFileOpen = item(mnuFile, "mnuFileOpen", QStringLiteral("単語帳を開く(&O)"),
                       QKeySequence(Qt::CTRL | Qt::Key_O));
    mnuFileSaveWord =
        item(mnuFile, "mnuFileSaveWord", QStringLiteral("名前を付けて単語帳の保存(&E)"));
    mnuFileSaveList =
        item(mnuFile, "mnuFileSaveList", QStringLiteral("単語リストとして保存(&L)..."));
    mnuFileSaveTxt = item(mnuFile, "mnuFileSaveTxt", QStringLiteral("名前を付けて保存(&A)"));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuLine0"));
    mnuFileInitialize = item(mnuFile, "mnuFileInitialize", QStringLiteral("データの初期化(&D)"),
                             QKeySequence(Qt::CTRL | Qt::Key_D));
    mnuFileRestore = item(mnuFile, "mnuFileRestore", QStringLiteral("バックアップから復元(&R)..."));
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuLine2"));
    mnuFileEnd =
        item(mnuFile, "mnuFileEnd", QStringLiteral("終了(&X)"), QKeySequence(Qt::CTRL | Qt::Key_Q));

    // A menu-bar entry of its own: choosing it runs the command at once.
    mnuEdit = bar->addAction(QStringLiteral("編集(&E)"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));

    mnuDsp = submenu(bar, nullptr, "mnuDsp", QStringLiteral("表示(&V)"));
    mnuManual = item(mnuDsp, "mnuManual", QStringLiteral("マニュアル"), Qt::Key_F2);
    mnuGrades = item(mnuDsp, "mnuGrades", QStringLiteral("成績表"), Qt::Key_F3);
    mnuResult = item(mnuDsp, "mnuResult", QStringLiteral("テスト結果"), Qt::Key_F4);
    mnuWords = item(mnuDsp, "mnuWords", QStringLiteral("単語帳"), Qt::Key_F5);
    // Search results are shown with no view checked, so the group may have none.
    auto* views = new QActionGroup(window);
    views->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    checkable(views, {mnuManual, mnuGrades, mnuResult, mnuWords});
    mnuDsp->addSeparator();
    mnuProgress = item(mnuDsp, "mnuProgress", QStringLiteral("学習の記録(&G)"), Qt::Key_F6);

    mnuSetting = submenu(bar, nullptr, "mnuSetting", QStringLiteral("設定(&S)"));
    mnuInputMode = submenu(bar, mnuSetting, "mnuInputMode", QStringLiteral("入力モード"));
    mnuHiragana = item(mnuInputMode, "mnuHiragana", QStringLiteral("全角ひらがな"),
                       QKeySequence(Qt::CTRL | Qt::Key_H));
    mnuKatakana = item(mnuInputMode, "mnuKatakana", QStringLiteral("全角カタカナ"),
                       QKeySequence(Qt::CTRL | Qt::Key_K));
    mnuNormal = item(mnuInputMode, "mnuNormal", QStringLiteral("自動変換なし"),
                     QKeySequence(Qt::CTRL | Qt::Key_N));
    checkable(new QActionGroup(window), {mnuHiragana, mnuKatakana, mnuNormal});

    mnuVoice = submenu(bar, mnuSetting, "mnuVoice", QStringLiteral("音声"));
    mnuVoiceOn =
        item(mnuVoice, "mnuVoiceOn", QStringLiteral("ON"), QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuVoiceOFF =
        item(mnuVoice, "mnuVoiceOFF", QStringLiteral("OFF"), QKeySequence(Qt::CTRL | Qt::Key_M));
    checkable(new QActionGroup(window), {mnuVoiceOn, mnuVoiceOFF});
    mnuVoice->addSeparator();
    mnuSpeechVoice = submenu(bar, mnuVoice, "mnuSpeechVoice", QStringLiteral("声(&V)"));
    auto* voices = new QActionGroup(window);
    for (const platform::Voice& voice : platform::availableVoices()) {
        QAction* choice = mnuSpeechVoice->addAction(voice.caption);
        choice->setObjectName(QStringLiteral("mnuSpeechVoice(%1)").arg(mnuSpeechVoiceItems.size()));
        choice->setData(voice.id);
        checkable(voices, {choice});
        mnuSpeechVoiceItems << choice;
    }

    mnuSpeed = submenu(bar, mnuSetting, "mnuSpeed", QStringLiteral("スピード"));
    const std::array<const char*, book::kSpeeds.size()> speedNames{
        "mnuSpeedOne", "mnuSpeedTwo", "mnuSpeedThree", "mnuSpeedFour", "mnuSpeedFive"};
    const std::array<QString, book::kSpeeds.size()> speedCaptions{
        QStringLiteral("1\u3000遅い"), QStringLiteral("2\u3000↑"), QStringLiteral("3\u3000普通"),
        QStringLiteral("4\u3000↓"), QStringLiteral("5\u3000速い")};
    auto* speeds = new QActionGroup(window);
    for (int i = 0; i < int(book::kSpeeds.size()); ++i) {
        mnuSpeedItems[i] = item(mnuSpeed, speedNames[i], speedCaptions[i],
                                QKeySequence(Qt::SHIFT | (Qt::Key_F1 + i)));
        checkable(speeds, {mnuSpeedItems[i]});
    }

    mnuHelp = submenu(bar, nullptr, "mnuHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuHelpMain = item(mnuHelp, "mnuHelpMain",
                       QStringLiteral("ヴェルタイピング\u3000ｵﾝﾗｲﾝﾍﾙﾌﾟ(&H)"), Qt::Key_F1);
    mnuWww = item(mnuHelp, "mnuWww", QStringLiteral("ヴェルタイピング\u3000ﾎｰﾑﾍﾟｰｼﾞ(&W)"));
    mnuAbout = item(mnuHelp, "mnuAbout", QStringLiteral("バージョン情報(&A)..."));
}

void MainMenu::showSettings(const drill::DrillSettings& settings, int speed) {
    mnuSpeedItems[speed]->setChecked(true);
    (settings.voiceOn ? mnuVoiceOn : mnuVoiceOFF)->setChecked(true);
    switch (settings.inputMode) {
    case book::InputMode::Hiragana:
        mnuHiragana->setChecked(true);
        break;
    case book::InputMode::Katakana:
        mnuKatakana->setChecked(true);
        break;
    case book::InputMode::Normal:
        mnuNormal->setChecked(true);
        break;
    }
}

void MainMenu::checkSpeechVoice(const QString& id) {
    for (QAction* each : mnuSpeechVoiceItems)
        each->setChecked(each->data().toString() == id);
}

void MainMenu::checkView(QAction* view) {
    for (QAction* each : {mnuManual, mnuGrades, mnuResult, mnuWords})
        each->setChecked(each == view);
}

void MainMenu::setDrillRunning(bool running) {
    for (QMenu* menu : {mnuFile, mnuDsp, mnuHelp})
        menu->menuAction()->setEnabled(!running);
    mnuEdit->setEnabled(!running);
    for (QAction* each : {mnuFileSaveTxt, mnuFileOpen, mnuFileInitialize, mnuFileRestore,
                          mnuFileSaveWord, mnuFileSaveList})
        each->setEnabled(true);
    mnuVoice->menuAction()->setEnabled(true);
}

void MainMenu::setEditorOpen(bool open) {
    for (QMenu* menu : {mnuFile, mnuDsp, mnuSetting})
        menu->menuAction()->setEnabled(!open);
    mnuEdit->setEnabled(!open);
}

} // namespace mainwin
