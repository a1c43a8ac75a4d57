#include "frm_main.h"

#include "class_box.h"
#include "drill_view.h"
#include "editor/frm_edit.h"
#include "platform/files.h"
#include "platform/help_page.h"
#include "progress/progress_window.h"
#include "session/failure_text.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace mainwin {

FrmMain::FrmMain(FrmMainServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)), menu_(this) {
    setObjectName(QStringLiteral("frmMain"));
    if (!services_.speaker) {
        systemSpeaker_ = std::make_unique<SystemSpeaker>(services_.speechEngine);
        services_.speaker = systemSpeaker_.get();
    }
    if (!services_.random)
        services_.random = &systemRandom_;
    if (!services_.clock)
        services_.clock = &systemClock_;
    if (!services_.dialogs)
        services_.dialogs = &systemDialogs_;
    session_ = std::make_unique<session::BookSession>(
        services_.folder, session::BookSession::Ports{*services_.random, *services_.clock,
                                                      *services_.speaker, services_.calendar});

    buildControls();
    layOutControls();
    connectControls();
    loadBook();

    // The speech engine takes a while to start on its own thread: begin once the window is
    // up, so that it does not compete with building the window.
    if (systemSpeaker_)
        QTimer::singleShot(0, this, [this] { systemSpeaker_->prepare(); });
}

FrmMain::~FrmMain() = default;

void FrmMain::buildControls() {
    drillView_ = new DrillView(*session_);

    cboWordClass = new ClassBox;

    const std::array<QString, book::kModeCount> modeCaptions{
        QStringLiteral("ﾘｰﾃﾞｨﾝｸﾞ"), QStringLiteral("ﾗｲﾃｨﾝｸﾞ"), QStringLiteral("ﾘｽﾆﾝｸﾞ")};
    for (int m = 0; m < book::kModeCount; ++m) {
        optMode[m] = new QRadioButton(modeCaptions[m]);
        optMode[m]->setObjectName(QStringLiteral("optMode(%1)").arg(m));
    }
    optMode[book::Reading]->setChecked(true);

    txtTotalMemoryCnt = new QLineEdit(QStringLiteral("1000"));
    txtTotalMemoryCnt->setObjectName(QStringLiteral("txtTotalMemoryCnt"));
    txtTotalMemoryCnt->setReadOnly(true);
    txtTotalMemoryCnt->setFocusPolicy(Qt::NoFocus);
    txtTotalMemoryCnt->setAlignment(Qt::AlignRight);
    txtTotalMemoryCnt->setMaximumWidth(70);

    cmdStart = new QPushButton(QStringLiteral("開始(&S)"));
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdStart->installEventFilter(this);
    cmdEnd = new QPushButton(QStringLiteral("中止(&C)"));
    cmdEnd->setObjectName(QStringLiteral("cmdEnd"));
    cmdEnd->setEnabled(false);
    cmdSearch = new QPushButton(QStringLiteral("検索(&F)"));
    cmdSearch->setObjectName(QStringLiteral("cmdSearch"));
}

