#include "main_window.h"

#include "class_box.h"
#include "display_views.h"
#include "drill_view.h"
#include "editor/word_editor.h"
#include "file_commands.h"
#include "folder/failure_text.h"
#include "platform/files.h"
#include "platform/help_page.h"
#include "progress/progress_window.h"
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

MainWindow::MainWindow(MainWindowServices services, QWidget* parent)
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
    session_->setTargetRetention(services_.retentionSetting.retention());

    buildControls();
    views_ = std::make_unique<DisplayViews>(*session_, *drillView_, menu_, *this);
    files_ = std::make_unique<FileCommands>(*session_, dialogs(), *views_, *this);
    layOutControls();
    connectControls();
    connectMenus();
    loadBook();

    if (systemSpeaker_)
        connect(&systemSpeaker_->speech(), &platform::Speech::soundDeviceMissing, this,
                &MainWindow::showSoundDeviceMissing);
}

void MainWindow::showSoundDeviceMissing(bool missing) {
    // The status line appears only on a machine that cannot play the voice.
    if (missing)
        statusBar()->showMessage(
            QStringLiteral("サウンドデバイスが見つからないため、声が出ません。"));
    else if (auto* bar = findChild<QStatusBar*>())
        bar->clearMessage();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    drillView_ = new DrillView(*session_);

    classBox_ = new ClassBox;

    const std::array<QString, book::kModeCount> modeCaptions{
        QStringLiteral("ﾘｰﾃﾞｨﾝｸﾞ"), QStringLiteral("ﾗｲﾃｨﾝｸﾞ"), QStringLiteral("ﾘｽﾆﾝｸﾞ")};
    for (int m = 0; m < book::kModeCount; ++m) {
        modeButtons_[m] = new QRadioButton(modeCaptions[m]);
        modeButtons_[m]->setObjectName(QStringLiteral("optMode(%1)").arg(m));
    }
    modeButtons_[book::Reading]->setChecked(true);

    memorisedTotal_ = new QLineEdit(QStringLiteral("1000"));
    memorisedTotal_->setObjectName(QStringLiteral("txtTotalMemoryCnt"));
    memorisedTotal_->setReadOnly(true);
    memorisedTotal_->setFocusPolicy(Qt::NoFocus);
    memorisedTotal_->setAlignment(Qt::AlignRight);
    memorisedTotal_->setMaximumWidth(70);

    startButton_ = new QPushButton(QStringLiteral("開始(&S)"));
    startButton_->setObjectName(QStringLiteral("cmdStart"));
    startButton_->installEventFilter(this);
    stopButton_ = new QPushButton(QStringLiteral("中止(&C)"));
    stopButton_->setObjectName(QStringLiteral("cmdEnd"));
    stopButton_->setEnabled(false);
    searchButton_ = new QPushButton(QStringLiteral("検索(&F)"));
    searchButton_->setObjectName(QStringLiteral("cmdSearch"));
}

