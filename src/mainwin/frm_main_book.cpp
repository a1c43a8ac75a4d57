// Loading the word book and keeping the window's class, mode and settings in step
// with it.
#include "frm_main.h"

#include "editor/frm_edit.h"
#include "platform/dialogs.h"
#include "texts.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>

namespace mainwin {

int FrmMain::selectedMode() const {
    for (int m = 0; m < 3; ++m) {
        if (optMode[m]->isChecked())
            return m;
    }
    return book::Reading;
}

void FrmMain::Form_Load() {
    RuleDisp();
    session_->load();
    refreshProgress();
    const book::EndRecord& end = session_->endRecord();
    cmdStart->setEnabled(end.isValid());
    cmdSearch->setEnabled(end.isValid());
    setCaption(kManualSuffix);
    cboWordClass->clear();
    checkView(mnuManual);
    // Not a word book: nothing was read from it, and nothing is written to it.
    if (end.state == book::BookState::NoEndRecord)
        return;

    cboWordClass->addItems(session_->classNames());
    cboWordClass->setEditText(session_->classNames().value(0));
    viewFileShown_ = true;

    // A speed text outside the table keeps the speed as it is. The stored voice is
    // applied as the stored speed is, so the menu shows the book.
    session_->applyStoredSettings();
    showSettings();
    txtTotalMemoryCnt->setText(QString::number(session_->memorisedTotals()[book::Reading]));
}

void FrmMain::cboWordClass_click() {
    setCaption(kWordListSuffix);
    prepareViewDisplay();
    const int mode = selectedMode();
    const session::WordListView view = session_->wordList(cboWordClass->currentText(), mode);
    setDisplayColour(view.allMemorised ? QColor(128, 128, 128) : QColor(Qt::black));
    if (view.classFound)
        txtTotalMemoryCnt->setText(QString::number(session_->memorisedTotals()[mode]));
    checkView(mnuWords);
    viewFileShown_ = true;
    showView(view.lines);
}

void FrmMain::optMode_Click(int) {
    cboWordClass_click();
    refreshProgress();
    session_->restoreStoredInputMode();
    showSettings();
}

// The menu shows each choice even if the book cannot take it.
void FrmMain::chooseSpeed(int speed) {
    session_->setSpeed(speed);
    showSettings();
}

void FrmMain::chooseInputMode(book::InputMode mode) {
    session_->setInputMode(mode);
    showSettings();
}

void FrmMain::chooseVoice(bool on) {
    session_->setVoiceOn(on);
    showSettings();
}

void FrmMain::showSettings() {
    const drill::DrillSettings& settings = session_->settings();
    mnuSpeedItems[session_->speed()]->setChecked(true);
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

void FrmMain::checkView(QAction* view) {
    for (QAction* item : {mnuManual, mnuGrades, mnuResult, mnuWords})
        item->setChecked(item == view);
}

void FrmMain::cmbInputField_GotFocus() {
    const int mode = drill::imeOnFocus(book::Mode(selectedMode()), session_->settings().inputMode);
    applyImeMode(mode);
    // The drill's own requests start again from what the box now has.
    if (drill::DrillEngine* engine = drillEngine()) {
        engine->setImeMode(mode);
        shownAnswerBox_.imeMode = mode;
    }
}

void FrmMain::applyImeMode(int mode) {
    requestedImeMode_ = mode;
    // Without a Japanese input method the modes become hints: 8 keeps to Latin letters.
    const Qt::InputMethodHints hints =
        mode == 8 ? Qt::ImhLatinOnly | Qt::ImhNoPredictiveText : Qt::ImhNone;
    cmbInputField->setInputMethodHints(hints);
    if (QLineEdit* edit = cmbInputField->lineEdit())
        edit->setInputMethodHints(hints);
}

void FrmMain::mnuEdit_Click() {
    mnuWords_Click();
    if (!session_->writable()) {
        reportNoBook();
        return;
    }
    if (dialogs().askYesNo(this, QStringLiteral("ｳﾞｪﾙﾌｧｲﾙの編集"), kDataLossQuestion) &&
        session_->resetLearningData()) {
        Form_Load();
        auto* editorWindow = new editor::FrmEdit(*session_, dialogs(),
                                                 static_cast<editor::EditorHost&>(*this), this);
        editorWindow->setAttribute(Qt::WA_DeleteOnClose);
        editorWindow->setObjectName(QStringLiteral("frmEdit"));
        editorWindow->show();
        setEditorCommandsEnabled(false);
    }
    mnuWords_Click();
}

void FrmMain::showClassWords(const QString& className) {
    cboWordClass->setEditText(className);
    cboWordClass_click();
}

void FrmMain::setClassList(const QStringList& names, const QString& current) {
    const QSignalBlocker blocker(cboWordClass);
    cboWordClass->clear();
    cboWordClass->addItems(names);
    cboWordClass->setEditText(current);
}

void FrmMain::editorClosed() { setEditorCommandsEnabled(true); }

void FrmMain::setEditorCommandsEnabled(bool enabled) {
    for (QMenu* menu : {mnuFile, mnuDsp, mnuSetting})
        menu->menuAction()->setEnabled(enabled);
    mnuEdit->setEnabled(enabled);
    // An obsolete book can be edited but never played.
    cmdStart->setEnabled(enabled && session_->endRecord().isValid());
}

void FrmMain::showFailure(const session::Failure& failure) {
    const drill::DrillEngine* engine = drillEngine();
    if (!engine || (!engine->state().running && !tmrMain->isActive())) {
        dialogs().showCritical(this, failure.title, failure.text);
        return;
    }
    // Inside a drill, its end included, the message waits until the step is over, so that the box
    // never runs the drill from within itself, and the words stop falling while it is open.
    QTimer::singleShot(0, this, [this, failure] {
        const bool falling = tmrMain->isActive();
        tmrMain->stop();
        dialogs().showCritical(this, failure.title, failure.text);
        const drill::DrillEngine* engine = drillEngine();
        if (falling && engine && engine->state().timerOn)
            tmrMain->start();
    });
}

} // namespace mainwin
