// The window's side of the drill: Start and End, and passing the learner's input and the
// timer's ticks on to the drill.
#include "frm_main.h"

#include "class_box.h"
#include "drill_view.h"
#include "texts.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace mainwin {

void FrmMain::startDrill() {
    if (!session_->engine() || !cmdStart->isEnabled())
        return;
    // A refused start leaves the window as it was.
    const book::Mode mode = selectedMode();
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
    setCaption(QStringLiteral("向け"));
    drillView_->showDrillStart();
    setDrillRunning(true);
    renderDrill();
}

void FrmMain::endDrill() { session_->endDrill(); }

void FrmMain::showDrillEnd() {
    const drill::DrillState& s = session_->engine()->state();
    txtTotalMemoryCnt->setText(QString::number(s.shownMemorisedTotal));
    showResult(QStringLiteral("向け / 学習結果"), linesText(s.resultLines));
    renderDrill();
    // One Enter for whatever has the focus now, as the learner's last key would be.
    if (QWidget* focused = QApplication::focusWidget()) {
        QCoreApplication::postEvent(focused, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return,
                                                           Qt::NoModifier, QStringLiteral("\r")));
    }
    setDrillRunning(false);
    refreshProgress();
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

void FrmMain::tick() {
    if (drill::DrillEngine* engine = session_->engine()) {
        engine->tick();
        renderDrill();
    }
}

void FrmMain::selectEntry(const QString& text) {
    if (drill::DrillEngine* engine = session_->engine()) {
        engine->selectEntry(text);
        renderDrill();
    }
}

void FrmMain::announceNextWord() {
    if (drill::DrillEngine* engine = session_->engine()) {
        engine->announceNextWord();
        renderDrill();
    }
}

void FrmMain::renderDrill() {
    const drill::DrillEngine* engine = session_->engine();
    if (!engine)
        return;
    drillView_->render();
    // Drawn on every tick: touch the box only when the number changed.
    const drill::DrillState& s = engine->state();
    if (const QString total = QString::number(s.shownMemorisedTotal);
        s.running && txtTotalMemoryCnt->text() != total)
        txtTotalMemoryCnt->setText(total);
}

} // namespace mainwin