void MainWindow::layOutControls() {
    auto* classLabel = new QLabel(QStringLiteral("単語クラス："));
    classLabel->setObjectName(QStringLiteral("lblWordClass"));
    classLabel->setBuddy(classBox_);

    auto* modeFrame = new QGroupBox(QStringLiteral("モード"));
    modeFrame->setObjectName(QStringLiteral("Frame1"));
    auto* modeLayout = new QVBoxLayout(modeFrame);
    for (QRadioButton* mode : modeButtons_)
        modeLayout->addWidget(mode);

    auto* totalLabel = new QLabel(QStringLiteral("記憶単語総数："));
    totalLabel->setObjectName(QStringLiteral("lblTotalMemoryCnt"));
    totalLabel->setBuddy(memorisedTotal_); // names the field for screen readers

    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    side->addWidget(classLabel);
    side->addWidget(classBox_);
    side->addSpacing(6);
    side->addWidget(modeFrame);
    side->addSpacing(6);
    auto* totalRow = new QHBoxLayout;
    totalRow->addWidget(totalLabel);
    totalRow->addWidget(memorisedTotal_);
    side->addLayout(totalRow);
    side->addStretch(1);
    for (QPushButton* button : {startButton_, stopButton_, searchButton_}) {
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

void MainWindow::connectControls() {
    session::BookSession* bookSession = session_.get();
    connect(bookSession, &session::BookSession::failed, this, &MainWindow::showFailure);
    connect(bookSession, &session::BookSession::drillEnded, this, &MainWindow::showDrillEnd);
    connect(bookSession, &session::BookSession::bookLoaded, this, &MainWindow::showLoadedBook);
    connect(bookSession, &session::BookSession::classesChanged, classBox_, &ClassBox::showClasses);
    connect(bookSession, &session::BookSession::settingsChanged, this, [this] {
        menu_.showSettings(session_->settings(), session_->speed());
        menu_.checkRetention(session_->targetRetention());
    });
    connect(bookSession, &session::BookSession::memorisedTotalChanged, this,
            [this](int total) { memorisedTotal_->setText(QString::number(total)); });

    connect(classBox_, &QComboBox::activated, this, &MainWindow::showClassListing);
    for (int m = 0; m < book::kModeCount; ++m) {
        // The session takes the mode whenever the buttons change; a click also lists words.
        connect(modeButtons_[m], &QRadioButton::toggled, this, [this, m](bool checked) {
            if (checked)
                session_->setMode(book::Mode(m));
        });
        connect(modeButtons_[m], &QRadioButton::clicked, this, &MainWindow::showClassListing);
    }
    connect(startButton_, &QPushButton::clicked, this, &MainWindow::startDrill);
    connect(stopButton_, &QPushButton::clicked, bookSession, &session::BookSession::endDrill);
    connect(searchButton_, &QPushButton::clicked, this,
            [this] { views_->showSearch(drillView_->answerText(), *services_.speaker); });
}

void MainWindow::connectMenus() {
    const auto command = [this](QAction* item, auto slot) {
        connect(item, &QAction::triggered, this, slot);
    };
    FileCommands* files = files_.get();
    DisplayViews* views = views_.get();
    command(menu_.openAction, [files] { files->openBook(); });
    command(menu_.saveBookAction, [files] { files->saveBookAs(); });
    command(menu_.saveListAction, [files] { files->saveBookAsList(); });
    command(menu_.saveViewAction, [files] { files->saveViewAs(); });
    command(menu_.resetAction, [files] { files->resetLearningData(); });
    command(menu_.restoreAction, [files] { files->restoreBackup(); });
    command(menu_.quitAction, &QCoreApplication::quit);
    command(menu_.editAction, [this] { editBook(); });
    command(menu_.manualAction, [views] { views->showManual(); });
    command(menu_.gradesAction, [views] { views->showGradeTable(); });
    command(menu_.resultAction, [views] { views->showTestResult(); });
    command(menu_.listingAction, [this] { showClassListing(); });
    command(menu_.progressAction, [this] { showProgress(); });
    // The menu shows each choice even if the book cannot take it.
    session::BookSession* bookSession = session_.get();
    const auto inputMode = [&](QAction* item, book::InputMode mode) {
        command(item, [bookSession, mode] { bookSession->setInputMode(mode); });
    };
    inputMode(menu_.hiraganaAction, book::InputMode::Hiragana);
    inputMode(menu_.katakanaAction, book::InputMode::Katakana);
    inputMode(menu_.noConversionAction, book::InputMode::Normal);
    command(menu_.voiceOnAction, [bookSession] { bookSession->setVoiceOn(true); });
    command(menu_.voiceOffAction, [bookSession] { bookSession->setVoiceOn(false); });
    for (QAction* voice : menu_.speechVoiceActions)
        command(voice, [this, voice] { chooseSpeechVoice(voice->data().toString()); });
    menu_.checkSpeechVoice(services_.voiceSetting.voice());
    for (QAction* target : menu_.retentionActions)
        command(target, [this, target] { chooseRetention(target->data().toDouble()); });
    menu_.checkRetention(session_->targetRetention());
    for (int speed = 0; speed < int(menu_.speedActions.size()); ++speed)
        command(menu_.speedActions[speed], [bookSession, speed] { bookSession->setSpeed(speed); });
    command(menu_.helpAction, [] { platform::openUrl(platform::helpPagePath()); });
    command(menu_.homePageAction, [] { platform::openUrl(folder::kHomePageUrl); });
    command(menu_.aboutAction, [this] {
        dialogs().showInformation(this, QStringLiteral("バージョン情報"), aboutText());
    });
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // The editor and the drill's handle on the book go with the window.
    for (editor::WordEditor* editorWindow : findChildren<editor::WordEditor*>())
        editorWindow->close();
    // A progress view left open would keep the program running.
    if (progressWindow_)
        progressWindow_->close();
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Start and the Settings menu share Alt+S; Qt then only moves the focus. Start wins
    // while it is enabled, so that a drill can be started from the keyboard.
    if (watched == startButton_ && event->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent*>(event)->isAmbiguous() && startButton_->isEnabled()) {
        startButton_->animateClick();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::loadBook() { session_->load(); }

void MainWindow::openBookFile(const QString& path) { files_->openBookFile(path); }

bool MainWindow::viewFileShown() const { return views_->viewFileShown(); }

void MainWindow::showLoadedBook() {
    views_->showManual();
    const book::EndRecord& end = session_->endRecord();
    startButton_->setEnabled(end.isValid());
    searchButton_->setEnabled(end.isValid());
    // The classes follow when the book has any; a file that is no book lists none.
    classBox_->clear();
}

void MainWindow::showClassListing() { views_->showClassListing(classBox_->choice()); }

void MainWindow::chooseSpeechVoice(const QString& id) {
    menu_.checkSpeechVoice(id);
    if (!services_.voiceSetting.setVoice(id))
        dialogs().showCritical(this, folder::kFileWriteError,
                               QStringLiteral("声の選択を保存できませんでした。\r\n%1\r\n"
                                              "次に起動したときは、前の声に戻ります。")
                                   .arg(QDir::toNativeSeparators(services_.voiceSetting.file())));
    if (systemSpeaker_)
        systemSpeaker_->setVoice(id);
}

void MainWindow::chooseRetention(double target) {
    session_->setTargetRetention(target);
    if (!services_.retentionSetting.setRetention(target))
        dialogs().showCritical(
            this, folder::kFileWriteError,
            QStringLiteral("今日の復習の目標を保存できませんでした。\r\n%1\r\n"
                           "次に起動したときは、前の目標に戻ります。")
                .arg(QDir::toNativeSeparators(services_.retentionSetting.file())));
}

void MainWindow::editBook() {
    showClassListing();
    if (!session_->writable()) {
        files_->reportNoBook();
        return;
    }
    if (dialogs().askYesNo(this, QStringLiteral("ｳﾞｪﾙﾌｧｲﾙの編集"), kDataLossQuestion) &&
        session_->resetLearningData()) {
        auto* editorWindow = new editor::WordEditor(*session_, dialogs(), this);
        connect(editorWindow, &editor::WordEditor::classFollowed, this,
                &MainWindow::showClassWords);
        connect(editorWindow, &editor::WordEditor::closed, this, [this] { setEditorOpen(false); });
        editorWindow->setAttribute(Qt::WA_DeleteOnClose);
        editorWindow->setObjectName(QStringLiteral("frmEdit"));
        editorWindow->show();
        setEditorOpen(true);
    }
    showClassListing();
}

void MainWindow::showClassWords(const QString& className) {
    classBox_->setEditText(className);
    showClassListing();
}

void MainWindow::setEditorOpen(bool open) {
    menu_.setEditorOpen(open);
    // An obsolete book can be edited but never played.
    startButton_->setEnabled(!open && session_->endRecord().isValid());
}

void MainWindow::showFailure(const folder::Failure& failure) {
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

void MainWindow::startDrill() {
    if (!session_->engine() || !startButton_->isEnabled())
        return;
    // A refused start leaves the window as it was.
    const book::Mode mode = session_->mode();
    const session::ClassChoice choice = classBox_->choice();
    switch (session_->startDrill(choice, mode)) {
    case drill::StartResult::NoClassFound:
        dialogs().showInformation(this, QStringLiteral("開始"),
                                  QStringLiteral("単語クラス「%1」が見つかりません。\r\n"
                                                 "単語クラスの一覧から選んで下さい。")
                                      .arg(classBox_->currentText()));
        return;
    case drill::StartResult::TooFewWords:
        dialogs().showInformation(this, QStringLiteral("開始"),
                                  choice.kind == session::ClassChoice::Kind::DueWords
                                      ? session_->tooFewDueWordsText(mode)
                                      : QStringLiteral("苦手な単語は%1語です。\r\n"
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

void MainWindow::showDrillEnd() {
    const drill::DrillState& s = session_->engine()->state();
    views_->showDrillResult(s.resultLines);
    // One Enter for whatever has the focus now, as the learner's last key would be.
    if (QWidget* focused = QApplication::focusWidget()) {
        QCoreApplication::postEvent(focused, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return,
                                                           Qt::NoModifier, QStringLiteral("\r")));
    }
    setDrillRunning(false);
}

void MainWindow::setDrillRunning(bool running) {
    menu_.setDrillRunning(running);
    startButton_->setEnabled(!running);
    searchButton_->setEnabled(!running);
    classBox_->setEnabled(!running);
    for (QRadioButton* mode : modeButtons_)
        mode->setEnabled(!running);
    stopButton_->setEnabled(running);
}

void MainWindow::showProgress() {
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
