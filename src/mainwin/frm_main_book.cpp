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

void FrmMain::loadBook() { session_->load(); }

void FrmMain::showLoadedBook() {
    showManualText();
    const book::EndRecord& end = session_->endRecord();
    cmdStart->setEnabled(end.isValid());
    cmdSearch->setEnabled(end.isValid());
    setCaption(kManualSuffix);
    // The classes follow when the book has any; a file that is no book lists none.
    cboWordClass->clear();
    menu_.checkView(menu_.mnuManual);
}

void FrmMain::showWordList() {
    setCaption(kWordListSuffix);
    const session::WordListView view = session_->wordList(cboWordClass->choice(), session_->mode());
    menu_.checkView(menu_.mnuWords);
    viewFileShown_ = true;
    showView(view.lines, view.allMemorised ? QColor(128, 128, 128) : QColor(Qt::black));
}

void FrmMain::changeMode() { showWordList(); }

// The menu shows each choice even if the book cannot take it.
void FrmMain::chooseSpeed(int speed) { session_->setSpeed(speed); }

void FrmMain::chooseInputMode(book::InputMode mode) { session_->setInputMode(mode); }

void FrmMain::chooseVoice(bool on) { session_->setVoiceOn(on); }

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
        reportNoBook();
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

} // namespace mainwin
