#include "program_folder.h"

#include "book/whole_file.h"
#include "failure_text.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

namespace session {

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
    if (!QDir().mkpath(folder_)) {
        *reason =
            QStringLiteral("フォルダを作成できません: %1").arg(QDir::toNativeSeparators(folder_));
        return Result::Failed;
    }
    lock_ = std::make_unique<QLockFile>(QDir(folder_).filePath(QStringLiteral("veltyping.lock")));
    // Only a lock whose program is gone counts as stale, however old it is.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return Result::Claimed;
    if (lock_->error() == QLockFile::LockFailedError) {
        *reason = QStringLiteral("この単語帳は、ほかのヴェルタイピングで使用中です。\r\n%1\r\n"
                                 "そちらを終了してから起動して下さい。")
                      .arg(QDir::toNativeSeparators(folder_));
        return Result::InUse;
    }
    *reason = QStringLiteral("フォルダに書き込めません: %1").arg(QDir::toNativeSeparators(folder_));
    return Result::Failed;
}

void removeLeftoverTemporaries(const ProgramFiles& files) {
    const QStringList names{QFileInfo(files.wordBook).fileName(),
                            QFileInfo(files.display).fileName(),
                            QFileInfo(files.result).fileName()};
    const QDir dir(files.folder);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        if (entry.isFile() && !entry.isSymLink() &&
            book::isLeftoverTemporary(entry.fileName(), names))
            QFile::remove(entry.filePath());
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

} // namespace session
