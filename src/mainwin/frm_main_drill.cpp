// The window's side of the drill: Start and End, and the controls a drill locks.
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
    setCaption(QStringLiteral("向け"));
    setDrillRunning(true);
}

void FrmMain::endDrill() { session_->endDrill(); }

void FrmMain::showDrillEnd() {
    const drill::DrillState& s = session_->engine()->state();
    showResult(QStringLiteral("向け / 学習結果"), linesText(s.resultLines));
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

} // namespace mainwin
