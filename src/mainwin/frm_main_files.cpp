// The File menu's word book commands: open a book, save it as, and reset its data.
#include "frm_main.h"

#include "platform/dialogs.h"
#include "session/failure_text.h"
#include "texts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

namespace mainwin {

namespace {

const QString kBookFileFilter =
    QStringLiteral("ｳﾞｪﾙﾌｧｲﾙ(*.vel)") + QChar(u'\0') + QStringLiteral("*.vel") + QChar(u'\0');
const QString kOpenTitle = QStringLiteral("ｳﾞｪﾙﾌｧｲﾙを開く");

} // namespace

void FrmMain::mnuFileOpen_Click() {
    mnuGrades_Click();
    if (!dialogs().askYesNo(this, kOpenTitle, kDataLossQuestion))
        return;
    const QString chosen = dialogs().ShowOpenDialog(this, kBookFileFilter, QDir::currentPath());
    if (chosen == platform::kDialogCancelled)
        return;
    replaceBookWith(chosen);
}

void FrmMain::openBookFile(const QString& path) {
    mnuGrades_Click();
    if (dialogs().askYesNo(this, kOpenTitle, kDataLossQuestion))
        replaceBookWith(path);
}

void FrmMain::replaceBookWith(const QString& path) {
    if (session_->replaceBook(path))
        Form_Load();
}

void FrmMain::mnuFileSaveWord_Click() {
    const QString chosen = dialogs().ShowSaveDialog(this, kBookFileFilter, QDir::currentPath());
    if (chosen == platform::kDialogCancelled)
        return;
    if (const QString target = saveTarget(chosen, QStringLiteral(".vel")); !target.isEmpty())
        session_->saveBookAs(target);
}

void FrmMain::mnuFileInitialize_Click() {
    mnuGrades_Click();
    if (!session_->writable()) {
        reportNoBook();
        return;
    }
    if (dialogs().askYesNo(this, QStringLiteral("データの初期化"), kDataLossQuestion) &&
        session_->resetLearningData()) {
        txtTotalMemoryCnt->setText(QStringLiteral("0"));
        Form_Load();
    }
    mnuGrades_Click();
}

QString FrmMain::saveTarget(const QString& chosen, const QString& extension) {
    const QString ending = chosen.right(4);
    const bool hasExtension = ending == extension || ending == extension.toUpper();
    const QString target = hasExtension ? chosen : chosen + extension;
    // The dialog asked about the name as typed only, not about the one with the extension.
    if (!hasExtension && QFileInfo::exists(target) &&
        !dialogs().askYesNo(this, QStringLiteral("名前を付けて保存"),
                            QStringLiteral("%1 は既にあります。\r\n上書きしますか？")
                                .arg(QDir::toNativeSeparators(target))))
        return {};
    return target;
}

void FrmMain::reportNoBook() {
    dialogs().showInformation(
        this, session::kFileOpenError,
        QStringLiteral("単語帳が読み込まれていません。\r\n"
                       "ファイルメニューの「単語帳を開く」で単語帳を開いて下さい。"));
}

} // namespace mainwin
