#include "frm_main.h"

#include "class_box.h"
#include "display_views.h"
#include "drill_view.h"
#include "editor/frm_edit.h"
#include "file_commands.h"
#include "platform/files.h"
#include "platform/help_page.h"
#include "progress/progress_window.h"
#include "session/failure_text.h"
#include "texts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QStatusBar>
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
        services_.folder,
        session::BookSession::Ports{*services_.random, *services_.clock, *services_.speaker,
                                    services_.calendar, services_.dictionaries});

    buildControls();
    views_ = std::make_unique<DisplayViews>(*session_, *drillView_, menu_, *this);
    files_ = std::make_unique<FileCommands>(*session_, dialogs(), *views_, *this);
    layOutControls();
    connectControls();
    connectMenus();
    loadBook();

    if (systemSpeaker_)
        connect(&systemSpeaker_->speech(), &platform::Speech::soundDeviceMissing, this,
                &FrmMain::showSoundDeviceMissing);
}

void FrmMain::showSoundDeviceMissing(bool missing) {
    // The status line appears only on a machine that cannot play the voice.
    if (missing)
        statusBar()->showMessage(
            QStringLiteral("サウンドデバイスが見つからないため、声が出ません。"));
    else if (auto* bar = findChild<QStatusBar*>())
        bar->clearMessage();
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
    session::BookSession* bookSession = session_.get();
    connect(bookSession, &session::BookSession::failed, this, &FrmMain::showFailure);
    connect(bookSession, &session::BookSession::drillEnded, this, &FrmMain::showDrillEnd);
    connect(bookSession, &session::BookSession::bookLoaded, this, &FrmMain::showLoadedBook);
    connect(bookSession, &session::BookSession::classesChanged, cboWordClass,
            &ClassBox::showClasses);
    connect(bookSession, &session::BookSession::settingsChanged, this,
            [this] { menu_.showSettings(session_->settings(), session_->speed()); });
    connect(bookSession, &session::BookSession::memorisedTotalChanged, this,
            [this](int total) { txtTotalMemoryCnt->setText(QString::number(total)); });

    connect(cboWordClass, &QComboBox::activated, this, &FrmMain::showWordList);
    for (int m = 0; m < book::kModeCount; ++m) {
        // The session takes the mode whenever the buttons change; a click also lists words.
        connect(optMode[m], &QRadioButton::toggled, this, [this, m](bool checked) {
            if (checked)
                session_->setMode(book::Mode(m));
        });
        connect(optMode[m], &QRadioButton::clicked, this, &FrmMain::showWordList);
    }
    connect(cmdStart, &QPushButton::clicked, this, &FrmMain::startDrill);
    connect(cmdEnd, &QPushButton::clicked, bookSession, &session::BookSession::endDrill);
    connect(cmdSearch, &QPushButton::clicked, this,
            [this] { views_->showSearch(drillView_->answerText(), *services_.speaker); });
}

