// The window's side of the drill: Start and End, the timer, the answer box, and
// drawing the drill's state into the play area.
#include "frm_main.h"

#include "platform/dialogs.h"
#include "platform/text_display.h"
#include "play_area.h"
#include "texts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace mainwin {

namespace {

constexpr int kEnterKey = 13;

// How a drop looks in each answer state, so that the learner sees at once which word
// is being answered and which ones show a missed word's answer.
const QString kWaitingStyle = QStringLiteral("color: #1d2b44;");
const QString kAnsweringStyle = QStringLiteral("color: #1a5fd0; font-weight: bold;");
const QString kRevealedStyle = QStringLiteral("color: #b3261e;");

} // namespace

void FrmMain::cmdStart_Click() {
    if (!drillEngine() || !cmdStart->isEnabled())
        return;
    // A refused start leaves the window as it was.
    if (session_->startDrill(cboWordClass->currentText(), book::Mode(selectedMode())) ==
        drill::StartResult::NoClassFound) {
        dialogs().showInformation(this, QStringLiteral("開始"),
                                  QStringLiteral("単語クラス「%1」が見つかりません。\r\n"
                                                 "単語クラスの一覧から選んで下さい。")
                                      .arg(cboWordClass->currentText()));
        return;
    }
    setCaption(QStringLiteral("向け"));
    shownAnswerBox_ = {};
    cmbInputField->setFocus();
    setDrillControlsEnabled(false);
    txtMainDisplay->hide();
    renderDrill();
}

void FrmMain::cmdEnd_Click() { session_->endDrill(); }

void FrmMain::showDrillEnd() {
    if (const drill::DrillEngine* engine = drillEngine())
        txtTotalMemoryCnt->setText(QString::number(engine->state().shownMemorisedTotal));
    showResultFile(QStringLiteral("向け / 学習結果"));
    renderDrill();
    // One Enter for whatever has the focus now, as the learner's last key would be.
    if (QWidget* focused = QApplication::focusWidget()) {
        QCoreApplication::postEvent(focused, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return,
                                                           Qt::NoModifier, QStringLiteral("\r")));
    }
    setDrillControlsEnabled(true);
    checkView(mnuResult);
    refreshProgress();
}

void FrmMain::setDrillControlsEnabled(bool idle) {
    for (QMenu* menu : {mnuFile, mnuDsp, mnuHelp})
        menu->menuAction()->setEnabled(idle);
    mnuEdit->setEnabled(idle);
    for (QAction* item :
         {mnuFileSaveTxt, mnuFileOpen, mnuFileInitialize, mnuFileRestore, mnuFileSaveWord})
        item->setEnabled(true);
    mnuVoice->menuAction()->setEnabled(true);
    cmdStart->setEnabled(idle);
    cmdSearch->setEnabled(idle);
    cboWordClass->setEnabled(idle);
    for (QRadioButton* mode : optMode)
        mode->setEnabled(idle);
    cmdEnd->setEnabled(!idle);
    cmbInputField->setEnabled(true);
}

void FrmMain::tmrMain_Timer() {
    drill::DrillEngine* engine = drillEngine();
    if (!engine)
        return;
    engine->tick();
    renderDrill();
}

void FrmMain::cmbInputField_click() {
    drill::DrillEngine* engine = drillEngine();
    if (!engine)
        return;
    engine->selectEntry(cmbInputField->currentText());
    renderDrill();
}

void FrmMain::cmbInputField_KeyPress(int keyAscii) {
    drill::DrillEngine* engine = drillEngine();
    if (!engine)
        return;
    if (keyAscii == kEnterKey)
        engine->announceNextWord();
    renderDrill();
}

bool FrmMain::answerBoxEnter() {
    const drill::DrillEngine* engine = drillEngine();
    if (engine && engine->state().running && selectedMode() == book::Listening &&
        !engine->answering()) {
        // Waiting for a word: Enter asks for it to be spoken, whatever the box holds.
        cmbInputField->setEditText(QString());
        cmbInputField_KeyPress(kEnterKey);
        return true;
    }
    const int index = entryTypedInAnswerBox();
    if (index >= 0) {
        cmbInputField->setCurrentIndex(index);
        cmbInputField_click();
    } else {
        cmbInputField_KeyPress(kEnterKey);
    }
    return true;
}

