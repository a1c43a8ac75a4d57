#include "program_folder.h"

#include "book/whole_file.h"
#include "failure_text.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace folder {

QString pathInFolder(const QString& folder, const QString& name) {
    const QDir dir(folder);
    const QStringList entries = dir.entryList(QDir::Files | QDir::Dirs | QDir::Hidden |
                                              QDir::System | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(name);
}

ProgramFiles programFiles(const QString& folder) {
    return {folder, pathInFolder(folder, QStringLiteral("Word.dat")),
            pathInFolder(folder, QStringLiteral("display.txt")),
            pathInFolder(folder, QStringLiteral("result.txt")),
            pathInFolder(folder, QStringLiteral("history.tsv"))};
}

FolderClaim::FolderClaim(QString folder) : folder_(std::move(folder)) {}

FolderClaim::~FolderClaim() = default;

FolderClaim::Result FolderClaim::claim(QString* reason) {
    const QString folder = QDir::toNativeSeparators(folder_);
    const QFileInfo folderInfo(folder_);
    if (folderInfo.exists() && !folderInfo.isDir()) {
        *reason = QStringLiteral("%1\r\nはフォルダではなく%2。\r\n"
                                 "単語帳を置くフォルダを --folder で指定して下さい。")
                      .arg(folder, folderInfo.isFile() ? QStringLiteral("ファイルです")
                                                       : QStringLiteral("特殊なファイルです"));
        return Result::Failed;
    }
    book::FileFailure failure;
    if (!book::makeFolder(folder_, &failure)) {
        *reason = QStringLiteral("フォルダ %1 を作成できません。\r\n%2")
                      .arg(folder, failureText(failure, folder_));
        return Result::Failed;
    }
    const QString lockPath = QDir(folder_).filePath(QStringLiteral("veltyping.lock"));
    const QFileInfo lockInfo(lockPath);
    if (lockInfo.exists() && !lockInfo.isFile()) {
        *reason = QStringLiteral("ロックファイル %1 を作れません。%2\r\n"
                                 "それを削除するか名前を変えてから起動して下さい。")
                      .arg(QDir::toNativeSeparators(lockPath),
                           failureText({book::FileFailure::Kind::NotRegular, {}}, lockPath));
        return Result::Failed;
    }
    lock_ = std::make_unique<QLockFile>(lockPath);
    // Only a lock whose program is gone counts as stale, however old it is.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return Result::Claimed;
    // A lock cut short by a crash names no program, so it never turns stale by itself;
    // one older than a few seconds is no program's that is still writing it.
    qint64 pid = 0;
    QString host;
    QString application;
    if (lock_->error() == QLockFile::LockFailedError &&
        !lock_->getLockInfo(&pid, &host, &application) &&
        lockInfo.lastModified().secsTo(QDateTime::currentDateTime()) > 5 &&
        lock_->removeStaleLockFile() && lock_->tryLock(0))
        return Result::Claimed;
    if (lock_->error() == QLockFile::LockFailedError) {
        *reason = inUseReason(folder_, lockPath, host, application);
        return Result::InUse;
    }
    *reason = QStringLiteral("フォルダ %1 に書き込めないため、この単語帳を使えません。\r\n"
                             "このフォルダへの書き込みを許可するか、書き込めるフォルダを "
                             "--folder で指定して下さい。")
                  .arg(folder);
    return Result::Failed;
}

QString inUseReason(const QString& folder, const QString& lockPath, const QString& host,
                    const QString& application) {
    QString reason = QStringLiteral("この単語帳は、ほかのヴェルタイピングで使用中です。\r\n%1\r\n"
                                    "そちらを終了してから起動して下さい。")
                         .arg(QDir::toNativeSeparators(folder));
    // Whether a program on another computer still runs cannot be told from here.
    if (!host.isEmpty() && host != QSysInfo::machineHostName())
        reason += QStringLiteral("\r\n（%1 のコンピュータ %2 で使用中です。そのプログラムが"
                                 "もう動いていなければ、%3 を削除して下さい。）")
                      .arg(application, host, QDir::toNativeSeparators(lockPath));
    return reason;
}

void removeLeftoverTemporaries(const ProgramFiles& files) {
    const QDir folder(files.folder);
    for (const QDir& dir : {folder, QDir(folder.filePath(QStringLiteral("backup")))}) {
        for (const QFileInfo& entry :
             dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks)) {
            if (entry.isFile() && book::isLeftoverTemporary(entry.fileName()))
                QFile::remove(entry.filePath());
        }
    }
}

bool prepareWordBook(const ProgramFiles& files, QString* error) {
    if (QFileInfo(files.wordBook).exists() || QFileInfo(files.wordBook).isSymLink())
        return true;
    QFile resource(QString::fromLatin1(kDefaultBookResource));
    if (!resource.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("既定の単語帳が組み込まれていません。");
        return false;
    }
    book::FileFailure failure;
    if (!book::writeWholeFile(files.wordBook, resource.readAll(), &failure)) {
        *error = QStringLiteral("%1 を作成できません。\r\n%2")
                     .arg(QDir::toNativeSeparators(files.wordBook),
                          failureText(failure, files.wordBook));
        return false;
    }
    return true;
}

} // namespace folder
