#include "frm_main.h"

#include "editor/frm_edit.h"
#include "platform/exact_text_box.h"
#include "platform/files.h"
#include "platform/fonts.h"
#include "platform/help_page.h"
#include "play_area.h"
#include "progress/progress_window.h"
#include "session/failure_text.h"
#include "texts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace mainwin {

namespace {

// How each drop's text sits in its box, so that five words spread across the field
// although three of them share a column.
constexpr std::array<Qt::Alignment, drill::kDropCount> kDropAlignments{
    Qt::AlignLeft, Qt::AlignLeft, Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};

QString indexedName(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1StringView(name)).arg(index);
}

} // namespace

FrmMain::FrmMain(FrmMainServices services, QWidget* parent)
    : QMainWindow(parent), services_(std::move(services)) {
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
    connect(session_.get(), &session::BookSession::failed, this, &FrmMain::showFailure);
    connect(session_.get(), &session::BookSession::drillEnded, this, &FrmMain::showDrillEnd);

    buildControls();
    buildMenus();
    layOutControls();
    Form_Load();

    // The speech engine takes a while to start on its own thread: begin once the window is
    // up, so that it does not compete with building the window.
    if (systemSpeaker_)
        QTimer::singleShot(0, this, [this] { systemSpeaker_->prepare(); });
}

FrmMain::~FrmMain() = default;

