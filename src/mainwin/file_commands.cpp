#include "file_commands.h"

#include "display_views.h"
#include "folder/failure_text.h"
#include "platform/dialogs.h"
#include "session/book_session.h"
#include "session/list_meanings.h"
#include "texts.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QWidget>

namespace mainwin {

namespace {

const QString kBookFileFilter = QStringLiteral("ｳﾞｪﾙﾌｧｲﾙ(*.vel)");
// The open dialog shows each name without its last parentheses (Dialogs::openFileName);
// Qt reads patterns separated by blanks only.
const QString kOpenFileFilters =
    QStringLiteral("ｳﾞｪﾙﾌｧｲﾙ(*.vel) (*.vel);;"
                   "単語リスト (*.csv;*.tsv;*.txt) (*.csv *.tsv *.txt)");
const QString kOpenTitle = QStringLiteral("ｳﾞｪﾙﾌｧｲﾙを開く");
const QString kListFileFilter = QStringLiteral("単語リスト (*.csv)");

// The book's title as a file name: characters no file name may hold become '_'.
QString fileNameFromTitle(const QString& title) {
    static const QRegularExpression notInFileNames(QStringLiteral(R"([\\/:*?"<>|\x00-\x1f])"));
    const QString name = QString(title).replace(notInFileNames, QStringLiteral("_"));
    return name.isEmpty() ? QStringLiteral("単語リスト") : name;
}

const QString kTextFileFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.txt)");
const QString kPngFilter = QStringLiteral("PNG画像(*.png)");

} // namespace

FileCommands::FileCommands(session::BookSession& session, platform::Dialogs& dialogs,
                           DisplayViews& views, QWidget& window)
    : session_(session), dialogs_(dialogs), views_(views), window_(window) {}

void FileCommands::openBook() {
    views_.showGradeTable();
    if (!dialogs_.askYesNo(&window_, kOpenTitle, kDataLossQuestion))
        return;
    if (const auto chosen = dialogs_.openFileName(&window_, kOpenFileFilters, QDir::currentPath()))
        openChosenFile(*chosen);
}

void FileCommands::openBookFile(const QString& path) {
    views_.showGradeTable();
    if (dialogs_.askYesNo(&window_, kOpenTitle, kDataLossQuestion))
        openChosenFile(path);
}

void FileCommands::openChosenFile(const QString& path) {
    session::FileToOpen file = session_.prepareOpen(path);
    switch (file.kind) {
    case session::FileToOpen::Kind::Refused:
        return;
    case session::FileToOpen::Kind::Book:
        session_.commitOpen(file);
        return;
    case session::FileToOpen::Kind::WordList:
        if (!file.list.toChoose.isEmpty() && !confirmMeanings(file.list))
            return;
        // The list becomes a book under the title the learner confirms.
        if (const std::optional<QString> title = dialogs_.askYesNoWithText(
                &window_, QStringLiteral("単語リストを開く"),
                session::listConfirmationText(file.list), QStringLiteral("題名："), file.list.title,
                session::listTitleProblem))
            session_.commitOpen(file, *title);
        return;
    }
}

bool FileCommands::confirmMeanings(session::ListToOpen& list) {
    QList<platform::Dialogs::ChoiceRow> rows;
    for (const session::MeaningToChoose& row : std::as_const(list.toChoose))
        rows << platform::Dialogs::ChoiceRow{{QString::number(row.line), row.english,
                                              row.proposals.isEmpty()
                                                  ? QStringLiteral("（辞書にありません）")
                                                  : row.proposals.join(QStringLiteral("、"))},
                                             row.proposals,
                                             row.meaning};
    const std::optional<QStringList> meanings = dialogs_.askChoicesInTable(
        &window_, QStringLiteral("単語リストを開く"), session::meaningsConfirmationText(list),
        {QStringLiteral("行"), QStringLiteral("英語"), QStringLiteral("辞書の候補"),
         QStringLiteral("日本語")},
        rows,
        [&list](const QStringList& chosen) { return session::meaningsProblem(list, chosen); });
    if (!meanings)
        return false;
    list = session::withMeanings(list, *meanings);
    return true;
}

void FileCommands::saveBookAs() {
    const auto chosen = dialogs_.saveFileName(&window_, kBookFileFilter, QDir::currentPath());
    if (!chosen)
        return;
    if (const QString target = saveTarget(&window_, *chosen, QStringLiteral(".vel"));
        !target.isEmpty())
        session_.saveBookAs(target);
}

