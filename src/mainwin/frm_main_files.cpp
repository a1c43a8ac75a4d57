// The File menu's word book commands: open a book, save it as, and reset its data.
#include "frm_main.h"

#include "platform/file_dialogs.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "texts.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>

namespace mainwin {

namespace {

const QString kBookFileFilter =
    QStringLiteral("ｳﾞｪﾙﾌｧｲﾙ(*.vel)") + QChar(u'\0') + QStringLiteral("*.vel") + QChar(u'\0');
const QString kOpenTitle = QStringLiteral("ｳﾞｪﾙﾌｧｲﾙを開く");

// The end record of a book file on disk, looked for through a handle of its own.
book::EndRecord endRecordOf(const QString& path, int lastRecord = book::kEndSearchLimit) {
    book::RecordFile file(path);
    if (!file.open(book::RecordFile::Access::ReadOnly))
        return {};
    const book::EndRecord end = book::findEndRecord(file);
    return end.record <= lastRecord ? end : book::EndRecord{};
}

} // namespace

void FrmMain::mnuFileOpen_Click() {
    mnuGrades_Click();
    if (!platform::askYesNo(this, kOpenTitle, kDataLossQuestion))
        return;
    const QString chosen = platform::ShowOpenDialog(this, kBookFileFilter, QDir::currentPath());
    if (chosen == platform::kDialogCancelled)
        return;
    // A file that is no word book at all would leave the program without one.
    if (endRecordOf(chosen).state == book::BookState::NoEndRecord) {
        platform::showCritical(this, kFileOpenError, obsoleteBookMessage());
        return;
    }
    // The drill's handle lets go of the old book first; the reload opens the new one.
    closeDrillHandle();
    QString reason;
    if (!platform::copyFileReplacing(chosen, files_.wordBook, &reason)) {
        platform::showCritical(this, kFileOpenError,
                               QStringLiteral("%1\r\nを開けませんでした。\r\n%2")
                                   .arg(QDir::toNativeSeparators(chosen), reason));
        openDrillHandle(); // the old book stays in use
        return;
    }
    cboWordClass->clear();
    Form_Load();
}

void FrmMain::mnuFileSaveWord_Click() {
    const QString chosen = platform::ShowSaveDialog(this, kBookFileFilter, QDir::currentPath());
    if (chosen == platform::kDialogCancelled)
        return;
    // Saving looks at records 1 to 1240 only; an obsolete book is saved all the same.
    const book::EndRecord end = endRecordOf(files_.wordBook, book::kEndSearchLimit - 1);
    if (end.record > 0)
        eofRecord_ = end.record;
    if (end.state == book::BookState::Obsolete)
        platform::showCritical(this, kFileOpenError, obsoleteBookMessage());
    saveCopyAs(files_.wordBook, chosen, QStringLiteral(".vel"));
}

void FrmMain::mnuFileInitialize_Click() {
    mnuGrades_Click();
    if (!bookWritable()) {
        reportNoBook();
        return;
    }
    if (platform::askYesNo(this, QStringLiteral("データの初期化"), kDataLossQuestion) &&
        resetBook()) {
        txtTotalMemoryCnt->setText(QStringLiteral("0"));
        Form_Load();
    }
    mnuGrades_Click();
}

bool FrmMain::resetBook() {
    book::RecordFile file(files_.wordBook);
    if (!file.open() || book::resetLearningData(file, eofRecord_) != book::WriteStatus::Ok) {
        reportWriteFailure(files_.wordBook);
        return false;
    }
    return true;
}

void FrmMain::reportNoBook() {
    platform::showInformation(
        this, kFileOpenError,
        QStringLiteral("単語帳が読み込まれていません。\r\n"
                       "ファイルメニューの「単語帳を開く」で単語帳を開いて下さい。"));
}

} // namespace mainwin