void FrmMain::buildControls() {
    VelBackPic = new PlayArea;

    const QFont dropFont = platform::fixedPitchFont(platform::kDropPointSize);
    for (int i = 0; i < 5; ++i) {
        auto* drop = new QLabel(i % 2 == 0 ? QStringLiteral("Label8") : QStringLiteral("Label9"),
                                VelBackPic);
        drop->setObjectName(indexedName("lblDropWord", i));
        drop->setFont(dropFont);
        drop->setAlignment(kDropAlignments[i] | Qt::AlignVCenter);
        drop->setGeometry(drill::kDropColumns[i] / kTwipsPerPixel, -kDropHeightTwips,
                          kDropWidthTwips / kTwipsPerPixel, kDropHeightTwips / kTwipsPerPixel);
        drop->setAttribute(Qt::WA_TransparentForMouseEvents);
        // Read as a falling word, not as its design-time caption, until a word falls.
        drop->setAccessibleName(dropAccessibleName(i, QString()));
        lblDropWord[i] = drop;
    }
    // Holds no text and is never seen: the views take their font from it.
    lblDropWord[5] = new QLabel(VelBackPic);
    lblDropWord[5]->setObjectName(indexedName("lblDropWord", 5));
    lblDropWord[5]->setFont(platform::fixedPitchFont(platform::kViewPointSize));
    lblDropWord[5]->hide();

    txtMainDisplay = new QPlainTextEdit(VelBackPic);
    txtMainDisplay->setObjectName(QStringLiteral("txtMainDisplay"));
    txtMainDisplay->setGeometry(VelBackPic->rect());
    txtMainDisplay->setReadOnly(true);
    txtMainDisplay->setFocusPolicy(Qt::ClickFocus);
    txtMainDisplay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtMainDisplay->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    txtMainDisplay->setFont(lblDropWord[5]->font());

    lblInputField = new QLabel(QStringLiteral("入力フィールド："));
    lblInputField->setObjectName(QStringLiteral("lblInputField"));
    cmbInputField = new QComboBox;
    cmbInputField->setObjectName(QStringLiteral("cmbInputField"));
    cmbInputField->setEditable(true);
    cmbInputField->setInsertPolicy(QComboBox::NoInsert);
    cmbInputField->setMaxVisibleItems(6);
    cmbInputField->setFont(platform::fixedPitchFont(11));
    cmbInputField->installEventFilter(this);
    cmbInputField->lineEdit()->installEventFilter(this);
    // While its list is open the keys go to the list's view. Installed after Qt's own
    // filter there, this one sees them first.
    cmbInputField->view()->installEventFilter(this);
    // Completion offers the list's own words, which are compared exactly.
    cmbInputField->completer()->setCaseSensitivity(Qt::CaseSensitive);
    cmbInputField->completer()->setCompletionMode(QCompleter::InlineCompletion);
    connect(cmbInputField, &QComboBox::activated, this, [this] { cmbInputField_click(); });
    lblInputField->setBuddy(cmbInputField);

    lblWordClass = new QLabel(QStringLiteral("単語クラス："));
    lblWordClass->setObjectName(QStringLiteral("lblWordClass"));
    cboWordClass = new QComboBox;
    cboWordClass->setObjectName(QStringLiteral("cboWordClass"));
    // A typed name is looked up as typed when a command reads it.
    platform::makeExactTextBox(cboWordClass);
    cboWordClass->setMaxVisibleItems(24);
    lblWordClass->setBuddy(cboWordClass);
    connect(cboWordClass, &QComboBox::activated, this, [this] { cboWordClass_click(); });

    Frame1 = new QGroupBox(QStringLiteral("モード"));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    const std::array<QString, 3> modeCaptions{QStringLiteral("ﾘｰﾃﾞｨﾝｸﾞ"), QStringLiteral("ﾗｲﾃｨﾝｸﾞ"),
                                              QStringLiteral("ﾘｽﾆﾝｸﾞ")};
    auto* modeLayout = new QVBoxLayout(Frame1);
    for (int m = 0; m < 3; ++m) {
        optMode[m] = new QRadioButton(modeCaptions[m]);
        optMode[m]->setObjectName(indexedName("optMode", m));
        modeLayout->addWidget(optMode[m]);
        connect(optMode[m], &QRadioButton::clicked, this, [this, m] { optMode_Click(m); });
    }
    optMode[book::Reading]->setChecked(true);

    lblTotalMemoryCnt = new QLabel(QStringLiteral("記憶単語総数："));
    lblTotalMemoryCnt->setObjectName(QStringLiteral("lblTotalMemoryCnt"));
    txtTotalMemoryCnt = new QLineEdit(QStringLiteral("1000"));
    txtTotalMemoryCnt->setObjectName(QStringLiteral("txtTotalMemoryCnt"));
    txtTotalMemoryCnt->setReadOnly(true);
    txtTotalMemoryCnt->setFocusPolicy(Qt::NoFocus);
    txtTotalMemoryCnt->setAlignment(Qt::AlignRight);
    txtTotalMemoryCnt->setMaximumWidth(70);
    lblTotalMemoryCnt->setBuddy(txtTotalMemoryCnt); // names the field for screen readers

    cmdStart = new QPushButton(QStringLiteral("開始(&S)"));
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdStart->installEventFilter(this);
    cmdEnd = new QPushButton(QStringLiteral("中止(&C)"));
    cmdEnd->setObjectName(QStringLiteral("cmdEnd"));
    cmdEnd->setEnabled(false);
    cmdSearch = new QPushButton(QStringLiteral("検索(&F)"));
    cmdSearch->setObjectName(QStringLiteral("cmdSearch"));

    tmrMain = new QTimer(this);
    tmrMain->setObjectName(QStringLiteral("tmrMain"));
    tmrMain->setInterval(100);
    connect(tmrMain, &QTimer::timeout, this, &FrmMain::tmrMain_Timer);
    connect(cmdStart, &QPushButton::clicked, this, &FrmMain::cmdStart_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &FrmMain::cmdEnd_Click);
    connect(cmdSearch, &QPushButton::clicked, this, &FrmMain::cmdSearch_Click);
}