void FrmMain::layOutControls() {
    auto* lblWordClass = new QLabel(QStringLiteral("単語クラス："));
    lblWordClass->setObjectName(QStringLiteral("lblWordClass"));
    lblWordClass->setBuddy(cboWordClass);

    auto* modeFrame = new QGroupBox(QStringLiteral("モード"));
    modeFrame->setObjectName(QStringLiteral("Frame1"));
    auto* modeLayout = new QVBoxLayout(modeFrame);
    for (QRadioButton* mode : optMode)
        modeLayout->addWidget(mode);

    auto* lblTotalMemoryCnt = new QLabel(QStringLiteral("記憶単語総数："));
    lblTotalMemoryCnt->setObjectName(QStringLiteral("lblTotalMemoryCnt"));
    lblTotalMemoryCnt->setBuddy(txtTotalMemoryCnt); // names the field for screen readers

    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    side->addWidget(lblWordClass);
    side->addWidget(cboWordClass);
    side->addSpacing(6);
    side->addWidget(modeFrame);
    side->addSpacing(6);
    auto* totalRow = new QHBoxLayout;
    totalRow->addWidget(lblTotalMemoryCnt);
    totalRow->addWidget(txtTotalMemoryCnt);
    side->addLayout(totalRow);
    side->addStretch(1);
    for (QPushButton* button : {cmdStart, cmdEnd, cmdSearch}) {
        button->setMinimumHeight(32);
        side->addWidget(button);
    }
    auto* sidePanel = new QWidget;
    sidePanel->setLayout(side);
    sidePanel->setFixedWidth(190);
    side->setContentsMargins(0, 0, 0, 0);

    auto* central = new QWidget;
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(14);
    grid->addWidget(drillView_, 0, 0, Qt::AlignTop | Qt::AlignLeft);
    grid->addWidget(sidePanel, 0, 1);
    setCentralWidget(central);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmMain::connectControls() {
    session::BookSession* book = session_.get();
    connect(book, &session::BookSession::failed, this, &FrmMain::showFailure);
    connect(book, &session::BookSession::drillEnded, this, &FrmMain::showDrillEnd);
    connect(book, &session::BookSession::bookLoaded, this, &FrmMain::showLoadedBook);
    connect(book, &session::BookSession::classesChanged, cboWordClass, &ClassBox::showClasses);
    connect(book, &session::BookSession::settingsChanged, this,
            [this] { menu_.showSettings(session_->settings(), session_->speed()); });
    connect(book, &session::BookSession::memorisedTotalChanged, this,
            [this](int total) { txtTotalMemoryCnt->setText(QString::number(total)); });

    connect(cboWordClass, &QComboBox::activated, this, &FrmMain::showWordList);
    for (int m = 0; m < book::kModeCount; ++m) {
        // The session takes the mode whenever the buttons change; a click also lists words.
        connect(optMode[m], &QRadioButton::toggled, this, [this, m](bool checked) {
            if (checked)
                session_->setMode(book::Mode(m));
        });
        connect(optMode[m], &QRadioButton::clicked, this, &FrmMain::changeMode);
    }
    connect(cmdStart, &QPushButton::clicked, this, &FrmMain::startDrill);
    connect(cmdEnd, &QPushButton::clicked, this, &FrmMain::endDrill);
    connect(cmdSearch, &QPushButton::clicked, this, &FrmMain::searchWord);

    const auto command = [this](QAction* item, void (FrmMain::*slot)()) {
        connect(item, &QAction::triggered, this, slot);
    };
    command(menu_.mnuFileOpen, &FrmMain::openBook);
    command(menu_.mnuFileSaveWord, &FrmMain::saveBookAs);
    command(menu_.mnuFileSaveList, &FrmMain::saveBookAsList);
    command(menu_.mnuFileSaveTxt, &FrmMain::saveViewAs);
    command(menu_.mnuFileInitialize, &FrmMain::resetLearningData);
    command(menu_.mnuFileRestore, &FrmMain::restoreBackup);
    connect(menu_.mnuFileEnd, &QAction::triggered, this, &QCoreApplication::quit);
    command(menu_.mnuEdit, &FrmMain::editBook);
    command(menu_.mnuManual, &FrmMain::showManual);
    command(menu_.mnuGrades, &FrmMain::showGradeTable);
    command(menu_.mnuResult, &FrmMain::showTestResult);
    command(menu_.mnuWords, &FrmMain::showWordList);
    command(menu_.mnuProgress, &FrmMain::showProgress);
    const auto inputMode = [this](QAction* item, book::InputMode mode) {
        connect(item, &QAction::triggered, this, [this, mode] { chooseInputMode(mode); });
    };
    inputMode(menu_.mnuHiragana, book::InputMode::Hiragana);
    inputMode(menu_.mnuKatakana, book::InputMode::Katakana);
    inputMode(menu_.mnuNormal, book::InputMode::Normal);
    connect(menu_.mnuVoiceOn, &QAction::triggered, this, [this] { chooseVoice(true); });
    connect(menu_.mnuVoiceOFF, &QAction::triggered, this, [this] { chooseVoice(false); });
    for (QAction* voice : menu_.mnuSpeechVoiceItems)
        connect(voice, &QAction::triggered, this,
                [this, voice] { chooseSpeechVoice(voice->data().toString()); });
    menu_.checkSpeechVoice(services_.voiceSetting.voice());
    for (int speed = 0; speed < int(menu_.mnuSpeedItems.size()); ++speed)
        connect(menu_.mnuSpeedItems[speed], &QAction::triggered, this,
                [this, speed] { chooseSpeed(speed); });
    command(menu_.mnuHelpMain, &FrmMain::openHelp);
    command(menu_.mnuWww, &FrmMain::openHomePage);
}

void FrmMain::closeEvent(QCloseEvent* event) {
    // The editor and the drill's handle on the book go with the window.
    for (editor::FrmEdit* editorWindow : findChildren<editor::FrmEdit*>())
        editorWindow->close();
    // A progress view left open would keep the program running.
    if (progressWindow_)
        progressWindow_->close();
    event->accept();
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    // Start and the Settings menu share Alt+S; Qt then only moves the focus. Start wins
    // while it is enabled, so that a drill can be started from the keyboard.
    if (watched == cmdStart && event->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent*>(event)->isAmbiguous() && cmdStart->isEnabled()) {
        cmdStart->animateClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void FrmMain::openHelp() { platform::openUrl(platform::helpPagePath()); }

void FrmMain::openHomePage() { platform::openUrl(session::kHomePageUrl); }

} // namespace mainwin
