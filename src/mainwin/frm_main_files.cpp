// The File menu's word book commands: open a book, save it as, and reset its data.
#include "frm_main.h"

#include "platform/dialogs.h"
#include "session/failure_text.h"
#include "texts.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>

namespace mainwin {

namespace {

const QString kBookFileFilter = QStringLiteral("ｳﾞｪﾙﾌｧｲﾙ(*.vel)");
// The open dialog shows each name without its last parentheses (Dialogs::openFileName);
// Qt reads patterns separated by blanks only.
const QString kOpenFileFilters =
    QStringLiteral("ｳﾞｪﾙﾌｧｲﾙ(*.vel) (*.vel);;"
                   "単語リスト (*.csv;*.tsv;*.txt) (*.csv *.tsv *.txt)");
const QString kOpenTitle = QStringLiteral("ｳﾞｪﾙﾌｧｲﾙを開く");

} // namespace

void FrmMain::openBook() {
    showGradeTable();
    if (!dialogs().askYesNo(this, kOpenTitle, kDataLossQuestion))
        return;
    if (const auto chosen = dialogs().openFileName(this, kOpenFileFilters, QDir::currentPath()))
        openChosenFile(*chosen);
}

void FrmMain::openBookFile(const QString& path) {
    showGradeTable();
    if (dialogs().askYesNo(this, kOpenTitle, kDataLossQuestion))
        openChosenFile(path);
}

void FrmMain::openChosenFile(const QString& path) {
    const session::FileToOpen file = session_->prepareOpen(path);
    switch (file.kind) {
    case session::FileToOpen::Kind::Refused:
        return;
    case session::FileToOpen::Kind::Book:
        session_->commitOpen(file);
        return;
    case session::FileToOpen::Kind::WordList:
        // The list becomes a book under the title the learner confirms.
        if (const std::optional<QString> title = dialogs().askYesNoWithText(
                this, QStringLiteral("単語リストを開く"), session::listConfirmationText(file.list),
                QStringLiteral("題名："), file.list.title, session::listTitleProblem))
            session_->commitOpen(file, *title);
        return;
    }
}

void FrmMain::saveBookAs() {
    const auto chosen = dialogs().saveFileName(this, kBookFileFilter, QDir::currentPath());
    if (!chosen)
        return;
    if (const QString target = saveTarget(*chosen, QStringLiteral(".vel")); !target.isEmpty())
        session_->saveBookAs(target);
}

void FrmMain::resetLearningData() {
    showGradeTable();
    if (!session_->writable()) {
        reportNoBook();
        return;
    }
    if (dialogs().askYesNo(this, QStringLiteral("データの初期化"), kDataLossQuestion))
        session_->resetLearningData();
    showGradeTable();
}

void FrmMain::restoreBackup() {
    const QString title = QStringLiteral("バックアップから復元");
    const QList<session::BackupInfo> backups = session_->backups();
    if (backups.isEmpty()) {
        dialogs().showInformation(this, title,
                                  QStringLiteral("バックアップはまだありません。\r\n単語帳を開く、"
                                                 "データの初期化、編集の前に作られます。"));
        return;
    }
    QList<QStringList> rows;
    for (const session::BackupInfo& backup : backups) {
        const auto& memorised = backup.memorised;
        rows << QStringList{
            QLocale(QLocale::Japanese)
                .toString(backup.taken, QStringLiteral("yyyy/MM/dd HH:mm:ss")),
            backup.holdsBook ? backup.title : QStringLiteral("（単語帳ではありません）"),
            QString::number(backup.classes),
            QStringLiteral("%1 / %2 / %3").arg(memorised[0]).arg(memorised[1]).arg(memorised[2]),
            backup.recorded ? QStringLiteral("自動") : QStringLiteral("その他")};
    }
    const int chosen = dialogs().chooseRow(
        this, title,
        QStringLiteral("復元するバックアップを選んで下さい（新しい順）。\r\n"
                       "今の単語帳もバックアップしてから置き換えます。"),
        {QStringLiteral("日時"), QStringLiteral("単語帳"), QStringLiteral("クラス数"),
         QStringLiteral("記憶単語数（R / W / L）"), QStringLiteral("作成")},
        rows);
    if (chosen < 0 || !dialogs().askYesNo(this, title, kDataLossQuestion))
        return;
    session_->restoreBackup(backups[chosen].path);
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