void FileCommands::resetLearningData() {
    views_.showGradeTable();
    if (!session_.writable()) {
        reportNoBook();
        return;
    }
    if (dialogs_.askYesNo(&window_, QStringLiteral("データの初期化"), kDataLossQuestion))
        session_.resetLearningData();
    views_.showGradeTable();
}

void FileCommands::restoreBackup() {
    const QString title = QStringLiteral("バックアップから復元");
    const QList<folder::BackupInfo> backups = session_.backups();
    if (backups.isEmpty()) {
        dialogs_.showInformation(&window_, title,
                                 QStringLiteral("バックアップはまだありません。\r\n単語帳を開く、"
                                                "データの初期化、編集の前に作られます。"));
        return;
    }
    QList<QStringList> rows;
    for (const folder::BackupInfo& backup : backups) {
        const auto& memorised = backup.memorised;
        rows << QStringList{
            QLocale(QLocale::Japanese)
                .toString(backup.taken, QStringLiteral("yyyy/MM/dd HH:mm:ss")),
            backup.holdsBook ? backup.title : QStringLiteral("（単語帳ではありません）"),
            QString::number(backup.classes),
            QStringLiteral("%1 / %2 / %3").arg(memorised[0]).arg(memorised[1]).arg(memorised[2]),
            backup.recorded ? QStringLiteral("自動") : QStringLiteral("その他")};
    }
    const int chosen = dialogs_.chooseRow(
        &window_, title,
        QStringLiteral("復元するバックアップを選んで下さい（新しい順）。\r\n"
                       "今の単語帳もバックアップしてから置き換えます。"),
        {QStringLiteral("日時"), QStringLiteral("単語帳"), QStringLiteral("クラス数"),
         QStringLiteral("記憶単語数（R / W / L）"), QStringLiteral("作成")},
        rows);
    if (chosen < 0 || !dialogs_.askYesNo(&window_, title, kDataLossQuestion))
        return;
    session_.restoreBackup(backups[chosen].path);
}

QString FileCommands::saveTarget(QWidget* parent, const QString& chosen, const QString& extension) {
    const QString ending = chosen.right(4);
    const bool hasExtension = ending == extension || ending == extension.toUpper();
    const QString target = hasExtension ? chosen : chosen + extension;
    // The dialog asked about the name as typed only, not about the one with the extension.
    if (!hasExtension && QFileInfo::exists(target) &&
        !dialogs_.askYesNo(parent, QStringLiteral("名前を付けて保存"),
                           QStringLiteral("%1 は既にあります。\r\n上書きしますか？")
                               .arg(QDir::toNativeSeparators(target))))
        return {};
    return target;
}

void FileCommands::reportNoBook() {
    dialogs_.showInformation(
        &window_, folder::kFileOpenError,
        QStringLiteral("単語帳が読み込まれていません。\r\n"
                       "ファイルメニューの「単語帳を開く」で単語帳を開いて下さい。"));
}

void FileCommands::saveBookAsList() {
    const QString proposal =
        QDir::current().filePath(fileNameFromTitle(session_.title()) + QStringLiteral(".csv"));
    const auto chosen = dialogs_.saveFileName(&window_, kListFileFilter, proposal);
    if (!chosen)
        return;
    if (const QString target = saveTarget(&window_, *chosen, QStringLiteral(".csv"));
        !target.isEmpty())
        session_.saveBookAsList(target);
}

void FileCommands::saveViewAs() {
    const auto chosen = dialogs_.saveFileName(&window_, kTextFileFilter, QDir::currentPath());
    if (!chosen)
        return;
    if (const QString target = saveTarget(&window_, *chosen, QStringLiteral(".txt"));
        !target.isEmpty())
        session_.saveTextAs(views_.shownFile(), target);
}

void FileCommands::saveChart(QWidget* parent, const QByteArray& png) {
    const auto chosen = dialogs_.saveFileName(parent, kPngFilter, QDir::currentPath());
    if (!chosen)
        return;
    if (const QString target = saveTarget(parent, *chosen, QStringLiteral(".png"));
        !target.isEmpty())
        session_.saveImageAs(png, target);
}

} // namespace mainwin