void FrmMain::buildMenus() {
    auto action = [this](QMenu* menu, const char* name, const QString& caption,
                         const QKeySequence& shortcut, void (FrmMain::*handler)()) {
        QAction* item = menu->addAction(caption);
        item->setObjectName(QLatin1StringView(name));
        item->setShortcut(shortcut);
        connect(item, &QAction::triggered, this, handler);
        return item;
    };
    auto checkable = [](QActionGroup* group, std::initializer_list<QAction*> items) {
        for (QAction* item : items) {
            item->setCheckable(true);
            group->addAction(item);
        }
    };
    auto menu = [this](QMenu* parent, const char* name, const QString& caption) {
        QMenu* created = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
        created->setObjectName(QLatin1StringView(name));
        created->menuAction()->setObjectName(QLatin1StringView(name));
        return created;
    };

    mnuFile = menu(nullptr, "mnuFile", QStringLiteral("ﾌｧｲﾙ(&M)"));
    mnuFileOpen = action(mnuFile, "mnuFileOpen", QStringLiteral("単語帳を開く(&O)"),
                         QKeySequence(Qt::CTRL | Qt::Key_O), &FrmMain::mnuFileOpen_Click);
    mnuFileSaveWord =
        action(mnuFile, "mnuFileSaveWord", QStringLiteral("名前を付けて単語帳の保存(&E)"), {},
               &FrmMain::mnuFileSaveWord_Click);
    mnuFileSaveTxt = action(mnuFile, "mnuFileSaveTxt", QStringLiteral("名前を付けて保存(&A)"), {},
                            &FrmMain::mnuFileSaveTxt_Click);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuLine0"));
    mnuFileInitialize =
        action(mnuFile, "mnuFileInitialize", QStringLiteral("データの初期化(&D)"),
               QKeySequence(Qt::CTRL | Qt::Key_D), &FrmMain::mnuFileInitialize_Click);
    mnuFileRestore =
        action(mnuFile, "mnuFileRestore", QStringLiteral("バックアップから復元(&R)..."), {},
               &FrmMain::mnuFileRestore_Click);
    mnuFile->addSeparator()->setObjectName(QStringLiteral("mnuLine2"));
    mnuFileEnd = action(mnuFile, "mnuFileEnd", QStringLiteral("終了(&X)"),
                        QKeySequence(Qt::CTRL | Qt::Key_Q), &FrmMain::mnuFileEnd_Click);

    // A menu-bar entry of its own: choosing it runs the command at once.
    mnuEdit = menuBar()->addAction(QStringLiteral("編集(&E)"));
    mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
    connect(mnuEdit, &QAction::triggered, this, &FrmMain::mnuEdit_Click);

    mnuDsp = menu(nullptr, "mnuDsp", QStringLiteral("表示(&V)"));
    mnuManual = action(mnuDsp, "mnuManual", QStringLiteral("マニュアル"), Qt::Key_F2,
                       &FrmMain::mnuManual_Click);
    mnuGrades = action(mnuDsp, "mnuGrades", QStringLiteral("成績表"), Qt::Key_F3,
                       &FrmMain::mnuGrades_Click);
    mnuResult = action(mnuDsp, "mnuResult", QStringLiteral("テスト結果"), Qt::Key_F4,
                       &FrmMain::mnuResult_Click);
    mnuWords =
        action(mnuDsp, "mnuWords", QStringLiteral("単語帳"), Qt::Key_F5, &FrmMain::mnuWords_Click);
    // Search results are shown with no view checked, so the group may have none.
    auto* views = new QActionGroup(this);
    views->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    checkable(views, {mnuManual, mnuGrades, mnuResult, mnuWords});
    mnuDsp->addSeparator();
    mnuProgress = action(mnuDsp, "mnuProgress", QStringLiteral("学習の記録(&G)"), Qt::Key_F6,
                         &FrmMain::mnuProgress_Click);

    mnuSetting = menu(nullptr, "mnuSetting", QStringLiteral("設定(&S)"));
    mnuInputMode = menu(mnuSetting, "mnuInputMode", QStringLiteral("入力モード"));
    mnuHiragana = action(mnuInputMode, "mnuHiragana", QStringLiteral("全角ひらがな"),
                         QKeySequence(Qt::CTRL | Qt::Key_H), &FrmMain::mnuHiragana_Click);
    mnuKatakana = action(mnuInputMode, "mnuKatakana", QStringLiteral("全角カタカナ"),
                         QKeySequence(Qt::CTRL | Qt::Key_K), &FrmMain::mnuKatakana_Click);
    mnuNormal = action(mnuInputMode, "mnuNormal", QStringLiteral("自動変換なし"),
                       QKeySequence(Qt::CTRL | Qt::Key_N), &FrmMain::mnuNormal_Click);
    checkable(new QActionGroup(this), {mnuHiragana, mnuKatakana, mnuNormal});
    mnuHiragana->setChecked(true);

    mnuVoice = menu(mnuSetting, "mnuVoice", QStringLiteral("音声"));
    mnuVoiceOn = action(mnuVoice, "mnuVoiceOn", QStringLiteral("ON"),
                        QKeySequence(Qt::CTRL | Qt::Key_S), &FrmMain::mnuVoiceOn_Click);
    mnuVoiceOFF = action(mnuVoice, "mnuVoiceOFF", QStringLiteral("OFF"),
                         QKeySequence(Qt::CTRL | Qt::Key_M), &FrmMain::mnuVoiceOff_Click);
    checkable(new QActionGroup(this), {mnuVoiceOn, mnuVoiceOFF});
    mnuVoiceOn->setChecked(true);

    mnuSpeed = menu(mnuSetting, "mnuSpeed", QStringLiteral("スピード"));
    const std::array<const char*, 5> speedNames{"mnuSpeedOne", "mnuSpeedTwo", "mnuSpeedThree",
                                                "mnuSpeedFour", "mnuSpeedFive"};
    const std::array<QString, 5> speedCaptions{
        QStringLiteral("1\u3000遅い"), QStringLiteral("2\u3000↑"), QStringLiteral("3\u3000普通"),
        QStringLiteral("4\u3000↓"), QStringLiteral("5\u3000速い")};
    const std::array<void (FrmMain::*)(), 5> speedHandlers{
        &FrmMain::mnuSpeedOne_Click, &FrmMain::mnuSpeedTwo_Click, &FrmMain::mnuSpeedThree_Click,
        &FrmMain::mnuSpeedFour_Click, &FrmMain::mnuSpeedFive_Click};
    auto* speeds = new QActionGroup(this);
    for (int i = 0; i < 5; ++i) {
        mnuSpeedItems[i] = action(mnuSpeed, speedNames[i], speedCaptions[i],
                                  QKeySequence(Qt::SHIFT | (Qt::Key_F1 + i)), speedHandlers[i]);
        checkable(speeds, {mnuSpeedItems[i]});
    }
    mnuSpeedItems[1]->setChecked(true);

    mnuHelp = menu(nullptr, "mnuHelp", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    mnuHelpMain =
        action(mnuHelp, "mnuHelpMain", QStringLiteral("ヴェルタイピング\u3000ｵﾝﾗｲﾝﾍﾙﾌﾟ(&H)"),
               Qt::Key_F1, &FrmMain::mnuHelpMain_Click);
    mnuWww = action(mnuHelp, "mnuWww", QStringLiteral("ヴェルタイピング\u3000ﾎｰﾑﾍﾟｰｼﾞ(&W)"), {},
                    &FrmMain::MnuWww_Click);
}

void FrmMain::layOutControls() {
    auto* central = new QWidget;
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(14);
    grid->setVerticalSpacing(8);

    grid->addWidget(VelBackPic, 0, 0, Qt::AlignTop | Qt::AlignLeft);

    auto* answerRow = new QHBoxLayout;
    answerRow->addWidget(lblInputField);
    answerRow->addWidget(cmbInputField, 1);
    grid->addLayout(answerRow, 1, 0);

    auto* side = new QVBoxLayout;
    side->setSpacing(6);
    side->addWidget(lblWordClass);
    side->addWidget(cboWordClass);
    side->addSpacing(6);
    side->addWidget(Frame1);
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
    grid->addWidget(sidePanel, 0, 1, 2, 1);

    setCentralWidget(central);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void FrmMain::closeEvent(QCloseEvent* event) {
    // Form_Unload: the editor and the drill's handle on the book go with the window.
    for (editor::FrmEdit* editorWindow : findChildren<editor::FrmEdit*>())
        editorWindow->close();
    // A progress view left open would keep the program running.
    if (progressWindow_)
        progressWindow_->close();
    event->accept();
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
    // The focus coming back from the box's own list is no new visit to the box.
    if (watched == cmbInputField && event->type() == QEvent::FocusIn &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
        cmbInputField_GotFocus();
    // Start and the Settings menu share Alt+S; Qt then only moves the focus. Start wins
    // while it is enabled, so that a drill can be started from the keyboard.
    if (watched == cmdStart && event->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent*>(event)->isAmbiguous() && cmdStart->isEnabled()) {
        cmdStart->animateClick();
        return true;
    }
    if (watched == cmbInputField->view() && answerListEvent(event))
        return true;
    // The box passes keys on to its line edit without filters, so watch both.
    if ((watched == cmbInputField || watched == cmbInputField->lineEdit()) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return answerBoxEnter();
    }
    return QMainWindow::eventFilter(watched, event);
}

void FrmMain::mnuHelpMain_Click() { platform::openUrl(platform::helpPagePath()); }

void FrmMain::MnuWww_Click() { platform::openUrl(session::kHomePageUrl); }

void FrmMain::mnuFileEnd_Click() { QCoreApplication::quit(); }

} // namespace mainwin