void FrmMain::connectMenus() {
    const auto command = [this](QAction* item, auto slot) {
        connect(item, &QAction::triggered, this, slot);
    };
    FileCommands* files = files_.get();
    DisplayViews* views = views_.get();
    command(menu_.mnuFileOpen, [files] { files->openBook(); });
    command(menu_.mnuFileSaveWord, [files] { files->saveBookAs(); });
    command(menu_.mnuFileSaveList, [files] { files->saveBookAsList(); });
    command(menu_.mnuFileSaveTxt, [files] { files->saveViewAs(); });
    command(menu_.mnuFileInitialize, [files] { files->resetLearningData(); });
    command(menu_.mnuFileRestore, [files] { files->restoreBackup(); });
    command(menu_.mnuFileEnd, &QCoreApplication::quit);
    command(menu_.mnuEdit, [this] { editBook(); });
    command(menu_.mnuManual, [views] { views->showManual(); });
    command(menu_.mnuGrades, [views] { views->showGradeTable(); });
    command(menu_.mnuResult, [views] { views->showTestResult(); });
    command(menu_.mnuWords, [this] { showWordList(); });
    command(menu_.mnuProgress, [this] { showProgress(); });
    // The menu shows each choice even if the book cannot take it.
    session::BookSession* bookSession = session_.get();
    const auto inputMode = [&](QAction* item, book::InputMode mode) {
        command(item, [bookSession, mode] { bookSession->setInputMode(mode); });
    };
    inputMode(menu_.mnuHiragana, book::InputMode::Hiragana);
    inputMode(menu_.mnuKatakana, book::InputMode::Katakana);
    inputMode(menu_.mnuNormal, book::InputMode::Normal);
    command(menu_.mnuVoiceOn, [bookSession] { bookSession->setVoiceOn(true); });
    command(menu_.mnuVoiceOFF, [bookSession] { bookSession->setVoiceOn(false); });
    for (QAction* voice : menu_.mnuSpeechVoiceItems)
        command(voice, [this, voice] { chooseSpeechVoice(voice->data().toString()); });
    menu_.checkSpeechVoice(services_.voiceSetting.voice());
    for (int speed = 0; speed < int(menu_.mnuSpeedItems.size()); ++speed)
        command(menu_.mnuSpeedItems[speed], [bookSession, speed] { bookSession->setSpeed(speed); });
    command(menu_.mnuHelpMain, [] { platform::openUrl(platform::helpPagePath()); });
    command(menu_.mnuWww, [] { platform::openUrl(session::kHomePageUrl); });
    command(menu_.mnuAbout, [this] {
        dialogs().showInformation(this, QStringLiteral("バージョン情報"), aboutText());
    });
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

void FrmMain::loadBook() { session_->load(); }

void FrmMain::openBookFile(const QString& path) { files_->openBookFile(path); }

bool FrmMain::viewFileShown() const { return views_->viewFileShown(); }

void FrmMain::showLoadedBook() {
    views_->showManual();
    const book::EndRecord& end = session_->endRecord();
    cmdStart->setEnabled(end.isValid());
    cmdSearch->setEnabled(end.isValid());
    // The classes follow when the book has any; a file that is no book lists none.
    cboWordClass->clear();
}

void FrmMain::showWordList() { views_->showWordListing(cboWordClass->choice()); }

void FrmMain::chooseSpeechVoice(const QString& id) {
    menu_.checkSpeechVoice(id);
    if (!services_.voiceSetting.setVoice(id))
        dialogs().showCritical(this, session::kFileWriteError,
                               QStringLiteral("声の選択を保存できませんでした。\r\n%1\r\n"
                                              "次に起動したときは、前の声に戻ります。")
                                   .arg(QDir::toNativeSeparators(services_.voiceSetting.file())));
    if (systemSpeaker_)
        systemSpeaker_->setVoice(id);
}

void FrmMain::editBook() {
    showWordList();
    if (!session_->writable()) {
        files_->reportNoBook();
        return;
    }
    if (dialogs().askYesNo(this, QStringLiteral("ｳﾞｪﾙﾌｧｲﾙの編集"), kDataLossQuestion) &&
        session_->resetLearningData()) {
        auto* editorWindow = new editor::FrmEdit(*session_, dialogs(), this);
        connect(editorWindow, &editor::FrmEdit::classFollowed, this, &FrmMain::showClassWords);
        connect(editorWindow, &editor::FrmEdit::closed, this, [this] { setEditorOpen(false); });
        editorWindow->setAttribute(Qt::WA_DeleteOnClose);
        editorWindow->setObjectName(QStringLiteral("frmEdit"));
        editorWindow->show();
        setEditorOpen(true);
    }
    showWordList();
}

void FrmMain::showClassWords(const QString& className) {
    cboWordClass->setEditText(className);
    showWordList();
}

void FrmMain::setEditorOpen(bool open) {
    menu_.setEditorOpen(open);
    // An obsolete book can be edited but never played.
    cmdStart->setEnabled(!open && session_->endRecord().isValid());
}

void FrmMain::showFailure(const session::Failure& failure) {
    const drill::DrillEngine* engine = session_->engine();
    if (!engine || (!engine->state().running && !drillView_->falling())) {
        dialogs().showCritical(this, failure.title, failure.text);
        return;
    }
    // Inside a drill, its end included, the message waits until the step is over, so that
    // the box never runs the drill from within itself, and the words stop falling while it
    // is open.
    QTimer::singleShot(0, this, [this, failure] {
        drillView_->holdWhile(
            [this, &failure] { dialogs().showCritical(this, failure.title, failure.text); });
    });
}

void FrmMain::startDrill() {
    if (!session_->engine() || !cmdStart->isEnabled())
        return;
    // A refused start leaves the window as it was.
    const book::Mode mode = session_->mode();
    switch (session_->startDrill(cboWordClass->choice(), mode)) {
    case drill::StartResult::NoClassFound:
        dialogs().showInformation(this, QStringLiteral("開始"),
                                  QStringLiteral("単語クラス「%1」が見つかりません。\r\n"
                                                 "単語クラスの一覧から選んで下さい。")
                                      .arg(cboWordClass->currentText()));
        return;
    case drill::StartResult::TooFewWords:
        dialogs().showInformation(this, QStringLiteral("開始"),
                                  QStringLiteral("苦手な単語は%1語です。\r\n"
                                                 "苦手な単語の復習には%2語以上が必要です。")
                                      .arg(session_->weakWords(mode).total)
                                      .arg(drill::kFewestWords));
        return;
    case drill::StartResult::Started:
        break;
    }
    views_->setCaption(QStringLiteral("向け"));
    setDrillRunning(true);
}

void FrmMain::showDrillEnd() {
    const drill::DrillState& s = session_->engine()->state();
    views_->showDrillResult(s.resultLines);
    // One Enter for whatever has the focus now, as the learner's last key would be.
    if (QWidget* focused = QApplication::focusWidget()) {
        QCoreApplication::postEvent(focused, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return,
                                                           Qt::NoModifier, QStringLiteral("\r")));
    }
    setDrillRunning(false);
}

void FrmMain::setDrillRunning(bool running) {
    menu_.setDrillRunning(running);
    cmdStart->setEnabled(!running);
    cmdSearch->setEnabled(!running);
    cboWordClass->setEnabled(!running);
    for (QRadioButton* mode : optMode)
        mode->setEnabled(!running);
    cmdEnd->setEnabled(running);
}

void FrmMain::showProgress() {
    // Made on first use, so that the program starts without it.
    if (!progressWindow_) {
        progressWindow_ = new progress::ProgressWindow(
            *session_,
            [](const QString& title) {
                return windowCaption(title, QStringLiteral("向け / 学習の記録"));
            },
            this);
        connect(progressWindow_, &progress::ProgressWindow::saveRequested, this,
                [this] { files_->saveChart(progressWindow_, progressWindow_->shownChartPng()); });
    }
    progressWindow_->show();
    progressWindow_->raise();
    progressWindow_->activateWindow();
}

} // namespace mainwin
