// Loading the word book and keeping the window's class, mode and settings in step
// with it.
#include "frm_main.h"

#include "class_box.h"
#include "drill_view.h"
#include "editor/frm_edit.h"
#include "platform/dialogs.h"
#include "texts.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace mainwin {

book::Mode FrmMain::selectedMode() const {
    for (int m = 0; m < book::kModeCount; ++m) {
        if (optMode[m]->isChecked())
            return book::Mode(m);
    }
    return book::Reading;
}

void FrmMain::loadBook() {
    showManualText();
    session_->load();
    refreshProgress();
    const book::EndRecord& end = session_->endRecord();
    cmdStart->setEnabled(end.isValid());
    cmdSearch->setEnabled(end.isValid());
    setCaption(kManualSuffix);
    cboWordClass->clear();
    menu_.checkView(menu_.mnuManual);
    // Not a word book: nothing was read from it, and nothing is written to it.
    if (end.state == book::BookState::NoEndRecord)
        return;

    cboWordClass->showClasses(session_->classNames(), session_->classNames().value(0));
    viewFileShown_ = true;

    // A speed text outside the table keeps the speed as it is. The stored voice is
    // applied as the stored speed is, so the menu shows the book.
    session_->applyStoredSettings();
    menu_.showSettings(session_->settings(), session_->speed());
    txtTotalMemoryCnt->setText(QString::number(session_->memorisedTotals()[book::Reading]));
}

void FrmMain::showWordList() {
    setCaption(kWordListSuffix);
    const book::Mode mode = selectedMode();
    const session::WordListView view = session_->wordList(cboWordClass->choice(), mode);
    if (view.classFound)
        txtTotalMemoryCnt->setText(QString::number(session_->memorisedTotals()[mode]));
    menu_.checkView(menu_.mnuWords);
    viewFileShown_ = true;
    showView(view.lines, view.allMemorised ? QColor(128, 128, 128) : QColor(Qt::black));
}

void FrmMain::changeMode() {
    showWordList();
    refreshProgress();
    session_->restoreStoredInputMode();
    menu_.showSettings(session_->settings(), session_->speed());
}

// The menu shows each choice even if the book cannot take it.
void FrmMain::chooseSpeed(int speed) {
    session_->setSpeed(speed);
    menu_.showSettings(session_->settings(), session_->speed());
}

void FrmMain::chooseInputMode(book::InputMode mode) {
    session_->setInputMode(mode);
    menu_.showSettings(session_->settings(), session_->speed());
}

void FrmMain::chooseVoice(bool on) {
    session_->setVoiceOn(on);
    menu_.showSettings(session_->settings(), session_->speed());
}

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

void FrmMain::applyFocusInputMode() {
    const drill::ImeMode mode = drill::imeOnFocus(selectedMode(), session_->settings().inputMode);
    drillView_->setFocusImeMode(mode);
    // The drill's own requests start again from what the box now has.
    if (drill::DrillEngine* engine = session_->engine())
        engine->setImeMode(mode);
}

void FrmMain::editBook() {
    showWordList();
    if (!session_->writable()) {
        reportNoBook();
        return;
    }
    if (dialogs().askYesNo(this, QStringLiteral("ｳﾞｪﾙﾌｧｲﾙの編集"), kDataLossQuestion) &&
        session_->resetLearningData()) {
        loadBook();
        auto* editorWindow = new editor::FrmEdit(*session_, dialogs(),
                                                 static_cast<editor::EditorHost&>(*this), this);
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

void FrmMain::setClassList(const QStringList& names, const QString& current) {
    cboWordClass->showClasses(names, current);
}

void FrmMain::editorClosed() { setEditorOpen(false); }

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

} // namespace mainwin