bool FrmMain::answerListEvent(QEvent* event) {
    QAbstractItemView* list = cmbInputField->view();
    const auto typeIntoBox = [&] {
        // What is typed is matched exactly, so no entry stays highlighted for Enter.
        list->selectionModel()->clear();
        QCoreApplication::sendEvent(cmbInputField->lineEdit(), event);
        return true;
    };
    if (event->type() == QEvent::InputMethod)
        return typeIntoBox();
    if (event->type() == QEvent::InputMethodQuery) {
        QCoreApplication::sendEvent(cmbInputField->lineEdit(), event);
        return true;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (list->currentIndex().isValid())
            return false; // Qt chooses the entry the learner moved to
        // No entry moved to and none typed: the word stays unanswered, the list open.
        if (drillEngine() && drillEngine()->answering() && entryTypedInAnswerBox() < 0)
            return true;
        cmbInputField->hidePopup();
        return answerBoxEnter();
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Left:
    case Qt::Key_Right:
        return typeIntoBox();
    default:
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier) ||
            key->text().isEmpty() || !key->text().front().isPrint())
            return false;
        return typeIntoBox();
    }
}

int FrmMain::entryTypedInAnswerBox() const {
    const QLineEdit* edit = cmbInputField->lineEdit();
    const auto exact = [this](const QString& text) {
        return text.isEmpty()
                   ? -1
                   : cmbInputField->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    };
    // What the learner typed wins over what completion added to it ("at" before "attend").
    if (edit->hasSelectedText() && edit->selectionEnd() == edit->text().size()) {
        if (const int typed = exact(edit->text().left(edit->selectionStart())); typed >= 0)
            return typed;
    }
    return exact(edit->text());
}

void FrmMain::renderDrill() {
    const drill::DrillEngine* engine = drillEngine();
    if (!engine)
        return;
    const drill::DrillState& s = engine->state();
    for (int i = 0; i < drill::kDropCount; ++i) {
        const drill::Drop& drop = s.drops[i];
        QLabel* label = lblDropWord[i];
        if (label->text() != drop.caption) {
            label->setText(drop.caption);
            label->setAccessibleName(dropAccessibleName(i, drop.caption));
        }
        label->move(twipsToPixels(drop.left), twipsToPixels(int(std::floor(drop.top))));
        label->setVisible(drop.visible);
        label->setEnabled(drop.enabled);
        const bool answering = !s.drops[i].selectable && s.selectedDrop == i;
        const QString& style = s.drops[i].selectable ? kWaitingStyle
                               : answering           ? kAnsweringStyle
                                                     : kRevealedStyle;
        if (label->styleSheet() != style)
            label->setStyleSheet(style);
    }
    renderAnswerBox();
    offerTranslations();
    // Drawn on every tick: touch the box only when the number changed.
    if (const QString total = QString::number(s.shownMemorisedTotal);
        s.running && txtTotalMemoryCnt->text() != total)
        txtTotalMemoryCnt->setText(total);
    if (s.timerOn && !tmrMain->isActive())
        tmrMain->start();
    else if (!s.timerOn && tmrMain->isActive())
        tmrMain->stop();
}

void FrmMain::offerTranslations() {
    // Once a word is being answered its translations open as a list, so that the
    // learner can browse them with the arrow keys and choose with Enter.
    const drill::DrillState& s = drillEngine()->state();
    const bool answering = s.running && drillEngine()->answering();
    const int drop = answering ? s.selectedDrop : drill::kNoDrop;
    if (drop == offeredDrop_)
        return;
    offeredDrop_ = drop;
    if (answering && cmbInputField->hasFocus() && cmbInputField->count() > 0) {
        cmbInputField->showPopup();
        // No entry is chosen until the learner moves to one, so that a bare Enter
        // judges nothing.
        cmbInputField->view()->selectionModel()->clear();
    } else if (!answering)
        cmbInputField->hidePopup();
}

void FrmMain::renderAnswerBox() {
    const drill::AnswerBox& box = drillEngine()->state().answerBox;
    if (box.entries != shownAnswerBox_.entries) {
        const QSignalBlocker blocker(cmbInputField);
        cmbInputField->clear();
        cmbInputField->addItems(box.entries);
        cmbInputField->setCurrentIndex(-1);
        cmbInputField->setEditText(box.text);
    } else if (box.text != shownAnswerBox_.text) {
        cmbInputField->setEditText(box.text);
    }
    if (box.imeMode != shownAnswerBox_.imeMode && box.imeMode != drill::ImeNone)
        applyImeMode(box.imeMode);
    shownAnswerBox_ = box;
}

} // namespace mainwin
